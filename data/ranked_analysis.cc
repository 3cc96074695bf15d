#include "data/ranked_analysis.h"

#include <algorithm>
#include <numeric>

#include "data/sample_set.h"

namespace geneclub {
namespace {

// Puts entry order[place] of items at place, for every place of order.
template <typename Item>
void reorder(std::vector<Item>& items, std::span<const int> order) {
  std::vector<Item> moved;
  moved.reserve(order.size());
  for (const int from : order) moved.push_back(std::move(items[from]));
  std::move(moved.begin(), moved.end(), items.begin());
}

}  // namespace

RankedAnalysis::RankedAnalysis(ExpressionMatrix rows, ClassLabels labels,
                               std::vector<double> splitValues, std::vector<double> gains,
                               std::vector<int> geneNumbers, CleaningResult cleaning)
    : rows_(std::move(rows)),
      labels_(std::move(labels)),
      splitValues_(std::move(splitValues)),
      gains_(std::move(gains)),
      geneNumbers_(std::move(geneNumbers)),
      cleaning_(std::move(cleaning)) {}

void RankedAnalysis::reorderRows(std::span<const int> order) {
  reorder(rows_, order);
  reorder(splitValues_, order);
  reorder(gains_, order);
  reorder(geneNumbers_, order);
}

// A stable sort of a row permutation, applied to the rows at once.
void RankedAnalysis::sortByGain() {
  std::vector<int> order(gains_.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(),
                   [this](int a, int b) { return gains_[a] > gains_[b]; });
  reorderRows(order);
}

std::vector<std::uint64_t> RankedAnalysis::discretiseRows(int firstRow, int rowCount) const {
  const int words = wordsFor(sampleCount());
  std::vector<std::uint64_t> profiles(static_cast<std::size_t>(rowCount) * words, 0);
  for (int k = 0; k < rowCount; ++k) {
    const double split = splitValues_[firstRow + k];
    const ExpressionRow& values = rows_[firstRow + k];
    std::uint64_t* profile = &profiles[static_cast<std::size_t>(k) * words];
    // A word at a time, in a register, without branches: whether a value
    // lies above its split is as good as random, which a branch predictor
    // cannot learn.
    for (int word = 0; word < words; ++word) {
      const int first = word * kWordBits;
      const int count = std::min(kWordBits, sampleCount() - first);
      std::uint64_t bits = 0;
      for (int bit = 0; bit < count; ++bit) {
        bits |= static_cast<std::uint64_t>(values[first + bit] > split) << bit;
      }
      profile[word] = bits;
    }
  }
  return profiles;
}

}  // namespace geneclub
