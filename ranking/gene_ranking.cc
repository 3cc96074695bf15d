#include "ranking/gene_ranking.h"

#include <tbb/parallel_for.h>

#include <numeric>

#include "ranking/class_entropy.h"
#include "ranking/split_search.h"

namespace geneclub {

RankedAnalysis rankGenes(ExpressionData data) {
  const int genes = static_cast<int>(data.matrix.size());
  const double labelEntropy = classEntropy(data.labels);
  const SplitSearch search(data.labels);
  std::vector<double> splitValues(genes, 0.0);
  std::vector<double> gains(genes, 0.0);
  tbb::parallel_for(tbb::blocked_range<int>(0, genes), [&](const tbb::blocked_range<int>& rows) {
    SplitSearch::Workspace workspace;
    for (int row = rows.begin(); row != rows.end(); ++row) {
      // A two-class entropy in nats never exceeds ln 2, so the first
      // candidate always beats this bound and every gene receives a split.
      double bestEntropy = 1.0;
      splitValues[row] = search.findBestSplit(data.matrix[row], bestEntropy, workspace);
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

}  // namespace geneclub
