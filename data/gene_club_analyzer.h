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

  // Loading (data/load_data.cc). Reads the data file into expressionMatrix
  // and classLabels. Ends the process with its message when the file cannot
  // be opened (status 1) or holds wrong data (status 2).
  void loadData(const std::string& fileName);

  // Cleaning (data/cleaning.cc).
  void countIncompleteData();
  void removeDuplicatedGenes();
  std::vector<GeneProfile> discretiseGenes(const ExpressionRow* rows, int firstRow,
                                           int rowCount) const;

  // Ranking (ranking/).
  void computeSplitsAndGains();
  void sortGenesByGain();
  DiscretisedSamples discretiseSamples() const;
  void writeTopGenes() const;
  void runGlobalAnalysis();

  // Pattern mining (patterns/ep_miner.cc).
  void mineMinimalEps(const PositionSamples& samples) const;

  // Gene clubs (clubs/).
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
