// The frame shared by the four gene-club methods: one club around each of
// the 20 top genes (rows 0..19). For each club it prints the club's lines,
// lets the method choose the members, and mines the club's patterns into
// EP.data. The methods differ only in how they choose members.

#ifndef GENECLUB_CLUBS_CLUB_FRAME_H_
#define GENECLUB_CLUBS_CLUB_FRAME_H_

#include <bitset>
#include <functional>
#include <string>

#include "clubs/sample_groups.h"
#include "data/dimensions.h"
#include "data/gene_club_analyzer.h"
#include "ranking/class_entropy.h"
#include "ranking/discretised_samples.h"

namespace geneclub {

// Members chosen by a method in one club step.
inline constexpr int kClubMemberCount = 19;

// The sample weight 1/62 of the Independent methods, as a fixed constant:
// 0.016129032258064516 is the double nearest to 1/62.
inline constexpr double kSampleWeight = 0.016129032258064516;

// The best candidate of a step: the highest gain strictly above 0.0, the
// lowest row on ties; row 0 with gain 0.0 when no candidate gains anything.
struct CandidateChoice {
  double gain = 0.0;
  int row = 0;
  bool found = false;  // some candidate's gain was above 0.0
};

// One club under construction. The candidates are the rows below
// candidateCount that are neither the top gene nor a member nor excluded.
class Club {
 public:
  Club(int topRow, int candidateCount);

  int candidateCount() const { return candidateCount_; }
  bool isUsed(int row) const { return usedGenes_.test(row); }

  // Picks the best candidate by gainOf(row), asked once per candidate in
  // increasing row order.
  template <typename GainOf>
  CandidateChoice chooseBest(const GainOf& gainOf) const {
    CandidateChoice choice;
    for (int row = 0; row < candidateCount_; ++row) {
      if (usedGenes_.test(row)) continue;
      const double gain = gainOf(row);
      if (gain > choice.gain) choice = {gain, row, true};
    }
    return choice;
  }

  // Marks the row used, appends it to geneIndexList and prints its number.
  void addMember(int row);

  // Takes the row out of the candidates without making it a member.
  void exclude(int row) { usedGenes_.set(row); }

 private:
  int candidateCount_;
  std::bitset<kGeneCount> usedGenes_;
};

// What a method sees of the data: the discretised samples and the sample
// sets derived from them, fixed for one method call.
struct ClubData {
  const DiscretisedSamples& samples;
  std::uint64_t allSamples;
  std::uint64_t diseaseSamples;  // label 1
  double labelEntropy;           // class entropy of all 62 samples

  GeneProfile profile(int row) const { return samples.profile(row); }

  // The class entropy of the group's labels.
  double entropyOf(SampleGroup group) const {
    return classEntropyOfCounts(std::popcount(group.samples & ~diseaseSamples),
                                std::popcount(group.samples & diseaseSamples));
  }
};

// Chooses the members of one club, given the club, the top gene's partition
// of all samples (low group first) and the method's data.
using ChooseMembers = std::function<void(Club&, const SampleGroupList&, const ClubData&)>;

// Runs one method: writes its header with `label` to EP.data, then builds,
// prints and mines the 20 clubs.
void buildClubs(GeneClubAnalyzer& analyzer, const std::string& label,
                const ChooseMembers& chooseMembers);

// The gain of refining a partition by a row: a reference entropy minus the
// entropy left within the refined groups.
class RefinementGain {
 public:
  RefinementGain(const ClubData& data, double reference, const PartitionEntropy& entropy,
                 const SampleGroupList& groups)
      : data_(data),
        reference_(reference),
        entropy_(entropy),
        mixedGroups_(entropy.mixedGroups(groups)) {}

  double operator()(int row) const {
    return reference_ - entropy_.ofRefinement(mixedGroups_, data_.profile(row));
  }

 private:
  const ClubData& data_;
  double reference_;
  const PartitionEntropy& entropy_;
  std::vector<PartitionEntropy::MixedGroup> mixedGroups_;
};

// The gains of every row below the club's candidate count, indexed by row:
// for methods whose partition, and so every gain, is fixed for the club.
std::vector<double> candidateGains(const Club& club, const RefinementGain& gainOf);

}  // namespace geneclub

#endif  // GENECLUB_CLUBS_CLUB_FRAME_H_
