#include "ranking/split_search.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
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

// A key whose unsigned order is the descending order of the values, equal
// values (0.0 and -0.0 included) having equal keys.
std::uint64_t descendingKey(double value) {
  const std::uint64_t bits = std::bit_cast<std::uint64_t>(value == 0.0 ? 0.0 : value);
  constexpr std::uint64_t kSignBit = std::uint64_t{1} << 63;
  const std::uint64_t ascending = (bits & kSignBit) != 0 ? ~bits : bits | kSignBit;
  return ~ascending;
}

// Least-significant-digit radix sort of the samples by key, eight bits at a
// time over the bits in which the keys differ (expression values share most
// of their bits). Each pass is stable, so equal keys keep sample order.
void radixSortByKey(SplitSearch::Workspace& work) {
  constexpr int kDigitBits = 8;
  constexpr int kBuckets = 1 << kDigitBits;
  const std::size_t n = work.keys.size();
  std::uint64_t anyBits = 0, allBits = ~std::uint64_t{0};
  for (const std::uint64_t key : work.keys) {
    anyBits |= key;
    allBits &= key;
  }
  const std::uint64_t differing = anyBits ^ allBits;
  if (differing == 0) return;
  const int lowestBit = std::countr_zero(differing);
  const int highestBit = 63 - std::countl_zero(differing);
  work.sortedKeys.resize(n);
  work.sortedOrder.resize(n);
  for (int shift = lowestBit; shift <= highestBit; shift += kDigitBits) {
    std::array<std::uint32_t, kBuckets> count{};
    for (const std::uint64_t key : work.keys) ++count[(key >> shift) & (kBuckets - 1)];
    std::uint32_t start = 0;
    for (std::uint32_t& bucket : count) {
      const std::uint32_t size = bucket;
      bucket = start;
      start += size;
    }
    for (std::size_t k = 0; k < n; ++k) {
      const std::uint32_t to = count[(work.keys[k] >> shift) & (kBuckets - 1)]++;
      work.sortedKeys[to] = work.keys[k];
      work.sortedOrder[to] = work.order[k];
    }
    work.keys.swap(work.sortedKeys);
    work.order.swap(work.sortedOrder);
  }
}

// Puts the samples in findBestSplit's order into work.order, largest value
// first and equal values in sample order, and their values in that order
// into work.sortedValues. Small sets: insertion sort, which beats the others
// there; a sample moves up only past strictly smaller values. Larger sets:
// the stable radix sort.
void sortDescending(std::span<const double> values, SplitSearch::Workspace& work) {
  const int n = static_cast<int>(values.size());
  std::vector<int>& order = work.order;
  order.resize(n);
  std::iota(order.begin(), order.end(), 0);
  constexpr int kInsertionSortLimit = 64;
  if (n > kInsertionSortLimit) {
    work.keys.resize(n);
    for (int index = 0; index < n; ++index) work.keys[index] = descendingKey(values[index]);
    radixSortByKey(work);
  } else {
    for (int i = 1; i < n; ++i) {
      const int moving = order[i];
      int j = i;
      for (; j > 0 && values[order[j - 1]] < values[moving]; --j) order[j] = order[j - 1];
      order[j] = moving;
    }
  }
  work.sortedValues.resize(n);
  for (int k = 0; k < n; ++k) work.sortedValues[k] = values[order[k]];
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
  Workspace workspace;
  sortDescending(values, workspace);
  return std::move(workspace.order);
}

double SplitSearch::findBestSplit(std::span<const double> values, double& bestEntropy) const {
  Workspace workspace;
  return findBestSplit(values, bestEntropy, workspace);
}

double SplitSearch::findBestSplit(std::span<const double> values, double& bestEntropy,
                                  Workspace& workspace) const {
  sortDescending(values, workspace);
  return findBestSplitInOrder(workspace.sortedValues, workspace.order, labels_, bestEntropy);
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
