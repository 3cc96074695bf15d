// The machine-readable tables of a batch run, one header line each, tab
// separated, doubles in their shortest round-trip form, genes named as in
// the input:
//   genes.tsv       rank, gene, column, split, gain, status, duplicate_of,
//                   p_fwer, fold_frequency, symbol, description
//   evaluation.tsv  sample, fold, true, predicted, score_disease,
//                   score_normal, rule, top, covered
//   clubs.tsv       method, club, top_gene, position, gene, rank, mined
//   patterns.tsv    analysis, club, class, support, class_size, samples,
//                   pattern, ranks, symbols
// Columns added later stand after the earlier ones (fold_frequency, symbol
// and description after p_fwer), so that readers of the earlier columns, by
// name or by position, keep working.
// patterns.tsv holds the minimal EPs of every mining run (all supports, or
// the levels EP.data lists), in the order of EP.data: per run class 1 then
// class 0, supports from the highest down, equiv case groups and their
// members in store order. Rows are written as each run arrives, so memory
// does not grow with the file.

#ifndef GENECLUB_RESULTS_RESULT_TABLES_H_
#define GENECLUB_RESULTS_RESULT_TABLES_H_

#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "data/ranked_analysis.h"
#include "evaluation/cross_validation.h"
#include "patterns/ep_miner.h"
#include "results/result_columns.h"

namespace geneclub {

// Names and class labels of the analysed data.
struct DataNames {
  std::vector<std::string> genes;    // by gene number (input order)
  std::vector<int> geneColumns;      // by gene number
  std::vector<std::string> samples;  // by sample
  std::string diseaseLabel;          // class 1
  std::string normalLabel;           // class 0
  // By gene number, "" where unknown. The symbols are empty without an
  // annotation; the descriptions when nothing describes the genes.
  std::vector<std::string> geneSymbols;
  std::vector<std::string> geneDescriptions;

  // The gene as a reader looks for it: "NAME (SYMBOL)" where its symbol is
  // known, else its name.
  std::string shownName(int gene) const;
};

// Which minimal EPs patterns.tsv holds: all of every run, those of the
// support levels EP.data lists (the highest three of each class), or none,
// when the file is not written.
enum class PatternsKept { kAll, kEpDataLevels, kNone };

// "all", "ep-data" or "none".
std::string_view patternsKeptName(PatternsKept kept);

// Each row's gain as genes.tsv shows it: the ranking's, except that a
// duplicate shows the gain of the gene it repeats, which its own equalled
// before the cleaning took it out of play (gain 0.0 in the ranking).
std::vector<double> tableGains(const RankedAnalysis& ranking);

// Writes genes.tsv: one row per ranking place, with the gains of
// tableGains. pValues, when not empty, hold each row's family-wise p-value;
// foldFrequency, when not empty, each gene's (by gene number) share of the
// training sets whose classifier mined it; else the columns stay empty.
// symbol and description are empty where unknown.
void writeGenesTable(const RankedAnalysis& ranking, const DataNames& names,
                     std::span<const double> pValues, std::span<const double> foldFrequency,
                     std::ostream& out);

// Writes evaluation.tsv: per sample its name, fold, true and predicted class
// labels, the two class scores, its fold's scoring rule and K (foldChoices
// holds fold f's at f - 1) and whether a pattern of either class holds in
// it ("yes" or "no").
void writeEvaluationTable(std::span<const int> folds, std::span<const int> trueClasses,
                          std::span<const HeldOutPrediction> predictions,
                          std::span<const ClassifierChoice> foldChoices, const DataNames& names,
                          std::ostream& out);

// The header line of clubs.tsv, and the rows of one club: its rows (top gene
// first), of which the first topGeneCount were mined. club is 1-based.
void writeClubsHeader(std::ostream& out);
void writeClubRows(std::string_view method, int club, std::span<const int> rows, int topGeneCount,
                   const RankedAnalysis& ranking, const DataNames& names, std::ostream& out);

// Appends the header line of patterns.tsv.
void writePatternsHeader(std::string& out);

// Writes the rows of patterns.tsv. The text of every gene's two conditions
// and of every sample's name is made once, so that a row is put together by
// appending. The symbols column is the pattern with each gene written as its
// symbol where the annotation gives one (as its name elsewhere), and empty
// in a run without an annotation. Safe to use from several threads at once.
class PatternRowWriter {
 public:
  // Rows for the patterns `kept` names.
  // REQUIRES: the analysis is ranked; names belong to its data; kept is not
  // kNone.
  PatternRowWriter(const RankedAnalysis& ranking, const DataNames& names, PatternsKept kept);

  // The rows of one mining run: analysis is "global" or a method's name,
  // club 0 for the global run. Position j of the run is the gene in matrix
  // row rows[j].
  void write(std::string_view analysis, int club, const MiningResult& mining,
             std::span<const int> rows, std::string& out) const;

  // The same rows appended to columns.
  void collect(std::string_view analysis, int club, const MiningResult& mining,
               std::span<const int> rows, PatternColumns& columns) const;

 private:
  // Calls emit(group, firstOfGroup, items) for each pattern of the class
  // that the table keeps, in the table's order, items in the group's order.
  template <typename Emit>
  void forEachKept(const ClassPatterns& patterns, Emit&& emit) const;

  // Appends a pattern's conditions ("GENE > SPLIT & ..."), its genes'
  // ranking places and, with an annotation, its conditions by symbol.
  void appendConditions(std::span<const int> items, std::span<const int> rows, std::string& pattern,
                        std::string& ranks, std::string& symbols) const;

  void writeClass(std::string_view analysis, int club, const ClassPatterns& patterns,
                  const std::string& label, std::span<const int> rows, std::string& out) const;
  void collectClass(std::string_view analysis, int club, const ClassPatterns& patterns,
                    const std::string& label, std::span<const int> rows,
                    PatternColumns& columns) const;

  // By matrix row: "GENE <= SPLIT" and "GENE > SPLIT"; the same with the
  // symbol for the gene where known, or no entries without an annotation.
  std::vector<std::string> atOrBelow_, above_;
  std::vector<std::string> symbolAtOrBelow_, symbolAbove_;
  std::vector<std::string> samples_;
  std::string diseaseLabel_, normalLabel_;
  PatternsKept kept_;
};

}  // namespace geneclub

#endif  // GENECLUB_RESULTS_RESULT_TABLES_H_
