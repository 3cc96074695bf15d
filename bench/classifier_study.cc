// A deterministic study of the cross-validated EP classifier on the real data
// sets beside the project (the colon set and the public leukemia and
// prostate sets; absent ones are skipped): leave-one-out with every scoring
// rule and K in kDefaultTopGeneCandidates and with the automatic choice over
// several seeds of its inner folds, printing correct counts, accuracy,
// balanced accuracy, the time of each automatic run, how many held-out
// samples no pattern covered, the rules and Ks its folds chose, and how many
// genes gain differently under the two sets of candidate cuts. Runs on 2
// threads, the cores of the project's machines.
//
// Usage: classifier_study [--seeds N] [--split-ties] [--no-grid]
//                         [colon|leukemia|prostate ...]

#include <tbb/global_control.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "evaluation/classification_summary.h"
#include "evaluation/cross_validation.h"
#include "evaluation/fold_assignment.h"
#include "ranking/gene_ranking.h"
#include "readers/class_assignment.h"
#include "readers/expression_table.h"
#include "readers/load_data.h"

namespace geneclub {
namespace {

constexpr int kThreads = 2;

const char kUsage[] =
    "Usage: classifier_study [--seeds N] [--split-ties] [--no-grid] [SET ...]\n"
    "Leave-one-out of the EP classifier on the real data sets beside the project.\n"
    "  SET          colon, leukemia or prostate (default: all three; absent files are skipped)\n"
    "  --seeds N    run the automatic choice with the seeds 1 to N of its inner folds (default 5)\n"
    "  --split-ties cut also between equal values, as the interactive program does\n"
    "               (default: cuts only between different values, as geneclub-batch)\n"
    "  --no-grid    skip the fixed rules and Ks\n";

struct StudyOptions {
  int seeds = 5;
  CutCandidates cuts = CutCandidates::kDistinctValues;
  bool grid = true;
  std::vector<std::string> sets;
};

std::filesystem::path sharedData() {
  return std::filesystem::path(GENECLUB_SOURCE_DIR) / ".." / "shared" / "data";
}

// The named data set as the batch program reads it, or data without genes
// when its file is absent.
ExpressionData loadSet(const std::string& name) {
  if (name == "colon") {
    // The colon data set: 2000 genes of 62 samples.
    auto loaded = loadData((sharedData() / "colonTumor.data").string(), 2000, 62);
    if (!std::holds_alternative<ExpressionData>(loaded)) return {};
    return std::move(std::get<ExpressionData>(loaded));
  }
  const std::string file = name == "leukemia" ? "leukemia-golub.csv" : "prostate-singh.csv";
  auto read = readExpressionTable((sharedData() / "public" / file).string(), TableOptions{});
  if (!std::holds_alternative<ExpressionTable>(read)) return {};
  ExpressionTable table = std::move(std::get<ExpressionTable>(read));
  auto assigned = assignClasses(table.labels, "");
  if (!std::holds_alternative<ClassAssignment>(assigned)) return {};
  return {std::move(table.values), std::get<ClassAssignment>(assigned).classLabels};
}

// How many genes the two sets of candidate cuts give different gains.
int genesGainingDifferently(const ExpressionData& data) {
  std::vector<std::vector<double>> gainsByGene;
  for (const CutCandidates cuts : {CutCandidates::kEveryPosition, CutCandidates::kDistinctValues}) {
    const RankedAnalysis ranked = rankGenes(data, cuts);
    std::vector<double>& gains = gainsByGene.emplace_back(ranked.geneCount());
    for (int row = 0; row < ranked.geneCount(); ++row) {
      gains[ranked.geneNumber(row)] = ranked.gain(row);
    }
  }
  int differing = 0;
  for (std::size_t gene = 0; gene < gainsByGene[0].size(); ++gene) {
    differing += gainsByGene[0][gene] != gainsByGene[1][gene];
  }
  return differing;
}

int uncoveredCount(const CrossValidation& result) {
  int uncovered = 0;
  for (const HeldOutPrediction& prediction : result.predictions) uncovered += !prediction.covered;
  return uncovered;
}

void printLine(const std::string& rule, const std::string& k, const ClassificationSummary& summary,
               const std::string& note) {
  std::printf("  %-10s %-4s %3d/%-3d  %.4f  %.4f  %s\n", rule.c_str(), k.c_str(),
              summary.correctCount, summary.sampleCount, summary.accuracy, summary.balancedAccuracy,
              note.c_str());
}

void study(const std::string& name, const StudyOptions& options) {
  const ExpressionData data = loadSet(name);
  if (data.matrix.empty()) {
    std::printf("%s: absent, skipped\n\n", name.c_str());
    return;
  }
  std::printf(
      "%s: %d samples x %d genes, %d of which gain differently with cuts only between different "
      "values\n leave-one-out, cuts %s\n",
      name.c_str(), static_cast<int>(data.labels.size()), static_cast<int>(data.matrix.size()),
      genesGainingDifferently(data),
      options.cuts == CutCandidates::kEveryPosition ? "at every position (--split-ties)"
                                                    : "only between different values");
  std::printf("  rule       K    correct  accur.  balanced\n");
  const std::vector<int> folds = assignFolds(FoldScheme{}, data.labels, 0);
  if (options.grid) {
    for (const ScoringRule rule : kScoringRules) {
      for (const int k : kDefaultTopGeneCandidates) {
        const EvaluationSettings settings = {
            .cuts = options.cuts, .rule = rule, .topGeneCounts = {}, .topGeneCount = k, .seed = 1};
        const CrossValidation result = crossValidate(data.matrix, data.labels, folds, settings);
        const int uncovered = uncoveredCount(result);
        printLine(std::string(scoringRuleName(rule)), std::to_string(k),
                  summariseClassification(data.labels, result.predictions),
                  uncovered == 0 ? "" : std::to_string(uncovered) + " not covered");
      }
    }
  }
  double sumOfBalanced = 0.0, worstBalanced = 1.0;
  for (int seed = 1; seed <= options.seeds; ++seed) {
    const EvaluationSettings automatic = {.cuts = options.cuts,
                                          .rule = std::nullopt,
                                          .topGeneCounts = {},
                                          .topGeneCount = 20,
                                          .seed = static_cast<std::uint64_t>(seed)};
    const ClassifierChoice reference =
        classifierCandidates(automatic, static_cast<int>(data.matrix.size())).reference;
    const auto start = std::chrono::steady_clock::now();
    const CrossValidation result = crossValidate(data.matrix, data.labels, folds, automatic);
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
    const ClassificationSummary summary = summariseClassification(data.labels, result.predictions);
    sumOfBalanced += summary.balancedAccuracy;
    worstBalanced = std::min(worstBalanced, summary.balancedAccuracy);
    char note[64];
    std::snprintf(note, sizeof note, "%.1f s, %d not covered", seconds.count(),
                  uncoveredCount(result));
    printLine("auto s" + std::to_string(seed), "", summary, note);
    std::map<std::pair<int, int>, int> chosen;
    for (const ClassifierChoice& choice : result.foldChoices) {
      ++chosen[{static_cast<int>(choice.rule), choice.topGeneCount}];
    }
    std::printf("    folds chose:");
    for (const auto& [choice, count] : chosen) {
      const bool isReference =
          ClassifierChoice{static_cast<ScoringRule>(choice.first), choice.second} == reference;
      std::printf(" %s/%d x%d%s", scoringRuleName(static_cast<ScoringRule>(choice.first)).data(),
                  choice.second, count, isReference ? " (reference)" : "");
    }
    std::printf("\n");
  }
  std::printf("  auto over %d seeds: balanced accuracy mean %.4f, worst %.4f\n\n", options.seeds,
              sumOfBalanced / options.seeds, worstBalanced);
}

}  // namespace
}  // namespace geneclub

int main(int argc, char** argv) {
  geneclub::StudyOptions options;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument == "--help") {
      std::fputs(geneclub::kUsage, stdout);
      return 0;
    }
    if (argument == "--seeds" && i + 1 < argc) {
      options.seeds = std::max(1, std::atoi(argv[++i]));
    } else if (argument == "--split-ties") {
      options.cuts = geneclub::CutCandidates::kEveryPosition;
    } else if (argument == "--no-grid") {
      options.grid = false;
    } else if (argument == "colon" || argument == "leukemia" || argument == "prostate") {
      options.sets.push_back(argument);
    } else {
      std::fprintf(stderr, "classifier_study: unknown argument '%s'\n%s", argument.c_str(),
                   geneclub::kUsage);
      return 2;
    }
  }
  if (options.sets.empty()) options.sets = {"colon", "leukemia", "prostate"};
  const tbb::global_control threads(tbb::global_control::max_allowed_parallelism,
                                    geneclub::kThreads);
  for (const std::string& set : options.sets) geneclub::study(set, options);
  return 0;
}
