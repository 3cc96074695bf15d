// The ranking of the genes: every gene's split value (the entropy-minimising
// cut of its values) and information gain (the class entropy of all samples
// less the entropy left after the cut, in nats), and the rows ordered by
// gain.

#ifndef GENECLUB_RANKING_GENE_RANKING_H_
#define GENECLUB_RANKING_GENE_RANKING_H_

#include "data/expression_data.h"
#include "data/ranked_analysis.h"

namespace geneclub {

// The data with every gene's split value and gain, its rows sorted by gain
// (RankedAnalysis::sortByGain); nothing is cleaned yet. Genes are handled in
// parallel; the results do not depend on the number of threads.
// REQUIRES: every row has data.labels.size() values.
RankedAnalysis rankGenes(ExpressionData data);

}  // namespace geneclub

#endif  // GENECLUB_RANKING_GENE_RANKING_H_
