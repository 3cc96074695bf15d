// The automatic choice of the scoring rule and K: its candidates and
// reference, the paired advantage over the reference, that it reads the
// training samples alone, that its counts per sample from patterns
// restricted to the first K positions are those of classifiers trained for
// each K, that it keeps the reference unless another candidate is measurably
// better, and its fallback for a class too small to cross-validate.

#include "evaluation/model_selection.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "evaluation/cross_validation.h"
#include "evaluation/ep_classifier.h"
#include "evaluation/fold_assignment.h"
#include "evaluation/random_streams.h"

namespace geneclub::testing {
namespace {

// Genes of random values in [0, 100), of which the first `informative` lie
// 30 higher in class 1, and labels alternating in blocks of three.
struct TestData {
  ExpressionMatrix matrix;
  std::vector<int> labels;
};

TestData randomData(int genes, int samples, int informative, std::uint64_t seed) {
  std::mt19937_64 rng(seed);
  TestData data;
  for (int s = 0; s < samples; ++s) data.labels.push_back(s / 3 % 2);
  data.matrix.assign(genes, ExpressionRow(samples));
  for (int gene = 0; gene < genes; ++gene) {
    for (int s = 0; s < samples; ++s) {
      data.matrix[gene][s] = static_cast<double>(rng() % 100) +
                             (gene < informative && data.labels[s] == 1 ? 30.0 : 0.0);
    }
  }
  return data;
}

std::vector<int> allBut(int samples, const std::vector<int>& left) {
  std::vector<int> kept;
  for (int s = 0; s < samples; ++s) {
    if (std::find(left.begin(), left.end(), s) == left.end()) kept.push_back(s);
  }
  return kept;
}

ClassifierCandidates allCandidates() {
  return {{kScoringRules.begin(), kScoringRules.end()}, {2, 5, 10}, {ScoringRule::kSum, 5}};
}

void expectSameSelection(const ModelSelection& a, const ModelSelection& b) {
  EXPECT_EQ(a.choice, b.choice);
  EXPECT_EQ(a.innerFoldCount, b.innerFoldCount);
  ASSERT_EQ(a.results.size(), b.results.size());
  for (std::size_t c = 0; c < a.results.size(); ++c) {
    EXPECT_EQ(a.results[c].candidate, b.results[c].candidate);
    EXPECT_EQ(a.results[c].correct, b.results[c].correct) << c;
    EXPECT_EQ(a.results[c].correctBySample, b.results[c].correctBySample) << c;
    EXPECT_EQ(a.results[c].advantage, b.results[c].advantage) << c;
    EXPECT_EQ(a.results[c].advantageError, b.results[c].advantageError) << c;
  }
}

TEST(ClassifierCandidatesTest, DefaultsCapsOrderAndReference) {
  EvaluationSettings automatic;
  ClassifierCandidates candidates = classifierCandidates(automatic, 2000);
  EXPECT_EQ(candidates.rules, (std::vector<ScoringRule>{ScoringRule::kSum, ScoringRule::kNormalised,
                                                        ScoringRule::kTop}));
  EXPECT_EQ(candidates.topGeneCounts, (std::vector<int>{5, 10, 20, 32}));
  EXPECT_EQ(candidates.reference, (ClassifierChoice{ScoringRule::kSum, 20}));
  candidates = classifierCandidates(automatic, 12);
  EXPECT_EQ(candidates.topGeneCounts, (std::vector<int>{5, 10, 12}));
  EXPECT_EQ(candidates.reference, (ClassifierChoice{ScoringRule::kSum, 12}));
  candidates = classifierCandidates(automatic, 3);
  EXPECT_EQ(candidates.topGeneCounts, (std::vector<int>{3}));
  EXPECT_EQ(candidates.reference, (ClassifierChoice{ScoringRule::kSum, 3}));

  // The reference K is the candidate nearest the run's, the smaller of two
  // as near.
  automatic.topGeneCounts = {5, 32};
  EXPECT_EQ(classifierCandidates(automatic, 2000).reference,
            (ClassifierChoice{ScoringRule::kSum, 32}));
  automatic.topGeneCounts = {30, 10};
  EXPECT_EQ(classifierCandidates(automatic, 2000).reference,
            (ClassifierChoice{ScoringRule::kSum, 10}));
  automatic.topGeneCount = 4;
  EXPECT_EQ(classifierCandidates(automatic, 2000).reference,
            (ClassifierChoice{ScoringRule::kSum, 10}));

  EvaluationSettings fixed;
  fixed.rule = ScoringRule::kTop;
  fixed.topGeneCount = 20;
  candidates = classifierCandidates(fixed, 2000);
  EXPECT_EQ(candidates.rules, (std::vector<ScoringRule>{ScoringRule::kTop}));
  EXPECT_EQ(candidates.topGeneCounts, (std::vector<int>{20}));
  EXPECT_EQ(candidates.reference, (ClassifierChoice{ScoringRule::kTop, 20}));
  EXPECT_EQ(classifierCandidates(fixed, 7).topGeneCounts, (std::vector<int>{7}));
  fixed.topGeneCounts = {32, 5, 50, 5};
  EXPECT_EQ(classifierCandidates(fixed, 40).topGeneCounts, (std::vector<int>{5, 32}));
}

// Four class-1 and three class-0 samples, each predicted five times:
// differences (1, 0, 2, 0) and (0, -1, 1) in correct counts give recall
// gains of 3/20 and 0, so A = 0.075, and variances (11/12) / 25 and 1 / 25,
// so SE = sqrt(11/1200 + 1/75) / 2 = 0.075.
TEST(PairedAdvantageTest, BalancedAccuracyGainAndItsStandardErrorBySample) {
  const std::vector<int> labels = {1, 1, 1, 1, 0, 0, 0};
  const std::vector<int> candidate = {5, 5, 4, 3, 5, 2, 5};
  const std::vector<int> reference = {4, 5, 2, 3, 5, 3, 4};
  const PairedAdvantage paired = pairedAdvantage(candidate, reference, labels, 5);
  EXPECT_NEAR(paired.advantage, 0.075, 1e-15);
  EXPECT_NEAR(paired.standardError, 0.075, 1e-15);

  const PairedAdvantage reversed = pairedAdvantage(reference, candidate, labels, 5);
  EXPECT_EQ(reversed.advantage, -paired.advantage);
  EXPECT_EQ(reversed.standardError, paired.standardError);

  // The same totals, but every sample one better: no spread, and each class
  // weighs half whatever its size.
  const std::vector<int> shifted = {5, 5, 5, 5, 4, 4, 4};
  const std::vector<int> base = {4, 4, 4, 4, 3, 3, 3};
  const PairedAdvantage steady = pairedAdvantage(shifted, base, labels, 5);
  EXPECT_EQ(steady.advantage, 0.2);
  EXPECT_EQ(steady.standardError, 0.0);
  const std::vector<int> onlyClassOne = {5, 5, 5, 5, 3, 3, 3};
  EXPECT_EQ(pairedAdvantage(onlyClassOne, base, labels, 5).advantage, 0.1);
}

// Whatever the samples outside the training set hold, values or labels, the
// inner cross-validation counts the same and chooses the same.
TEST(ModelSelectionTest, ReadsTheTrainingSamplesAlone) {
  const int samples = 36;
  const TestData data = randomData(80, samples, 6, 3);
  const std::vector<int> heldOut = {0, 7, 20, 35};
  const std::vector<int> training = allBut(samples, heldOut);
  const ModelSelection original =
      selectClassifier(data.matrix, SortedGenes(data.matrix), data.labels, training,
                       allCandidates(), CutCandidates::kDistinctValues, 9);
  EXPECT_EQ(original.innerFoldCount, kInnerFoldCount);

  std::mt19937_64 rng(5);
  for (int trial = 0; trial < 3; ++trial) {
    TestData changed = data;
    for (const int s : heldOut) {
      changed.labels[s] = static_cast<int>(rng() % 2);
      for (ExpressionRow& row : changed.matrix) row[s] = static_cast<double>(rng() % 1000) - 500;
    }
    expectSameSelection(
        selectClassifier(changed.matrix, SortedGenes(changed.matrix), changed.labels, training,
                         allCandidates(), CutCandidates::kDistinctValues, 9),
        original);
  }
}

// Each candidate's counts per sample are those of classifiers trained for
// its own K on the same inner folds (restricting the largest K's patterns
// gives the same patterns; on these data the order of the sums changes no
// prediction).
TEST(ModelSelectionTest, RestrictedPatternsCountLikeClassifiersTrainedForEachK) {
  const int samples = 30;
  const TestData data = randomData(60, samples, 4, 8);
  const std::vector<int> training = allBut(samples, {3, 4});
  const SortedGenes sorted(data.matrix);
  const ClassifierCandidates candidates = allCandidates();
  const std::uint64_t seed = 77;
  const ModelSelection selection = selectClassifier(
      data.matrix, sorted, data.labels, training, candidates, CutCandidates::kDistinctValues, seed);

  std::vector<int> trainingLabels;
  for (const int s : training) trainingLabels.push_back(data.labels[s]);
  const int folds = selection.innerFoldCount;
  std::vector<std::vector<int>> expected(selection.results.size(),
                                         std::vector<int>(training.size(), 0));
  for (int repetition = 0; repetition < kInnerRepetitions; ++repetition) {
    std::mt19937_64 stream = randomStream(seed, static_cast<std::uint64_t>(repetition));
    const std::vector<int> foldOf = assignFolds(FoldScheme{folds}, trainingLabels, stream());
    for (int fold = 1; fold <= folds; ++fold) {
      std::vector<int> inner;
      for (std::size_t t = 0; t < training.size(); ++t) {
        if (foldOf[t] != fold) inner.push_back(training[t]);
      }
      std::size_t c = 0;
      for (const ScoringRule rule : candidates.rules) {
        for (const int k : candidates.topGeneCounts) {
          const EpClassifier classifier(data.matrix, sorted, data.labels, inner, k, rule,
                                        CutCandidates::kDistinctValues);
          for (std::size_t t = 0; t < training.size(); ++t) {
            const int s = training[t];
            expected[c][t] += foldOf[t] == fold &&
                              classifier.classify(data.matrix, s).predictedLabel == data.labels[s];
          }
          ++c;
        }
      }
    }
  }
  for (std::size_t c = 0; c < expected.size(); ++c) {
    EXPECT_EQ(selection.results[c].correctBySample, expected[c]) << c;
    std::array<int, 2> correct = {0, 0};
    for (std::size_t t = 0; t < training.size(); ++t) correct[trainingLabels[t]] += expected[c][t];
    EXPECT_EQ(selection.results[c].correct, correct) << c;
  }
}

// Class 1 is exactly the samples high in both gene 0 and gene 1. Over one
// gene, a class-0 sample high in that gene holds no pattern; over two, the
// patterns describe the classes. So K = 2 beats the reference K = 1 by far,
// measurably, and is chosen; the fixed rule stays.
TEST(ModelSelectionTest, LeavesTheReferenceForACandidateMeasurablyBetter) {
  std::mt19937_64 rng(12);
  const int samples = 48;
  TestData data;
  data.matrix.assign(6, ExpressionRow(samples));
  for (int s = 0; s < samples; ++s) {
    const bool high0 = s % 2 == 0, high1 = s % 4 < 2 || s % 3 == 0;
    data.labels.push_back(high0 && high1 ? 1 : 0);
    data.matrix[0][s] = (high0 ? 100.0 : 0.0) + static_cast<double>(rng() % 10);
    data.matrix[1][s] = (high1 ? 100.0 : 0.0) + static_cast<double>(rng() % 10);
    for (int gene = 2; gene < 6; ++gene) data.matrix[gene][s] = static_cast<double>(rng() % 10);
  }
  const ClassifierCandidates candidates = {
      {ScoringRule::kNormalised}, {1, 2}, {ScoringRule::kNormalised, 1}};
  const ModelSelection selection =
      selectClassifier(data.matrix, SortedGenes(data.matrix), data.labels, allBut(samples, {}),
                       candidates, CutCandidates::kDistinctValues, 1);
  EXPECT_EQ(selection.choice, (ClassifierChoice{ScoringRule::kNormalised, 2}));
  ASSERT_EQ(selection.results.size(), 2u);
  const std::array<int, 2> one = selection.results[0].correct, two = selection.results[1].correct;
  EXPECT_LT(one[0] + one[1] + selection.innerPredictions[0] / 10, two[0] + two[1]);
  EXPECT_EQ(selection.results[0].advantage, 0.0);
  EXPECT_GT(selection.results[1].advantage,
            kSelectionStandardErrors * selection.results[1].advantageError);
}

// A gene that separates the classes makes every candidate over one or two
// genes perfect (its two items are the only minimal EPs): none is better
// than the reference, which is kept though simpler candidates do as well.
TEST(ModelSelectionTest, KeepsTheReferenceWhenNoCandidateIsBetter) {
  TestData data = randomData(30, 40, 0, 4);
  for (int s = 0; s < 40; ++s) data.matrix[17][s] = data.labels[s] == 1 ? 500.0 + s : -500.0 - s;
  const ClassifierCandidates candidates = {
      {ScoringRule::kNormalised, ScoringRule::kTop}, {1, 2}, {ScoringRule::kTop, 2}};
  const ModelSelection selection =
      selectClassifier(data.matrix, SortedGenes(data.matrix), data.labels, allBut(40, {}),
                       candidates, CutCandidates::kDistinctValues, 2);
  for (const CandidateResult& result : selection.results) {
    EXPECT_EQ(result.correct, selection.innerPredictions);
    EXPECT_EQ(result.advantage, 0.0);
  }
  EXPECT_EQ(selection.choice, (ClassifierChoice{ScoringRule::kTop, 2}));
}

// With one training sample of a class there is nothing to cross-validate:
// the reference, and no inner results. A single candidate needs no inner
// cross-validation either.
TEST(ModelSelectionTest, NoInnerCrossValidationWithoutTwoSamplesOfEachClassOrAChoice) {
  TestData data = randomData(20, 12, 2, 6);
  data.labels.assign(12, 0);
  data.labels[4] = 1;
  const ModelSelection oneOfAClass =
      selectClassifier(data.matrix, SortedGenes(data.matrix), data.labels, allBut(12, {}),
                       allCandidates(), CutCandidates::kDistinctValues, 3);
  EXPECT_EQ(oneOfAClass.choice, allCandidates().reference);
  EXPECT_EQ(oneOfAClass.innerFoldCount, 0);
  EXPECT_TRUE(oneOfAClass.results.empty());

  const TestData balanced = randomData(20, 12, 2, 6);
  const ModelSelection single = selectClassifier(
      balanced.matrix, SortedGenes(balanced.matrix), balanced.labels, allBut(12, {}),
      {{ScoringRule::kTop}, {5}, {ScoringRule::kTop, 5}}, CutCandidates::kDistinctValues, 3);
  EXPECT_EQ(single.choice, (ClassifierChoice{ScoringRule::kTop, 5}));
  EXPECT_EQ(single.innerFoldCount, 0);
}

}  // namespace
}  // namespace geneclub::testing
