// Entropy-based cut points: for one gene, the binary cut of its values that
// leaves the smallest class-information entropy (Fayyad and Irani's
// entropy-minimising discretisation, restricted to a single cut).
//
// A SplitSearch is built once for the class labels of all samples and then
// serves every gene: the weighted entropy of a candidate cut depends only on
// the candidate's position and on how many labels of each class lie above
// it, so it is tabulated once instead of being recomputed for each gene.

#ifndef GENECLUB_RANKING_SPLIT_SEARCH_H_
#define GENECLUB_RANKING_SPLIT_SEARCH_H_

#include <span>
#include <vector>

namespace geneclub {

class SplitSearch {
 public:
  // REQUIRES: labels is not empty.
  explicit SplitSearch(std::span<const int> labels);

  // Orders the samples by value, largest first (equal values keep sample
  // order), and tries a cut at every position i = 0..n-1: the i largest
  // samples form side A and the rest side B, weighted entropy
  // ((n-i)/n)*entropy(B) + (i/n)*entropy(A). A candidate wins only when its
  // entropy is strictly less than bestEntropy, which then takes its value;
  // so on ties the higher cut wins. Returns the split value of the last
  // winner: the largest value plus 0.01 for i = 0, otherwise the midpoint of
  // the values at positions i-1 and i. Returns 0.0 when nothing wins.
  // REQUIRES: values.size() equals the number of labels.
  double findBestSplit(std::span<const double> values, double& bestEntropy) const;

 private:
  std::vector<int> labels_;
  // weightedEntropy_[i * (n + 1) + z]: the entropy of the cut at position i
  // when z of the i samples above it carry label 0.
  std::vector<double> weightedEntropy_;
};

}  // namespace geneclub

#endif  // GENECLUB_RANKING_SPLIT_SEARCH_H_
