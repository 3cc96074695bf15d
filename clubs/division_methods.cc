// The Division and Division Iterative methods: the top gene divides the
// samples into its low and high groups (divisions), and every candidate is
// scored within each division by the gain it yields there, weighted by the
// division's own size.

#include <algorithm>
#include <numeric>
#include <optional>

#include "clubs/club_frame.h"
#include "ranking/class_entropy.h"

namespace geneclub {
namespace {

// A division's fixed scoring context.
struct Division {
  SampleGroup samples;
  double entropy;
  PartitionEntropy partitionEntropy;
};

std::vector<Division> makeDivisions(const ClubContext& context, int topRow) {
  std::vector<Division> divisions;
  for (SampleGroup& group : splitSampleGroup(context.allSamples, context.rowBits(topRow))) {
    const auto [normals, diseases] = classCounts(group, context.diseaseSamples);
    divisions.push_back({std::move(group), classEntropyOfCounts(normals, diseases),
                         PartitionEntropy::divided(context.products, context.diseaseSamples,
                                                   normals, diseases, normals + diseases)});
  }
  return divisions;
}

// The candidates of a division as the whole division scores them, best
// first: in that state, after a start or a restart, a candidate's gain is the
// same every time, so each step's choice is the first candidate not used yet.
// Without it a club whose divisions keep becoming pure would score every
// candidate again at each of its many restarts.
class WholeDivisionRanking {
 public:
  WholeDivisionRanking(const ClubContext& context, const Division& division)
      : gains_(candidateGains(context,
                              RefinementGain(context, division.entropy, division.partitionEntropy,
                                             {division.samples}))) {
    order_.resize(gains_.size());
    std::iota(order_.begin(), order_.end(), 0);
    // By gain, then by row: no two rows compare equal, so this is the stable
    // order of the gains.
    std::sort(order_.begin(), order_.end(), [this](int a, int b) {
      return gains_[a] > gains_[b] || (!(gains_[b] > gains_[a]) && a < b);
    });
  }

  // What Club::chooseBest finds on the whole division: the highest gain
  // above 0.0, the lowest row on ties.
  CandidateChoice best(const Club& club) {
    while (next_ < order_.size() && club.isUsed(order_[next_])) ++next_;
    if (next_ == order_.size() || !(gains_[order_[next_]] > 0.0)) return {};
    return {gains_[order_[next_]], order_[next_], true};
  }

 private:
  std::vector<double> gains_;  // by row
  std::vector<int> order_;     // rows by gain, descending, then by row
  std::size_t next_ = 0;       // rows before it in order_ are used
};

}  // namespace

// Divisions never change, so each candidate's gain in each division is
// computed once per club. A division whose best gain is 0.0 gives up its
// quota; in the free phase an equal gain goes to division 1. A step in which
// neither division gains anything finds none in a later step either.
std::vector<int> buildDivisionClub(const ClubContext& context, int topRow) {
  Club club(topRow, context);
  const std::vector<Division> divisions = makeDivisions(context, topRow);
  std::vector<std::vector<double>> gains;
  for (const Division& division : divisions) {
    gains.push_back(candidateGains(
        context,
        RefinementGain(context, division.entropy, division.partitionEntropy, {division.samples})));
  }
  int taken[2] = {0, 0};
  for (int step = 1; step < context.topGeneCount; ++step) {
    CandidateChoice best[2];
    for (std::size_t i = 0; i < divisions.size(); ++i) {
      best[i] = club.chooseBest([&](int row) { return gains[i][row]; });
    }
    if (!best[0].found && !best[1].found && context.gainlessStep == GainlessClubStep::kAddNothing) {
      break;
    }
    int row;
    if (taken[0] < context.divisionQuota && best[0].gain != 0.0) {
      ++taken[0];
      row = best[0].row;
    } else if (taken[1] < context.divisionQuota && best[1].gain != 0.0) {
      ++taken[1];
      row = best[1].row;
    } else {
      row = best[0].gain > best[1].gain ? best[0].row : best[1].row;
    }
    club.addMember(row);
  }
  return club.rows();
}

// Each division keeps its own partition, refined by the division's best
// candidate of each step; a step can add a member for each division, so a
// club may end one row longer than the others (only its first K rows are
// mined). A division that the best candidate leaves pure starts over from
// the whole division and adds no member in that step. A step that adds no
// member at all excludes the candidates that made a division pure, so that
// they are not found again; when there is none, the club ends with the
// members it has. Every club therefore ends. With
// GainlessClubStep::kAddNothing, a division in which no candidate gains
// anything keeps its groups and adds no member in that step.
std::vector<int> buildDivisionIterativeClub(const ClubContext& context, int topRow) {
  Club club(topRow, context);
  const std::vector<Division> divisions = makeDivisions(context, topRow);
  std::vector<SampleGroupList> partitions, bestRefinements(divisions.size());
  for (const Division& division : divisions) partitions.push_back({division.samples});
  // Whether a division's partition is the whole division, and its ranking of
  // the candidates in that state, made when first needed.
  std::vector<bool> whole(divisions.size(), true);
  std::vector<std::optional<WholeDivisionRanking>> rankings(divisions.size());
  const int membersWanted = context.topGeneCount - 1;
  while (club.memberCount() < membersWanted) {
    std::vector<CandidateChoice> best;
    for (std::size_t i = 0; i < divisions.size(); ++i) {
      if (whole[i]) {
        if (!rankings[i]) rankings[i].emplace(context, divisions[i]);
        best.push_back(rankings[i]->best(club));
      } else {
        best.push_back(club.chooseBest(RefinementGain(
            context, divisions[i].entropy, divisions[i].partitionEntropy, partitions[i])));
      }
      if (best[i].found) {
        bestRefinements[i] = refineSampleGroups(partitions[i], context.rowBits(best[i].row));
      }
    }
    bool added = false;
    std::vector<int> purifyingRows;
    for (std::size_t i = 0; i < divisions.size(); ++i) {
      if (!best[i].found && context.gainlessStep == GainlessClubStep::kAddNothing) continue;
      if (best[i].gain == divisions[i].entropy) {
        partitions[i] = {divisions[i].samples};
        whole[i] = true;
        if (best[i].gain > 0.0) purifyingRows.push_back(best[i].row);
        continue;
      }
      partitions[i] = std::move(bestRefinements[i]);
      whole[i] = false;
      bestRefinements[i].clear();
      if (!club.isUsed(best[i].row)) {
        club.addMember(best[i].row);
        added = true;
      }
    }
    if (added) continue;
    if (purifyingRows.empty()) break;
    for (const int row : purifyingRows) club.exclude(row);
  }
  return club.rows();
}

}  // namespace geneclub
