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

#include "analysis/start_up.h"
#include "data/ranked_analysis.h"
#include "ranking/class_entropy.h"
#include "ranking/gene_ranking.h"
#include "ranking/sorted_genes.h"

namespace geneclub::testing {
namespace {

// The start-up's ranking of the data, with the given cuts.
AnalysisSettings settingsWithCuts(const ExpressionData& data, CutCandidates cuts) {
  AnalysisSettings settings = settingsForData(data.matrix.size(), data.labels);
  settings.cuts = cuts;
  return settings;
}
RankedAnalysis rankedAndCleaned(ExpressionData data, CutCandidates cuts) {
  const AnalysisSettings settings = settingsWithCuts(data, cuts);
  return runStartUp(std::move(data), settings).ranking;
}

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

// The cut between neighbouring values lo <= hi, transcribed from its rule:
// the midpoint if it lies in [lo, hi), else lo plus half the gap if that
// does, else lo; equal values are cut at their midpoint when that is their
// value.
double referenceCut(double lo, double hi) {
  if (lo == hi) return (lo + hi) / 2 == lo ? (lo + hi) / 2 : lo;
  const double midpoint = (lo + hi) / 2;
  if (lo <= midpoint && midpoint < hi) return midpoint;
  const double halfGap = lo + (hi - lo) / 2;
  if (lo <= halfGap && halfGap < hi) return halfGap;
  return lo;
}

// Exchange sort, largest value first, then every cut rebuilt from scratch;
// with distinctOnly, positions between equal values are skipped.
double referenceBestSplit(std::vector<double> values, std::vector<int> labels, double& bestEntropy,
                          bool distinctOnly = false) {
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
    if (distinctOnly && i > 0 && values[i] == values[i - 1]) continue;
    const std::vector<int> above(labels.begin(), labels.begin() + i);
    const std::vector<int> below(labels.begin() + i, labels.end());
    const double entropy = (static_cast<double>(n - i) / n) * referenceEntropy(below) +
                           (static_cast<double>(i) / n) * referenceEntropy(above);
    if (entropy < bestEntropy) {
      bestEntropy = entropy;
      split = i == 0 ? values[0] + 0.01 : referenceCut(values[i], values[i - 1]);
    }
  }
  return split;
}

// The split value and the best entropy from a search started at the usual bound.
std::pair<double, double> findSplit(const std::vector<double>& values,
                                    const std::vector<int>& labels,
                                    CutCandidates cuts = CutCandidates::kEveryPosition) {
  double best = kInitialBound;
  const double split = SplitSearch(labels, cuts).findBestSplit(values, best);
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

TEST(CutBetweenTest, StaysFiniteAndInsideTheGap) {
  EXPECT_EQ(cutBetween(2.0, 3.0), 2.5);
  // The midpoint overflows to infinity: half the gap above the lower value.
  EXPECT_EQ(cutBetween(1.6e308, 1.7e308), 1.6e308 + (1.7e308 - 1.6e308) * 0.5);
  // Neighbouring doubles: the midpoint rounds onto the upper value, and so
  // does half the gap, so the cut is the lower value itself.
  const double lo = 1.0000000000000002;
  const double hi = std::nextafter(lo, 2.0);
  EXPECT_EQ(cutBetween(lo, hi), lo);
  // Even the widest gap has a finite cut.
  const double widest = cutBetween(-1.7e308, 1.7e308);
  EXPECT_TRUE(-1.7e308 <= widest && widest < 1.7e308);
  // Equal values: their value, also where their sum overflows; a zero keeps
  // the sign the midpoint gives it.
  EXPECT_EQ(cutBetween(1.7e308, 1.7e308), 1.7e308);
  EXPECT_EQ(bitsOf(cutBetween(-0.0, -0.0)), bitsOf(-0.0));
  EXPECT_EQ(bitsOf(cutBetween(-0.0, 0.0)), bitsOf(0.0));
}

// A gene whose classes lie on two neighbouring doubles, or on two values
// whose sum overflows, separates them with either set of candidate cuts: it
// is in play, gains the whole class entropy and has a finite cut between
// its two values.
TEST(SplitSearchTest, ExtremeNeighboursStillSeparateTheClasses) {
  const std::vector<std::pair<double, double>> pairs = {{1.6e308, 1.7e308},
                                                        {1.0000000000000002, 1.0000000000000004}};
  const ClassLabels labels = {1, 0, 1, 0, 1, 1};
  for (const CutCandidates cuts : {CutCandidates::kEveryPosition, CutCandidates::kDistinctValues}) {
    ExpressionMatrix matrix;
    // Class 1 above in the first gene, below in the second, so that neither
    // duplicates the other.
    for (std::size_t gene = 0; gene < pairs.size(); ++gene) {
      ExpressionRow& row = matrix.emplace_back();
      for (const int label : labels) {
        row.push_back(label == static_cast<int>(gene) ? pairs[gene].first : pairs[gene].second);
      }
    }
    const RankedAnalysis analyzer = rankedAndCleaned({matrix, labels}, cuts);
    EXPECT_EQ(analyzer.cleaning().incompleteGenes, 0);
    for (int row = 0; row < 2; ++row) {
      const auto [lo, hi] = pairs[analyzer.geneNumber(row)];
      EXPECT_EQ(analyzer.gain(row), classEntropy(labels)) << row;
      EXPECT_TRUE(std::isfinite(analyzer.splitValue(row))) << row;
      EXPECT_TRUE(lo <= analyzer.splitValue(row) && analyzer.splitValue(row) < hi) << row;
    }
  }
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

// Both sets of candidate cuts against the reference, bit for bit.
TEST(SplitSearchTest, MatchesReferenceAlgorithmBitForBit) {
  // Few distinct values give long runs of ties, signed zeros included, and
  // neighbours whose midpoint overflows or rounds onto the upper value.
  std::vector<double> pool = {
      -2.5,    -1.0,    -0.0,    0.0, 0.5, 1.0, 3.75, 1.0000000000000002, 1.0000000000000004,
      1.6e308, 1.7e308, -1.7e308};
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

    for (const bool distinctOnly : {false, true}) {
      double expectedBest = kInitialBound;
      const double expectedSplit = referenceBestSplit(values, labels, expectedBest, distinctOnly);
      const auto [split, best] =
          findSplit(values, labels,
                    distinctOnly ? CutCandidates::kDistinctValues : CutCandidates::kEveryPosition);
      ASSERT_EQ(bitsOf(split), bitsOf(expectedSplit)) << "trial " << trial << " " << distinctOnly;
      ASSERT_EQ(bitsOf(best), bitsOf(expectedBest)) << "trial " << trial << " " << distinctOnly;
    }
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
    Ranking expected;
    for (int row = 0; row < kGenes; ++row) {
      expected.rows.emplace_back(kSamples, row);
      expected.gains.push_back(gainPool[pickGain(rng)]);
      expected.splits.push_back(anySplit(rng));
      expected.numbers.push_back(row);
    }
    RankedAnalysis analysis(expected.rows, ClassLabels(kSamples, 0), expected.splits,
                            expected.gains, expected.numbers);
    referenceSortByGain(expected);
    analysis.sortByGain();

    EXPECT_EQ(analysis.rows(), expected.rows);
    EXPECT_TRUE(sameBits(analysis.gains(), expected.gains));
    EXPECT_TRUE(sameBits(analysis.splitValues(), expected.splits));
    EXPECT_EQ(analysis.geneNumbers(), expected.numbers);
  }
}

// Genes of a few value levels each, so that most have long runs of ties;
// every tenth gene is constant and every seventh repeats the gene before it,
// so that the cleaning steps have work too.
ExpressionData tieHeavyAnalysis(int genes, int samples, std::uint64_t seed) {
  std::mt19937_64 rng(seed);
  ExpressionMatrix matrix(genes, ExpressionRow(samples));
  ClassLabels labels(samples);
  for (int s = 0; s < samples; ++s) labels[s] = static_cast<int>(rng() % 3 == 0);
  for (int gene = 0; gene < genes; ++gene) {
    const int levels = 1 + static_cast<int>(rng() % 5);
    for (int s = 0; s < samples; ++s) {
      if (gene % 10 == 9) {
        matrix[gene][s] = 4.0;
      } else if (gene % 7 == 6) {
        matrix[gene][s] = matrix[gene - 1][s];
      } else {
        // Class 1 a level higher half of the time, so that genes inform.
        const int level = static_cast<int>(rng() % levels) + (labels[s] == 1 && rng() % 2 == 0);
        matrix[gene][s] = 0.5 * level;
      }
    }
  }
  return {std::move(matrix), std::move(labels)};
}

// The analysis with its samples in another order: sample s of the result is
// sample order[s] of the original.
ExpressionData withSampleOrder(const ExpressionData& analyzer, const std::vector<int>& order) {
  ExpressionMatrix matrix;
  for (const ExpressionRow& row : analyzer.matrix) {
    ExpressionRow& reordered = matrix.emplace_back();
    for (const int s : order) reordered.push_back(row[s]);
  }
  ClassLabels labels;
  for (const int s : order) labels.push_back(analyzer.labels[s]);
  return {std::move(matrix), std::move(labels)};
}

// What the start-up tells about each gene, by gene number, and the ranking
// as the gene numbers in ranking order. Doubles are kept as their bits.
struct RankingByGene {
  std::vector<std::uint64_t> splits, gains;
  std::vector<GeneStatus> status;
  std::vector<int> duplicateOf, ranking;

  friend bool operator==(const RankingByGene&, const RankingByGene&) = default;
};

RankingByGene rankByGene(ExpressionData data, CutCandidates cuts) {
  const RankedAnalysis analyzer = rankedAndCleaned(std::move(data), cuts);
  RankingByGene ranking;
  ranking.splits.resize(analyzer.geneCount());
  ranking.gains.resize(analyzer.geneCount());
  for (int row = 0; row < analyzer.geneCount(); ++row) {
    ranking.splits[analyzer.geneNumber(row)] = bitsOf(analyzer.splitValue(row));
    ranking.gains[analyzer.geneNumber(row)] = bitsOf(analyzer.gain(row));
  }
  ranking.status = analyzer.cleaning().status;
  ranking.duplicateOf = analyzer.cleaning().duplicateOf;
  ranking.ranking = analyzer.geneNumbers();
  return ranking;
}

// Cuts only between different values give every gene the same split and
// gain, and the genes the same ranking, whatever the order of the samples;
// cuts at every position, on the same table, do not.
TEST(SplitSearchTest, CutsBetweenDifferentValuesDoNotDependOnTheSampleOrder) {
  const int samples = 41;
  const ExpressionData analyzer = tieHeavyAnalysis(300, samples, 5);
  const RankingByGene distinct = rankByGene(analyzer, CutCandidates::kDistinctValues);
  const RankingByGene everyPosition = rankByGene(analyzer, CutCandidates::kEveryPosition);
  std::mt19937_64 rng(17);
  std::vector<int> order(samples);
  std::iota(order.begin(), order.end(), 0);
  int everyPositionChanges = 0;
  for (int trial = 0; trial < 8; ++trial) {
    if (trial == 0) {
      std::reverse(order.begin(), order.end());
    } else {
      std::shuffle(order.begin(), order.end(), rng);
    }
    const ExpressionData reordered = withSampleOrder(analyzer, order);
    EXPECT_TRUE(rankByGene(reordered, CutCandidates::kDistinctValues) == distinct) << trial;
    everyPositionChanges +=
        !(rankByGene(reordered, CutCandidates::kEveryPosition) == everyPosition);
  }
  EXPECT_GT(everyPositionChanges, 0);
}

// The ranking of some samples from the data set's sorted genes is the
// ranking of a copy of those samples, bit for bit, for either set of cuts.
TEST(SplitSearchTest, RankingOfSomeSamplesFromSortedGenesMatchesRankingACopy) {
  const int samples = 90;
  ExpressionData analyzer = tieHeavyAnalysis(200, samples, 23);
  // Some genes of distinct values, most of them past the insertion-sort limit.
  std::mt19937_64 rng(29);
  std::uniform_real_distribution<double> anyValue(-50.0, 50.0);
  for (int gene = 0; gene < 200; gene += 9) {
    for (double& value : analyzer.matrix[gene]) value = anyValue(rng);
  }
  const SortedGenes sorted(analyzer.matrix);
  for (int trial = 0; trial < 6; ++trial) {
    std::vector<int> subset;
    for (int s = 0; s < samples; ++s) {
      if (rng() % (2 + trial) != 0) subset.push_back(s);
    }
    for (const CutCandidates cuts :
         {CutCandidates::kEveryPosition, CutCandidates::kDistinctValues}) {
      const ExpressionData data = withSampleOrder(analyzer, subset);
      const AnalysisSettings settings = settingsWithCuts(data, cuts);
      const RankedAnalysis copied = runStartUp(data, settings).ranking;
      const RankedAnalysis fromSorted =
          runStartUp(data, settings, PresortedGenes{sorted, subset}).ranking;
      EXPECT_EQ(fromSorted.geneNumbers(), copied.geneNumbers()) << trial;
      EXPECT_TRUE(sameBits(fromSorted.splitValues(), copied.splitValues())) << trial;
      EXPECT_TRUE(sameBits(fromSorted.gains(), copied.gains())) << trial;
      EXPECT_EQ(fromSorted.cleaning().status, copied.cleaning().status) << trial;
      EXPECT_EQ(fromSorted.rows(), copied.rows()) << trial;
    }
  }
}

}  // namespace
}  // namespace geneclub::testing
