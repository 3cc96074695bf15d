// The ranking of the genes: every gene's split value (the entropy-minimising
// cut of its values among the candidate cuts) and information gain (the
// class entropy of all samples less the entropy left after the cut, in
// nats), and the rows ordered by gain.

#ifndef GENECLUB_RANKING_GENE_RANKING_H_
#define GENECLUB_RANKING_GENE_RANKING_H_

#include <span>

#include "data/expression_data.h"
#include "data/ranked_analysis.h"
#include "ranking/sorted_genes.h"
#include "ranking/split_search.h"

namespace geneclub {

// The data with every gene's split value and gain, its rows sorted by gain
// (RankedAnalysis::sortByGain); nothing is cleaned yet. Genes are handled in
// parallel; the results do not depend on the number of threads.
// REQUIRES: every row has data.labels.size() values.
RankedAnalysis rankGenes(ExpressionData data, CutCandidates candidates);

// The same for data that are some samples of a larger data set whose genes
// `sorted` holds in order: column c of the data is sample samples[c] of that
// data set, and each gene's order is read from sorted instead of being
// sorted again. The splits, gains and ranking are those of the other
// overload, bit for bit.
// REQUIRES: as for the other overload; samples is ascending; row r of the
// data holds the values of gene r of sorted at the samples, in order.
RankedAnalysis rankGenes(ExpressionData data, CutCandidates candidates, const SortedGenes& sorted,
                         std::span<const int> samples);

}  // namespace geneclub

#endif  // GENECLUB_RANKING_GENE_RANKING_H_
