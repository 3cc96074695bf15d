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

  ExpressionMatrix rows(kGeneCount);
  std::vector<double> gains(kGeneCount), splits(kGeneCount);
  std::vector<int> numbers(kGeneCount);
  for (int place = 0; place < kGeneCount; ++place) {
    const int from = order[place];
    rows[place] = std::move(expressionMatrix[from]);
    gains[place] = informationGains[from];
    splits[place] = splitValues[from];
    numbers[place] = geneNumbers[from];
  }
  std::move(rows.begin(), rows.end(), expressionMatrix.begin());
  std::copy(gains.begin(), gains.end(), informationGains.begin());
  std::copy(splits.begin(), splits.end(), splitValues.begin());
  std::copy(numbers.begin(), numbers.end(), geneNumbers.begin());
}

}  // namespace geneclub
