// A deterministic study of the cross-validated EP classifier on the real data
// sets beside the project (the colon set and the public leukemia and
// prostate sets; absent ones are skipped): leave-one-out with every scoring
// rule and K in kDefaultTopGeneCandidates and with the automatic choice, for
// both sets of candidate cuts, printing correct counts, accuracy, balanced
// accuracy, the time of the automatic choice and the rules and Ks its folds
// chose, and how many genes gain differently under the two sets of cuts. Runs
// on 2 threads, the cores of the project's machines.
//
// Usage: classifier_study [--seeds N] [colon|leukemia|prostate ...]
// (default: all three sets; the automatic choice with seeds 1 to N, default
// 1, to show how much its result owes to the draw of its inner folds)

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

std::filesystem::path sharedData() {
  return std::filesystem::path(GENECLUB_SOURCE_DIR) / ".." / "shared" / "data";
}

// The named data set as the batch program reads it, or an analysis without
// genes when its file is absent.
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

void printLine(const std::string& rule, const std::string& k, const ClassificationSummary& summary,
               const std::string& note) {
  std::printf("  %-10s %-4s %3d/%-3d  %.4f  %.4f  %s\n", rule.c_str(), k.c_str(),
              summary.correctCount, summary.sampleCount, summary.accuracy, summary.balancedAccuracy,
              note.c_str());
}

void study(const std::string& name, int seeds) {
  const ExpressionData analyzer = loadSet(name);
  if (analyzer.matrix.empty()) {
    std::printf("%s: absent, skipped\n\n", name.c_str());
    return;
  }
  std::printf(
      "%s: %d samples x %d genes; %d genes gain differently with cuts only between "
      "different values\n",
      name.c_str(), static_cast<int>(analyzer.labels.size()),
      static_cast<int>(analyzer.matrix.size()), genesGainingDifferently(analyzer));
  const std::vector<int> folds = assignFolds(FoldScheme{}, analyzer.labels, 0);
  for (const CutCandidates cuts : {CutCandidates::kEveryPosition, CutCandidates::kDistinctValues}) {
    std::printf(" leave-one-out, cuts %s\n  rule       K    correct  accur.  balanced\n",
                cuts == CutCandidates::kEveryPosition ? "at every position (--split-ties)"
                                                      : "only between different values");
    for (const ScoringRule rule : kScoringRules) {
      for (const int k : kDefaultTopGeneCandidates) {
        const EvaluationSettings settings = {
            .cuts = cuts, .rule = rule, .topGeneCounts = {}, .topGeneCount = k, .seed = 1};
        const CrossValidation result =
            crossValidate(analyzer.matrix, analyzer.labels, folds, settings);
        printLine(std::string(scoringRuleName(rule)), std::to_string(k),
                  summariseClassification(analyzer.labels, result.predictions), "");
      }
    }
    for (int seed = 1; seed <= seeds; ++seed) {
      const EvaluationSettings automatic = {.cuts = cuts,
                                            .rule = std::nullopt,
                                            .topGeneCounts = {},
                                            .topGeneCount = 20,
                                            .seed = static_cast<std::uint64_t>(seed)};
      const auto start = std::chrono::steady_clock::now();
      const CrossValidation result =
          crossValidate(analyzer.matrix, analyzer.labels, folds, automatic);
      const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
      int uncovered = 0;
      for (const HeldOutPrediction& prediction : result.predictions) {
        uncovered += !prediction.covered;
      }
      char note[64];
      std::snprintf(note, sizeof note, "%.1f s, %d not covered", seconds.count(), uncovered);
      printLine("auto s" + std::to_string(seed), "",
                summariseClassification(analyzer.labels, result.predictions), note);
      std::map<std::pair<int, int>, int> chosen;
      for (const ClassifierChoice& choice : result.foldChoices) {
        ++chosen[{static_cast<int>(choice.rule), choice.topGeneCount}];
      }
      std::printf("  folds chose:");
      for (const auto& [choice, count] : chosen) {
        std::printf(" %s/%d x%d", scoringRuleName(static_cast<ScoringRule>(choice.first)).data(),
                    choice.second, count);
      }
      std::printf("\n");
    }
  }
  std::printf("\n");
}

}  // namespace
}  // namespace geneclub

int main(int argc, char** argv) {
  const tbb::global_control threads(tbb::global_control::max_allowed_parallelism,
                                    geneclub::kThreads);
  std::vector<std::string> sets(argv + 1, argv + argc);
  int seeds = 1;
  if (sets.size() >= 2 && sets[0] == "--seeds") {
    seeds = std::max(1, std::atoi(sets[1].c_str()));
    sets.erase(sets.begin(), sets.begin() + 2);
  }
  if (sets.empty()) sets = {"colon", "leukemia", "prostate"};
  for (const std::string& set : sets) geneclub::study(set, seeds);
  return 0;
}
