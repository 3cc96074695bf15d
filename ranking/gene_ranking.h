// The ranking of the genes: every gene's split value and information gain,
// and the order of the rows by gain. After the final sort, row r holds the
// gene in ranking place r + 1.

#ifndef GENECLUB_RANKING_GENE_RANKING_H_
#define GENECLUB_RANKING_GENE_RANKING_H_

#include <span>

#include "data/gene_club_analyzer.h"
#include "ranking/sorted_genes.h"
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

// The same for an analysis of some samples of a larger data set whose genes
// `sorted` holds in order: column c of the analysis is sample samples[c] of
// that data set, and each gene's order is read from sorted instead of being
// sorted again. The splits, gains and ranking are those computeSplitsAndGains
// gives, bit for bit.
// REQUIRES: as for computeSplitsAndGains; samples is ascending; row r of the
// analysis holds the values of gene r of sorted at the samples, in order.
void computeSplitsAndGains(GeneClubAnalyzer& analyzer, CutCandidates candidates,
                           const SortedGenes& sorted, std::span<const int> samples);

// Orders the rows by gain, descending and stable, moving the matrix rows,
// split values and gene numbers along.
void sortGenesByGain(GeneClubAnalyzer& analyzer);

}  // namespace geneclub

#endif  // GENECLUB_RANKING_GENE_RANKING_H_
