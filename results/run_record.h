// RunRecord holds the facts of one run of an analysis on a table: what was
// read, how the classes and settings were chosen, the start-up's result and
// what the club methods, the evaluation and the permutations found. It is
// gathered once, as the run goes, and every account of the run is written
// from it: the summary, run.json, the tables and the report page.

#ifndef GENECLUB_RESULTS_RUN_RECORD_H_
#define GENECLUB_RESULTS_RUN_RECORD_H_

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "analysis/club_methods.h"
#include "analysis/start_up.h"
#include "evaluation/classification_summary.h"
#include "evaluation/cross_validation.h"
#include "evaluation/fold_assignment.h"
#include "readers/class_assignment.h"
#include "report/report_input.h"
#include "results/ep_report.h"
#include "results/result_tables.h"

namespace geneclub {

// The annotation file that gave the genes their symbols and titles.
struct RunAnnotation {
  std::string path;  // as given
  int matched = 0;   // genes analysed whose identifier it holds
  int unmatched = 0;
};

// Where the data came from.
struct RunInput {
  std::string path;                    // as given; "-" for standard input
  std::optional<std::uintmax_t> size;  // in bytes, when known
  std::string form;                    // "table", "genes-in-rows", "native", ...
  std::string labelSource;             // e.g. column "labels" (1)
  int totalGenes = 0;                  // in the input, dropped ones included
  int droppedGenes = 0;                // left out for missing values
  // Genes whose name in the file was empty or repeated and so was changed.
  int renamedGenes = 0;
  std::string missingPolicy;  // "error" or "drop-genes"
  std::optional<RunAnnotation> annotation;
};

// The minimal EPs of one analysis: the global run or a method's clubs.
struct PatternCount {
  std::string analysis;  // "global" or the method's name
  int clubs = 0;
  long disease = 0;
  long normal = 0;
};

// A cross-validated classification: the classifier, each sample's fold and
// prediction, and each fold's choice.
struct RunEvaluation {
  FoldScheme scheme;
  std::uint64_t seed = 1;
  // The scoring rule; none when each training set chose among all rules.
  std::optional<ScoringRule> rule;
  // The rules and Ks each training set chose from; one of each: no choice.
  ClassifierCandidates candidates;
  std::vector<int> folds;
  std::vector<HeldOutPrediction> predictions;
  // Fold f's rule and K at f - 1.
  std::vector<ClassifierChoice> foldChoices;
  // By gene number: the share of the training sets whose classifier mined
  // the gene.
  std::vector<double> foldFrequency;
  ClassificationSummary summary;

  // The held-out samples that no pattern of either class covers.
  int uncoveredCount() const;

  // How many folds chose each rule and K, by rule in the candidates' order,
  // then by K ascending; only choices some fold made.
  struct ChoiceCount {
    ClassifierChoice choice;
    int folds = 0;
  };
  std::vector<ChoiceCount> choiceCounts() const;
};

// A pattern whose gene set diseaseEP.data or normalEP.data lists, and the
// mining run that found it.
struct ClassFilePattern {
  std::string analysis;  // "global" or the method's name
  int club = 0;          // the club's number, its top gene's place; 0 for the global run
  EpBlock::StrongGeneSet geneSet;
};

// The significance level the genes' family-wise p-values are counted
// against: the conventional 5%.
inline constexpr double kSignificanceLevel = 0.05;

struct RunRecord {
  RunInput input;
  ClassAssignment classes;
  DataNames names;
  std::vector<ClubMethod> methods;  // in the order they run
  StartUpResult startUp;
  // Family-wise p-values by ranking row, from `permutations` permutations
  // drawn with `seed`; empty without permutations.
  int permutations = 0;
  std::uint64_t seed = 1;
  std::vector<double> pValues;
  std::optional<RunEvaluation> evaluation;
  // The global run's count first, then each method's as its clubs arrive.
  std::vector<PatternCount> patternCounts;
  // Each method's clubs by ranking places with their pattern counts.
  std::vector<ClubMethodRun> clubRuns;
  // The patterns whose gene sets the class files list, in the order written.
  std::vector<ClassFilePattern> strongPatterns;
  // What patterns.tsv holds, and its size in bytes once written (none when
  // it is not written).
  PatternsKept patternsKept = PatternsKept::kAll;
  std::optional<std::uintmax_t> patternsTableBytes;
  // Each stage's name and duration in seconds, in order.
  std::vector<std::pair<std::string, double>> stageTimes;

  const AnalysisSettings& settings() const { return startUp.settings; }
  const RankedAnalysis& ranking() const { return startUp.ranking; }
  int sampleCount() const { return ranking().sampleCount(); }
  // Samples of class 1 (Disease).
  int diseaseSize() const;
  // The genes whose p_fwer lies below kSignificanceLevel, and how many of
  // them are duplicates (whose p_fwer is that of the gene they repeat).
  int significantGeneCount() const;
  int significantDuplicateCount() const;
  std::vector<std::string> methodNames() const;
};

// Records each club's patterns into the record's counts and club runs, and
// the global run's count when made. The record must outlive the recorder.
class RunRecorder : public ClubSink {
 public:
  explicit RunRecorder(RunRecord& record);

  void beginMethod(ClubMethod method) override;
  void deliver(const ClubRun& run) override;

 private:
  RunRecord& record_;
};

}  // namespace geneclub

#endif  // GENECLUB_RESULTS_RUN_RECORD_H_
