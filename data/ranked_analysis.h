// RankedAnalysis is the data of one analysis with what the ranking and the
// cleaning steps learn about each gene: its split value, its information
// gain and its verdict. Row r holds one gene (its values, split, gain and
// input number) and the four always move together, through the one
// operation that reorders rows; after the start-up's final sort, row r holds
// the gene in ranking place r + 1. Verdicts are kept by gene number (the
// gene's 0-based position in the input) and never move.
//
// It holds no global state, so several analyses can live in one process,
// and any number of threads may read one analysis at the same time.

#ifndef GENECLUB_DATA_RANKED_ANALYSIS_H_
#define GENECLUB_DATA_RANKED_ANALYSIS_H_

#include <cstdint>
#include <span>
#include <vector>

#include "data/expression_data.h"

namespace geneclub {

// What the cleaning steps decided about a gene.
enum class GeneStatus : std::uint8_t {
  kInPlay,
  kIncomplete,  // its split puts all samples on one side
  kDuplicate,   // its discretised values equal those of an earlier gene of equal gain
};

// The verdicts of the cleaning steps.
struct CleaningResult {
  int incompleteGenes = 0;
  int duplicateGenes = 0;
  // By gene number: the verdict, and for a duplicate the number of the gene
  // it repeats (-1 for the others). Empty before the first step.
  std::vector<GeneStatus> status;
  std::vector<int> duplicateOf;

  // The genes taken out of play, which stand at the end of the ranking.
  int removedGenes() const { return incompleteGenes + duplicateGenes; }
};

class RankedAnalysis {
 public:
  RankedAnalysis() = default;

  // The rows as given: row r is gene geneNumbers[r] with values rows[r],
  // split value splitValues[r] and gain gains[r]. `cleaning` holds the
  // verdicts of cleaning steps already applied to these rows, if any.
  // REQUIRES: rows, splitValues, gains and geneNumbers have one entry per
  // gene; every row has labels.size() values; geneNumbers is a permutation
  // of 0..genes-1.
  RankedAnalysis(ExpressionMatrix rows, ClassLabels labels, std::vector<double> splitValues,
                 std::vector<double> gains, std::vector<int> geneNumbers,
                 CleaningResult cleaning = {});

  int geneCount() const { return static_cast<int>(rows_.size()); }
  int sampleCount() const { return static_cast<int>(labels_.size()); }
  const ClassLabels& classLabels() const { return labels_; }

  // By row. REQUIRES: 0 <= row < geneCount().
  const ExpressionRow& values(int row) const { return rows_[row]; }
  double splitValue(int row) const { return splitValues_[row]; }
  double gain(int row) const { return gains_[row]; }
  int geneNumber(int row) const { return geneNumbers_[row]; }
  const ExpressionMatrix& rows() const { return rows_; }
  const std::vector<double>& splitValues() const { return splitValues_; }
  const std::vector<double>& gains() const { return gains_; }
  const std::vector<int>& geneNumbers() const { return geneNumbers_; }

  // By gene number; kInPlay and -1 before the cleaning steps.
  GeneStatus status(int gene) const {
    return cleaning_.status.empty() ? GeneStatus::kInPlay : cleaning_.status[gene];
  }
  int duplicateOf(int gene) const {
    return cleaning_.duplicateOf.empty() ? -1 : cleaning_.duplicateOf[gene];
  }
  const CleaningResult& cleaning() const { return cleaning_; }

  // Orders the rows by gain, descending and stable: the order an exchange
  // sort on the gains would give.
  void sortByGain();

  // The first cleaning step: every gene whose split value puts all samples
  // on one side separates nothing and is taken out of play (gain 0.0).
  // Returns their number. The caller sorts the rows afterwards.
  int takeOutIncompleteGenes();

  // The second cleaning step: within each run of rows of exactly equal,
  // non-zero gain, a row whose discretised values equal those of an earlier
  // row still in play is a duplicate of it. Its gain and all its values are
  // set to 0.0; the row stays. Returns their number.
  // REQUIRES: the rows are sorted by gain.
  int zeroDuplicateGenes();

  // The discretised values of rowCount consecutive rows from firstRow, each
  // tested against its own row's split value: wordsFor(sampleCount()) words
  // per row, bit s set when sample s lies strictly above the split.
  // REQUIRES: 0 <= firstRow, firstRow + rowCount <= geneCount().
  std::vector<std::uint64_t> discretiseRows(int firstRow, int rowCount) const;

 private:
  // Puts row order[place] at place, for every place: values, split, gain and
  // gene number together.
  void reorderRows(std::span<const int> order);

  // Sizes the verdicts at the first cleaning step.
  void startCleaning();

  ExpressionMatrix rows_;
  ClassLabels labels_;
  std::vector<double> splitValues_;
  std::vector<double> gains_;
  std::vector<int> geneNumbers_;
  CleaningResult cleaning_;
};

}  // namespace geneclub

#endif  // GENECLUB_DATA_RANKED_ANALYSIS_H_
