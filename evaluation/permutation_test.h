// Family-wise p-values for the gene ranking by the single-step max-statistic
// permutation test: the labels are permuted at random (class sizes kept),
// every gene's gain is recomputed on the permuted labels, and the largest
// gain of each permutation forms the null distribution that every gene's
// observed gain is compared with. Permutations run in parallel; results are
// the same for every number of threads.

#ifndef GENECLUB_EVALUATION_PERMUTATION_TEST_H_
#define GENECLUB_EVALUATION_PERMUTATION_TEST_H_

#include <cstdint>
#include <span>
#include <vector>

#include "data/expression_data.h"
#include "ranking/split_search.h"

namespace geneclub {

// The largest gain over all genes for each of `permutations` permutations,
// in permutation order. Permutation m shuffles the labels (in sample order)
// with shuffleInPlace on the stream randomStream(seed, m) of
// evaluation/random_streams.h. A gene's gain is the class entropy of all
// samples less the best weighted entropy of its split search among the given
// candidate cuts, exactly as rankGenes computes it, with no
// cleaning. Each gene's values are sorted once and the order serves every
// permutation; memory grows with genes x samples.
// REQUIRES: matrix holds the data as loaded, not a ranked analysis's rows
// (the cleaning zeroes the values of duplicates); every row has
// labels.size() values; at least one gene; permutations >= 0.
std::vector<double> permutationMaxGains(const ExpressionMatrix& matrix, std::span<const int> labels,
                                        int permutations, std::uint64_t seed,
                                        CutCandidates candidates);

// Each gene's p_fwer = (1 + permutations whose maximum gain >= the gene's
// gain) / (permutations + 1), in the order of gains. Genes the cleaning took
// out of play have gain 0.0 and so p_fwer 1.
std::vector<double> familywisePValues(std::span<const double> permutationMaxima,
                                      std::span<const double> gains);

}  // namespace geneclub

#endif  // GENECLUB_EVALUATION_PERMUTATION_TEST_H_
