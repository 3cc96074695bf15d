// GeneClubAnalyzer owns the analysis of one data set: the expression matrix,
// the class labels, and what the ranking and cleaning steps learn about each
// gene (split value, information gain, load-order number, status). It holds
// no global state, so several analyses can live in one process, and threads
// may read one analysis at the same time once it is ranked.
//
// Row alignment: row r of expressionMatrix and entry r of informationGains,
// splitValues and geneNumbers always describe the same gene; the ranking sort
// moves all four together. Entries indexed by gene number instead (the
// gene's 0-based position in the input) never move.

#ifndef GENECLUB_DATA_GENE_CLUB_ANALYZER_H_
#define GENECLUB_DATA_GENE_CLUB_ANALYZER_H_

#include <cstdint>
#include <string>
#include <vector>

namespace geneclub {

// One gene's expression values, column s = sample s of the input.
using ExpressionRow = std::vector<double>;

// One row per gene; empty until the data are loaded.
using ExpressionMatrix = std::vector<ExpressionRow>;

// One entry per sample in input order: 1 for the class called Disease (the
// class word "negative"), 0 for the class called Normal ("positive").
using ClassLabels = std::vector<int>;

// What the cleaning steps decided about a gene.
enum class GeneStatus : std::uint8_t {
  kInPlay,
  kIncomplete,  // its split puts all samples on one side
  kDuplicate,   // its discretised values equal those of an earlier gene of equal gain
};

class GeneClubAnalyzer {
 public:
  GeneClubAnalyzer() = default;

  // The analysis of the given data.
  // REQUIRES: every row has classLabels.size() values.
  GeneClubAnalyzer(ExpressionMatrix matrix, ClassLabels labels)
      : expressionMatrix(std::move(matrix)), classLabels(std::move(labels)) {}

  int geneCount() const { return static_cast<int>(expressionMatrix.size()); }
  int sampleCount() const { return static_cast<int>(classLabels.size()); }

  // Cleaning, once, after the split computation. countIncompleteData takes
  // every gene whose split puts all samples on one side out of play (gain
  // 0.0) and returns their number. removeDuplicatedGenes takes out every gene
  // whose discretised values equal those of an earlier row of the same,
  // non-zero gain, also zeroing its values, and returns their number.
  // REQUIRES: splitValues and informationGains hold an entry per row; for
  // removeDuplicatedGenes, rows sorted by gain, descending.
  int countIncompleteData();
  int removeDuplicatedGenes();

  // The discretised values of rowCount consecutive rows from firstRow, each
  // tested against its own row's split value: wordsFor(sampleCount()) words
  // per row, bit s set when sample s lies strictly above the split.
  // REQUIRES: the rows and their split values exist.
  std::vector<std::uint64_t> discretiseGenes(int firstRow, int rowCount) const;

  ExpressionMatrix expressionMatrix;
  ClassLabels classLabels;
  std::vector<double> informationGains;
  std::vector<double> splitValues;
  // For each row, the 0-based number of the gene it holds in the input.
  std::vector<int> geneNumbers;

  int incompleteGeneCount = 0;
  int duplicateGeneCount = 0;
  // By gene number: the cleaning steps' verdict, and for a duplicate the
  // number of the gene it duplicates (-1 for the others).
  std::vector<GeneStatus> geneStatus;
  std::vector<int> duplicateOf;
};

}  // namespace geneclub

#endif  // GENECLUB_DATA_GENE_CLUB_ANALYZER_H_
