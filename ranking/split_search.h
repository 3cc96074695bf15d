// Entropy-based cut points: for one gene, the binary cut of its values that
// leaves the smallest class-information entropy (Fayyad and Irani's
// entropy-minimising discretisation, restricted to a single cut).
//
// Two sets of candidate cuts are offered. The interactive program evaluates a
// cut at every position of the sorted values, also between equal values, as
// its users have always had it; such a cut cannot be realised (equal values
// discretise alike), so its gain depends on the order of the samples. The
// batch program evaluates cuts only between different values, so every gain
// it reports is reached by its cut and no gain depends on the sample order.
//
// A SplitSearch is built once for the class labels of all samples and then
// serves every gene, from any number of threads: the weighted entropy of a
// candidate cut depends only on the candidate's position and on how many
// labels of each class lie above it, so for data sets of moderate size it is
// tabulated once instead of being recomputed for each gene.

#ifndef GENECLUB_RANKING_SPLIT_SEARCH_H_
#define GENECLUB_RANKING_SPLIT_SEARCH_H_

#include <cstdint>
#include <span>
#include <vector>

#include "data/analysis_settings.h"

namespace geneclub {

// The cut between two neighbouring sorted values lo <= hi: the midpoint
// (lo + hi) * 0.5 when it lies in [lo, hi); else lo + (hi - lo) * 0.5 when
// that does (the midpoint rounded onto hi, or the sum overflowed); else lo.
// So the cut is finite and puts lo at or below it and hi above it. For lo ==
// hi the cut is the midpoint when it equals lo (the sign of a zero as the
// midpoint gives it), else lo.
double cutBetween(double lo, double hi);

class SplitSearch {
 public:
  // Working memory of one thread's searches, reused from gene to gene.
  struct Workspace {
    std::vector<std::uint64_t> keys, sortedKeys;
    std::vector<int> order;
    std::vector<double> sortedValues;
  };

  SplitSearch(std::span<const int> labels, CutCandidates candidates);

  // Orders the samples by value, largest first (equal values keep sample
  // order), and tries a cut at the candidate positions i = 0..n-1 (with
  // kDistinctValues, position i > 0 only when the values at i-1 and i
  // differ): the i largest samples form side A and the rest side B,
  // weighted entropy ((n-i)/n)*entropy(B) + (i/n)*entropy(A). A candidate
  // wins only when its entropy is strictly less than bestEntropy, which then
  // takes its value; so on ties the higher cut wins. Returns the split value
  // of the last winner: the largest value plus 0.01 for i = 0, otherwise
  // cutBetween(value at i, value at i-1). Returns 0.0 when nothing wins (no
  // values, or no entropy below the bound).
  // REQUIRES: values.size() equals the number of labels.
  double findBestSplit(std::span<const double> values, double& bestEntropy) const;
  double findBestSplit(std::span<const double> values, double& bestEntropy,
                       Workspace& workspace) const;

  // The same for samples already in that order: order[k] is the sample at
  // position k and sortedValues[k] its value. Labels are looked up through
  // labelOf, so that a permutation of the labels needs no new search.
  // REQUIRES: order and sortedValues hold one entry per label, in the order
  // findBestSplit would give; labelOf has one entry per sample.
  double findBestSplitInOrder(std::span<const double> sortedValues, std::span<const int> order,
                              std::span<const int> labelOf, double& bestEntropy) const;

  // The samples of values in findBestSplit's order: largest value first,
  // equal values in sample order.
  static std::vector<int> descendingOrder(std::span<const double> values);

 private:
  // The weighted entropy of the cut at position i with `zerosAbove` of the
  // i samples above it carrying label 0.
  double weightedEntropy(int position, int zerosAbove) const;

  CutCandidates candidates_;
  int sampleCount_;
  int zeroCount_;
  std::vector<int> labels_;
  // weightedEntropy_[i * (n + 1) + z] for every reachable (i, z), when the
  // table is small enough (see split_search.cc); else empty.
  std::vector<double> table_;
};

}  // namespace geneclub

#endif  // GENECLUB_RANKING_SPLIT_SEARCH_H_
