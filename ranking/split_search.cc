#include "ranking/split_search.h"

#include <algorithm>
#include <numeric>

#include "ranking/class_entropy.h"

namespace geneclub {
namespace {

// Above this many entries (32 MiB of doubles, about 2000 samples) the
// weighted entropies are computed for each candidate instead of tabulated:
// the table grows with the square of the sample count.
constexpr std::size_t kMaxTableEntries = std::size_t{1} << 22;

// The weighted entropy of a cut, as the tabulated and the direct search both
// compute it: the very same operations, so the very same double.
double cutEntropy(int n, int zeros, int position, int zerosAbove) {
  const int othersAbove = position - zerosAbove;
  const int zerosBelow = zeros - zerosAbove;
  const int othersBelow = (n - position) - zerosBelow;
  const double entropyBelow = classEntropyOfCounts(zerosBelow, othersBelow);
  const double entropyAbove = classEntropyOfCounts(zerosAbove, othersAbove);
  return (static_cast<double>(n - position) / n) * entropyBelow +
         (static_cast<double>(position) / n) * entropyAbove;
}

}  // namespace

SplitSearch::SplitSearch(std::span<const int> labels)
    : sampleCount_(static_cast<int>(labels.size())),
      zeroCount_(static_cast<int>(std::count(labels.begin(), labels.end(), 0))),
      labels_(labels.begin(), labels.end()) {
  const int n = sampleCount_;
  const std::size_t entries = static_cast<std::size_t>(n) * (n + 1);
  if (entries > kMaxTableEntries) return;
  table_.assign(entries, 0.0);
  for (int i = 0; i < n; ++i) {
    for (int zerosAbove = 0; zerosAbove <= i; ++zerosAbove) {
      const int zerosBelow = zeroCount_ - zerosAbove;
      const int othersBelow = (n - i) - zerosBelow;
      if (zerosBelow < 0 || othersBelow < 0) continue;  // no ordering reaches this state
      table_[static_cast<std::size_t>(i) * (n + 1) + zerosAbove] =
          cutEntropy(n, zeroCount_, i, zerosAbove);
    }
  }
}

double SplitSearch::weightedEntropy(int position, int zerosAbove) const {
  if (!table_.empty()) {
    return table_[static_cast<std::size_t>(position) * (sampleCount_ + 1) + zerosAbove];
  }
  return cutEntropy(sampleCount_, zeroCount_, position, zerosAbove);
}

std::vector<int> SplitSearch::descendingOrder(std::span<const double> values) {
  const int n = static_cast<int>(values.size());
  std::vector<int> order(n);
  std::iota(order.begin(), order.end(), 0);
  // Small sets: insertion sort, which beats the library sorts there; a
  // sample moves up only past strictly smaller values, so equal values keep
  // sample order, as the stable sort of larger sets does.
  constexpr int kInsertionSortLimit = 96;
  if (n > kInsertionSortLimit) {
    std::stable_sort(order.begin(), order.end(),
                     [values](int a, int b) { return values[a] > values[b]; });
    return order;
  }
  for (int i = 1; i < n; ++i) {
    const int moving = order[i];
    int j = i;
    for (; j > 0 && values[order[j - 1]] < values[moving]; --j) order[j] = order[j - 1];
    order[j] = moving;
  }
  return order;
}

double SplitSearch::findBestSplit(std::span<const double> values, double& bestEntropy) const {
  const std::vector<int> order = descendingOrder(values);
  std::vector<double> sortedValues(order.size());
  for (std::size_t k = 0; k < order.size(); ++k) sortedValues[k] = values[order[k]];
  return findBestSplitInOrder(sortedValues, order, labels_, bestEntropy);
}

double SplitSearch::findBestSplitInOrder(std::span<const double> sortedValues,
                                         std::span<const int> order, std::span<const int> labelOf,
                                         double& bestEntropy) const {
  double split = 0.0;
  int zerosAbove = 0;
  for (int i = 0; i < sampleCount_; ++i) {
    const double entropy = weightedEntropy(i, zerosAbove);
    if (entropy < bestEntropy) {
      bestEntropy = entropy;
      split = i == 0 ? sortedValues[0] + 0.01 : (sortedValues[i] + sortedValues[i - 1]) * 0.5;
    }
    zerosAbove += labelOf[order[i]] == 0;
  }
  return split;
}

}  // namespace geneclub
