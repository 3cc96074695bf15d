// The max-gain permutation test: each permutation's maximum is the largest
// gain computeSplitsAndGains finds on the permuted labels, a planted perfect
// gene gets the smallest p-value possible, the best gene of data without
// signal gets p-values spread evenly, and the results depend on the seed
// alone, never on the number of threads.

#include <gtest/gtest.h>
#include <tbb/global_control.h>

#include <algorithm>
#include <cmath>
#include <sstream>

#include "evaluation/permutation_test.h"
#include "evaluation/random_streams.h"
#include "ranking/gene_ranking.h"
#include "ranking/start_up.h"

namespace geneclub::testing {
namespace {

// Values of the random genes lie in [0, kValueRange).
constexpr int kValueRange = 1000;

GeneClubAnalyzer randomAnalysis(int genes, int samples, int classOneCount, std::uint64_t seed) {
  std::mt19937_64 stream = randomStream(seed, 0);
  ExpressionMatrix matrix(genes, ExpressionRow(samples));
  for (ExpressionRow& row : matrix) {
    for (double& value : row) value = static_cast<double>(uniformBelow(stream, kValueRange));
  }
  ClassLabels labels(samples, 0);
  std::fill(labels.begin(), labels.begin() + classOneCount, 1);
  return GeneClubAnalyzer(std::move(matrix), std::move(labels));
}

// The p-values of the ranked genes, by row of the ranking.
std::vector<double> rankedPValues(GeneClubAnalyzer analyzer, int permutations, std::uint64_t seed) {
  const std::vector<double> maxima =
      permutationMaxGains(analyzer.expressionMatrix, analyzer.classLabels, permutations, seed,
                          CutCandidates::kDistinctValues);
  std::ostringstream console;
  rankAndCleanGenes(analyzer, console, CutCandidates::kDistinctValues);
  return familywisePValues(maxima, analyzer.informationGains);
}

// More permutations than one parallel block holds, so that blocks meet.
constexpr int kPermutations = 70;

// Values drawn from a few levels, so that most genes have long runs of ties
// and the two sets of candidate cuts give different gains.
TEST(PermutationTest, MaximaAreTheGainsOfTheRankingOnPermutedLabels) {
  GeneClubAnalyzer analyzer = randomAnalysis(30, 21, 9, 4);
  constexpr int kLevels = 4;
  for (ExpressionRow& row : analyzer.expressionMatrix) {
    for (double& value : row) value = std::floor(value * kLevels / kValueRange);
  }
  for (const CutCandidates cuts : {CutCandidates::kEveryPosition, CutCandidates::kDistinctValues}) {
    const std::vector<double> maxima = permutationMaxGains(
        analyzer.expressionMatrix, analyzer.classLabels, kPermutations, 8, cuts);
    ASSERT_EQ(maxima.size(), static_cast<std::size_t>(kPermutations));
    for (int m = 0; m < kPermutations; ++m) {
      GeneClubAnalyzer permuted = analyzer;
      std::mt19937_64 stream = randomStream(8, m);
      shuffleInPlace(std::span(permuted.classLabels), stream);
      computeSplitsAndGains(permuted, cuts);
      EXPECT_EQ(maxima[m], permuted.informationGains.front()) << "permutation " << m;
    }
  }
  // The two sets of cuts do differ on these genes.
  EXPECT_NE(permutationMaxGains(analyzer.expressionMatrix, analyzer.classLabels, kPermutations, 8,
                                CutCandidates::kEveryPosition),
            permutationMaxGains(analyzer.expressionMatrix, analyzer.classLabels, kPermutations, 8,
                                CutCandidates::kDistinctValues));
}

TEST(PermutationTest, PlantedPerfectGeneHasTheSmallestPValue) {
  GeneClubAnalyzer analyzer = randomAnalysis(200, 30, 14, 5);
  for (int s = 0; s < 30; ++s) analyzer.expressionMatrix[123][s] = analyzer.classLabels[s] * 5000.0;
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
  const GeneClubAnalyzer analyzer = randomAnalysis(500, 45, 20, 6);
  std::vector<double> single, several;
  {
    const tbb::global_control limit(tbb::global_control::max_allowed_parallelism, 1);
    single = permutationMaxGains(analyzer.expressionMatrix, analyzer.classLabels, 100, 77,
                                 CutCandidates::kDistinctValues);
  }
  {
    const tbb::global_control limit(tbb::global_control::max_allowed_parallelism, 4);
    several = permutationMaxGains(analyzer.expressionMatrix, analyzer.classLabels, 100, 77,
                                  CutCandidates::kDistinctValues);
  }
  EXPECT_EQ(single, several);
  EXPECT_NE(permutationMaxGains(analyzer.expressionMatrix, analyzer.classLabels, 100, 78,
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
