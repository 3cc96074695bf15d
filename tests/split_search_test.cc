// The entropy split search and the ranking sort. Hand-worked cases pin the
// tie rules and the degenerate inputs; randomised comparisons with the
// reference algorithms (the straightforward exchange sorts and candidate
// loop) demand the very same doubles and orders, bit for bit.

#include "ranking/split_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <numeric>
#include <random>
#include <utility>
#include <vector>

#include "data/gene_club_analyzer.h"
#include "ranking/class_entropy.h"
#include "ranking/gene_ranking.h"

namespace geneclub::testing {
namespace {

// The bound every gene's search starts from; any two-class entropy beats it.
constexpr double kInitialBound = 1.0;

std::uint64_t bitsOf(double value) { return std::bit_cast<std::uint64_t>(value); }

double referenceEntropy(const std::vector<int>& labels) {
  const int n = static_cast<int>(labels.size());
  const int z = static_cast<int>(std::count(labels.begin(), labels.end(), 0));
  const int q = n - z;
  if (n == 0 || z == 0 || q == 0) return 0.0;
  const double zd = z, qd = q, nd = n;
  return -(zd * std::log(zd / nd)) / nd - (qd * std::log(qd / nd)) / nd;
}

// Exchange sort, largest value first, then every cut rebuilt from scratch.
double referenceBestSplit(std::vector<double> values, std::vector<int> labels,
                          double& bestEntropy) {
  const int n = static_cast<int>(values.size());
  for (int pass = 0; pass < n; ++pass) {
    for (int j = 0; j + 1 < n; ++j) {
      if (values[j] < values[j + 1]) {
        std::swap(values[j], values[j + 1]);
        std::swap(labels[j], labels[j + 1]);
      }
    }
  }
  double split = 0.0;
  for (int i = 0; i < n; ++i) {
    const std::vector<int> above(labels.begin(), labels.begin() + i);
    const std::vector<int> below(labels.begin() + i, labels.end());
    const double entropy = (static_cast<double>(n - i) / n) * referenceEntropy(below) +
                           (static_cast<double>(i) / n) * referenceEntropy(above);
    if (entropy < bestEntropy) {
      bestEntropy = entropy;
      split = i == 0 ? values[0] + 0.01 : (values[i] + values[i - 1]) * 0.5;
    }
  }
  return split;
}

// The split value and the best entropy from a search started at the usual bound.
std::pair<double, double> findSplit(const std::vector<double>& values,
                                    const std::vector<int>& labels) {
  double best = kInitialBound;
  const double split =
      SplitSearch(labels, CutCandidates::kEveryPosition).findBestSplit(values, best);
  return {split, best};
}

TEST(SplitSearchTest, HandWorkedCases) {
  // Classes separated by value: a pure cut, gaining the whole entropy, ln 2.
  const std::vector<int> labels = {1, 1, 0, 0};
  const auto [split, best] = findSplit({4, 3, 2, 1}, labels);
  EXPECT_EQ(split, 2.5);
  EXPECT_EQ(best, 0.0);
  EXPECT_NEAR(classEntropy(labels) - best, 0.693147, 5e-7);

  // Three equal top values; the pure cut lies inside them, so nothing is above.
  EXPECT_EQ(findSplit({5, 5, 5, 1, 0}, {1, 1, 0, 0, 0}).first, 5.0);

  // All values equal: the cut after two samples wins, at the common value.
  EXPECT_EQ(findSplit({7, 7, 7, 7}, {1, 0, 1, 1}),
            std::make_pair(7.0, 0.5 * classEntropyOfCounts(1, 1)));

  // Cuts after one and after three samples leave equal entropies; the higher wins.
  EXPECT_EQ(findSplit({4, 3, 2, 1}, {0, 1, 1, 0}).first, 3.5);

  // One class only: the first candidate wins, with nothing left to gain.
  EXPECT_EQ(findSplit({2, -1, 3.5}, {1, 1, 1}), std::make_pair(3.5 + 0.01, 0.0));
}

// Sample counts of the trials: small ones, the real data set's 62, one past
// the insertion-sort limit, and one past the size up to which the entropies
// are tabulated.
int trialSampleCount(int trial) {
  constexpr int kLargestSmallSize = 8;
  constexpr int kSortedByLibrary = 130;
  constexpr int kUntabulated = 2100;
  constexpr int kUntabulatedEvery = 1000;
  if (trial % kUntabulatedEvery == kUntabulatedEvery - 1) return kUntabulated;
  switch (trial % 3) {
    case 0:
      return 62;
    case 1:
      return kSortedByLibrary;
    default:
      return 1 + trial / 3 % kLargestSmallSize;
  }
}

TEST(SplitSearchTest, MatchesReferenceAlgorithmBitForBit) {
  // Few distinct values give long runs of ties, signed zeros included.
  std::vector<double> pool = {-2.5, -1.0, -0.0, 0.0, 0.5, 1.0, 3.75};
  const double zeroLabelShares[] = {0.0, 0.1, 0.5, 0.9, 1.0};
  constexpr int kTrials = 3000;
  std::mt19937 rng(20240611);
  for (int trial = 0; trial < kTrials; ++trial) {
    const int n = trialSampleCount(trial);
    std::shuffle(pool.begin(), pool.end(), rng);
    const int distinctValues =
        std::uniform_int_distribution<int>(1, static_cast<int>(pool.size()))(rng);
    std::uniform_int_distribution<int> pick(0, distinctValues - 1);
    std::bernoulli_distribution zeroLabel(zeroLabelShares[trial % std::size(zeroLabelShares)]);
    std::vector<double> values(n);
    std::vector<int> labels(n);
    for (int s = 0; s < n; ++s) {
      values[s] = pool[pick(rng)];
      labels[s] = zeroLabel(rng) ? 0 : 1;
    }

    double expectedBest = kInitialBound;
    const double expectedSplit = referenceBestSplit(values, labels, expectedBest);
    const auto [split, best] = findSplit(values, labels);
    ASSERT_EQ(bitsOf(split), bitsOf(expectedSplit)) << "trial " << trial;
    ASSERT_EQ(bitsOf(best), bitsOf(expectedBest)) << "trial " << trial;
  }
}

// Values with full mantissas, of both signs, many of them a few units in the
// last place apart, so that orders decided only by the lowest bits of a
// value are tested too.
TEST(SplitSearchTest, NearlyEqualValuesOfManySamplesSortExactly) {
  std::mt19937_64 rng(99);
  std::uniform_real_distribution<double> anyValue(-1000.0, 1000.0);
  for (const int n : {65, 130, 1000}) {
    for (int trial = 0; trial < 10; ++trial) {
      std::vector<double> values(n);
      std::vector<int> labels(n);
      const double base = anyValue(rng);
      for (int s = 0; s < n; ++s) {
        double value = trial % 2 == 0 ? anyValue(rng) : base;
        for (int step = static_cast<int>(rng() % 4); step > 0; --step) {
          value = std::nextafter(value, rng() % 2 == 0 ? 2000.0 : -2000.0);
        }
        values[s] = value;
        labels[s] = static_cast<int>(rng() % 2);
      }
      double expectedBest = kInitialBound;
      const double expectedSplit = referenceBestSplit(values, labels, expectedBest);
      const auto [split, best] = findSplit(values, labels);
      ASSERT_EQ(bitsOf(split), bitsOf(expectedSplit)) << n << " samples, trial " << trial;
      ASSERT_EQ(bitsOf(best), bitsOf(expectedBest)) << n << " samples, trial " << trial;

      // The order itself: largest first, equal values in sample order.
      const std::vector<int> order = SplitSearch::descendingOrder(values);
      std::vector<int> expected(n);
      std::iota(expected.begin(), expected.end(), 0);
      std::stable_sort(expected.begin(), expected.end(),
                       [&values](int a, int b) { return values[a] > values[b]; });
      ASSERT_EQ(order, expected) << n << " samples, trial " << trial;
    }
  }
}

struct Ranking {
  ExpressionMatrix rows;
  std::vector<double> gains, splits;
  std::vector<int> numbers;
};

constexpr int kGenes = 2000;
constexpr int kSamples = 3;

void referenceSortByGain(Ranking& r) {
  for (int pass = 0; pass < kGenes; ++pass) {
    for (int j = 0; j + 1 < kGenes; ++j) {
      if (r.gains[j] < r.gains[j + 1]) {
        std::swap(r.rows[j], r.rows[j + 1]);
        std::swap(r.gains[j], r.gains[j + 1]);
        std::swap(r.splits[j], r.splits[j + 1]);
        std::swap(r.numbers[j], r.numbers[j + 1]);
      }
    }
  }
}

bool sameBits(const std::vector<double>& a, const std::vector<double>& b) {
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0;
}

TEST(SortGenesByGainTest, MatchesReferenceExchangeSort) {
  // Half the gains are zero, as after the cleaning steps; the rest repeat often.
  const double gainPool[] = {0.0, -0.0, 0.0, 0.0, 0.1, 0.25, 0.4, 0.693147};
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> pickGain(0, std::size(gainPool) - 1);
  std::uniform_real_distribution<double> anySplit(-100.0, 100.0);
  for (int trial = 0; trial < 3; ++trial) {
    GeneClubAnalyzer analyzer;
    for (int row = 0; row < kGenes; ++row) {
      analyzer.expressionMatrix.emplace_back(kSamples, row);
      analyzer.informationGains.push_back(gainPool[pickGain(rng)]);
      analyzer.splitValues.push_back(anySplit(rng));
      analyzer.geneNumbers.push_back(row);
    }
    Ranking expected{analyzer.expressionMatrix, analyzer.informationGains, analyzer.splitValues,
                     analyzer.geneNumbers};
    referenceSortByGain(expected);
    sortGenesByGain(analyzer);

    EXPECT_EQ(analyzer.expressionMatrix, expected.rows);
    EXPECT_TRUE(sameBits(analyzer.informationGains, expected.gains));
    EXPECT_TRUE(sameBits(analyzer.splitValues, expected.splits));
    EXPECT_EQ(analyzer.geneNumbers, expected.numbers);
  }
}

}  // namespace
}  // namespace geneclub::testing
