// GeneClubAnalyzer is the one object through which the whole analysis runs:
// it owns the expression matrix, the class labels and the per-gene split
// values and information gains, and every stateful step of the analysis is
// one of its operations. The operations are declared here and defined in the
// folder of their subsystem (data/, ranking/, patterns/, clubs/).
//
// Row alignment: row r of expressionMatrix and entry r of informationGains,
// splitValues and geneNumbers always describe the same gene; the ranking sort
// moves all four together.

#ifndef GENECLUB_DATA_GENE_CLUB_ANALYZER_H_
#define GENECLUB_DATA_GENE_CLUB_ANALYZER_H_

#include <cstdint>
#include <string>
#include <vector>

namespace geneclub {

// One gene's 62 expression values, column j = sample j of the file.
using ExpressionRow = std::vector<double>;

// 2000 rows, one per gene; empty until the data are loaded.
using ExpressionMatrix = std::vector<ExpressionRow>;

// One entry per sample in file order: 1 for "negative", 0 for "positive".
using ClassLabels = std::vector<int>;

// A gene's discretised profile: bit s is set when sample s lies strictly
// above the gene's split value. The two highest bits are always clear.
using GeneProfile = std::uint64_t;

// The samples of one pattern-mining run: entry s holds bit j when sample s
// lies strictly above the split value of the run's j-th gene.
using PositionSamples = std::vector<std::uint32_t>;

class DiscretisedSamples;

class GeneClubAnalyzer {
 public:
  GeneClubAnalyzer() = default;
  GeneClubAnalyzer(const GeneClubAnalyzer&) = delete;
  GeneClubAnalyzer& operator=(const GeneClubAnalyzer&) = delete;

  // Reads the data file into expressionMatrix (allocated here: 2000 rows of
  // 62) and classLabels, after printing the preprocessing line. Ends the
  // process with its message on standard output when the file cannot be
  // opened (status 1) or holds wrong data (status 2). Defined in data/.
  void loadData(const std::string& fileName);

  // Cleaning steps, defined in data/. countIncompleteData zeroes the gain
  // of every gene whose split puts all samples on one side and prints the
  // count; the caller re-sorts. removeDuplicatedGenes zeroes the gain and the
  // values of every gene whose profile equals that of an earlier gene of the
  // same, non-zero gain, and prints the count.
  // REQUIRES (removeDuplicatedGenes): rows sorted by gain, descending.
  void countIncompleteData();
  void removeDuplicatedGenes();

  // The discretised profiles of rowCount consecutive rows, the first of which
  // stands at firstRow, each tested against its own row's split value.
  // REQUIRES: splitValues holds entries firstRow .. firstRow + rowCount - 1.
  std::vector<GeneProfile> discretiseGenes(const ExpressionRow* rows, int firstRow,
                                           int rowCount) const;

  // Ranking, defined in ranking/. computeSplitsAndGains gives every gene its
  // split value, gain and load-order number, then sorts. sortGenesByGain
  // orders the rows by gain, descending and stable, moving the three arrays
  // and geneNumbers along. writeTopGenes writes "topGenes.data" and its
  // console notice. runGlobalAnalysis is the whole start-up analysis.
  // REQUIRES: loadData has run; the arrays are filled before a sort.
  void computeSplitsAndGains();
  void sortGenesByGain();
  DiscretisedSamples discretiseSamples() const;
  void writeTopGenes() const;
  void runGlobalAnalysis();

  // Mines the minimal EPs of both classes over gene positions 0..19 of the
  // samples and appends the block to EP.data (and strong gene sets to the
  // class files), naming positions through geneIndexList. Defined in
  // patterns/.
  // REQUIRES: samples has 62 entries; geneIndexList names every position
  // that some sample's bits can set.
  void mineMinimalEps(const PositionSamples& samples) const;

  // The gene-club methods of menu choices 1 to 4, and the mining of one club
  // (its header, then its EP block). Defined in clubs/.
  // REQUIRES: runGlobalAnalysis has run.
  void runIndependentMethod();
  void runDivisionMethod();
  void runIndependentIterativeMethod();
  void runDivisionIterativeMethod();
  void runClubEpMining(int topRow, const std::vector<int>& club,
                       const DiscretisedSamples& samples) const;

  ExpressionMatrix expressionMatrix;
  ClassLabels classLabels;
  std::vector<double> informationGains;
  std::vector<double> splitValues;
};

}  // namespace geneclub

#endif  // GENECLUB_DATA_GENE_CLUB_ANALYZER_H_
