#include "app/batch_run.h"

#include <tbb/global_control.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <sstream>

#include "analysis/club_methods.h"
#include "app/batch_summary.h"
#include "app/stage_clock.h"
#include "evaluation/classification_summary.h"
#include "evaluation/cross_validation.h"
#include "readers/class_assignment.h"
#include "readers/expression_table.h"
#include "results/recorded_run.h"
#include "results/results_folder.h"
#include "results/run_files.h"
#include "results/tsv_text.h"

namespace geneclub {
namespace {

namespace fs = std::filesystem;

constexpr char kPrefix[] = "geneclub-batch: ";

std::string missingPolicyName(const TableOptions& table) {
  return table.dropGenesWithMissing ? "drop-genes" : "error";
}

// The size of the data file; none for standard input or a file whose size
// cannot be had.
std::optional<std::uintmax_t> inputSize(const std::string& path) {
  std::error_code error;
  const std::uintmax_t size = path == "-" ? 0 : fs::file_size(path, error);
  if (path == "-" || error) return std::nullopt;
  return size;
}

// The files a run with these options writes, in the order the summary
// names them.
std::vector<std::string> resultFilesOf(const BatchOptions& options) {
  return resultFileNames({.patternsTable = options.patterns != PatternsKept::kNone,
                          .evaluation = options.evaluation.has_value(),
                          .report = options.report});
}

// Every file some run may write: an existing folder holding only these is
// an earlier run's results.
std::vector<std::string> allResultFileNames() {
  return resultFileNames({.patternsTable = true, .evaluation = true, .report = true});
}

// One line on the error stream; control characters in names and paths are
// written as spaces.
void reportProblem(std::ostream& errors, const std::string& message) {
  errors << kPrefix << tsvField(message) << "\n";
}

std::string folderMessage(const FolderProblem& problem) {
  return folderProblemMessage(problem, {"--force", " with --out"});
}

// Options that the data read do not fit. Returns the error message, if any.
std::optional<std::string> checkOptionsFitData(const BatchOptions& options, int genes,
                                               int samples) {
  std::ostringstream message;
  if (options.topGeneCount && *options.topGeneCount > genes) {
    message << "--top " << *options.topGeneCount << " is more than the " << genes << " genes of "
            << options.dataPath;
  } else if (options.evaluation && (samples < 2 || (!options.evaluation->leaveOneOut() &&
                                                    options.evaluation->foldCount > samples))) {
    message << "--evaluate " << foldSchemeName(*options.evaluation) << " needs at least "
            << std::max(2, options.evaluation->foldCount) << " samples; " << options.dataPath
            << " holds " << samples;
  } else if (!options.evaluationTopGeneCounts.empty() &&
             options.evaluationTopGeneCounts.back() > genes) {
    message << "--evaluate-top " << options.evaluationTopGeneCounts.back() << " is more than the "
            << genes << " genes of " << options.dataPath;
  } else {
    return std::nullopt;
  }
  return message.str();
}

// The record's account of the table read, its classes and the options.
// The names are moved out of the table.
RunRecord recordOf(const BatchOptions& options, ExpressionTable& table, ClassAssignment classes) {
  RunRecord record;
  const int genes = static_cast<int>(table.values.size());
  record.input = {options.dataPath,       inputSize(options.dataPath),      formName(table.form),
                  table.labelSource,      genes + table.droppedGeneCount,   table.droppedGeneCount,
                  table.renamedGeneCount, missingPolicyName(options.table), std::nullopt};
  if (!options.table.annotationFile.empty()) {
    record.input.annotation = RunAnnotation{options.table.annotationFile, table.annotatedGeneCount,
                                            table.unannotatedGeneCount};
  }
  record.names = {std::move(table.geneNames),   std::move(table.geneColumns),
                  std::move(table.sampleNames), classes.diseaseLabel,
                  classes.normalLabel,          std::move(table.geneSymbols),
                  geneDescriptionsOf(table)};
  record.classes = std::move(classes);
  record.methods = options.methods;
  record.permutations = options.permutations;
  record.seed = options.seed;
  record.patternsKept = options.patterns;
  return record;
}

// The cross-validated classification of the data, as loaded, by the
// options' classifier with the run's K and cuts.
RunEvaluation crossValidated(const BatchOptions& options, const ExpressionData& data,
                             const AnalysisSettings& settings) {
  const EvaluationSettings classifier = {.cuts = settings.cuts,
                                         .rule = options.classifierRule,
                                         .topGeneCounts = options.evaluationTopGeneCounts,
                                         .topGeneCount = settings.topGeneCount,
                                         .seed = options.seed};
  RunEvaluation evaluation;
  evaluation.scheme = *options.evaluation;
  evaluation.seed = options.seed;
  evaluation.rule = options.classifierRule;
  evaluation.candidates = classifierCandidates(classifier, static_cast<int>(data.matrix.size()));
  evaluation.folds = assignFolds(evaluation.scheme, data.labels, options.seed);
  CrossValidation result = crossValidate(data.matrix, data.labels, evaluation.folds, classifier);
  evaluation.predictions = std::move(result.predictions);
  evaluation.foldChoices = std::move(result.foldChoices);
  evaluation.foldFrequency = std::move(result.foldFrequency);
  evaluation.summary = summariseClassification(data.labels, evaluation.predictions);
  return evaluation;
}

// Starts a stage of the clock for each method.
class MethodStages : public ClubSink {
 public:
  explicit MethodStages(StageClock& clock) : clock_(clock) {}

