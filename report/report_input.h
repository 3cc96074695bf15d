// ReportInput is everything the report page shows about one batch run: the
// data set and settings, the gene ranking, the samples, the values of the
// top genes, the emerging patterns of each class, the gene clubs of each
// method run with the strongest patterns of all mining runs and, when one
// was made, the cross-validated evaluation.
//
// The batch program fills it from its results; the page only reads it. Genes
// are named everywhere by their ranking place (1 = highest gain) and samples
// by their index in `samples` (from 0), so every number on the page can be
// traced back to the ranking and to the sample order of the data file.
//
// REQUIRES (checked by buildReportHtml, which throws std::invalid_argument):
//   - every ranking place lies in 1..ranking.size();
//   - every sample index lies in 0..samples.size()-1, and every class label
//     is 1 or 0;
//   - each top gene has one value per sample, each club method run has one
//     pattern count per club, and an evaluation has one prediction per sample.

#ifndef GENECLUB_REPORT_REPORT_INPUT_H_
#define GENECLUB_REPORT_REPORT_INPUT_H_

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace geneclub {

// Class labels as numbers: the Disease class is 1, the Normal class 0.
inline constexpr int kClassOne = 1;
inline constexpr int kClassZero = 0;

// Gene counts of the data file and of its cleaning. The genes analysed are
// the ranking's genes: total - droppedForMissingValues of them.
struct ReportGeneCounts {
  int total = 0;                    // genes (rows or columns) in the file
  int droppedForMissingValues = 0;  // dropped by the missing-value policy
  int incomplete = 0;               // cut separates no samples: out of play
  int duplicate = 0;                // same profile and gain as a better gene
};

struct ReportSettings {
  int topK = 0;                      // genes mined globally, clubs per method
  int pool = 0;                      // best-ranked genes that may join a club
  std::vector<std::string> methods;  // club methods run, as named on the command line
  std::string missingValuePolicy;    // as named on the command line
};

struct ReportHeader {
  std::string dataPath;  // the data file as given to the program
  ReportGeneCounts geneCounts;
  std::string classOneLabel;   // the Disease class's label in the file
  std::string classZeroLabel;  // may be empty when no sample has class 0
  ReportSettings settings;
  std::string programVersion;
  std::string runDate;  // as the program prints it, e.g. "2026-12-07"
};

enum class RankedGeneStatus { kInPlay, kIncomplete, kDuplicate };

// One gene of the ranking. The gain is in nats; pFwer is the gene's
// family-wise error rate p-value from the permutation test, when one was run.
struct RankedGene {
  std::string name;  // as the page shows it, e.g. "1007_s_at (DDR1)"
  double split = 0.0;
  double gain = 0.0;
  RankedGeneStatus status = RankedGeneStatus::kInPlay;
  std::optional<double> pFwer;
};

struct ReportSample {
  std::string name;
  int classLabel = kClassOne;  // kClassOne or kClassZero
};

// The values of one of the K top genes, one per sample in sample order.
struct TopGeneValues {
  int place = 0;
  std::vector<double> values;
};

// One condition of a pattern: the gene at `place` above its split
// (value > split) or at or below it (value <= split).
struct PatternCondition {
  int place = 0;
  bool above = false;
};

// A minimal jumping emerging pattern: its conditions hold together in
// `support` samples of its class (listed in `samples`) and in no sample of
// the other class.
struct EmergingPattern {
  std::vector<PatternCondition> conditions;
  int support = 0;
  std::vector<int> samples;  // sample indices, ascending
};

// A pattern supported by all or all but one sample of its class, as
// diseaseEP.data and normalEP.data list its gene set, and the mining run
// that found it.
struct StrongPattern {
  std::string foundBy;  // "global" or the club method's name
  int clubPlace = 0;    // the ranking place of the club's top gene; 0 for the global run
  std::vector<PatternCondition> conditions;
  int support = 0;
};

// The clubs of one method run, one per top gene in ranking order: each club
// is its members' ranking places, the top gene first.
struct ClubMethodRun {
  std::string method;  // "independent", "division", "independent-iterative", ...
  std::vector<std::vector<int>> clubs;
  std::vector<int> patternCounts;  // EPs mined per club, parallel to clubs
};

// How the cross-validation classified one sample. Scores are the classifier's
// scores for each class; the predicted label is the one it chose. An
// uncovered sample holds no pattern of either class: both scores are 0 and
// the tie rule chose.
struct SamplePrediction {
  int fold = 0;
  int trueLabel = kClassOne;
  int predictedLabel = kClassOne;
  double scoreClassOne = 0.0;
  double scoreClassZero = 0.0;
  bool covered = true;
};

// A classifier some folds used: its scoring rule and number of mined genes.
struct FoldChoice {
  std::string rule;  // "sum", "normalised" or "top"
  int topGenes = 0;
  int folds = 0;  // how many folds used it
};

struct ReportEvaluation {
  std::string method;  // "loo" or "kfold:5"
  // The rules and Ks each training set chose from; one of each means the
  // classifier was fixed.
  std::vector<std::string> candidateRules;
  std::vector<int> candidateTopGenes;
  // The candidate a fold keeps unless another does measurably better.
  std::string referenceRule;
  int referenceTopGenes = 0;
  std::vector<FoldChoice> choices;  // the classifiers the folds used
  double accuracy = 0.0;
  double balancedAccuracy = 0.0;
  double recallClassOne = 0.0;
  double recallClassZero = 0.0;
  // confusion[trueLabel][predictedLabel]: sample counts, indexed by label.
  std::array<std::array<int, 2>, 2> confusion = {};
  std::vector<SamplePrediction> predictions;  // one per sample, in sample order
};

struct ReportInput {
  ReportHeader header;
  std::vector<RankedGene> ranking;  // all genes analysed; place = index + 1
  std::vector<ReportSample> samples;
  std::vector<TopGeneValues> topGenes;  // the K top genes, best first
  // Minimal EPs of each class over the K top genes, strongest first, indexed
  // by class label: classPatterns[kClassOne] are the Disease class's.
  std::array<std::vector<EmergingPattern>, 2> classPatterns;
  std::vector<ClubMethodRun> clubRuns;  // in the order the methods ran
  // The strong patterns of every mining run, indexed by class label, in the
  // order the class files list them.
  std::array<std::vector<StrongPattern>, 2> strongPatterns;
  std::optional<ReportEvaluation> evaluation;
};

}  // namespace geneclub

#endif  // GENECLUB_REPORT_REPORT_INPUT_H_
