// The two cleaning steps on hand-made rankings: which genes count as
// incomplete, which as duplicates of an earlier gene of equal gain, and what
// both steps leave in the rows, gains and per-gene verdicts. Run on one and
// on three words of samples.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "data/ranked_analysis.h"

namespace geneclub::testing {
namespace {

// Every gene's split value; samples of value 1.0 lie above it, 0.0 below.
constexpr double kSplit = 0.5;
constexpr int kGenes = 300;

class CleaningTest : public ::testing::TestWithParam<int> {
 protected:
  int samples() const { return GetParam(); }

  // The first `above` samples above the split, the rest below.
  ExpressionRow rowWithAbove(int above) const {
    ExpressionRow values(samples(), 0.0);
    for (int s = 0; s < above; ++s) values[s] = 1.0;
    return values;
  }

  // Genes in ranking order: distinct positive gains, descending, and 1 to
  // samples - 1 samples above the split.
  void makeRanking() {
    for (int row = 0; row < kGenes; ++row) {
      rows_.push_back(rowWithAbove(row % (samples() - 1) + 1));
      gains_.push_back(0.6 - row * 1e-4);
    }
  }

  // The analysis of the rows and gains as they stand now.
  RankedAnalysis analysis() const {
    std::vector<int> geneNumbers(kGenes);
    for (int row = 0; row < kGenes; ++row) geneNumbers[row] = row;
    return RankedAnalysis(rows_, ClassLabels(samples(), 0), std::vector<double>(kGenes, kSplit),
                          gains_, geneNumbers);
  }

  ExpressionMatrix rows_;
  std::vector<double> gains_;
};

TEST_P(CleaningTest, IncompleteGenesLoseTheirGainAndSinkBelowTheRest) {
  makeRanking();
  ExpressionMatrix& rows = rows_;
  rows[3] = rowWithAbove(0);
  rows[4] = rowWithAbove(samples());
  rows[5] = rowWithAbove(0);
  rows[5].back() = 1.0;               // only the last above
  rows[6].assign(samples(), kSplit);  // none above: equal is not above
  rows[7].assign(samples(), kSplit);
  rows[7][0] = 1.0;  // only the first above
  RankedAnalysis analysis = this->analysis();

  EXPECT_EQ(analysis.takeOutIncompleteGenes(), 3);
  EXPECT_EQ(analysis.cleaning().incompleteGenes, 3);
  analysis.sortByGain();
  // The positive gains all differ; genes 3 and 6 share a profile but have
  // zero gain, so neither is a duplicate.
  EXPECT_EQ(analysis.zeroDuplicateGenes(), 0);
  EXPECT_EQ(std::vector<int>(analysis.geneNumbers().end() - 3, analysis.geneNumbers().end()),
            (std::vector<int>{3, 4, 6}));
  for (int row = 0; row < kGenes; ++row) {
    EXPECT_EQ(analysis.gain(row) == 0.0, row >= kGenes - 3) << row;
    const int gene = analysis.geneNumber(row);
    EXPECT_EQ(analysis.status(gene) == GeneStatus::kIncomplete, row >= kGenes - 3) << row;
  }
  EXPECT_EQ(analysis.rows().back(), ExpressionRow(samples(), kSplit));
}

TEST_P(CleaningTest, LaterGenesOfEqualGainAndProfileAreZeroed) {
  makeRanking();
  ExpressionMatrix& rows = rows_;
  std::vector<double>& gains = gains_;
  // Two identical genes.
  gains[0] = gains[1] = 0.69;
  rows[1] = rows[0];
  // Three genes of one profile, the third with other values on the same sides.
  gains[2] = gains[3] = gains[4] = 0.68;
  rows[3] = rows[4] = rows[2];
  for (double& value : rows[4]) value = value > kSplit ? 2.0 : -1.0;
  // Equal gains, profiles differing in the last sample.
  gains[5] = gains[6] = 0.67;
  rows[6] = rows[5];
  rows[6].back() = 1.0;
  // Equal profiles, gains one bit apart.
  gains[7] = 0.66;
  gains[8] = std::nextafter(0.66, 0.0);
  rows[8] = rows[7];
  // Identical genes of zero gain at the bottom.
  constexpr int kZeroGainGenes = 10;
  for (int row = kGenes - kZeroGainGenes; row < kGenes; ++row) {
    gains[row] = 0.0;
    rows[row] = rows[0];
  }
  const ExpressionMatrix rowsBefore = rows;
  const std::vector<double> gainsBefore = gains;
  RankedAnalysis analysis = this->analysis();

  EXPECT_EQ(analysis.zeroDuplicateGenes(), 3);
  EXPECT_EQ(analysis.cleaning().duplicateGenes, 3);
  for (int row = 0; row < kGenes; ++row) {
    const bool removed = row == 1 || row == 3 || row == 4;
    EXPECT_EQ(analysis.gain(row), removed ? 0.0 : gainsBefore[row]) << row;
    EXPECT_EQ(analysis.values(row), removed ? ExpressionRow(samples(), 0.0) : rowsBefore[row])
        << row;
    EXPECT_EQ(analysis.status(row) == GeneStatus::kDuplicate, removed) << row;
  }
  // Each duplicate names the gene it repeats: the first of its profile.
  const std::vector<int>& duplicateOf = analysis.cleaning().duplicateOf;
  EXPECT_EQ(duplicateOf[1], 0);
  EXPECT_EQ(duplicateOf[3], 2);
  EXPECT_EQ(duplicateOf[4], 2);
  EXPECT_EQ(std::count(duplicateOf.begin(), duplicateOf.end(), -1), kGenes - 3);
  EXPECT_EQ(analysis.splitValues(), std::vector<double>(kGenes, kSplit));
}

INSTANTIATE_TEST_SUITE_P(SampleCounts, CleaningTest, ::testing::Values(62, 130));

}  // namespace
}  // namespace geneclub::testing
