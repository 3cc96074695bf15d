#include "app/batch_run.h"

#include <tbb/global_control.h>
#include <unistd.h>

#include <filesystem>
#include <iomanip>
#include <memory>
#include <nlohmann/json.hpp>
#include <numeric>
#include <optional>
#include <sstream>

#include "app/batch_report.h"
#include "app/stage_clock.h"
#include "clubs/club_runs.h"
#include "evaluation/classification_summary.h"
#include "evaluation/cross_validation.h"
#include "evaluation/permutation_test.h"
#include "ranking/discretised_samples.h"
#include "ranking/start_up.h"
#include "readers/class_assignment.h"
#include "report/report_page.h"
#include "results/ep_report.h"
#include "results/output_file.h"
#include "results/result_tables.h"
#include "results/results_folder.h"
#include "results/top_genes.h"
#include "results/tsv_text.h"

namespace geneclub {
namespace {

namespace fs = std::filesystem;

constexpr char kPrefix[] = "geneclub-batch: ";

// At most this many top genes: the default K.
constexpr int kDefaultTopGenes = 20;

// The result files every run writes.
constexpr const char* kResultFiles[] = {"topGenes.data", "EP.data",   "diseaseEP.data",
                                        "normalEP.data", "genes.tsv", "clubs.tsv",
                                        "patterns.tsv",  "run.json"};

constexpr char kReportFile[] = "report.html";
constexpr char kEvaluationFile[] = "evaluation.tsv";

// Counts of the minimal EPs of one analysis (the global run or a method).
struct PatternCount {
  std::string analysis;
  int clubs = 0;
  long disease = 0;
  long normal = 0;
};

std::string ruleText(ClassAssignment::Rule rule) {
  switch (rule) {
    case ClassAssignment::Rule::kNegativePositive:
      return "\"negative\" is class 1, as in the interactive program";
    case ClassAssignment::Rule::kDiseaseOption:
      return "chosen with --disease";
    case ClassAssignment::Rule::kSingleLabel:
      return "the only label";
    case ClassAssignment::Rule::kFirstSampleLabel:
      return "the first sample's label; --disease chooses another";
  }
  return "";
}

std::string formText(ExpressionTable::Form form) {
  switch (form) {
    case ExpressionTable::Form::kTable:
      return "table";
    case ExpressionTable::Form::kGenesInRows:
      return "genes-in-rows";
    case ExpressionTable::Form::kNativeRecords:
      return "native";
    case ExpressionTable::Form::kSeriesMatrix:
      return "geo-series-matrix";
    case ExpressionTable::Form::kGct:
      return "gct";
  }
  return "";
}

// The files a run with these options writes, in the order the summary
// names them.
std::vector<std::string> resultFileNames(const BatchOptions& options) {
  std::vector<std::string> names(std::begin(kResultFiles), std::end(kResultFiles));
  if (options.evaluation) names.push_back(kEvaluationFile);
  if (options.report) names.push_back(kReportFile);
  return names;
}

// Every file some run may write: an existing folder holding only these is
// an earlier run's results.
std::vector<std::string> allResultFileNames() {
  BatchOptions everything;
  everything.evaluation.emplace();
  everything.report = true;
  return resultFileNames(everything);
}

// One line on the error stream; control characters in names and paths are
// written as spaces.
void reportProblem(std::ostream& errors, const std::string& message) {
  errors << kPrefix << tsvField(message) << "\n";
}

std::string folderMessage(const FolderProblem& problem) {
  const std::string reason = problem.reason.message();
  switch (problem.kind) {
    case FolderProblem::Kind::kNotAFolder:
      return problem.path + " exists and is not a folder; choose another with --out";
    case FolderProblem::Kind::kForeignEntry:
      return problem.path +
             " is not a result file, and a results folder is replaced whole: choose another "
             "folder with --out";
    case FolderProblem::Kind::kResultFileExists:
      return problem.path +
             " exists; use --force to replace it, or choose another folder with --out";
    case FolderProblem::Kind::kTakenMeanwhile:
      return problem.path +
             " received another run's results while this one ran; they are kept and this run's "
             "dropped (--force replaces them)";
    case FolderProblem::Kind::kCannotInspect:
      return "cannot read the folder " + problem.path + ": " + reason;
    case FolderProblem::Kind::kCannotReplace:
      return "cannot replace " + problem.path + ": " + reason;
    case FolderProblem::Kind::kCannotCreate:
      return "cannot create a folder in " + problem.path + ": " + reason;
    case FolderProblem::Kind::kCannotMove:
      return "cannot move the results into " + problem.path + ": " + reason;
    case FolderProblem::Kind::kCannotRemoveOld:
      return "the results are in place, but the earlier ones could not be removed from " +
             problem.path + ": " + reason;
  }
  return "";
}

std::string missingPolicyName(const TableOptions& table) {
  return table.dropGenesWithMissing ? "drop-genes" : "error";
}

// The label of class 1 or 0; "-" for an empty class 0 where one is printed.
const std::string& classLabel(const ClassAssignment& classes, int classNumber) {
  return classNumber == 1 ? classes.diseaseLabel : classes.normalLabel;
}

// What a run found, for run.json and the summary.
struct RunRecord {
  const BatchOptions& options;
  ExpressionTable::Form form;
  std::string labelSource;
  int samples;
  int genes;  // analysed: the genes of the file less those dropped
  int droppedGenes;
  const ClassAssignment& classes;
  int diseaseSize;
  const AnalysisSettings& settings;
  const GeneClubAnalyzer& analyzer;
  const DataNames& names;
  std::vector<std::string> methods;
  std::vector<PatternCount> patternCounts;
  std::optional<ClassificationSummary> summary;
  bool pValues = false;
};

void writeRunJson(const RunRecord& record,
                  const std::vector<std::pair<std::string, double>>& stageTimes,
                  std::ostream& out) {
  const BatchOptions& options = record.options;
  const ClassAssignment& classes = record.classes;
  nlohmann::ordered_json run;
  run["version"] = GENECLUB_VERSION;
  std::error_code sizeError;
  const auto inputSize = options.dataPath == "-" ? 0 : fs::file_size(options.dataPath, sizeError);
  run["input"] = {
      {"path", options.dataPath},
      {"size", options.dataPath == "-" || sizeError ? nlohmann::ordered_json()
                                                    : nlohmann::ordered_json(inputSize)},
      {"form", formText(record.form)},
      {"samples", record.samples},
      {"labels_from", record.labelSource}};
  run["settings"] = {{"top", record.settings.topGeneCount},
                     {"seed", options.seed},
                     {"permutations", options.permutations},
                     {"pool", record.settings.poolBase},
                     {"methods", record.methods},
                     {"missing", missingPolicyName(options.table)},
                     {"strong_disease_support", record.settings.strongDiseaseSupport},
                     {"strong_normal_support", record.settings.strongNormalSupport}};
  nlohmann::ordered_json labels = nlohmann::ordered_json::object();
  for (const auto& [label, count] : classes.labelCounts) labels[label] = count;
  run["labels"] = labels;
  run["classes"] = {
      {"disease", {{"label", classes.diseaseLabel}, {"size", record.diseaseSize}}},
      {"normal", {{"label", classes.normalLabel}, {"size", record.samples - record.diseaseSize}}}};
  run["genes"] = {{"total", record.genes + record.droppedGenes},
                  {"dropped", record.droppedGenes},
                  {"incomplete", record.analyzer.incompleteGeneCount},
                  {"duplicate", record.analyzer.duplicateGeneCount}};
  if (const std::optional<ClassificationSummary>& summary = record.summary) {
    nlohmann::ordered_json recall = nlohmann::ordered_json::object();
    nlohmann::ordered_json confusion = nlohmann::ordered_json::object();
    for (const int trueClass : {1, 0}) {
      if (!summary->recall[trueClass]) continue;
      recall[classLabel(classes, trueClass)] = *summary->recall[trueClass];
      nlohmann::ordered_json row = nlohmann::ordered_json::object();
      for (const int predictedClass : {1, 0}) {
        row[classLabel(classes, predictedClass)] = summary->confusion[trueClass][predictedClass];
      }
      confusion[classLabel(classes, trueClass)] = row;
    }
    run["evaluation"] = {{"method", foldSchemeName(*options.evaluation)},
                         {"accuracy", summary->accuracy},
                         {"balanced_accuracy", summary->balancedAccuracy},
                         {"recall", recall},
                         {"confusion", confusion}};
  }
  nlohmann::ordered_json patterns = nlohmann::ordered_json::object();
  for (const PatternCount& count : record.patternCounts) {
    patterns[count.analysis] = {
        {"clubs", count.clubs}, {"disease", count.disease}, {"normal", count.normal}};
  }
  run["patterns"] = patterns;
  nlohmann::ordered_json times = nlohmann::ordered_json::object();
  for (const auto& [stage, seconds] : stageTimes) times[stage] = seconds;
  run["seconds"] = times;
  // Bytes of names and paths that are not UTF-8 become U+FFFD, so that the
  // file is always valid JSON.
  std::string text = run.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
  // DEL, the one control character that JSON lets stand raw, is escaped as
  // the others are. It occurs only inside strings.
  for (std::size_t at = 0; (at = text.find('\x7f', at)) != std::string::npos;) {
    text.replace(at, 1, "\\u007f");
  }
  out << text << "\n";
}

void writeSummary(const RunRecord& record, std::ostream& out) {
  const BatchOptions& options = record.options;
  const ClassAssignment& classes = record.classes;
  const GeneClubAnalyzer& analyzer = record.analyzer;
  const std::string disease = tsvField(classes.diseaseLabel);
  const std::string normal = tsvField(classes.normalLabel);
  const std::string normalShown = normal.empty() ? "-" : normal;
  out << "Read " << tsvField(options.dataPath) << ": " << record.samples << " samples x "
      << record.genes + record.droppedGenes << " genes (" << formText(record.form)
      << ", labels from " << tsvField(record.labelSource) << ")\n";
  out << "Classes: class 1 (Disease) is " << disease << " with " << record.diseaseSize
      << " samples (" << ruleText(classes.rule) << "); class 0 (Normal) is "
      << (normal.empty() ? "empty" : normal) << " with " << record.samples - record.diseaseSize
      << " samples\n";
  out << "Genes: " << record.genes - analyzer.incompleteGeneCount - analyzer.duplicateGeneCount
      << " in play; " << analyzer.incompleteGeneCount << " incomplete (one side of the cut), "
      << analyzer.duplicateGeneCount << " duplicate";
  if (record.droppedGenes > 0) out << ", " << record.droppedGenes << " left out for missing values";
  out << "\n";
  out << "Top " << record.settings.topGeneCount << " genes by information gain (nats):\n";
  for (int row = 0; row < record.settings.topGeneCount; ++row) {
    out << std::setw(5) << row + 1 << "  "
        << tsvField(record.names.genes[analyzer.geneNumbers[row]]) << "  " << std::setprecision(4)
        << analyzer.informationGains[row] << "\n";
  }
  out << "Minimal emerging patterns (" << disease << " / " << normalShown << "):\n";
  for (const PatternCount& count : record.patternCounts) {
    out << "  " << count.analysis;
    if (count.clubs > 0) out << " (" << count.clubs << " clubs)";
    out << ": " << count.disease << " / " << count.normal << "\n";
  }
  if (const std::optional<ClassificationSummary>& summary = record.summary) {
    out << "Cross-validated classification (" << foldSchemeName(*options.evaluation) << ", seed "
        << options.seed << "): " << summary->correctCount << " of " << summary->sampleCount
        << " samples right, accuracy " << std::setprecision(4) << summary->accuracy
        << ", balanced accuracy " << summary->balancedAccuracy << "\n";
    for (const int trueClass : {1, 0}) {
      if (!summary->recall[trueClass]) continue;
      out << "  true " << tsvField(classLabel(classes, trueClass)) << ": "
          << summary->confusion[trueClass][1] << " predicted " << disease << ", "
          << summary->confusion[trueClass][0] << " predicted " << normalShown << " (recall "
          << *summary->recall[trueClass] << ")\n";
    }
  }
  if (record.pValues) {
    out << "Family-wise p-values of the top genes from " << options.permutations
        << " label permutations (seed " << options.seed << "): in genes.tsv, column p_fwer\n";
  }
  out << "Results in " << tsvField(options.outFolder) << "/: ";
  const std::vector<std::string> files = resultFileNames(options);
  for (std::size_t f = 0; f < files.size(); ++f) out << (f == 0 ? "" : ", ") << files[f];
  out << "\n";
}

}  // namespace

int runBatch(const BatchOptions& options, std::ostream& out, std::ostream& errors) {
  auto opened = ResultsFolder::open(options.outFolder, options.force, allResultFileNames());
  if (const FolderProblem* problem = std::get_if<FolderProblem>(&opened)) {
    reportProblem(errors, folderMessage(*problem));
    return kFileStatus;
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
    return error->status;
  }
  ExpressionTable table = std::move(std::get<ExpressionTable>(read));
  auto assigned = assignClasses(table.labels, options.diseaseLabel);
  if (const InputError* error = std::get_if<InputError>(&assigned)) {
    reportProblem(errors, error->message);
    return error->status;
  }
  const ClassAssignment classes = std::move(std::get<ClassAssignment>(assigned));
  const int genes = static_cast<int>(table.values.size());
  const int samples = static_cast<int>(table.sampleNames.size());
  if (options.topGeneCount && *options.topGeneCount > genes) {
    reportProblem(errors, "--top " + std::to_string(*options.topGeneCount) + " is more than the " +
                              std::to_string(genes) + " genes of " + options.dataPath);
    return kDataStatus;
  }

  AnalysisSettings settings;
  settings.topGeneCount = options.topGeneCount.value_or(std::min(kDefaultTopGenes, genes));
  settings.poolBase = options.poolBase.value_or(defaultPoolBase(genes));
  settings.gainlessClubStep = GainlessClubStep::kAddNothing;
  const int diseaseSize =
      static_cast<int>(std::count(classes.classLabels.begin(), classes.classLabels.end(), 1));
  // A strong pattern is supported by all samples of its class but one.
  settings.strongDiseaseSupport = diseaseSize - 1;
  settings.strongNormalSupport = samples - diseaseSize - 1;

  if (options.evaluation && (samples < 2 || (!options.evaluation->leaveOneOut() &&
                                             options.evaluation->foldCount > samples))) {
    reportProblem(errors, "--evaluate " + foldSchemeName(*options.evaluation) + " needs at least " +
                              std::to_string(std::max(2, options.evaluation->foldCount)) +
                              " samples; " + options.dataPath + " holds " +
                              std::to_string(samples));
    return kDataStatus;
  }

  std::vector<std::string> methodNames;
  for (const ClubMethod method : options.methods) methodNames.emplace_back(methodName(method));
  DataNames names{std::move(table.geneNames), std::move(table.geneColumns),
                  std::move(table.sampleNames), classes.diseaseLabel, classes.normalLabel};
  GeneClubAnalyzer analyzer(std::move(table.values), classes.classLabels);

  // Both work on the data as read, before the ranking reorders the rows.
  std::vector<int> folds;
  std::vector<HeldOutPrediction> predictions;
  if (options.evaluation) {
    clock.begin("evaluation", "cross-validating the classification");
    folds = assignFolds(*options.evaluation, analyzer.classLabels, options.seed);
    predictions = crossValidate(analyzer.expressionMatrix, analyzer.classLabels, folds,
                                {.cuts = options.cuts,
                                 .rule = ScoringRule::kSum,
                                 .topGeneCounts = {},
                                 .topGeneCount = settings.topGeneCount,
                                 .seed = options.seed})
                      .predictions;
  }
  std::vector<double> permutationMaxima;
  if (options.permutations > 0) {
    clock.begin("permutations", "permuting the labels");
    permutationMaxima = permutationMaxGains(analyzer.expressionMatrix, analyzer.classLabels,
                                            options.permutations, options.seed, options.cuts);
  }

  clock.begin("ranking", "ranking the genes");
  std::ostringstream unusedConsole;
  rankAndCleanGenes(analyzer, unusedConsole, options.cuts);
  const DiscretisedSamples discretised(analyzer);
  const std::vector<double> pValues =
      permutationMaxima.empty() ? std::vector<double>()
                                : familywisePValues(permutationMaxima, analyzer.informationGains);

  // Every file is written into the partial folder, which takes the results
  // folder's place only when all of them are complete.
  const fs::path folder = resultsFolder.partialPath();
  OutputFailures failures(errors, kPrefix, tsvField(options.outFolder));
  const auto pathOf = [&folder](const char* name) { return (folder / name).string(); };
  {
    OutputFile topGenes(pathOf("topGenes.data"), OutputFile::Mode::kReplace, failures);
    writeTopGenes(analyzer, settings.topGeneCount, topGenes.stream());
  }
  std::optional<ClassificationSummary> summary;
  if (options.evaluation) {
    summary = summariseClassification(analyzer.classLabels, predictions);
    OutputFile evaluationTable(pathOf(kEvaluationFile), OutputFile::Mode::kReplace, failures);
    writeEvaluationTable(folds, analyzer.classLabels, predictions, names, evaluationTable.stream());
  }
  {
    OutputFile genesTable(pathOf("genes.tsv"), OutputFile::Mode::kReplace, failures);
    writeGenesTable(analyzer, names, pValues, genesTable.stream());
  }

  std::vector<PatternCount> patternCounts;
  std::optional<ReportInput> reportInput;
  {
    EpReport report(folder, EpFileMode::kFresh, settings.strongDiseaseSupport,
                    settings.strongNormalSupport, failures);
    OutputFile clubsTable(pathOf("clubs.tsv"), OutputFile::Mode::kReplace, failures);
    OutputFile patternsTable(pathOf("patterns.tsv"), OutputFile::Mode::kReplace, failures);
    writeClubsHeader(clubsTable.stream());
    writePatternsHeader(patternsTable.stream());

    clock.begin("global", "mining the top genes");
    std::vector<int> topRows(settings.topGeneCount);
    std::iota(topRows.begin(), topRows.end(), 0);
    const MiningResult global =
        mineMinimalEps(discretised.positionSamples(topRows, settings.topGeneCount),
                       analyzer.classLabels, settings.topGeneCount);
    report.writeGlobalHeader(settings.topGeneCount);
    report.writeBlock(global, topRows);
    const PatternRowWriter patternRows(analyzer, names);
    {
      std::string text;
      patternRows.write("global", 0, global, topRows, text);
      patternsTable.stream() << text;
    }
    patternCounts.push_back(
        {"global", 0, global.disease.patternCount(), global.normal.patternCount()});
    if (options.report) {
      reportInput =
          makeReportInput({options.dataPath, genes + table.droppedGeneCount, table.droppedGeneCount,
                           methodNames, missingPolicyName(options.table)},
                          settings, analyzer, names, global);
      for (std::size_t row = 0; row < pValues.size(); ++row) {
        reportInput->ranking[row].pFwer = pValues[row];
      }
      if (summary) {
        addReportEvaluation(*reportInput, foldSchemeName(*options.evaluation), *summary, folds,
                            analyzer.classLabels, predictions);
      }
    }

    const ClubContext context(analyzer, discretised, settings);
    for (const ClubMethod method : options.methods) {
      const std::string name(methodName(method));
      clock.begin(name, name + " gene clubs");
      PatternCount count{name};
      report.writeMethodHeader(methodLabel(method));
      // Each club's EP block and pattern rows are formatted where it was
      // mined, in parallel; the writing, in club order, is all that is left.
      std::vector<EpBlock> blocks(settings.topGeneCount);
      std::vector<std::string> clubPatternRows(settings.topGeneCount);
      runClubMethod(
          method, context, analyzer.classLabels,
          [&](const ClubRun& run) {
            report.writeClubHeader(run.topRow);
            report.writeBlock(blocks[run.topRow]);
            writeClubRows(name, run.topRow + 1, run.club, settings.topGeneCount, analyzer, names,
                          clubsTable.stream());
            patternsTable.stream() << clubPatternRows[run.topRow];
            blocks[run.topRow] = EpBlock();
            std::string().swap(clubPatternRows[run.topRow]);
            ++count.clubs;
            if (reportInput) addReportClub(*reportInput, name, run.club, run.patterns);
            count.disease += run.patterns.disease.patternCount();
            count.normal += run.patterns.normal.patternCount();
          },
          [&](ClubRun& run) {
            blocks[run.topRow] = report.formatBlock(run.patterns, run.club);
            patternRows.write(name, run.topRow + 1, run.patterns, run.club,
                              clubPatternRows[run.topRow]);
          });
      patternCounts.push_back(count);
    }
    clock.begin("write", "writing the results");
  }
  clock.end();

  const RunRecord record{options,
                         table.form,
                         table.labelSource,
                         samples,
                         genes,
                         table.droppedGeneCount,
                         classes,
                         diseaseSize,
                         settings,
                         analyzer,
                         names,
                         std::move(methodNames),
                         std::move(patternCounts),
                         summary,
                         !pValues.empty()};
  {
    OutputFile runFile(pathOf("run.json"), OutputFile::Mode::kReplace, failures);
    writeRunJson(record, clock.times(), runFile.stream());
  }
  if (reportInput) {
    clock.begin("report", "drawing the report");
    OutputFile page(pathOf(kReportFile), OutputFile::Mode::kReplace, failures);
    page.stream() << buildReportHtml(*reportInput);
    clock.end();
  }
  if (failures.any()) {
    reportProblem(errors, "no results were saved; " + options.outFolder + " is as it was");
    return kFileStatus;
  }
  // Only an old folder left behind still counts the results as saved.
  const std::optional<FolderProblem> problem = resultsFolder.commit();
  if (problem) reportProblem(errors, folderMessage(*problem));
  if (problem && problem->kind != FolderProblem::Kind::kCannotRemoveOld) return kFileStatus;
  if (!options.quiet) writeSummary(record, out);
  return problem ? kFileStatus : 0;
}

}  // namespace geneclub
