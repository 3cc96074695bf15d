#include "app/batch_options.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <charconv>
#include <filesystem>
#include <sstream>

#include "data/analysis_settings.h"

namespace geneclub {
namespace {

constexpr char kProgram[] = "geneclub-batch";
constexpr char kUsage[] = "Usage: geneclub-batch [options] DATA (see --help)";

CommandLineExit commandLineError(const std::string& message) {
  return {kCommandLineStatus, std::string(kProgram) + ": " + message + "\n" + kUsage + "\n"};
}

// The comma-separated items of a list, empty ones included ("1,,2" has three).
std::vector<std::string> listItems(const std::string& list) {
  std::vector<std::string> items;
  std::stringstream text(list);
  for (std::string item; std::getline(text, item, ',');) items.push_back(item);
  // getline drops a trailing empty item.
  if (list.empty() || list.back() == ',') items.emplace_back();
  return items;
}

// Parses --methods: a comma-separated set of 1-4 or method names, or "none".
std::variant<std::vector<ClubMethod>, std::string> parseMethods(const std::string& list) {
  if (list == "none") return std::vector<ClubMethod>{};
  std::vector<bool> chosen(std::size(kClubMethods), false);
  for (const std::string& item : listItems(list)) {
    int index = -1;
    for (std::size_t m = 0; m < std::size(kClubMethods); ++m) {
      if (item == std::to_string(m + 1) || item == methodName(kClubMethods[m])) {
        index = static_cast<int>(m);
      }
    }
    if (item.empty()) return std::string("--methods has an empty item in \"" + list + "\"");
    if (item == "none") return std::string("--methods none cannot be combined with methods");
    if (index < 0) {
      return "--methods: unknown method \"" + item +
             "\" (use 1-4 or independent, division, independent-iterative, "
             "division-iterative, or none)";
    }
    chosen[index] = true;
  }
  std::vector<ClubMethod> methods;
  for (std::size_t m = 0; m < chosen.size(); ++m) {
    if (chosen[m]) methods.push_back(kClubMethods[m]);
  }
  return methods;
}

// Parses --evaluate-top: a comma-separated set of whole numbers from 1 to
// kMaxTopGeneCount, ascending and without repeats.
std::variant<std::vector<int>, std::string> parseTopGeneList(const std::string& list) {
  std::vector<int> counts;
  for (const std::string& item : listItems(list)) {
    int count = 0;
    const char* end = item.data() + item.size();
    const auto [stop, error] = std::from_chars(item.data(), end, count);
    if (item.empty() || error != std::errc() || stop != end || count < 1 ||
        count > kMaxTopGeneCount) {
      return "--evaluate-top takes whole numbers from 1 to " + std::to_string(kMaxTopGeneCount) +
             " separated by commas, not \"" + list + "\"";
    }
    counts.push_back(count);
  }
  std::sort(counts.begin(), counts.end());
  counts.erase(std::unique(counts.begin(), counts.end()), counts.end());
  return counts;
}

std::optional<PatternsKept> parsePatternsKept(const std::string& name) {
  for (const PatternsKept kept :
       {PatternsKept::kAll, PatternsKept::kEpDataLevels, PatternsKept::kNone}) {
    if (name == patternsKeptName(kept)) return kept;
  }
  return std::nullopt;
}

// Parses --seed: decimal digits only, 0 to 2^64 - 1. CLI11 reads unsigned
// numbers with strtoull, which turns "-1" and numbers beyond the range into
// 2^64 - 1 without a word, so the option is read as text.
std::optional<std::uint64_t> parseSeed(const std::string& text) {
  std::uint64_t seed = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, seed);
  if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
  return seed;
}

}  // namespace

std::string defaultOutFolder(const std::string& dataPath) {
  if (dataPath == "-") return "stdin-geneclub";
  const std::string name = std::filesystem::path(dataPath).filename().string();
  const std::size_t dot = name.find('.', 1);
  return (dot == std::string::npos ? name : name.substr(0, dot)) + "-geneclub";
}

