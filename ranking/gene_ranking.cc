// Split values, information gains and the ranking of the genes by gain.

#include <algorithm>
#include <numeric>
#include <span>

#include "data/dimensions.h"
#include "data/gene_club_analyzer.h"
#include "data/process_state.h"
#include "ranking/class_entropy.h"
#include "ranking/split_search.h"

namespace geneclub {
namespace {

// Puts entry order[place] of items at place, for every place of order.
template <typename Item>
void reorder(std::vector<Item>& items, const std::vector<int>& order) {
  std::vector<Item> moved;
  moved.reserve(order.size());
  for (const int from : order) moved.push_back(std::move(items[from]));
  std::move(moved.begin(), moved.end(), items.begin());
}

}  // namespace

void GeneClubAnalyzer::computeSplitsAndGains() {
  const std::span<const int> labels(classLabels.data(), kSampleCount);
  const double labelEntropy = classEntropy(labels);
  const SplitSearch search(labels);
  for (int row = 0; row < kGeneCount; ++row) {
    // A two-class entropy in nats never exceeds ln 2, so the first candidate
    // always beats this bound and every gene receives a split value.
    double bestEntropy = 1.0;
    const double split = search.findBestSplit(
        std::span<const double>(expressionMatrix[row].data(), kSampleCount), bestEntropy);
    splitValues.push_back(split);
    informationGains.push_back(labelEntropy - bestEntropy);
    geneNumbers.push_back(row);
  }
  sortGenesByGain();
}

// A stable sort of a row permutation, applied to the rows and their three
// arrays at once: the order an exchange sort on the gains would give.
void GeneClubAnalyzer::sortGenesByGain() {
  std::vector<int> order(kGeneCount);
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(),
                   [this](int a, int b) { return informationGains[a] > informationGains[b]; });
  reorder(expressionMatrix, order);
  reorder(informationGains, order);
  reorder(splitValues, order);
  reorder(geneNumbers, order);
}

}  // namespace geneclub
