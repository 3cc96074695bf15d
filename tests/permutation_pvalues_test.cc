// The max-gain permutation test: each permutation's maximum is the largest
// gain rankGenes finds on the permuted labels, a planted perfect
// gene gets the smallest p-value possible, the best gene of data without
// signal gets p-values spread evenly, and the results depend on the seed
// alone, never on the number of threads.

#include <gtest/gtest.h>
#include <tbb/global_control.h>

#include <algorithm>
#include <cmath>

#include "analysis/start_up.h"
#include "evaluation/permutation_test.h"
#include "evaluation/random_streams.h"
#include "ranking/gene_ranking.h"

namespace geneclub::testing {
namespace {

// Values of the random genes lie in [0, kValueRange).
constexpr int kValueRange = 1000;

ExpressionData randomAnalysis(int genes, int samples, int classOneCount, std::uint64_t seed) {
  std::mt19937_64 stream = randomStream(seed, 0);
  ExpressionMatrix matrix(genes, ExpressionRow(samples));
  for (ExpressionRow& row : matrix) {
    for (double& value : row) value = static_cast<double>(uniformBelow(stream, kValueRange));
  }
  ClassLabels labels(samples, 0);
  std::fill(labels.begin(), labels.begin() + classOneCount, 1);
  return {std::move(matrix), std::move(labels)};
}

// The p-values of the ranked genes, by row of the ranking.
std::vector<double> rankedPValues(ExpressionData analyzer, int permutations, std::uint64_t seed) {
  const std::vector<double> maxima = permutationMaxGains(
      analyzer.matrix, analyzer.labels, permutations, seed, CutCandidates::kDistinctValues);
  const AnalysisSettings settings = settingsForData(analyzer.matrix.size(), analyzer.labels);
  return familywisePValues(maxima, runStartUp(std::move(analyzer), settings).ranking.gains());
}

// More permutations than one parallel block holds, so that blocks meet.
constexpr int kPermutations = 70;

// Values drawn from a few levels, so that most genes have long runs of ties
// and the two sets of candidate cuts give different gains.
TEST(PermutationTest, MaximaAreTheGainsOfTheRankingOnPermutedLabels) {
  ExpressionData analyzer = randomAnalysis(30, 21, 9, 4);
  constexpr int kLevels = 4;
  for (ExpressionRow& row : analyzer.matrix) {
    for (double& value : row) value = std::floor(value * kLevels / kValueRange);
  }
  for (const CutCandidates cuts : {CutCandidates::kEveryPosition, CutCandidates::kDistinctValues}) {
    const std::vector<double> maxima =
        permutationMaxGains(analyzer.matrix, analyzer.labels, kPermutations, 8, cuts);
    ASSERT_EQ(maxima.size(), static_cast<std::size_t>(kPermutations));
    for (int m = 0; m < kPermutations; ++m) {
      ExpressionData permuted = analyzer;
      std::mt19937_64 stream = randomStream(8, m);
      shuffleInPlace(std::span(permuted.labels), stream);
      EXPECT_EQ(maxima[m], rankGenes(std::move(permuted), cuts).gain(0)) << "permutation " << m;
    }
  }
  // The two sets of cuts do differ on these genes.
  EXPECT_NE(permutationMaxGains(analyzer.matrix, analyzer.labels, kPermutations, 8,
                                CutCandidates::kEveryPosition),
            permutationMaxGains(analyzer.matrix, analyzer.labels, kPermutations, 8,
                                CutCandidates::kDistinctValues));
}

TEST(PermutationTest, PlantedPerfectGeneHasTheSmallestPValue) {
  ExpressionData analyzer = randomAnalysis(200, 30, 14, 5);
  for (int s = 0; s < 30; ++s) analyzer.matrix[123][s] = analyzer.labels[s] * 5000.0;
  const std::vector<double> pValues = rankedPValues(analyzer, kPermutations, 1);
  EXPECT_EQ(pValues.front(), 1.0 / (kPermutations + 1));
  EXPECT_GT(pValues[1], pValues.front());
}

// Without signal the best gene's p_fwer is uniform over data sets: the test
// controls the family-wise error at every level.
TEST(PermutationTest, BestGeneOfDataWithoutSignalHasEvenlySpreadPValues) {
  const int dataSets = 40;
  int atMostOneFifth = 0;
  double sum = 0.0;
  for (int seed = 1; seed <= dataSets; ++seed) {
    const double best = rankedPValues(randomAnalysis(40, 20, 10, seed), 99, seed).front();
    sum += best;
    atMostOneFifth += best <= 0.2;
  }
  EXPECT_GT(sum / dataSets, 0.3);
  EXPECT_LT(sum / dataSets, 0.7);
  // 8 expected; a binomial count outside 2..16 has a chance below 1%.
  EXPECT_GE(atMostOneFifth, 2);
  EXPECT_LE(atMostOneFifth, 16);
}

TEST(PermutationTest, SameSeedSameMaximaForEveryThreadCount) {
  const ExpressionData analyzer = randomAnalysis(500, 45, 20, 6);
  std::vector<double> single, several;
  {
    const tbb::global_control limit(tbb::global_control::max_allowed_parallelism, 1);
    single = permutationMaxGains(analyzer.matrix, analyzer.labels, 100, 77,
                                 CutCandidates::kDistinctValues);
  }
  {
    const tbb::global_control limit(tbb::global_control::max_allowed_parallelism, 4);
    several = permutationMaxGains(analyzer.matrix, analyzer.labels, 100, 77,
                                  CutCandidates::kDistinctValues);
  }
  EXPECT_EQ(single, several);
  EXPECT_NE(permutationMaxGains(analyzer.matrix, analyzer.labels, 100, 78,
                                CutCandidates::kDistinctValues),
            single);
}

TEST(PermutationTest, PValuesCountMaximaAtLeastTheGain) {
  const std::vector<double> maxima = {0.1, 0.3, 0.2};
  const std::vector<double> gains = {0.3, 0.0, 0.25, 0.5};
  EXPECT_EQ(familywisePValues(maxima, gains), (std::vector<double>{0.5, 1.0, 0.5, 0.25}));
  EXPECT_EQ(familywisePValues({}, gains), (std::vector<double>{1.0, 1.0, 1.0, 1.0}));
}

}  // namespace
}  // namespace geneclub::testing
