// The ranking file "topGenes.data" (its layout, number formats and console
// notice) and the state the global run leaves behind on a small synthetic
// data set: rows in final ranking order and the identity gene index list.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "data/dimensions.h"
#include "data/gene_club_analyzer.h"
#include "data/process_state.h"
#include "tests/test_support.h"

namespace geneclub::testing {
namespace {

const char kTopGenesNotice[] = "***Top 20 genes have been written into file topGene.data\n";

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST(WriteTopGenesTest, WritesHeaderAndOneLinePerGene) {
  resetProcessState();
  GeneClubAnalyzer analyzer;
  analyzer.splitValues.assign(kGeneCount, 0.25);
  analyzer.informationGains.assign(kGeneCount, 0.0);
  for (int row = 0; row < kGeneCount; ++row) geneNumbers.push_back(kGeneCount - 1 - row);
  analyzer.splitValues[0] = 1234.5678;
  analyzer.informationGains[0] = 0.5;
  analyzer.splitValues[1] = 12345.6;
  analyzer.splitValues[2] = 0.0;
  analyzer.informationGains[2] = std::log(2.0);

  ScopedWorkDir dir;
  CapturedStdout out;
  analyzer.writeTopGenes();
  analyzer.writeTopGenes();  // truncates: the file holds one copy
  EXPECT_EQ(out.text(), std::string(kTopGenesNotice) + kTopGenesNotice);

  const std::string text = readFile(dir.path() / "topGenes.data");
  ASSERT_EQ(text.back(), '\n');
  const std::vector<std::string> lines = linesOf(text);
  constexpr int kHeaderLines = 3;
  ASSERT_EQ(lines.size(), static_cast<std::size_t>(kHeaderLines + kGeneCount));
  EXPECT_EQ(lines[0], "***This is top 20  gene's gene number, split point and information gain.");
  EXPECT_EQ(lines[1], "Seq#\tGene Number\tsplitValue\tinformation gain");
  EXPECT_EQ(lines[2], "");
  EXPECT_EQ(lines[3], "1\t2000\t\t1235\t\t0.5");
  EXPECT_EQ(lines[4], "2\t1999\t\t1.235e+04\t\t0");
  EXPECT_EQ(lines[5], "3\t1998\t\t0\t\t0.6931");
  EXPECT_EQ(lines.back(), "2000\t1\t\t0.25\t\t0");
}

TEST(GlobalRunTest, LeavesRowsRankedAndCleaned) {
  // 40 samples of class 1, then 22 of class 0; random integer values, except
  // for three genes that all cut the classes apart with the highest gain.
  constexpr int kClassOneSamples = 40;
  constexpr int kSeparatingGene = 5;  // class 1 high: ranks first
  constexpr int kConstantGene = 7;    // cut inside equal values: incomplete
  constexpr int kCopyGene = 9;        // same as kSeparatingGene: removed
  resetProcessState();
  GeneClubAnalyzer analyzer;
  for (int s = 0; s < kSampleCount; ++s) analyzer.classLabels.push_back(s < kClassOneSamples);
  std::mt19937 rng(42);
  std::uniform_int_distribution<int> value(0, 99);
  for (int gene = 0; gene < kGeneCount; ++gene) {
    ExpressionRow values(kSampleCount);
    for (int s = 0; s < kSampleCount; ++s) {
      values[s] = gene == kSeparatingGene ? 1.0 + (s < kClassOneSamples) : value(rng);
    }
    analyzer.expressionMatrix.push_back(values);
  }
  analyzer.expressionMatrix[kConstantGene].assign(kSampleCount, 3.0);
  analyzer.expressionMatrix[kCopyGene] = analyzer.expressionMatrix[kSeparatingGene];
  const ExpressionMatrix loaded = analyzer.expressionMatrix;

  ScopedWorkDir dir;
  CapturedStdout out;
  analyzer.runGlobalAnalysis();

  EXPECT_TRUE(std::is_sorted(analyzer.informationGains.rbegin(), analyzer.informationGains.rend()));
  EXPECT_EQ(geneNumbers[0], kSeparatingGene);
  for (int row = 0; row < kGeneCount; ++row) {
    const int gene = geneNumbers[row];
    const double gain = analyzer.informationGains[row];
    if (gene == kConstantGene || gene == kCopyGene) {
      EXPECT_EQ(gain, 0.0) << gene;
    }
    // Rows in play carry their gene's values; the removed copy carries zeros.
    if (gain > 0.0) {
      EXPECT_EQ(analyzer.expressionMatrix[row], loaded[gene]) << gene;
    } else if (gene == kCopyGene) {
      EXPECT_EQ(analyzer.expressionMatrix[row], ExpressionRow(kSampleCount, 0.0));
    }
  }
  std::vector<int> identity(kGeneCount);
  std::iota(identity.begin(), identity.end(), 0);
  EXPECT_EQ(geneIndexList, identity);
}

}  // namespace
}  // namespace geneclub::testing
