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

// Sorts the samples by key, equal keys in sample order. Each key is packed
// with its sample number into one word (the bits all keys share are left
// out, and when the rest do not fit, their lowest bits too), so that a plain
// sort of words gives the order. Where low bits had to be dropped, samples
// whose keys differ only there may stand in sample order instead of key
// order; an insertion sort by the full keys, which moves only those,
// finishes the order.
void sortByKey(SplitSearch::Workspace& work) {
  constexpr int kBitsPerWord = 64;
  const std::size_t n = work.keys.size();
  std::uint64_t anyBits = 0, allBits = ~std::uint64_t{0};
  for (const std::uint64_t key : work.keys) {
    anyBits |= key;
    allBits &= key;
  }
  const std::uint64_t differing = anyBits ^ allBits;
  if (differing == 0) return;  // all keys equal: sample order
  const int indexBits = std::bit_width(n - 1);
  const int lowestBit = std::countr_zero(differing);
  const int highestBit = kBitsPerWord - 1 - std::countl_zero(differing);
  const int width = highestBit - lowestBit + 1;
  const int dropped = lowestBit + std::max(0, width - (kBitsPerWord - indexBits));
  const std::uint64_t keptBits = highestBit == kBitsPerWord - 1
                                     ? ~std::uint64_t{0}
                                     : (std::uint64_t{1} << (highestBit + 1)) - 1;
  std::vector<std::uint64_t>& packed = work.sortedKeys;
  packed.resize(n);
  for (std::size_t k = 0; k < n; ++k) {
    packed[k] = ((work.keys[k] & keptBits) >> dropped) << indexBits | k;
  }
  std::sort(packed.begin(), packed.end());
  const std::uint64_t indexMask = (std::uint64_t{1} << indexBits) - 1;
  for (std::size_t k = 0; k < n; ++k) work.order[k] = static_cast<int>(packed[k] & indexMask);
  if (dropped == lowestBit) return;
  const std::vector<std::uint64_t>& keys = work.keys;
  std::vector<int>& order = work.order;
  for (std::size_t i = 1; i < n; ++i) {
    const int moving = order[i];
    std::size_t j = i;
    for (; j > 0 && keys[order[j - 1]] > keys[moving]; --j) order[j] = order[j - 1];
    order[j] = moving;
  }
}

// Puts the samples in findBestSplit's order into work.order, largest value
// first and equal values in sample order, and their values in that order
// into work.sortedValues. Small sets: insertion sort, which beats the others
// there; a sample moves up only past strictly smaller values. Larger sets:
// the packed sort by key.
void sortDescending(std::span<const double> values, SplitSearch::Workspace& work) {
  const int n = static_cast<int>(values.size());
  std::vector<int>& order = work.order;
  order.resize(n);
  std::iota(order.begin(), order.end(), 0);
  constexpr int kInsertionSortLimit = 64;
  if (n > kInsertionSortLimit) {
    work.keys.resize(n);
    for (int index = 0; index < n; ++index) work.keys[index] = descendingKey(values[index]);
    sortByKey(work);
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

double cutBetween(double lo, double hi) {
  const auto inside = [lo, hi](double cut) { return lo == hi ? cut == lo : lo <= cut && cut < hi; };
  const double midpoint = (lo + hi) * 0.5;
  if (inside(midpoint)) return midpoint;
  const double halfway = lo + (hi - lo) * 0.5;
  if (inside(halfway)) return halfway;
  return lo;
}

SplitSearch::SplitSearch(std::span<const int> labels, CutCandidates candidates)
    : candidates_(candidates),
      sampleCount_(static_cast<int>(labels.size())),
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
  const bool everyPosition = candidates_ == CutCandidates::kEveryPosition;
  double split = 0.0;
  int zerosAbove = 0;
  for (int i = 0; i < sampleCount_; ++i) {
    if (i == 0 || everyPosition || sortedValues[i] != sortedValues[i - 1]) {
      const double entropy = weightedEntropy(i, zerosAbove);
      if (entropy < bestEntropy) {
        bestEntropy = entropy;
        split = i == 0 ? sortedValues[0] + 0.01 : cutBetween(sortedValues[i], sortedValues[i - 1]);
      }
    }
    zerosAbove += labelOf[order[i]] == 0;
  }
  return split;
}

}  // namespace geneclub
