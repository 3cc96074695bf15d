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

// Least-significant-digit radix sort of the samples by key, a byte at a time.
// Each pass is stable, so equal keys keep sample order; bytes that all keys
// share are skipped.
void radixSortByKey(std::vector<std::uint64_t>& keys, std::vector<int>& order) {
  constexpr int kBytes = 8;
  constexpr int kBuckets = 256;
  const std::size_t n = keys.size();
  std::vector<std::array<std::uint32_t, kBuckets>> counts(kBytes);
  for (auto& count : counts) count.fill(0);
  for (const std::uint64_t key : keys) {
    for (int byte = 0; byte < kBytes; ++byte) ++counts[byte][(key >> (8 * byte)) & 0xFF];
  }
  std::vector<std::uint64_t> keysOut(n);
  std::vector<int> orderOut(n);
  for (int byte = 0; byte < kBytes; ++byte) {
    std::array<std::uint32_t, kBuckets>& count = counts[byte];
    if (count[(keys[0] >> (8 * byte)) & 0xFF] == n) continue;
    std::uint32_t start = 0;
    for (std::uint32_t& bucket : count) {
      const std::uint32_t size = bucket;
      bucket = start;
      start += size;
    }
    for (std::size_t k = 0; k < n; ++k) {
      const std::uint32_t to = count[(keys[k] >> (8 * byte)) & 0xFF]++;
      keysOut[to] = keys[k];
      orderOut[to] = order[k];
    }
    keys.swap(keysOut);
    order.swap(orderOut);
  }
}

// The samples in findBestSplit's order, largest value first and equal values
// in sample order, with their values in that order. Small sets: insertion
// sort, which beats the others there; a sample moves up only past strictly
// smaller values. Larger sets: the stable radix sort.
void sortDescending(std::span<const double> values, std::vector<int>& order,
                    std::vector<double>& sortedValues) {
  const int n = static_cast<int>(values.size());
  order.resize(n);
  std::iota(order.begin(), order.end(), 0);
  constexpr int kInsertionSortLimit = 96;
  if (n > kInsertionSortLimit) {
    std::vector<std::uint64_t> keys(n);
    for (int index = 0; index < n; ++index) keys[index] = descendingKey(values[index]);
    radixSortByKey(keys, order);
  } else {
    for (int i = 1; i < n; ++i) {
      const int moving = order[i];
      int j = i;
      for (; j > 0 && values[order[j - 1]] < values[moving]; --j) order[j] = order[j - 1];
      order[j] = moving;
    }
  }
  sortedValues.resize(n);
  for (int k = 0; k < n; ++k) sortedValues[k] = values[order[k]];
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
  std::vector<int> order;
  std::vector<double> sortedValues;
  sortDescending(values, order, sortedValues);
  return order;
}

double SplitSearch::findBestSplit(std::span<const double> values, double& bestEntropy) const {
  std::vector<int> order;
  std::vector<double> sortedValues;
  sortDescending(values, order, sortedValues);
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
