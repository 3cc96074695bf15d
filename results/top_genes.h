// "topGenes.data": the ranking of all genes, one line per ranking place with
// the gene's 1-based input number, its split value and its gain, both with 4
// significant digits in the stream's general notation (1235, 0.5, 0,
// 1.235e+04).

#ifndef GENECLUB_RESULTS_TOP_GENES_H_
#define GENECLUB_RESULTS_TOP_GENES_H_

#include <ostream>

#include "data/ranked_analysis.h"

namespace geneclub {

// Writes the ranking file's text to out; its title names topGeneCount, the
// number of top genes the analysis mines.
// REQUIRES: the rows are ranked.
void writeTopGenes(const RankedAnalysis& ranking, int topGeneCount, std::ostream& out);

}  // namespace geneclub

#endif  // GENECLUB_RESULTS_TOP_GENES_H_
