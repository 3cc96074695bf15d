#include "evaluation/permutation_test.h"

#include <tbb/parallel_for.h>

#include <algorithm>
#include <limits>

#include "evaluation/random_streams.h"
#include "ranking/class_entropy.h"
#include "ranking/sorted_genes.h"
#include "ranking/split_search.h"

namespace geneclub {
namespace {

// Permutations handled together by one task, gene by gene: a gene's sorted
// values and order (a kilobyte or two) are read from memory once per block
// instead of once per permutation, while the block's labels stay in cache.
constexpr int kPermutationsPerBlock = 32;

}  // namespace

std::vector<double> permutationMaxGains(const ExpressionMatrix& matrix, std::span<const int> labels,
                                        int permutations, std::uint64_t seed,
                                        CutCandidates candidates) {
  const int samples = static_cast<int>(labels.size());
  const std::size_t genes = matrix.size();
  const SortedGenes sorted(matrix);
  // Permuting keeps the class sizes, so the entropy of all samples and the
  // search's table of weighted entropies serve every permutation.
  const SplitSearch search(labels, candidates);
  const double labelEntropy = classEntropy(labels);

  std::vector<double> maxima(permutations);
  const int blocks = (permutations + kPermutationsPerBlock - 1) / kPermutationsPerBlock;
  tbb::parallel_for(0, blocks, [&](int block) {
    const int first = block * kPermutationsPerBlock;
    const int count = std::min(kPermutationsPerBlock, permutations - first);
    std::vector<int> permuted(static_cast<std::size_t>(count) * samples);
    for (int k = 0; k < count; ++k) {
      const std::span<int> blockLabels(&permuted[static_cast<std::size_t>(k) * samples], samples);
      std::copy(labels.begin(), labels.end(), blockLabels.begin());
      std::mt19937_64 stream = randomStream(seed, static_cast<std::uint64_t>(first + k));
      shuffleInPlace(blockLabels, stream);
    }
    std::vector<double> blockMaxima(count, std::numeric_limits<double>::lowest());
    for (std::size_t gene = 0; gene < genes; ++gene) {
      const std::span<const double> values = sorted.values(static_cast<int>(gene));
      const std::span<const int> order = sorted.order(static_cast<int>(gene));
      for (int k = 0; k < count; ++k) {
        // As in rankGenes: no weighted entropy reaches 1.0 nats.
        double bestEntropy = 1.0;
        search.findBestSplitInOrder(
            values, order, std::span(&permuted[static_cast<std::size_t>(k) * samples], samples),
            bestEntropy);
        blockMaxima[k] = std::max(blockMaxima[k], labelEntropy - bestEntropy);
      }
    }
    std::copy(blockMaxima.begin(), blockMaxima.end(), maxima.begin() + first);
  });
  return maxima;
}

std::vector<double> familywisePValues(std::span<const double> permutationMaxima,
                                      std::span<const double> gains) {
  std::vector<double> ascending(permutationMaxima.begin(), permutationMaxima.end());
  std::sort(ascending.begin(), ascending.end());
  const double denominator = static_cast<double>(ascending.size() + 1);
  std::vector<double> pValues;
  pValues.reserve(gains.size());
  for (const double gain : gains) {
    const auto atLeast =
        ascending.end() - std::lower_bound(ascending.begin(), ascending.end(), gain);
    pValues.push_back(static_cast<double>(1 + atLeast) / denominator);
  }
  return pValues;
}

}  // namespace geneclub
