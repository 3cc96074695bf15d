// The scoring rules of the EP classifier on hand-made patterns, their edge
// cases (a class without patterns, a median of 0, fewer patterns than the
// top rule adds), coverage and the tie rule; and the sum rule of a trained
// classifier against today's scoring, transcribed, bit for bit.

#include "evaluation/scoring_rule.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <random>
#include <utility>
#include <vector>

#include "evaluation/ep_classifier.h"
#include "ranking/sorted_genes.h"

namespace geneclub::testing {
namespace {

ItemSet itemsOf(std::initializer_list<int> items) {
  ItemSet set = 0;
  for (const int item : items) set |= ItemSet{1} << item;
  return set;
}

// Patterns with their supports, in store order as given. Only what the
// scorer reads is filled.
ClassPatterns patternsOf(std::initializer_list<std::pair<ItemSet, int>> patterns) {
  ClassPatterns made;
  for (const auto& [pattern, support] : patterns) {
    made.patterns.push_back(pattern);
    made.supports.push_back(support);
  }
  return made;
}

// Three disease patterns over items 1, 3, 5 and two normal ones over items
// 0, 2, 4; four disease (label 1) and three normal training samples.
MiningResult handMadeMining() {
  MiningResult mined;
  mined.positions = 3;
  mined.disease = patternsOf({{itemsOf({1}), 3}, {itemsOf({3, 4}), 1}, {itemsOf({5}), 2}});
  mined.normal = patternsOf({{itemsOf({0, 2}), 2}, {itemsOf({4}), 1}});
  return mined;
}

const std::vector<int> kTrainingLabels = {1, 1, 1, 1, 0, 0, 0};

// The training samples' items and the patterns each holds.
const std::vector<ItemSet> kTrainingItems = {
    itemsOf({1, 3, 5}),  // disease: {1}, {5}
    itemsOf({1, 2, 5}),  // disease: {1}, {5}
    itemsOf({1, 3, 4}),  // disease: {1}, {3 4}; normal: {4}
    itemsOf({0, 3, 5}),  // disease: {5}
    itemsOf({0, 2, 4}),  // normal: {0 2}, {4}
    itemsOf({0, 2, 5}),  // normal: {0 2}; disease: {5}
    itemsOf({1, 2, 4}),  // normal: {4}; disease: {1}
};

TEST(ScoringRuleTest, SumAddsSupportSharesInStoreOrder) {
  const PatternScorer scorer(handMadeMining(), kTrainingItems, kTrainingLabels, ScoringRule::kSum);
  const EpScores scores = scorer.score(itemsOf({1, 3, 4}));
  double expectedOne = 0.0;
  expectedOne += 3.0 / 4.0;
  expectedOne += 1.0 / 4.0;
  EXPECT_EQ(scores.scoreClassOne, expectedOne);
  EXPECT_EQ(scores.scoreClassZero, 1.0 / 3.0);
  EXPECT_EQ(scores.predictedLabel, 1);
  EXPECT_TRUE(scores.covered);

  const EpScores normal = scorer.score(itemsOf({0, 2, 4}));
  EXPECT_EQ(normal.scoreClassOne, 0.0);
  EXPECT_EQ(normal.scoreClassZero, 2.0 / 3.0 + 1.0 / 3.0);
  EXPECT_EQ(normal.predictedLabel, 0);
}

// Disease training sums 1.25, 1.25, 1.0, 0.5: median (1.0 + 1.25) / 2.
// Normal training sums 1, 2/3, 1/3: median 2/3.
TEST(ScoringRuleTest, NormalisedDividesByTheMedianSumOfTheClassesTrainingSamples) {
  const PatternScorer scorer(handMadeMining(), kTrainingItems, kTrainingLabels,
                             ScoringRule::kNormalised);
  const EpScores scores = scorer.score(itemsOf({1, 3, 4}));
  EXPECT_EQ(scores.scoreClassOne, (3.0 / 4.0 + 1.0 / 4.0) / ((1.0 + 1.25) * 0.5));
  EXPECT_EQ(scores.scoreClassZero, (1.0 / 3.0) / (2.0 / 3.0));
  EXPECT_EQ(scores.predictedLabel, 1);
  EXPECT_TRUE(scores.covered);
}

// When most training samples of a class hold none of its patterns, the
// median is 0.0 and the mean training sum divides instead; a class without
// patterns scores 0.0.
TEST(ScoringRuleTest, NormalisedFallsBackToTheMeanWhenTheMedianIsZero) {
  MiningResult mined = handMadeMining();
  mined.normal = patternsOf({{itemsOf({0, 2}), 2}});
  const std::vector<ItemSet> training = {itemsOf({1}), itemsOf({1}),    itemsOf({0, 2}),
                                         itemsOf({1}), itemsOf({0, 2}), itemsOf({3}),
                                         itemsOf({3})};
  const PatternScorer scorer(mined, training, kTrainingLabels, ScoringRule::kNormalised);
  // Normal training sums 2/3, 0, 0: median 0, mean (2/3 + 0 + 0) / 3.
  EXPECT_EQ(scorer.score(itemsOf({0, 2})).scoreClassZero,
            (2.0 / 3.0) / ((2.0 / 3.0 + 0.0 + 0.0) / 3.0));

  mined.disease = {};
  const PatternScorer withoutDisease(mined, training, kTrainingLabels, ScoringRule::kNormalised);
  const EpScores scores = withoutDisease.score(itemsOf({1, 3, 5}));
  EXPECT_EQ(scores.scoreClassOne, 0.0);
  EXPECT_EQ(scores.scoreClassZero, 0.0);
  EXPECT_FALSE(scores.covered);
}

TEST(ScoringRuleTest, TopAddsTheTenLargestHeldSupportsAgainstTheClasssTen) {
  // Twelve disease patterns, one item each, supports 12 down to 1: the ten
  // largest add up to 12 + 11 + ... + 3 = 75.
  MiningResult mined;
  mined.positions = 12;
  std::vector<ItemSet> training;
  std::vector<int> labels;
  for (int p = 0; p < 12; ++p) {
    mined.disease.patterns.push_back(itemsOf({2 * p + 1}));
    mined.disease.supports.push_back(12 - p);
    training.push_back(itemsOf({2 * p + 1}));
    labels.push_back(1);
  }
  // Three normal patterns of supports 4, 2, 1: fewer than ten, all count.
  mined.normal = patternsOf({{itemsOf({0}), 4}, {itemsOf({2}), 2}, {itemsOf({4}), 1}});
  for (int s = 0; s < 4; ++s) {
    training.push_back(itemsOf({0}));
    labels.push_back(0);
  }
  const PatternScorer scorer(mined, training, labels, ScoringRule::kTop);

  // Holding the patterns of supports 12, 5 and 1, and the normal 4 and 1.
  const EpScores some = scorer.score(itemsOf({1, 15, 23, 0, 4}));
  EXPECT_EQ(some.scoreClassOne, 18.0 / 75.0);
  EXPECT_EQ(some.scoreClassZero, 5.0 / 7.0);
  EXPECT_EQ(some.predictedLabel, 0);
  // Holding eleven patterns: only the ten largest count, which make 1.0.
  ItemSet eleven = 0;
  for (int p = 0; p < 11; ++p) eleven |= itemsOf({2 * p + 1});
  EXPECT_EQ(scorer.score(eleven).scoreClassOne, 1.0);
  // Holding only the weakest ten: 2 + 3 + ... + 11 = 65.
  ItemSet weakest = 0;
  for (int p = 1; p < 11; ++p) weakest |= itemsOf({2 * p + 1});
  EXPECT_EQ(scorer.score(weakest).scoreClassOne, 65.0 / 75.0);

  mined.normal = {};
  EXPECT_EQ(PatternScorer(mined, training, labels, ScoringRule::kTop)
                .score(itemsOf({0, 2, 4}))
                .scoreClassZero,
            0.0);
}

// A sample that holds no pattern scores 0.0 for both classes under every
// rule, is not covered and goes to the class with more training samples,
// then to class 1.
TEST(ScoringRuleTest, UncoveredSamplesGoByTheTieRule) {
  const ItemSet nothingHeld = itemsOf({6, 8});
  for (const ScoringRule rule : kScoringRules) {
    const PatternScorer moreNormal(handMadeMining(), std::vector<ItemSet>(7, nothingHeld),
                                   std::vector<int>{1, 1, 0, 0, 0, 0, 0}, rule);
    const EpScores scores = moreNormal.score(nothingHeld);
    EXPECT_FALSE(scores.covered) << scoringRuleName(rule);
    EXPECT_EQ(scores.scoreClassOne, 0.0);
    EXPECT_EQ(scores.scoreClassZero, 0.0);
    EXPECT_EQ(scores.predictedLabel, 0);
    const PatternScorer balanced(handMadeMining(), std::vector<ItemSet>(4, nothingHeld),
                                 std::vector<int>{1, 0, 1, 0}, rule);
    EXPECT_EQ(balanced.score(nothingHeld).predictedLabel, 1) << scoringRuleName(rule);
    // One pattern of one class is enough to be covered.
    EXPECT_TRUE(balanced.score(itemsOf({4})).covered) << scoringRuleName(rule);
  }
  EXPECT_FALSE(PatternScorer().score(itemsOf({1})).covered);
}

// The sum rule of a trained classifier is today's score: each class's
// support shares of the EPs the sample holds, added in store order.
TEST(ScoringRuleTest, SumRuleOfATrainedClassifierIsTodaysScore) {
  std::mt19937_64 rng(31);
  const int samples = 40;
  ExpressionMatrix matrix(60, ExpressionRow(samples));
  for (ExpressionRow& row : matrix) {
    for (double& value : row) value = static_cast<double>(rng() % 100);
  }
  std::vector<int> labels(samples);
  for (int s = 0; s < samples; ++s) labels[s] = s % 3 == 0 ? 0 : 1;
  std::vector<int> training;
  for (int s = 0; s < samples; ++s) {
    if (s % 5 != 0) training.push_back(s);
  }
  const EpClassifier classifier(matrix, SortedGenes(matrix), labels, training, 12,
                                ScoringRule::kSum, CutCandidates::kEveryPosition);
  const std::array<int, 2> sizes = {
      static_cast<int>(
          std::count(classifier.trainingLabels().begin(), classifier.trainingLabels().end(), 0)),
      static_cast<int>(
          std::count(classifier.trainingLabels().begin(), classifier.trainingLabels().end(), 1))};
  ASSERT_GT(classifier.patterns().disease.patternCount(), 10);
  for (int s = 0; s < samples; ++s) {
    const ItemSet items = tupleItems(classifier.tupleOf(matrix, s), 12);
    std::array<double, 2> expected = {0.0, 0.0};
    for (const auto& [patterns, label] : {std::pair(&classifier.patterns().disease, 1),
                                          std::pair(&classifier.patterns().normal, 0)}) {
      for (int p = 0; p < patterns->patternCount(); ++p) {
        if (isSubset(patterns->patterns[p], items)) {
          expected[label] +=
              static_cast<double>(patterns->supports[p]) / static_cast<double>(sizes[label]);
        }
      }
    }
    const EpScores scores = classifier.classify(matrix, s);
    EXPECT_EQ(scores.scoreClassOne, expected[1]) << s;
    EXPECT_EQ(scores.scoreClassZero, expected[0]) << s;
  }
}

}  // namespace
}  // namespace geneclub::testing
