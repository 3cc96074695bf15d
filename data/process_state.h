// Process-wide variables shared by several subsystems. They live from program
// start to exit, start empty or zero, and are not members of the analyzer.

#ifndef GENECLUB_DATA_PROCESS_STATE_H_
#define GENECLUB_DATA_PROCESS_STATE_H_

#include <vector>

namespace geneclub {

// For each matrix row, the 0-based position in the file of the gene now held
// in that row. Filled by the split computation, permuted by the ranking sort.
extern std::vector<int> geneNumbers;

// The matrix rows of the genes that the current pattern-mining run works on:
// gene position k of the run is row geneIndexList[k]. The global run sets it
// to 0..1999; each gene club replaces it with the club's rows.
extern std::vector<int> geneIndexList;

// Genes whose 62 values all lie on one side of their split value.
extern int incompleteGeneCount;

// Genes removed as duplicates of a gene of equal gain.
extern int duplicateGeneCount;

}  // namespace geneclub

#endif  // GENECLUB_DATA_PROCESS_STATE_H_
