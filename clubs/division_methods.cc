// The Division and Division Iterative methods: the top gene divides the
// samples into its low and high groups (divisions), and every candidate is
// scored within each division by the gain it yields there, weighted by the
// division's own size.

#include "clubs/club_frame.h"

namespace geneclub {
namespace {

// Members the Division method takes from each division before it takes the
// better of the two divisions' best candidates.
constexpr int kDivisionQuota = 5;

// A division's fixed scoring context.
struct Division {
  SampleGroup samples;
  double entropy;
  PartitionEntropy partitionEntropy;
};

std::vector<Division> makeDivisions(const SampleGroupList& topPartition, const ClubData& data) {
  std::vector<Division> divisions;
  for (const SampleGroup group : topPartition) {
    divisions.push_back({group, data.entropyOf(group),
                         PartitionEntropy::divided(data.diseaseSamples, group.size())});
  }
  return divisions;
}

}  // namespace

// Divisions never change, so each candidate's gain in each division is
// computed once per club. A division whose best gain is 0.0 gives up its
// quota; in the free phase an equal gain goes to division 1.
void GeneClubAnalyzer::runDivisionMethod() {
  buildClubs(
      *this, "DIVISION", [](Club& club, const SampleGroupList& topPartition, const ClubData& data) {
        const std::vector<Division> divisions = makeDivisions(topPartition, data);
        std::vector<std::vector<double>> gains;
        for (const Division& division : divisions) {
          gains.push_back(
              candidateGains(club, RefinementGain(data, division.entropy, division.partitionEntropy,
                                                  {division.samples})));
        }
        int taken[2] = {0, 0};
        for (int step = 0; step < kClubMemberCount; ++step) {
          CandidateChoice best[2];
          for (std::size_t i = 0; i < divisions.size(); ++i) {
            best[i] = club.chooseBest([&](int row) { return gains[i][row]; });
          }
          int row;
          if (taken[0] < kDivisionQuota && best[0].gain != 0.0) {
            ++taken[0];
            row = best[0].row;
          } else if (taken[1] < kDivisionQuota && best[1].gain != 0.0) {
            ++taken[1];
            row = best[1].row;
          } else {
            row = best[0].gain > best[1].gain ? best[0].row : best[1].row;
          }
          club.addMember(row);
        }
      });
}

// Each division keeps its own partition, refined by the division's best
// candidate of each step; a step can add a member for each division. A
// division that the best candidate leaves pure starts over from the whole
// division and adds no member in that step. A step that adds no member at
// all excludes the candidates that made a division pure, so that they are
// not found again; when there is none, the club ends with the members it
// has. Every club therefore ends.
void GeneClubAnalyzer::runDivisionIterativeMethod() {
  buildClubs(*this, "DIVISION ITERATIVE",
             [](Club& club, const SampleGroupList& topPartition, const ClubData& data) {
               const std::vector<Division> divisions = makeDivisions(topPartition, data);
               std::vector<SampleGroupList> partitions, bestRefinements(divisions.size());
               for (const Division& division : divisions) partitions.push_back({division.samples});
               int memberCount = 0;
               while (memberCount < kClubMemberCount) {
                 std::vector<CandidateChoice> best;
                 for (std::size_t i = 0; i < divisions.size(); ++i) {
                   best.push_back(club.chooseBest(RefinementGain(
                       data, divisions[i].entropy, divisions[i].partitionEntropy, partitions[i])));
                   if (best[i].found) {
                     bestRefinements[i] =
                         refineSampleGroups(partitions[i], data.profile(best[i].row));
                   }
                 }
                 bool added = false;
                 std::vector<int> purifyingRows;
                 for (std::size_t i = 0; i < divisions.size(); ++i) {
                   if (best[i].gain == divisions[i].entropy) {
                     partitions[i] = {divisions[i].samples};
                     if (best[i].gain > 0.0) purifyingRows.push_back(best[i].row);
                     continue;
                   }
                   partitions[i] = std::move(bestRefinements[i]);
                   bestRefinements[i].clear();
                   if (!club.isUsed(best[i].row)) {
                     club.addMember(best[i].row);
                     ++memberCount;
                     added = true;
                   }
                 }
                 if (added) continue;
                 if (purifyingRows.empty()) break;
                 for (const int row : purifyingRows) club.exclude(row);
               }
             });
}

}  // namespace geneclub
