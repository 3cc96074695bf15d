// analyse: the batch program's analysis of a samples x genes array, run
// in-process. The permutations, the start-up and the club methods run as
// geneclub-batch runs them (results/recorded_run.h); the result tables come
// out as columns (results/result_columns.h) for the package's DataFrames,
// and write() puts the batch program's files, byte for byte, into a results
// folder that appears whole (results/results_folder.h).

#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "analysis/club_methods.h"
#include "python/engine_arrays.h"
#include "python/engine_module.h"
#include "readers/class_assignment.h"
#include "results/recorded_run.h"
#include "results/result_columns.h"
#include "results/results_folder.h"
#include "results/run_files.h"
#include "results/run_record.h"
#include "results/tsv_text.h"

namespace geneclub::python {
namespace {

namespace py = pybind11;

// Keeps the rows of clubs.tsv and patterns.tsv as columns. A club's
// pattern rows are made on the thread that mined it and appended in club
// order.
class ClubColumnsSink : public ClubSink {
 public:
  ClubColumnsSink(const RunRecord& record, ClubColumns& clubs, PatternColumns& patterns)
      : record_(record),
        clubs_(clubs),
        patterns_(patterns),
        patternRows_(record.ranking(), record.names, PatternsKept::kAll) {
    patternRows_.collect("global", 0, record.startUp.global, record.startUp.topRows, patterns_);
  }

  void beginMethod(ClubMethod method) override {
    method_ = std::string(methodName(method));
    clubPatterns_.assign(record_.settings().topGeneCount, PatternColumns());
  }

  void prepare(const ClubRun& run) override {
    patternRows_.collect(method_, run.topRow + 1, run.patterns, run.club,
                         clubPatterns_[run.topRow]);
  }

  void deliver(const ClubRun& run) override {
    appendClubRows(method_, run.topRow + 1, run.club, record_.settings().topGeneCount,
                   record_.ranking(), record_.names, clubs_);
    patterns_.append(std::move(clubPatterns_[run.topRow]));
  }

 private:
  const RunRecord& record_;
  ClubColumns& clubs_;
  PatternColumns& patterns_;
  PatternRowWriter patternRows_;
  std::string method_;
  std::vector<PatternColumns> clubPatterns_;  // by top row, from prepare until delivered
};

// The analysis's choices, as geneclub-batch's options make them.
struct Choices {
  std::optional<int> topGeneCount;
  std::optional<int> poolBase;
  std::vector<ClubMethod> methods;
  std::string diseaseLabel;
  int permutations = 0;
  std::uint64_t seed = 1;
  std::optional<int> threads;
};

// The messages of a results folder that cannot be written, in Python's
// terms.
std::string folderMessage(const FolderProblem& problem) {
  return folderProblemMessage(problem, {"force=True", ""});
}

// What begins each line of a file that could not be written; an exception's
// message leaves it out.
constexpr char kFailurePrefix[] = "geneclub: ";

std::string withoutPrefix(std::string lines) {
  for (std::size_t at = 0; (at = lines.find(kFailurePrefix, at)) != std::string::npos;) {
    lines.erase(at, sizeof kFailurePrefix - 1);
  }
  if (!lines.empty() && lines.back() == '\n') lines.pop_back();
  return lines;
}

[[noreturn]] void raise(PyObject* type, const std::string& message) {
  PyErr_SetString(type, message.c_str());
  throw py::error_already_set();
}

class Analysis {
 public:
  static std::unique_ptr<Analysis> run(const ValueArray& array, const py::sequence& labels,
                                       const py::sequence& geneNames,
                                       const py::sequence& sampleNames,
                                       std::vector<int> geneColumns, const py::sequence& symbols,
                                       const py::sequence& descriptions, RunInput input,
                                       Choices choices) {
    const ValueView values = valueView(array);
    const auto samples = static_cast<int>(values.shape(0));
    const auto genes = static_cast<int>(values.shape(1));
    auto assigned = assignClasses(namesOf(labels), choices.diseaseLabel);
    if (const InputError* error = std::get_if<InputError>(&assigned)) {
      raise(PyExc_ValueError, error->message);
    }
    auto analysis = std::make_unique<Analysis>();
    analysis->threads_ = choices.threads;
    RunRecord& record = analysis->record_;
    record.classes = std::move(std::get<ClassAssignment>(assigned));
    record.input = std::move(input);
    record.names = {namesOf(geneNames),          std::move(geneColumns),     namesOf(sampleNames),
                    record.classes.diseaseLabel, record.classes.normalLabel, namesOf(symbols),
                    namesOf(descriptions)};
    require(static_cast<int>(record.names.genes.size()) == genes &&
                static_cast<int>(record.names.geneColumns.size()) == genes &&
                static_cast<int>(record.names.samples.size()) == samples &&
                static_cast<int>(record.classes.classLabels.size()) == samples,
            "the names and labels do not fit the values");
    require(record.names.geneSymbols.empty() ||
                static_cast<int>(record.names.geneSymbols.size()) == genes,
            "one symbol per gene is needed");
    require(record.names.geneDescriptions.empty() ||
                static_cast<int>(record.names.geneDescriptions.size()) == genes,
            "one description per gene is needed");
    record.methods = choices.methods;
    record.permutations = choices.permutations;
    record.seed = choices.seed;
    record.patternsKept = PatternsKept::kAll;

    py::gil_scoped_release release;
    runWithThreads(choices.threads, [&] {
      const AnalysisSettings settings = settingsForData(genes, record.classes.classLabels,
                                                        {choices.topGeneCount, choices.poolBase});
      recordStartUp(record, ExpressionData{geneRows(values), record.classes.classLabels}, settings);
      ClubColumnsSink columns(record, analysis->clubs_, analysis->patterns_);
      ClubSink* const sinks[] = {&columns};
      recordClubMethods(record, sinks);
    });
    return analysis;
  }

