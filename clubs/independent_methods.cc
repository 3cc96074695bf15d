// The Independent and Independent Iterative methods: candidates are scored by
// the information gain of the partition of all 62 samples they refine.

#include "clubs/club_frame.h"

namespace geneclub {

// The partition stays the top gene's for the whole club, so each candidate's
// gain is the same in every step and is computed once.
void GeneClubAnalyzer::runIndependentMethod() {
  buildClubs(*this, "INDEPENDENT",
             [](Club& club, const SampleGroupList& topPartition, const ClubData& data) {
               const PartitionEntropy entropy =
                   PartitionEntropy::weighted(data.diseaseSamples, kSampleWeight);
               const std::vector<double> gains = candidateGains(
                   club, RefinementGain(data, data.labelEntropy, entropy, topPartition));
               const auto gainOf = [&gains](int row) { return gains[row]; };
               for (int step = 0; step < kClubMemberCount; ++step) {
                 club.addMember(club.chooseBest(gainOf).row);
               }
             });
}

// The partition is refined by each member chosen. When the best refinement
// leaves every group pure (its gain equals the class entropy), the club goes
// on from the top gene's partition again.
void GeneClubAnalyzer::runIndependentIterativeMethod() {
  buildClubs(*this, "ITERATIVE",
             [](Club& club, const SampleGroupList& topPartition, const ClubData& data) {
               const PartitionEntropy entropy =
                   PartitionEntropy::weighted(data.diseaseSamples, kSampleWeight);
               SampleGroupList partition = topPartition;
               // The refinement by the last candidate that improved on a step's
               // best; it carries over a step in which nothing improved.
               SampleGroupList bestRefinement;
               for (int step = 0; step < kClubMemberCount; ++step) {
                 const CandidateChoice choice =
                     club.chooseBest(RefinementGain(data, data.labelEntropy, entropy, partition));
                 if (choice.found) {
                   bestRefinement = refineSampleGroups(partition, data.profile(choice.row));
                 }
                 club.addMember(choice.row);
                 partition = choice.gain == data.labelEntropy ? topPartition : bestRefinement;
               }
             });
}

}  // namespace geneclub
