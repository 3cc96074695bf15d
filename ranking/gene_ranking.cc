#include "ranking/gene_ranking.h"

#include <tbb/parallel_for.h>

#include <numeric>

#include "ranking/class_entropy.h"

namespace geneclub {
namespace {

// The data with every row's split value, gain and gene number, finding each
// row's split with splitOf(search, row, bestEntropy, workspace), the rows
// sorted by gain.
template <typename SplitOf>
RankedAnalysis rankBySplits(ExpressionData data, CutCandidates candidates, const SplitOf& splitOf) {
  const int genes = static_cast<int>(data.matrix.size());
  const double labelEntropy = classEntropy(data.labels);
  const SplitSearch search(data.labels, candidates);
  std::vector<double> splitValues(genes, 0.0);
  std::vector<double> gains(genes, 0.0);
  tbb::parallel_for(tbb::blocked_range<int>(0, genes), [&](const tbb::blocked_range<int>& rows) {
    SplitSearch::Workspace workspace;
    for (int row = rows.begin(); row != rows.end(); ++row) {
      // A two-class entropy in nats never exceeds ln 2, so the first
      // candidate always beats this bound and every gene receives a split.
      double bestEntropy = 1.0;
      splitValues[row] = splitOf(search, data, row, bestEntropy, workspace);
      gains[row] = labelEntropy - bestEntropy;
    }
  });
  std::vector<int> geneNumbers(genes);
  std::iota(geneNumbers.begin(), geneNumbers.end(), 0);
  RankedAnalysis ranked(std::move(data.matrix), std::move(data.labels), std::move(splitValues),
                        std::move(gains), std::move(geneNumbers));
  ranked.sortByGain();
  return ranked;
}

}  // namespace

RankedAnalysis rankGenes(ExpressionData data, CutCandidates candidates) {
  return rankBySplits(std::move(data), candidates,
                      [](const SplitSearch& search, const ExpressionData& data, int row,
                         double& bestEntropy, SplitSearch::Workspace& workspace) {
                        return search.findBestSplit(data.matrix[row], bestEntropy, workspace);
                      });
}

RankedAnalysis rankGenes(ExpressionData data, CutCandidates candidates, const SortedGenes& sorted,
                         std::span<const int> samples) {
  // The data's column of each sample of the larger data set, -1 for the
  // others.
  std::vector<int> columnOf(sorted.sampleCount(), -1);
  for (std::size_t column = 0; column < samples.size(); ++column) {
    columnOf[samples[column]] = static_cast<int>(column);
  }
  return rankBySplits(std::move(data), candidates,
                      [&](const SplitSearch& search, const ExpressionData& data, int row,
                          double& bestEntropy, SplitSearch::Workspace& workspace) {
                        const std::span<const int> order = sorted.order(row);
                        const std::span<const double> values = sorted.values(row);
                        // Every sample is written and only those of the data are kept: no
                        // branch on a membership that follows no pattern.
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
                                                           data.labels, bestEntropy);
                      });
}

}  // namespace geneclub
