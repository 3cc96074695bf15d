// Leave-one-out classification of the shared real data sets (the colon set
// and the public leukemia and prostate sets) with the 20 best genes, against
// the counts of correct predictions an independent implementation of the
// same procedure gives. Each test skips when its data file is absent.

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <variant>

#include "data/class_assignment.h"
#include "data/expression_table.h"
#include "evaluation/classification_summary.h"
#include "evaluation/cross_validation.h"
#include "evaluation/fold_assignment.h"
#include "tests/test_support.h"

namespace geneclub::testing {
namespace {

// The batch program's default number of mined genes.
constexpr int kTopGenes = 20;

// The classifier these counts are for: the sum rule, with cuts at every
// position.
int correctLeaveOneOut(const GeneClubAnalyzer& analyzer) {
  const std::vector<int> folds = assignFolds(FoldScheme{}, analyzer.classLabels, 0);
  const EvaluationSettings settings = {.cuts = CutCandidates::kEveryPosition,
                                       .rule = ScoringRule::kSum,
                                       .topGeneCounts = {},
                                       .topGeneCount = kTopGenes,
                                       .seed = 1};
  const std::vector<HeldOutPrediction> predictions =
      crossValidate(analyzer.expressionMatrix, analyzer.classLabels, folds, settings).predictions;
  return summariseClassification(analyzer.classLabels, predictions).correctCount;
}

TEST(EvaluationRealDataTest, ColonLeaveOneOutPredicts51Of62) {
  const std::optional<std::filesystem::path> shared = sharedDataDir();
  if (!shared) GTEST_SKIP() << "../shared/data/colonTumor.data is absent";
  GeneClubAnalyzer analyzer;
  std::ostringstream console;
  // The colon data set: 2000 genes of 62 samples.
  ASSERT_EQ(analyzer.loadData((*shared / "colonTumor.data").string(), 2000, 62, console),
            LoadStatus::kLoaded);
  EXPECT_EQ(correctLeaveOneOut(analyzer), 51);
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
  const GeneClubAnalyzer analyzer(std::move(table.values),
                                  std::get<ClassAssignment>(assigned).classLabels);
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
