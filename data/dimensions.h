// Fixed shape of the data set and the fixed counts of the analysis.
//
// The input file is not self-describing: it always holds 62 samples of 2000
// genes, and every loop of the analysis runs over these numbers rather than
// over the size of a container.

#ifndef GENECLUB_DATA_DIMENSIONS_H_
#define GENECLUB_DATA_DIMENSIONS_H_

namespace geneclub {

// Genes (matrix rows) per sample record.
inline constexpr int kGeneCount = 2000;

// Sample records in the file; a sample's bits fit in one 64-bit word.
inline constexpr int kSampleCount = 62;

// Best-ranked genes that the global run mines, number of gene clubs a method
// builds (one per top gene), and gene positions of every pattern-mining run.
inline constexpr int kTopGeneCount = 20;

}  // namespace geneclub

#endif  // GENECLUB_DATA_DIMENSIONS_H_
