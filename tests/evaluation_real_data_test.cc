// Leave-one-out classification of the shared real data sets with the 20 best
// genes, against the counts of correct predictions an independent
// implementation of the same procedure gives. Each test skips when its data
// file is absent.

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "evaluation/classification_summary.h"
#include "evaluation/cross_validation.h"
#include "evaluation/fold_assignment.h"
#include "tests/test_support.h"

namespace geneclub::testing {
namespace {

// The batch program's default number of mined genes.
constexpr int kTopGenes = 20;

int correctLeaveOneOut(const GeneClubAnalyzer& analyzer) {
  const std::vector<int> folds = assignFolds(FoldScheme{}, analyzer.classLabels, 0);
  const std::vector<HeldOutPrediction> predictions =
      crossValidate(analyzer.expressionMatrix, analyzer.classLabels, folds, kTopGenes);
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

}  // namespace
}  // namespace geneclub::testing
