#include "ranking/split_search.h"

#include <algorithm>
#include <numeric>

#include "ranking/class_entropy.h"

namespace geneclub {

SplitSearch::SplitSearch(std::span<const int> labels) : labels_(labels.begin(), labels.end()) {
  const int n = static_cast<int>(labels_.size());
  const int zeros = static_cast<int>(std::count(labels_.begin(), labels_.end(), 0));
  weightedEntropy_.assign(static_cast<std::size_t>(n) * (n + 1), 0.0);
  for (int i = 0; i < n; ++i) {
    for (int zerosAbove = 0; zerosAbove <= i; ++zerosAbove) {
      const int othersAbove = i - zerosAbove;
      const int zerosBelow = zeros - zerosAbove;
      const int othersBelow = (n - i) - zerosBelow;
      if (zerosBelow < 0 || othersBelow < 0) continue;  // no ordering reaches this state
      const double entropyBelow = classEntropyOfCounts(zerosBelow, othersBelow);
      const double entropyAbove = classEntropyOfCounts(zerosAbove, othersAbove);
      weightedEntropy_[static_cast<std::size_t>(i) * (n + 1) + zerosAbove] =
          (static_cast<double>(n - i) / n) * entropyBelow +
          (static_cast<double>(i) / n) * entropyAbove;
    }
  }
}

double SplitSearch::findBestSplit(std::span<const double> values, double& bestEntropy) const {
  const int n = static_cast<int>(values.size());
  // Descending by value; equal values keep sample order, as a stable sort would.
  std::vector<int> sorted(n);
  std::iota(sorted.begin(), sorted.end(), 0);
  std::sort(sorted.begin(), sorted.end(), [&values](int a, int b) {
    return values[a] > values[b] || (values[a] == values[b] && a < b);
  });

  double split = 0.0;
  int zerosAbove = 0;
  for (int i = 0; i < n; ++i) {
    const double entropy = weightedEntropy_[static_cast<std::size_t>(i) * (n + 1) + zerosAbove];
    if (entropy < bestEntropy) {
      bestEntropy = entropy;
      split = i == 0 ? values[sorted[0]] + 0.01 : (values[sorted[i]] + values[sorted[i - 1]]) * 0.5;
    }
    if (labels_[sorted[i]] == 0) ++zerosAbove;
  }
  return split;
}

}  // namespace geneclub
