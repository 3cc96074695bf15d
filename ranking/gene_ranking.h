// The ranking of the genes: every gene's split value and information gain,
// and the order of the rows by gain. After the final sort, row r holds the
// gene in ranking place r + 1.

#ifndef GENECLUB_RANKING_GENE_RANKING_H_
#define GENECLUB_RANKING_GENE_RANKING_H_

#include "data/gene_club_analyzer.h"
#include "ranking/split_search.h"

namespace geneclub {

// Gives every row its split value (the entropy-minimising cut of its values
// among the given candidates), its information gain (the class entropy of
// all samples less the entropy left after the cut, in nats) and its gene
// number (its row, as the rows still stand in input order), then sorts the
// rows by gain. Genes are handled in parallel; the results do not depend on
// the number of threads.
// REQUIRES: the data are loaded; splits and gains are not yet computed.
void computeSplitsAndGains(GeneClubAnalyzer& analyzer, CutCandidates candidates);

// Orders the rows by gain, descending and stable, moving the matrix rows,
// split values and gene numbers along.
void sortGenesByGain(GeneClubAnalyzer& analyzer);

}  // namespace geneclub

#endif  // GENECLUB_RANKING_GENE_RANKING_H_
