#include "ranking/gene_ranking.h"

#include <tbb/parallel_for.h>

#include <algorithm>
#include <numeric>
#include <span>

#include "ranking/class_entropy.h"
#include "ranking/sorted_genes.h"

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

// Gives every row its split value, gain and gene number, finding each row's
// split with splitOf(search, row, bestEntropy, workspace), then sorts the
// rows by gain.
template <typename SplitOf>
void rankBySplits(GeneClubAnalyzer& analyzer, CutCandidates candidates, const SplitOf& splitOf) {
  const int genes = analyzer.geneCount();
  const double labelEntropy = classEntropy(analyzer.classLabels);
  const SplitSearch search(analyzer.classLabels, candidates);
  analyzer.splitValues.assign(genes, 0.0);
  analyzer.informationGains.assign(genes, 0.0);
  analyzer.geneNumbers.resize(genes);
  std::iota(analyzer.geneNumbers.begin(), analyzer.geneNumbers.end(), 0);
  tbb::parallel_for(tbb::blocked_range<int>(0, genes), [&](const tbb::blocked_range<int>& rows) {
    SplitSearch::Workspace workspace;
    for (int row = rows.begin(); row != rows.end(); ++row) {
      // A two-class entropy in nats never exceeds ln 2, so the first
      // candidate always beats this bound and every gene receives a split.
      double bestEntropy = 1.0;
      analyzer.splitValues[row] = splitOf(search, row, bestEntropy, workspace);
      analyzer.informationGains[row] = labelEntropy - bestEntropy;
    }
  });
  sortGenesByGain(analyzer);
}

}  // namespace

void computeSplitsAndGains(GeneClubAnalyzer& analyzer, CutCandidates candidates) {
  rankBySplits(analyzer, candidates,
               [&analyzer](const SplitSearch& search, int row, double& bestEntropy,
                           SplitSearch::Workspace& workspace) {
                 return search.findBestSplit(analyzer.expressionMatrix[row], bestEntropy,
                                             workspace);
               });
}

void computeSplitsAndGains(GeneClubAnalyzer& analyzer, CutCandidates candidates,
                           const SortedGenes& sorted, std::span<const int> samples) {
  // The analysis's column of each sample of the data set, -1 for the others.
  std::vector<int> columnOf(sorted.sampleCount(), -1);
  for (std::size_t column = 0; column < samples.size(); ++column) {
    columnOf[samples[column]] = static_cast<int>(column);
  }
  rankBySplits(analyzer, candidates,
               [&](const SplitSearch& search, int row, double& bestEntropy,
                   SplitSearch::Workspace& workspace) {
                 const std::span<const int> order = sorted.order(row);
                 const std::span<const double> values = sorted.values(row);
                 // Every sample is written and only those of the analysis
                 // are kept: no branch on a membership that follows no
                 // pattern.
                 workspace.order.resize(order.size());
                 workspace.sortedValues.resize(order.size());
                 std::size_t kept = 0;
                 for (std::size_t k = 0; k < order.size(); ++k) {
                   const int column = columnOf[order[k]];
                   workspace.order[kept] = column;
                   workspace.sortedValues[kept] = values[k];
                   kept += column >= 0;
                 }
                 workspace.order.resize(kept);
                 workspace.sortedValues.resize(kept);
                 return search.findBestSplitInOrder(workspace.sortedValues, workspace.order,
                                                    analyzer.classLabels, bestEntropy);
               });
}

// A stable sort of a row permutation, applied to the rows and their arrays at
// once: the order an exchange sort on the gains would give.
void sortGenesByGain(GeneClubAnalyzer& analyzer) {
  const std::vector<double>& gains = analyzer.informationGains;
  std::vector<int> order(gains.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(),
                   [&gains](int a, int b) { return gains[a] > gains[b]; });
  reorder(analyzer.expressionMatrix, order);
  reorder(analyzer.informationGains, order);
  reorder(analyzer.splitValues, order);
  reorder(analyzer.geneNumbers, order);
}

}  // namespace geneclub
