#include "clubs/club_frame.h"

#include <algorithm>
#include <iostream>

#include "clubs/club_mining.h"
#include "data/process_state.h"
#include "patterns/ep_result_files.h"
#include "ranking/class_entropy.h"

namespace geneclub {
namespace {

// Candidates are drawn from the 1600 best rows, less the genes that the
// cleaning steps took out of play (they stand at the end of the ranking), so
// the pool also leaves out the 400 lowest-ranked genes still in play.
constexpr int kCandidatePoolBase = 1600;

}  // namespace

Club::Club(int topRow, int candidateCount) : candidateCount_(candidateCount) {
  usedGenes_.set(topRow);
}

void Club::addMember(int row) {
  usedGenes_.set(row);
  geneIndexList.push_back(row);
  std::cout << row + 1 << "\t";
}

std::vector<double> candidateGains(const Club& club, const RefinementGain& gainOf) {
  std::vector<double> gains(std::max(club.candidateCount(), 0), 0.0);
  for (int row = 0; row < club.candidateCount(); ++row) gains[row] = gainOf(row);
  return gains;
}

void buildClubs(GeneClubAnalyzer& analyzer, const std::string& label,
                const ChooseMembers& chooseMembers) {
  const EpSectionLock section;
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