  void beginMethod(ClubMethod method) override {
    const std::string name(methodName(method));
    clock_.begin(name, name + " gene clubs");
  }
  void deliver(const ClubRun&) override {}

 private:
  StageClock& clock_;
};

}  // namespace

int runBatch(const BatchOptions& options, std::ostream& out, std::ostream& errors) {
  auto opened = ResultsFolder::open(options.outFolder, options.force, allResultFileNames());
  if (const FolderProblem* problem = std::get_if<FolderProblem>(&opened)) {
    reportProblem(errors, folderMessage(*problem));
    return kFailureStatus;
  }
  ResultsFolder& resultsFolder = std::get<ResultsFolder>(opened);
  std::optional<tbb::global_control> threadLimit;
  if (options.threads > 0) {
    threadLimit.emplace(tbb::global_control::max_allowed_parallelism, options.threads);
  }
  StageClock clock(errors, !options.quiet && ::isatty(STDERR_FILENO) == 1);

  clock.begin("read", "reading " + tsvField(options.dataPath));
  auto read = readExpressionTable(options.dataPath, options.table);
  if (const InputError* error = std::get_if<InputError>(&read)) {
    reportProblem(errors, error->message);
    return exitStatusOf(*error);
  }
  ExpressionTable& table = std::get<ExpressionTable>(read);
  auto assigned = assignClasses(table.labels, options.diseaseLabel);
  if (const InputError* error = std::get_if<InputError>(&assigned)) {
    reportProblem(errors, error->message);
    return exitStatusOf(*error);
  }
  const int genes = static_cast<int>(table.values.size());
  const int samples = static_cast<int>(table.sampleNames.size());
  if (const auto misfit = checkOptionsFitData(options, genes, samples)) {
    reportProblem(errors, *misfit);
    return kDataStatus;
  }
  RunRecord record = recordOf(options, table, std::move(std::get<ClassAssignment>(assigned)));
  ExpressionData data{std::move(table.values), record.classes.classLabels};
  AnalysisSettings settings =
      settingsForData(genes, data.labels, {options.topGeneCount, options.poolBase});
  settings.cuts = options.cuts;

  // The evaluation works on the data as read, before the ranking reorders
  // the rows.
  if (options.evaluation) {
    clock.begin("evaluation", "cross-validating the classification");
    record.evaluation = crossValidated(options, data, settings);
  }
  recordStartUp(record, std::move(data), settings, [&clock](RunStage stage) {
    switch (stage) {
      case RunStage::kPermutations:
        clock.begin("permutations", "permuting the labels");
        break;
      case RunStage::kRanking:
        clock.begin("ranking", "ranking the genes");
        break;
      case RunStage::kGlobalMining:
        clock.begin("global", "mining the top genes");
        break;
    }
  });

  // Every file is written into the partial folder, which takes the results
  // folder's place only when all of them are complete.
  OutputFailures failures(errors, kPrefix, tsvField(options.outFolder));
  RunFiles files(resultsFolder.partialPath(), failures);
  files.writeStartUp(record);
  MethodStages stages(clock);
  ClubSink* const sinks[] = {&stages, &files.clubs()};
  recordClubMethods(record, sinks);
  clock.begin("write", "writing the results");
  files.closeClubFiles(record);
  clock.end();
  record.stageTimes = clock.times();
  files.writeRunJson(record);
  if (options.report) {
    clock.begin("report", "drawing the report");
    files.writeReport(record);
    clock.end();
  }
  if (failures.any()) {
    reportProblem(errors, "no results were saved; " + options.outFolder + " is as it was");
    return kFailureStatus;
  }
  // Only an old folder left behind still counts the results as saved.
  const std::optional<FolderProblem> problem = resultsFolder.commit();
  if (problem) reportProblem(errors, folderMessage(*problem));
  if (problem && problem->kind != FolderProblem::Kind::kCannotRemoveOld) return kFailureStatus;
  if (!options.quiet) writeSummary(record, options.outFolder, resultFilesOf(options), out);
  return problem ? kFailureStatus : 0;
}

}  // namespace geneclub
