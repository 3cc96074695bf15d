// Every gene's samples in descending order of value, equal values in sample
// order: the order the split search works in, computed once for a data set.
// The order of any subset of the samples is this order with the other
// samples left out (leaving samples out keeps a stable order stable), so the
// rankings of many subsets of one data set (cross-validation folds) and of
// many labellings (label permutations) need no sort of their own.

#ifndef GENECLUB_RANKING_SORTED_GENES_H_
#define GENECLUB_RANKING_SORTED_GENES_H_

#include <span>
#include <vector>

#include "data/expression_data.h"

namespace geneclub {

class SortedGenes {
 public:
  // Sorts the genes in parallel; memory grows with genes x samples.
  // REQUIRES: every row of matrix has the same number of values.
  explicit SortedGenes(const ExpressionMatrix& matrix);

  int geneCount() const { return geneCount_; }
  int sampleCount() const { return sampleCount_; }

  // The samples of a gene (a row of the matrix) from its largest value, and
  // their values in that order.
  // REQUIRES: 0 <= gene < geneCount().
  std::span<const int> order(int gene) const {
    return std::span(order_).subspan(offset(gene), sampleCount_);
  }
  std::span<const double> values(int gene) const {
    return std::span(values_).subspan(offset(gene), sampleCount_);
  }

 private:
  std::size_t offset(int gene) const { return static_cast<std::size_t>(gene) * sampleCount_; }

  int geneCount_;
  int sampleCount_;
  std::vector<int> order_;
  std::vector<double> values_;
};

}  // namespace geneclub

#endif  // GENECLUB_RANKING_SORTED_GENES_H_
