// The frame shared by the four gene-club methods: a club around a top gene
// (one of the rows 0..K-1), the candidate genes it may take, the choice of
// the best candidate, and the gain of refining a partition of the samples by
// a candidate. The methods differ only in how they score and choose members.

#ifndef GENECLUB_CLUBS_CLUB_FRAME_H_
#define GENECLUB_CLUBS_CLUB_FRAME_H_

#include <vector>

#include "clubs/sample_groups.h"
#include "data/analysis_settings.h"
#include "data/ranked_analysis.h"
#include "ranking/discretised_samples.h"

namespace geneclub {

// What every club of one analysis sees: the discretised samples, the class
// sets and the fixed numbers. Built once, read by many clubs at once.
class ClubContext {
 public:
  // REQUIRES: the analysis is ranked and cleaned; samples are its
  // discretised samples.
  ClubContext(const RankedAnalysis& analysis, const DiscretisedSamples& samples,
              const AnalysisSettings& settings);
  ClubContext(const ClubContext&) = delete;
  ClubContext& operator=(const ClubContext&) = delete;

  const DiscretisedSamples& samples;
  SampleSet allSamples;
  SampleSet diseaseSamples;  // label 1
  int normalCount;           // samples of label 0
  int diseaseCount;          // samples of label 1
  double labelEntropy;       // class entropy of all samples
  // The sample weight 1/N of the Independent methods, used as a product
  // (for 62 samples it is 0.016129032258064516, the double nearest 1/62).
  double sampleWeight;
  // The candidates are the rows below this count.
  int candidateCount;
  int topGeneCount;   // K: clubs per method, rows per club
  int divisionQuota;  // Division members taken from each division first
  GainlessClubStep gainlessStep;
  EntropyProducts products;

  std::span<const std::uint64_t> rowBits(int row) const { return samples.rowBits(row); }
};

// The best candidate of a step: the highest gain strictly above 0.0, the
// lowest row on ties; row 0 with gain 0.0 when no candidate gains anything
// (what the methods then do is the context's gainlessStep).
struct CandidateChoice {
  double gain = 0.0;
  int row = 0;
  bool found = false;  // some candidate's gain was above 0.0
};

// One club under construction. The candidates are the rows below
// candidateCount that are neither the top gene nor a member nor excluded.
class Club {
 public:
  Club(int topRow, const ClubContext& context);

  bool isUsed(int row) const { return used_[row]; }

  // Picks the best candidate by gainOf(row), asked once per candidate in
  // increasing row order.
  template <typename GainOf>
  CandidateChoice chooseBest(const GainOf& gainOf) const {
    CandidateChoice choice;
    for (int row = 0; row < candidateCount_; ++row) {
      if (used_[row]) continue;
      const double gain = gainOf(row);
      if (gain > choice.gain) choice = {gain, row, true};
    }
    return choice;
  }

  // Marks the row used and appends it to the club.
  void addMember(int row);

  // Takes the row out of the candidates without making it a member.
  void exclude(int row) { used_[row] = 1; }

  // The club's rows, the top gene first.
  const std::vector<int>& rows() const { return rows_; }
  int memberCount() const { return static_cast<int>(rows_.size()) - 1; }

 private:
  int candidateCount_;
  std::vector<char> used_;
  std::vector<int> rows_;
};

// The gain of refining a partition by a row: a reference entropy minus the
// entropy left within the refined groups.
class RefinementGain {
 public:
  RefinementGain(const ClubContext& context, double reference, const PartitionEntropy& entropy,
                 const SampleGroupList& groups)
      : bits_(context.samples.rowBits(0).data()),
        wordsPerRow_(context.samples.wordsPerRow()),
        reference_(reference),
        entropy_(entropy),
        mixedGroups_(entropy.mixedGroups(groups)) {}

  double operator()(int row) const {
    return reference_ - entropy_.ofRefinement(mixedGroups_,
                                              bits_ + static_cast<std::size_t>(row) * wordsPerRow_);
  }

 private:
  const std::uint64_t* bits_;  // row r's bits start at bits_ + r * wordsPerRow_
  std::size_t wordsPerRow_;
  double reference_;
  const PartitionEntropy& entropy_;
  PartitionEntropy::MixedGroups mixedGroups_;
};

// The gains of every row below the candidate count, indexed by row: for
// methods whose partition, and so every gain, is fixed for the club.
std::vector<double> candidateGains(const ClubContext& context, const RefinementGain& gainOf);

// The clubs of the four methods around the top gene in topRow, its rows in
// club order (the top gene first). With GainlessClubStep::kAddNothing the
// rows are distinct and a club may hold fewer than K of them.
// REQUIRES: 0 <= topRow < the gene count.
std::vector<int> buildIndependentClub(const ClubContext& context, int topRow);
std::vector<int> buildDivisionClub(const ClubContext& context, int topRow);
std::vector<int> buildIndependentIterativeClub(const ClubContext& context, int topRow);
std::vector<int> buildDivisionIterativeClub(const ClubContext& context, int topRow);

}  // namespace geneclub

#endif  // GENECLUB_CLUBS_CLUB_FRAME_H_
