// The two cleaning steps on hand-made rankings: which genes count as
// incomplete, which as duplicates of an earlier gene of equal gain, what
// both steps leave in the rows and gains, and what they print.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "data/dimensions.h"
#include "data/gene_club_analyzer.h"
#include "data/process_state.h"
#include "tests/test_support.h"

namespace geneclub::testing {
namespace {

// Every gene's split value; samples of value 1.0 lie above it, 0.0 below.
constexpr double kSplit = 0.5;

const char kDuplicateHeader[] = "\n***Finding and removing duplicated genes. Please Wait...\n";

ExpressionRow rowOfProfile(GeneProfile profile) {
  ExpressionRow values(kSampleCount);
  for (int s = 0; s < kSampleCount; ++s) values[s] = (profile >> s) & 1 ? 1.0 : 0.0;
  return values;
}

// 2000 genes in ranking order: distinct positive gains, descending, and
// profiles with 1 to 61 samples above the split.
void fillRanking(GeneClubAnalyzer& analyzer) {
  resetProcessState();
  for (int row = 0; row < kGeneCount; ++row) {
    const int samplesAbove = row % (kSampleCount - 1) + 1;
    analyzer.expressionMatrix.push_back(rowOfProfile((GeneProfile{1} << samplesAbove) - 1));
    analyzer.splitValues.push_back(kSplit);
    analyzer.informationGains.push_back(0.6 - row * 1e-4);
    geneNumbers.push_back(row);
  }
}

TEST(CleaningTest, IncompleteGenesLoseTheirGainAndSinkBelowTheRest) {
  GeneClubAnalyzer analyzer;
  fillRanking(analyzer);
  ExpressionMatrix& rows = analyzer.expressionMatrix;
  rows[3] = rowOfProfile(0);                                     // none above
  rows[4] = rowOfProfile(~GeneProfile{0});                       // all above
  rows[5] = rowOfProfile(GeneProfile{1} << (kSampleCount - 1));  // only the last above
  rows[6].assign(kSampleCount, kSplit);                          // none above: equal is not
  rows[7].assign(kSampleCount, kSplit);
  rows[7][0] = 1.0;  // only the first above

  CapturedStdout out;
  analyzer.countIncompleteData();
  EXPECT_EQ(incompleteGeneCount, 3);
  analyzer.sortGenesByGain();
  // The positive gains all differ; genes 3 and 6 share a profile but have zero gain.
  analyzer.removeDuplicatedGenes();
  EXPECT_EQ(out.text(), "***The total incompleted data is: 3\n" + std::string(kDuplicateHeader) +
                            "\tThe total removed duplicated gene is: 0\n");
  EXPECT_EQ(std::vector<int>(geneNumbers.end() - 3, geneNumbers.end()),
            (std::vector<int>{3, 4, 6}));
  for (int row = 0; row < kGeneCount; ++row) {
    EXPECT_EQ(analyzer.informationGains[row] == 0.0, row >= kGeneCount - 3) << row;
  }
  EXPECT_EQ(rows.back(), ExpressionRow(kSampleCount, kSplit));
}

TEST(CleaningTest, LaterGenesOfEqualGainAndProfileAreRemoved) {
  GeneClubAnalyzer analyzer;
  fillRanking(analyzer);
  ExpressionMatrix& rows = analyzer.expressionMatrix;
  std::vector<double>& gains = analyzer.informationGains;
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
  rows[6][kSampleCount - 1] = 1.0;
  // Equal profiles, gains one bit apart.
  gains[7] = 0.66;
  gains[8] = std::nextafter(0.66, 0.0);
  rows[8] = rows[7];
  // Identical genes of zero gain at the bottom.
  constexpr int kZeroGainGenes = 10;
  for (int row = kGeneCount - kZeroGainGenes; row < kGeneCount; ++row) {
    gains[row] = 0.0;
    rows[row] = rows[0];
  }
  const ExpressionMatrix rowsBefore = rows;
  const std::vector<double> gainsBefore = gains;

  CapturedStdout out;
  analyzer.removeDuplicatedGenes();
  EXPECT_EQ(out.text(),
            std::string(kDuplicateHeader) + "\tThe total removed duplicated gene is: 3\n");
  EXPECT_EQ(duplicateGeneCount, 3);

  for (int row = 0; row < kGeneCount; ++row) {
    const bool removed = row == 1 || row == 3 || row == 4;
    EXPECT_EQ(gains[row], removed ? 0.0 : gainsBefore[row]) << row;
    EXPECT_EQ(rows[row], removed ? ExpressionRow(kSampleCount, 0.0) : rowsBefore[row]) << row;
  }
  EXPECT_EQ(analyzer.splitValues, std::vector<double>(kGeneCount, kSplit));
  EXPECT_TRUE(std::is_sorted(geneNumbers.begin(), geneNumbers.end()));
}

}  // namespace
}  // namespace geneclub::testing