  // Writes the batch program's files into `folder`, which appears whole or
  // not at all. The clubs are built and mined again for the files, which
  // gives the same clubs and patterns and keeps no club in memory between
  // the analysis and the writing. Raises OSError (FileExistsError for existing results
  // without force) when the folder cannot be used or a file not written.
  void write(const std::string& folder, bool report, bool force) {
    const std::vector<std::string> allNames =
        resultFileNames({.patternsTable = true, .evaluation = true, .report = true});
    auto opened = ResultsFolder::open(folder, force, allNames);
    if (const FolderProblem* problem = std::get_if<FolderProblem>(&opened)) {
      raise(problem->kind == FolderProblem::Kind::kResultFileExists ? PyExc_FileExistsError
                                                                    : PyExc_OSError,
            folderMessage(*problem));
    }
    ResultsFolder& resultsFolder = std::get<ResultsFolder>(opened);
    std::ostringstream failureText;
    {
      py::gil_scoped_release release;
      OutputFailures failures(failureText, kFailurePrefix, folder);
      RunFiles files(resultsFolder.partialPath(), failures);
      runWithThreads(threads_, [&] {
        files.writeStartUp(record_);
        ClubSink* const sinks[] = {&files.clubs()};
        runClubMethods(record_.startUp, record_.methods, sinks);
      });
      files.closeClubFiles(record_);
      files.writeRunJson(record_);
      if (report) files.writeReport(record_);
      if (failures.any()) failureText << "no results were saved; " << folder << " is as it was";
    }
    if (!failureText.str().empty()) raise(PyExc_OSError, withoutPrefix(failureText.str()));
    if (const std::optional<FolderProblem> problem = resultsFolder.commit()) {
      raise(PyExc_OSError, folderMessage(*problem));
    }
  }

  py::dict genes() const {
    const GeneColumns columns = genesColumns(record_.ranking(), record_.names, record_.pValues, {});
    py::dict table;
    table["rank"] = toArray(columns.rank);
    table["gene"] = textColumn(columns.gene);
    table["column"] = toArray(columns.column);
    table["split"] = toArray(columns.split);
    table["gain"] = toArray(columns.gain);
    table["status"] = textColumn(columns.status);
    table["duplicate_of"] = textColumn(columns.duplicateOf);
    table["p_fwer"] = toArray(columns.pFwer);
    table["fold_frequency"] = toArray(columns.foldFrequency);
    table["symbol"] = textColumn(columns.symbol);
    table["description"] = textColumn(columns.description);
    return table;
  }

