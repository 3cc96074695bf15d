#include "clubs/club_frame.h"

#include <algorithm>
#include <iostream>

#include "clubs/club_mining.h"
#include "data/process_state.h"
#include "ranking/class_entropy.h"

namespace geneclub {
namespace {

// Candidates are drawn from the 1600 best rows, less the genes that the
// cleaning steps took out of play (they stand at the end of the ranking), so
// the pool also leaves out the 400 lowest-ranked genes still in play.
constexpr int kCandidatePoolBase = 1600;

}  // namespace

Club::Club(int topRow, int candidateCount) : topRow_(topRow), candidateCount_(candidateCount) {
  usedGenes_.set(topRow);
}

CandidateChoice Club::chooseBest(std::span<const double> gains) const {
  CandidateChoice choice;
  for (int row = 0; row < candidateCount_; ++row) {
    if (usedGenes_.test(row) || !(gains[row] > choice.gain)) continue;
    choice = {gains[row], row, true};
  }
  return choice;
}

void Club::addMember(int row) {
  usedGenes_.set(row);
  geneIndexList.push_back(row);
  std::cout << row + 1 << "\t";
}

std::vector<double> refinementGains(const Club& club, const ClubData& data, double reference,
                                    const PartitionEntropy& entropy,
                                    const SampleGroupList& groups) {
  const std::vector<PartitionEntropy::MixedGroup> mixed = entropy.mixedGroups(groups);
  std::vector<double> gains(std::max(club.candidateCount(), 0), 0.0);
  for (int row = 0; row < club.candidateCount(); ++row) {
    gains[row] = reference - entropy.ofRefinement(mixed, data.profile(row));
  }
  return gains;
}

void buildClubs(GeneClubAnalyzer& analyzer, const std::string& label,
                const ChooseMembers& chooseMembers) {
  writeMethodHeader(label);
  const DiscretisedSamples samples = analyzer.discretiseSamples();
  ClubData data{samples, 0, 0, classEntropy(analyzer.classLabels)};
  for (int sample = 0; sample < kSampleCount; ++sample) {
    data.allSamples |= std::uint64_t{1} << sample;
    if (analyzer.classLabels[sample] != 0) data.diseaseSamples |= std::uint64_t{1} << sample;
  }
  const int candidateCount = kCandidatePoolBase - incompleteGeneCount - duplicateGeneCount;

  for (int topRow = 0; topRow < kTopGeneCount; ++topRow) {
    const SampleGroupList startingPartition =
        splitSampleGroup(SampleGroup{data.allSamples}, samples.profile(topRow));
    Club club(topRow, candidateCount);
    geneIndexList.assign(1, topRow);
    std::cout << "Top " << topRow + 1 << " gene's gene club member\n" << topRow + 1 << "\t";
    chooseMembers(club, startingPartition, data);
    std::cout << "\n" << std::flush << "\n" << std::flush;
    analyzer.runClubEpMining(topRow, geneIndexList, samples);
  }
}

}  // namespace geneclub
