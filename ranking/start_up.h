// The ranking every analysis starts from: split values and gains, the two
// cleaning steps with a ranking sort after each, so that afterwards row r
// holds the gene in ranking place r + 1 and the genes taken out of play stand
// at the end. Both programs and the cross-validation run it.

#ifndef GENECLUB_RANKING_START_UP_H_
#define GENECLUB_RANKING_START_UP_H_

#include <ostream>
#include <span>

#include "data/gene_club_analyzer.h"
#include "ranking/sorted_genes.h"
#include "ranking/split_search.h"

namespace geneclub {

// Ranks and cleans the genes, with cuts among the given candidates, writing
// the cleaning counts to console as the interactive program shows them:
//   "***The total incompleted data is: <n>\n"
//   "\n***Finding and removing duplicated genes. Please Wait...\n"
//   "\tThe total removed duplicated gene is: <n>\n"
// REQUIRES: the data are loaded and not yet ranked.
void rankAndCleanGenes(GeneClubAnalyzer& analyzer, std::ostream& console, CutCandidates candidates);

// The same for an analysis of some samples of a larger data set whose genes
// `sorted` holds in order, as computeSplitsAndGains of ranking/gene_ranking.h
// takes them: the same ranking, without sorting each gene again.
void rankAndCleanGenes(GeneClubAnalyzer& analyzer, std::ostream& console, CutCandidates candidates,
                       const SortedGenes& sorted, std::span<const int> samples);

}  // namespace geneclub

#endif  // GENECLUB_RANKING_START_UP_H_
