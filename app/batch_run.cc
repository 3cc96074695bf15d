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
#include "evaluation/permutation_test.h"
#include "readers/class_assignment.h"
#include "results/result_folder.h"

namespace geneclub {
namespace {

namespace fs = std::filesystem;

constexpr char kPrefix[] = "geneclub-batch: ";

std::string formText(ExpressionTable::Form form) {
  switch (form) {
    case ExpressionTable::Form::kTable:
      return "table";
    case ExpressionTable::Form::kGenesInRows:
      return "genes-in-rows";
    case ExpressionTable::Form::kNativeRecords:
      return "native";
  }
  return "";
}

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

std::vector<std::string> resultFilesOf(const BatchOptions& options) {
  return resultFileNames(options.evaluation.has_value(), options.report);
}

// The folder must be a folder (or not exist yet) and hold none of the result
// files unless they may be replaced. Returns the error message, if any.
std::optional<std::string> checkResultFolder(const BatchOptions& options) {
  std::error_code error;
  const fs::path folder(options.outFolder);
  const fs::file_status status = fs::status(folder, error);
  if (fs::exists(status) && !fs::is_directory(status)) {
    return options.outFolder + " exists and is not a folder; choose another with --out";
  }
  if (options.force) return std::nullopt;
  for (const std::string& name : resultFilesOf(options)) {
    if (fs::exists(fs::symlink_status(folder / name, error))) {
      return (folder / name).string() +
             " exists; use --force to replace it, or choose another folder with --out";
    }
  }
  return std::nullopt;
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
  record.input = {options.dataPath,
                  inputSize(options.dataPath),
                  formText(table.form),
                  table.labelSource,
                  genes + table.droppedGeneCount,
                  table.droppedGeneCount,
                  missingPolicyName(options.table)};
  record.names = {std::move(table.geneNames), std::move(table.geneColumns),
                  std::move(table.sampleNames), classes.diseaseLabel, classes.normalLabel};
  record.classes = std::move(classes);
  record.methods = options.methods;
  record.permutations = options.permutations;
  record.seed = options.seed;
  return record;
}

// The cross-validated classification of the data, as loaded.
RunEvaluation crossValidated(FoldScheme scheme, std::uint64_t seed, const ExpressionData& data,
                             int topGeneCount) {
  RunEvaluation evaluation;
  evaluation.scheme = scheme;
  evaluation.seed = seed;
  evaluation.folds = assignFolds(scheme, data.labels, seed);
  evaluation.predictions = crossValidate(data.matrix, data.labels, evaluation.folds, topGeneCount);
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
  if (const std::optional<std::string> problem = checkResultFolder(options)) {
    errors << kPrefix << *problem << "\n";
    return kFailureStatus;
  }
  std::optional<tbb::global_control> threadLimit;
  if (options.threads > 0) {
    threadLimit.emplace(tbb::global_control::max_allowed_parallelism, options.threads);
  }
  StageClock clock(errors, !options.quiet && ::isatty(STDERR_FILENO) == 1);

  clock.begin("read", "reading " + options.dataPath);
  auto read = readExpressionTable(options.dataPath, options.table);
  if (const InputError* error = std::get_if<InputError>(&read)) {
    errors << kPrefix << error->message << "\n";
    return exitStatusOf(*error);
  }
  ExpressionTable& table = std::get<ExpressionTable>(read);
  auto assigned = assignClasses(table.labels, options.diseaseLabel);
  if (const InputError* error = std::get_if<InputError>(&assigned)) {
    errors << kPrefix << error->message << "\n";
    return exitStatusOf(*error);
  }
  const int genes = static_cast<int>(table.values.size());
  if (const auto misfit = checkOptionsFitData(options, genes, table.sampleNames.size())) {
    errors << kPrefix << *misfit << "\n";
    return kDataStatus;
  }
  RunRecord record = recordOf(options, table, std::move(std::get<ClassAssignment>(assigned)));
  ExpressionData data{std::move(table.values), record.classes.classLabels};
  AnalysisSettings settings =
      settingsForData(genes, data.labels, {options.topGeneCount, options.poolBase});

  // Both work on the data as read, before the ranking reorders the rows.
  if (options.evaluation) {
    clock.begin("evaluation", "cross-validating the classification");
    record.evaluation =
        crossValidated(*options.evaluation, options.seed, data, settings.topGeneCount);
  }
  std::vector<double> permutationMaxima;
  if (options.permutations > 0) {
    clock.begin("permutations", "permuting the labels");
    permutationMaxima =
        permutationMaxGains(data.matrix, data.labels, options.permutations, options.seed);
  }
  clock.begin("ranking", "ranking the genes");
  record.startUp = runStartUp(std::move(data), settings, [&clock](const ProgressEvent& event) {
    if (event.step == ProgressEvent::Step::kGenesRanked) {
      clock.begin("global", "mining the top genes");
    }
  });
  if (!permutationMaxima.empty()) {
    record.pValues = familywisePValues(permutationMaxima, record.ranking().gains());
  }

  std::error_code folderError;
  fs::create_directories(options.outFolder, folderError);
  if (folderError) {
    errors << kPrefix << "cannot create the folder " << options.outFolder << ": "
           << folderError.message() << "\n";
    return kFailureStatus;
  }
  OutputFailures failures(errors);
  ResultFolder folder(options.outFolder, failures);
  folder.writeStartUp(record);
  RunRecorder recorder(record);
  MethodStages stages(clock);
  ClubSink* const sinks[] = {&stages, &folder.clubs(), &recorder};
  runClubMethods(record.startUp, options.methods, sinks);
  clock.begin("write", "writing the results");
  folder.closeClubFiles();
  clock.end();
  record.stageTimes = clock.times();
  folder.writeRunJson(record);
  if (options.report) {
    clock.begin("report", "drawing the report");
    folder.writeReport(record);
    clock.end();
  }
  if (!options.quiet) writeSummary(record, options.outFolder, resultFilesOf(options), out);
  return failures.any() ? kFailureStatus : 0;
}

}  // namespace geneclub
