#include "ranking/sorted_genes.h"

#include <tbb/parallel_for.h>

#include "ranking/split_search.h"

namespace geneclub {

SortedGenes::SortedGenes(const ExpressionMatrix& matrix)
    : geneCount_(static_cast<int>(matrix.size())),
      sampleCount_(matrix.empty() ? 0 : static_cast<int>(matrix.front().size())),
      order_(static_cast<std::size_t>(geneCount_) * sampleCount_),
      values_(order_.size()) {
  tbb::parallel_for(0, geneCount_, [&](int gene) {
    const std::vector<int> order = SplitSearch::descendingOrder(matrix[gene]);
    for (int k = 0; k < sampleCount_; ++k) {
      order_[offset(gene) + k] = order[k];
      values_[offset(gene) + k] = matrix[gene][order[k]];
    }
  });
}

}  // namespace geneclub
