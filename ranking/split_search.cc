#include "ranking/split_search.h"

#include <algorithm>

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
  struct Sample {
    double value;
    int index;
  };
  const int n = static_cast<int>(values.size());
  std::vector<Sample> sorted(n);
  for (int index = 0; index < n; ++index) sorted[index] = {values[index], index};
  // Insertion sort, descending: a sample moves up only past strictly smaller
  // values, so equal values keep sample order. For 62 samples it beats the
  // library sorts.
  for (int i = 1; i < n; ++i) {
    const Sample moving = sorted[i];
    int j = i;
    for (; j > 0 && sorted[j - 1].value < moving.value; --j) sorted[j] = sorted[j - 1];
    sorted[j] = moving;
  }

  double split = 0.0;
  int zerosAbove = 0;
  const double* entropyOfCut = weightedEntropy_.data();
  for (int i = 0; i < n; ++i, entropyOfCut += n + 1) {
    const double entropy = entropyOfCut[zerosAbove];
    if (entropy < bestEntropy) {
      bestEntropy = entropy;
      split = i == 0 ? sorted[0].value + 0.01 : (sorted[i].value + sorted[i - 1].value) * 0.5;
    }
    zerosAbove += labels_[sorted[i].index] == 0;
  }
  return split;
}

}  // namespace geneclub
