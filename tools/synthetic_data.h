// Synthetic two-class expression data of any shape, for the demo data set,
// the tests and the benchmarks. A fixed seed gives the same values on every
// platform (integer arithmetic only), and planted genes give the ranking, the
// emerging patterns and the gene clubs something to find: informative genes
// whose classes differ threefold (each with a few misplaced samples), genes
// of one value in all samples, and copies of informative genes.

#ifndef GENECLUB_TOOLS_SYNTHETIC_DATA_H_
#define GENECLUB_TOOLS_SYNTHETIC_DATA_H_

#include <cstdint>
#include <vector>

namespace geneclub {

struct SyntheticShape {
  int genes = 2000;
  int samples = 62;
  // Samples of the class "positive" (Normal), spread evenly among the rest.
  int normalSamples = 22;
  // Informative genes in rows 0, stride, 2 * stride, ...; a stride of 0
  // spreads them evenly over the rows before the constant and copied genes.
  // 32 genes at a stride of 61 fill the 20 mined top genes of the default
  // shape and leave a dozen more for the gene clubs.
  int informativeGenes = 32;
  int informativeStride = 61;
  // The last rows: constant genes, and before them copies of the first
  // informative genes.
  int constantGenes = 3;
  int copiedGenes = 4;
  std::uint64_t seed = 20240601;
};

struct SyntheticData {
  // Expression values in hundredths, indexed [gene][sample]: exact integers
  // until printed with two decimals, between 10.00 and 20000.00.
  std::vector<std::vector<std::int64_t>> hundredths;
  // Per sample: true for the class "positive" (Normal).
  std::vector<bool> normal;
};

// REQUIRES: genes >= informativeGenes + constantGenes + copiedGenes;
// copiedGenes <= informativeGenes; 0 <= normalSamples <= samples.
SyntheticData makeSyntheticData(const SyntheticShape& shape);

// The values as doubles, [gene][sample]: what a reader of the printed values
// gets.
std::vector<std::vector<double>> expressionValues(const SyntheticData& data);

// Per sample: 1 for the class "negative" (Disease), 0 for "positive".
std::vector<int> classLabels(const SyntheticData& data);

}  // namespace geneclub

#endif  // GENECLUB_TOOLS_SYNTHETIC_DATA_H_