std::variant<BatchOptions, CommandLineExit> parseBatchCommandLine(int argc,
                                                                  const char* const* argv) {
  BatchOptions options;
  CLI::App app(
      "Ranks the genes of a two-class expression table, mines its minimal emerging "
      "patterns and builds gene clubs, writing the results into one folder.",
      kProgram);
  std::string methods = "1,2,3,4";
  std::string missing = "error";
  std::optional<int> top, pool, threads;
  std::string evaluate, seed, classifier, evaluateTop, patterns = "all";
  // One file, shown as DATA alone in the help's usage line and list.
  app.add_option(
         "DATA", options.dataPath,
         "The data file: a table (.csv, .tsv, .gz) or native records; - reads standard input")
      ->required()
      ->type_name("");
  app.get_formatter()->label("REQUIRED", "");
  app.add_option("-o,--out", options.outFolder,
                 "Results folder (default: DATA's name plus -geneclub)");
  app.add_option("--methods", methods, "Gene-club methods: 1,2,3,4 or their names, or none");
  app.add_option("--top", top, "Top genes mined and clubs per method, 1 to 32 (default 20)");
  app.add_option("--pool", pool,
                 "Base of the clubs' candidate pool, 0 or more (default 4/5 of the genes)");
  app.add_option("--disease", options.diseaseLabel,
                 "The label of class 1; all others form class 0");
  app.add_option("--label-column", options.table.labelColumn, "The label column: name or number");
  app.add_option("--sample-column", options.table.sampleColumn,
                 "The sample-name column: name or number");
  app.add_flag("--genes-in-rows", options.table.genesInRows,
               "One gene per row, samples in the header");
  app.add_option("--labels", options.table.labelsFile,
                 "A file of the samples' labels, in order: one per line, or a CLS file");
  app.add_option("--label-field", options.table.labelField,
                 "The sample field that gives the labels: a GEO series matrix's characteristic "
                 "or sample line, a GCT 1.3 file's column-metadata row");
  app.add_option("--annotation", options.table.annotationFile,
                 "A platform table or CSV/TSV of probe identifiers with gene symbols and titles");
  app.add_option("--missing", missing, "Missing values: error or drop-genes (default error)");
  app.add_option("--threads", threads, "Threads (default: one per core)");
  app.add_flag("--force", options.force, "Replace result files already in the folder");
  app.add_flag("--quiet", options.quiet, "Print errors only");
  app.add_flag("--report", options.report, "Also write report.html, a page of charts");
  app.add_option("--evaluate", evaluate,
                 "Cross-validated classification: loo or kfold:F (writes evaluation.tsv)");
  const CLI::Option* classifierOption = app.add_option(
      "--classifier", classifier,
      "The evaluation's scoring rule: auto (chosen with K in each training set; the default), "
      "sum, normalised or top");
  const CLI::Option* evaluateTopOption = app.add_option(
      "--evaluate-top", evaluateTop,
      "The top-gene counts K the evaluation chooses from, e.g. 10,20 (default: 5,10,20,32 for "
      "auto, --top for a fixed rule)");
  app.add_option("--patterns", patterns,
                 "The minimal EPs patterns.tsv holds: all (the default), ep-data (the support "
                 "levels EP.data lists) or none (no patterns.tsv)");
  app.add_option("--permutations", options.permutations,
                 "Label permutations for the genes' family-wise p-values (p_fwer)");
  const CLI::Option* seedOption =
      app.add_option("--seed", seed, "Seed of the folds and permutations, 0 to 2^64-1 (default 1)");
  bool splitTies = false;
  app.add_flag("--split-ties", splitTies,
               "Also cut between equal values, as the interactive program does");
  app.set_version_flag("--version", std::string(kProgram) + " " + GENECLUB_VERSION);
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    return CommandLineExit{0, app.help()};
  } catch (const CLI::CallForVersion& version) {
    return CommandLineExit{0, std::string(version.what()) + "\n"};
  } catch (const CLI::ExtrasError& error) {
    // Words left over that are no options are further data files.
    const std::vector<std::string> extras = app.remaining();
    if (std::none_of(extras.begin(), extras.end(),
                     [](const std::string& word) { return word.size() > 1 && word[0] == '-'; })) {
      return commandLineError("exactly one DATA file is expected, " +
                              std::to_string(extras.size() + 1) + " were given");
    }
    return commandLineError(error.what());
  } catch (const CLI::ParseError& error) {
    return commandLineError(error.what());
  }

  if (top && (*top < 1 || *top > kMaxTopGeneCount)) {
    return commandLineError("--top must be between 1 and " + std::to_string(kMaxTopGeneCount) +
                            ", not " + std::to_string(*top));
  }
  if (pool && *pool < 0) {
    return commandLineError("--pool must be at least 0, not " + std::to_string(*pool));
  }
  if (seedOption->count() > 0) {
    const std::optional<std::uint64_t> parsedSeed = parseSeed(seed);
    if (!parsedSeed) {
      return commandLineError(
          "--seed must be a whole number from 0 to 18446744073709551615, not \"" + seed + "\"");
    }
    options.seed = *parsedSeed;
  }
  if (threads && *threads < 1) {
    return commandLineError("--threads must be at least 1, not " + std::to_string(*threads));
  }
  if (!evaluate.empty()) {
    options.evaluation = parseFoldScheme(evaluate);
    if (!options.evaluation) {
      return commandLineError("--evaluate must be loo or kfold:F with F at least 2, not \"" +
                              evaluate + "\"");
    }
  }
  // Both describe the evaluation's classifier; alone they would be ignored.
  for (const CLI::Option* option : {classifierOption, evaluateTopOption}) {
    if (option->count() > 0 && !options.evaluation) {
      return commandLineError(option->get_name() + " needs --evaluate");
    }
  }
  // "auto" leaves the rule to each training set's choice.
  if (classifierOption->count() > 0 && classifier != "auto") {
    options.classifierRule = parseScoringRule(classifier);
    if (!options.classifierRule) {
      return commandLineError("--classifier must be auto, sum, normalised or top, not \"" +
                              classifier + "\"");
    }
  }
  if (evaluateTopOption->count() > 0) {
    auto counts = parseTopGeneList(evaluateTop);
    if (const std::string* error = std::get_if<std::string>(&counts)) {
      return commandLineError(*error);
    }
    options.evaluationTopGeneCounts = std::get<std::vector<int>>(counts);
  }
  const std::optional<PatternsKept> kept = parsePatternsKept(patterns);
  if (!kept) {
    return commandLineError("--patterns must be all, ep-data or none, not \"" + patterns + "\"");
  }
  options.patterns = *kept;
  if (options.permutations < 0) {
    return commandLineError("--permutations must be at least 0, not " +
                            std::to_string(options.permutations));
  }
  if (missing != "error" && missing != "drop-genes") {
    return commandLineError("--missing must be error or drop-genes, not \"" + missing + "\"");
  }
  if (!options.table.labelsFile.empty() && !options.table.labelColumn.empty()) {
    return commandLineError("--labels and --label-column cannot be used together");
  }
  if (!options.table.labelField.empty() &&
      (!options.table.labelsFile.empty() || !options.table.labelColumn.empty())) {
    return commandLineError("--label-field cannot be used with --labels or --label-column");
  }
  if (options.table.genesInRows && !options.table.sampleColumn.empty()) {
    return commandLineError("--sample-column cannot be used with --genes-in-rows");
  }
  auto parsedMethods = parseMethods(methods);
  if (const std::string* error = std::get_if<std::string>(&parsedMethods)) {
    return commandLineError(*error);
  }
  options.methods = std::get<std::vector<ClubMethod>>(parsedMethods);
  options.topGeneCount = top;
  options.poolBase = pool;
  options.threads = threads.value_or(0);
  if (splitTies) options.cuts = CutCandidates::kEveryPosition;
  options.table.dropGenesWithMissing = missing == "drop-genes";
  if (options.outFolder.empty()) options.outFolder = defaultOutFolder(options.dataPath);
  return options;
}

}  // namespace geneclub