  py::dict clubs() const {
    py::dict table;
    table["method"] = textColumn(clubs_.method);
    table["club"] = toArray(clubs_.club);
    table["top_gene"] = textColumn(clubs_.topGene);
    table["position"] = toArray(clubs_.position);
    table["gene"] = textColumn(clubs_.gene);
    table["rank"] = toArray(clubs_.rank);
    const py::str yes("yes"), no("no");
    table["mined"] = objectColumn(clubs_.mined.size(),
                                  [&](std::size_t row) { return clubs_.mined[row] ? yes : no; });
    return table;
  }

  py::dict patterns() const {
    // Each sample set becomes one tuple of the samples' names, shared by
    // the rows of its group; repeated texts are one string object each.
    const py::list sampleNames = nameList(tsvNames(record_.names.samples));
    py::list sets(patterns_.sampleSets.size());
    for (std::size_t set = 0; set < patterns_.sampleSets.size(); ++set) {
      const std::vector<int>& members = patterns_.sampleSets[set];
      py::tuple tuple(members.size());
      for (std::size_t i = 0; i < members.size(); ++i) tuple[i] = sampleNames[members[i]];
      sets[set] = std::move(tuple);
    }
    const py::list analysisNames = nameList(patterns_.analysisNames);
    const py::list classLabels =
        nameList(tsvNames({record_.names.normalLabel, record_.names.diseaseLabel}));
    const std::size_t rows = patterns_.pattern.size();
    py::dict table;
    table["analysis"] =
        objectColumn(rows, [&](std::size_t row) { return analysisNames[patterns_.analysis[row]]; });
    table["club"] = toArray(patterns_.club);
    table["class"] = objectColumn(
        rows, [&](std::size_t row) { return classLabels[patterns_.classNumber[row]]; });
    table["support"] = toArray(patterns_.support);
    table["class_size"] = toArray(patterns_.classSize);
    table["samples"] =
        objectColumn(rows, [&](std::size_t row) { return sets[patterns_.sampleSet[row]]; });
    table["pattern"] = textColumn(patterns_.pattern);
    table["ranks"] = textColumn(patterns_.ranks);
    table["symbols"] = textColumn(patterns_.symbols);
    return table;
  }

  py::dict settings() const {
    const AnalysisSettings& settings = record_.settings();
    py::dict result;
    result["top"] = settings.topGeneCount;
    result["pool"] = settings.poolBase;
    result["methods"] = py::tuple(py::cast(record_.methodNames()));
    result["permutations"] = record_.permutations;
    result["seed"] = record_.seed;
    result["strong_disease_support"] = settings.strongDiseaseSupport;
    result["strong_normal_support"] = settings.strongNormalSupport;
    return result;
  }

  py::dict classes() const {
    const std::vector<std::string> labels = {record_.classes.diseaseLabel,
                                             record_.classes.normalLabel};
    const py::list names = nameList(labels);
    py::dict result;
    result["disease"] = names[0];
    result["normal"] = names[1];
    result["disease_size"] = record_.diseaseSize();
    result["normal_size"] = record_.sampleCount() - record_.diseaseSize();
    return result;
  }

  py::dict counts() const {
    const CleaningResult& cleaning = record_.ranking().cleaning();
    py::dict result;
    result["samples"] = record_.sampleCount();
    result["genes"] = record_.ranking().geneCount();
    result["incomplete"] = cleaning.incompleteGenes;
    result["duplicate"] = cleaning.duplicateGenes;
    if (!record_.pValues.empty()) result["p_fwer_below_0.05"] = record_.significantGeneCount();
    py::dict patterns;
    for (const PatternCount& count : record_.patternCounts) {
      py::dict counted;
      counted["clubs"] = count.clubs;
      counted["disease"] = count.disease;
      counted["normal"] = count.normal;
      patterns[py::str(count.analysis)] = std::move(counted);
    }
    result["patterns"] = std::move(patterns);
    return result;
  }

