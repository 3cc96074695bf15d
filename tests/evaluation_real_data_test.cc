// Leave-one-out classification of the shared real data sets (the colon set
// and the public leukemia and prostate sets) with the 20 best genes, against
// the counts of correct predictions an independent implementation of the
// same procedure gives; and what cuts only between different values change
// in the colon set's ranking. Each test skips when its data file is absent.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <utility>
#include <variant>
#include <vector>

#include "analysis/start_up.h"
#include "evaluation/classification_summary.h"
#include "evaluation/cross_validation.h"
#include "evaluation/fold_assignment.h"
#include "readers/class_assignment.h"
#include "readers/expression_table.h"
#include "readers/load_data.h"
#include "tests/test_support.h"

namespace geneclub::testing {
namespace {

// The batch program's default number of mined genes.
constexpr int kTopGenes = 20;

// The classifier these counts are for: the sum rule, with cuts at every
// position.
int correctLeaveOneOut(const ExpressionData& analyzer) {
  const std::vector<int> folds = assignFolds(FoldScheme{}, analyzer.labels, 0);
  const EvaluationSettings settings = {.cuts = CutCandidates::kEveryPosition,
                                       .rule = ScoringRule::kSum,
                                       .topGeneCounts = {},
                                       .topGeneCount = kTopGenes,
                                       .seed = 1};
  const std::vector<HeldOutPrediction> predictions =
      crossValidate(analyzer.matrix, analyzer.labels, folds, settings).predictions;
  return summariseClassification(analyzer.labels, predictions).correctCount;
}

// The gains of every gene by gene number, ranked with the given cuts, and the
// gene numbers of the 20 best.
std::pair<std::vector<double>, std::vector<int>> colonGains(const ExpressionData& loaded,
                                                            CutCandidates cuts) {
  AnalysisSettings settings = settingsForData(loaded.matrix.size(), loaded.labels);
  settings.cuts = cuts;
  const RankedAnalysis analyzer = runStartUp(loaded, settings).ranking;
  std::vector<double> gains(analyzer.geneCount());
  for (int row = 0; row < analyzer.geneCount(); ++row) {
    gains[analyzer.geneNumber(row)] = analyzer.gain(row);
  }
  return {gains, std::vector<int>(analyzer.geneNumbers().begin(),
                                  analyzer.geneNumbers().begin() + kTopGenes)};
}

// Cuts only between different values change the gains of three colon genes,
// none of them among the 20 best, whose ranking stays as it is.
TEST(EvaluationRealDataTest, ColonCutsBetweenDifferentValuesChangeThreeGainsOutsideTheTop) {
  const std::optional<std::filesystem::path> shared = sharedDataDir();
  if (!shared) GTEST_SKIP() << "../shared/data/colonTumor.data is absent";
  auto loaded = loadData((*shared / "colonTumor.data").string(), 2000, 62);
  ASSERT_TRUE(std::holds_alternative<ExpressionData>(loaded));
  const ExpressionData& analyzer = std::get<ExpressionData>(loaded);
  const auto [everyGains, everyTop] = colonGains(analyzer, CutCandidates::kEveryPosition);
  const auto [distinctGains, distinctTop] = colonGains(analyzer, CutCandidates::kDistinctValues);
  EXPECT_EQ(distinctTop, everyTop);
  int changed = 0;
  for (std::size_t gene = 0; gene < everyGains.size(); ++gene) {
    if (everyGains[gene] == distinctGains[gene]) continue;
    ++changed;
    EXPECT_EQ(std::count(everyTop.begin(), everyTop.end(), static_cast<int>(gene)), 0) << gene;
  }
  EXPECT_EQ(changed, 3);
}

TEST(EvaluationRealDataTest, ColonLeaveOneOutPredicts51Of62) {
  const std::optional<std::filesystem::path> shared = sharedDataDir();
  if (!shared) GTEST_SKIP() << "../shared/data/colonTumor.data is absent";
  // The colon data set: 2000 genes of 62 samples.
  auto loaded = loadData((*shared / "colonTumor.data").string(), 2000, 62);
  ASSERT_TRUE(std::holds_alternative<ExpressionData>(loaded));
  EXPECT_EQ(correctLeaveOneOut(std::get<ExpressionData>(loaded)), 51);
}

// A public CSV data set read and labelled as the batch program reads it: the
// first sample's label is class 1.
void expectPublicLeaveOneOut(const std::string& fileName, int expectedCorrect) {
  const std::optional<std::filesystem::path> shared = sharedDataDir();
  const std::filesystem::path path =
      shared ? *shared / "public" / fileName : std::filesystem::path(fileName);
  if (!shared || !std::filesystem::exists(path)) {
    GTEST_SKIP() << "../shared/data/public/" << fileName << " is absent";
  }
  auto read = readExpressionTable(path.string(), TableOptions{});
  ASSERT_TRUE(std::holds_alternative<ExpressionTable>(read)) << std::get<InputError>(read).message;
  ExpressionTable table = std::move(std::get<ExpressionTable>(read));
  auto assigned = assignClasses(table.labels, "");
  ASSERT_TRUE(std::holds_alternative<ClassAssignment>(assigned));
  const ExpressionData analyzer{std::move(table.values),
                                std::get<ClassAssignment>(assigned).classLabels};
  EXPECT_EQ(correctLeaveOneOut(analyzer), expectedCorrect);
}

TEST(EvaluationRealDataTest, LeukemiaLeaveOneOutPredicts71Of72) {
  expectPublicLeaveOneOut("leukemia-golub.csv", 71);
}

TEST(EvaluationRealDataTest, ProstateLeaveOneOutPredicts92Of102) {
  expectPublicLeaveOneOut("prostate-singh.csv", 92);
}

}  // namespace
}  // namespace geneclub::testing
