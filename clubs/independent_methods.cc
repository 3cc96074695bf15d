// The Independent and Independent Iterative methods: candidates are scored by
// the information gain of the partition of all samples they refine.

#include "clubs/club_frame.h"

namespace geneclub {
namespace {

// What both methods score against: the top gene's partition of all samples,
// and entropy terms weighted by the sample weight 1/N.
struct IndependentScoring {
  IndependentScoring(const ClubContext& context, int topRow)
      : topPartition(splitSampleGroup(context.allSamples, context.rowBits(topRow))),
        entropy(PartitionEntropy::weighted(context.products, context.diseaseSamples,
                                           context.normalCount, context.diseaseCount,
                                           context.sampleWeight)) {}

  SampleGroupList topPartition;
  PartitionEntropy entropy;
};

}  // namespace

// The partition stays the top gene's for the whole club, so each candidate's
// gain is the same in every step and is computed once: the members are the
// candidates of the highest gains, lowest row first on ties. Once no
// candidate gains anything, none will in a later step either.
std::vector<int> buildIndependentClub(const ClubContext& context, int topRow) {
  Club club(topRow, context);
  const IndependentScoring scoring(context, topRow);
  const std::vector<double> gains = candidateGains(
      context,
      RefinementGain(context, context.labelEntropy, scoring.entropy, scoring.topPartition));
  const auto gainOf = [&gains](int row) { return gains[row]; };
  for (int step = 1; step < context.topGeneCount; ++step) {
    const CandidateChoice choice = club.chooseBest(gainOf);
    if (!choice.found && context.gainlessStep == GainlessClubStep::kAddNothing) break;
    club.addMember(choice.row);
  }
  return club.rows();
}

// The partition is refined by each member chosen. When the best refinement
// leaves every group pure (its gain equals the class entropy), the club goes
// on from the top gene's partition again.
std::vector<int> buildIndependentIterativeClub(const ClubContext& context, int topRow) {
  Club club(topRow, context);
  const IndependentScoring scoring(context, topRow);
  SampleGroupList partition = scoring.topPartition;
  // The refinement by the last candidate that improved on a step's best; it
  // carries over a step in which nothing improved.
  SampleGroupList bestRefinement;
  for (int step = 1; step < context.topGeneCount; ++step) {
    const CandidateChoice choice =
        club.chooseBest(RefinementGain(context, context.labelEntropy, scoring.entropy, partition));
    if (!choice.found && context.gainlessStep == GainlessClubStep::kAddNothing) break;
    if (choice.found) bestRefinement = refineSampleGroups(partition, context.rowBits(choice.row));
    club.addMember(choice.row);
    partition = choice.gain == context.labelEntropy ? scoring.topPartition : bestRefinement;
  }
  return club.rows();
}

}  // namespace geneclub
