// The max-gain permutation test: each permutation's maximum is the largest
// gain rankGenes finds on the permuted labels, a planted perfect
// gene gets the smallest p-value possible, the best gene of data without
// signal gets p-values spread evenly, and the results depend on the seed
// alone, never on the number of threads.

#include <gtest/gtest.h>
#include <tbb/global_control.h>

#include <algorithm>

#include "analysis/start_up.h"
#include "evaluation/permutation_test.h"
#include "evaluation/random_streams.h"
#include "ranking/gene_ranking.h"

namespace geneclub::testing {
namespace {

// Values of the random genes lie in [0, kValueRange).
constexpr int kValueRange = 1000;

ExpressionData randomData(int genes, int samples, int classOneCount, std::uint64_t seed) {
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
std::vector<double> rankedPValues(ExpressionData data, int permutations, std::uint64_t seed) {
  const std::vector<double> maxima =
      permutationMaxGains(data.matrix, data.labels, permutations, seed);
  const AnalysisSettings settings = settingsForData(data.matrix.size(), data.labels);
  const StartUpResult startUp = runStartUp(std::move(data), settings);
  return familywisePValues(maxima, startUp.ranking.gains());
}

// More permutations than one parallel block holds, so that blocks meet.
constexpr int kPermutations = 70;

TEST(PermutationTest, MaximaAreTheGainsOfTheRankingOnPermutedLabels) {
  const ExpressionData data = randomData(30, 21, 9, 4);
  const std::vector<double> maxima =
      permutationMaxGains(data.matrix, data.labels, kPermutations, 8);
  ASSERT_EQ(maxima.size(), static_cast<std::size_t>(kPermutations));
  for (int m = 0; m < kPermutations; ++m) {
    ExpressionData permuted = data;
    std::mt19937_64 stream = randomStream(8, m);
    shuffleInPlace(std::span(permuted.labels), stream);
    EXPECT_EQ(maxima[m], rankGenes(std::move(permuted)).gain(0)) << "permutation " << m;
  }
}

TEST(PermutationTest, PlantedPerfectGeneHasTheSmallestPValue) {
  ExpressionData data = randomData(200, 30, 14, 5);
  for (int s = 0; s < 30; ++s) data.matrix[123][s] = data.labels[s] * 5000.0;
  const std::vector<double> pValues = rankedPValues(data, kPermutations, 1);
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
    const double best = rankedPValues(randomData(40, 20, 10, seed), 99, seed).front();
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
  const ExpressionData data = randomData(500, 45, 20, 6);
  std::vector<double> single, several;
  {
    const tbb::global_control limit(tbb::global_control::max_allowed_parallelism, 1);
    single = permutationMaxGains(data.matrix, data.labels, 100, 77);
  }
  {
    const tbb::global_control limit(tbb::global_control::max_allowed_parallelism, 4);
    several = permutationMaxGains(data.matrix, data.labels, 100, 77);
  }
  EXPECT_EQ(single, several);
  EXPECT_NE(permutationMaxGains(data.matrix, data.labels, 100, 78), single);
}

TEST(PermutationTest, PValuesCountMaximaAtLeastTheGain) {
  const std::vector<double> maxima = {0.1, 0.3, 0.2};
  const std::vector<double> gains = {0.3, 0.0, 0.25, 0.5};
  EXPECT_EQ(familywisePValues(maxima, gains), (std::vector<double>{0.5, 1.0, 0.5, 0.25}));
  EXPECT_EQ(familywisePValues({}, gains), (std::vector<double>{1.0, 1.0, 1.0, 1.0}));
}

}  // namespace
}  // namespace geneclub::testing