 private:
  static std::vector<std::string> tsvNames(const std::vector<std::string>& names);

  RunRecord record_;
  std::optional<int> threads_;
  ClubColumns clubs_;
  PatternColumns patterns_;
};

std::vector<std::string> Analysis::tsvNames(const std::vector<std::string>& names) {
  std::vector<std::string> fields;
  fields.reserve(names.size());
  for (const std::string& name : names) fields.push_back(tsvField(name));
  return fields;
}

}  // namespace

void addAnalysis(py::module_& module) {
  py::class_<RunInput>(module, "Origin", "Where analysed data came from, for run.json.")
      .def(py::init([](std::string path, std::optional<std::uintmax_t> size, std::string form,
                       std::string labelSource, int totalGenes, int droppedGenes, int renamedGenes,
                       std::string missingPolicy, std::optional<std::string> annotationPath,
                       int annotationMatched, int annotationUnmatched) {
             RunInput input{
                 std::move(path), size,         std::move(form), std::move(labelSource),
                 totalGenes,      droppedGenes, renamedGenes,    std::move(missingPolicy),
                 std::nullopt};
             if (annotationPath) {
               input.annotation =
                   RunAnnotation{*annotationPath, annotationMatched, annotationUnmatched};
             }
             return input;
           }),
           py::arg("path"), py::arg("size"), py::arg("form"), py::arg("label_source"),
           py::arg("total_genes"), py::arg("dropped_genes"), py::arg("renamed_genes"),
           py::arg("missing"), py::arg("annotation_path"), py::arg("annotation_matched"),
           py::arg("annotation_unmatched"));
  py::class_<Analysis>(module, "Analysis", "An analysis run by the engine.")
      .def("write", &Analysis::write, py::arg("folder"), py::arg("report"), py::arg("force"),
           "Writes the batch program's result files into a folder that appears whole.")
      .def("genes", &Analysis::genes, "The columns of genes.tsv.")
      .def("clubs", &Analysis::clubs, "The columns of clubs.tsv.")
      .def("patterns", &Analysis::patterns, "The columns of patterns.tsv.")
      .def("settings", &Analysis::settings, "K, P, the methods, permutations and seed.")
      .def("classes", &Analysis::classes, "The labels of class 1 and 0 and their sizes.")
      .def("counts", &Analysis::counts, "Samples, genes taken out of play, patterns found.");
  module.def(
      "analyse",
      [](const ValueArray& values, const py::sequence& labels, const py::sequence& geneNames,
         const py::sequence& sampleNames, std::vector<int> geneColumns, const py::sequence& symbols,
         const py::sequence& descriptions, RunInput origin, std::optional<int> top,
         std::optional<int> pool, const std::vector<int>& methods, const std::string& disease,
         int permutations, std::uint64_t seed, std::optional<int> threads) {
        require(permutations >= 0, "permutations must be at least 0");
        require(!top || (*top >= 1 && *top <= kMaxTopGeneCount &&
                         *top <= static_cast<int>(geneColumns.size())),
                "top must be from 1 to 32 and at most the number of genes");
        require(!pool || *pool >= 0, "pool must be at least 0");
        Choices choices{top, pool, {}, disease, permutations, seed, threads};
        for (const int method : methods) {
          require(method >= 1 && method <= 4, "methods are numbered 1 to 4");
          choices.methods.push_back(kClubMethods[method - 1]);
        }
        return Analysis::run(values, labels, geneNames, sampleNames, std::move(geneColumns),
                             symbols, descriptions, std::move(origin), std::move(choices));
      },
      py::arg("values"), py::arg("labels"), py::arg("genes"), py::arg("samples"),
      py::arg("columns"), py::arg("symbols"), py::arg("descriptions"), py::arg("origin"),
      py::arg("top"), py::arg("pool"), py::arg("methods"), py::arg("disease"),
      py::arg("permutations"), py::arg("seed"), py::arg("threads"),
      "Analyses a samples x genes float64 array as geneclub-batch does.");
}

}  // namespace geneclub::python
