// The ranking file "topGenes.data" (its layout and number formats) and the
// ranking the start-up leaves behind on a small synthetic data set: rows in
// final ranking order, the removed genes at the end, and the same result for
// every number of threads.

#include "results/top_genes.h"

#include <gtest/gtest.h>
#include <tbb/global_control.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/start_up.h"
#include "app/gene_club_session.h"
#include "data/ranked_analysis.h"
#include "tests/test_support.h"

namespace geneclub::testing {
namespace {

TEST(WriteTopGenesTest, WritesHeaderAndOneLinePerGene) {
  constexpr int kGenes = 2000;
  std::vector<double> splitValues(kGenes, 0.25);
  std::vector<double> gains(kGenes, 0.0);
  std::vector<int> geneNumbers;
  for (int row = 0; row < kGenes; ++row) geneNumbers.push_back(kGenes - 1 - row);
  splitValues[0] = 1234.5678;
  gains[0] = 0.5;
  splitValues[1] = 12345.6;
  splitValues[2] = 0.0;
  gains[2] = std::log(2.0);
  const RankedAnalysis ranking(ExpressionMatrix(kGenes, ExpressionRow(1, 0.0)), ClassLabels(1, 0),
                               splitValues, gains, geneNumbers);

  std::ostringstream out;
  out.precision(9);
  writeTopGenes(ranking, 20, out);
  EXPECT_EQ(out.precision(), 9);  // the caller's stream is left as it was

  const std::string text = out.str();
  ASSERT_EQ(text.back(), '\n');
  const std::vector<std::string> lines = linesOf(text);
  constexpr int kHeaderLines = 3;
  ASSERT_EQ(lines.size(), static_cast<std::size_t>(kHeaderLines + kGenes));
  EXPECT_EQ(lines[0], "***This is top 20  gene's gene number, split point and information gain.");
  EXPECT_EQ(lines[1], "Seq#\tGene Number\tsplitValue\tinformation gain");
  EXPECT_EQ(lines[2], "");
  EXPECT_EQ(lines[3], "1\t2000\t\t1235\t\t0.5");
  EXPECT_EQ(lines[4], "2\t1999\t\t1.235e+04\t\t0");
  EXPECT_EQ(lines[5], "3\t1998\t\t0\t\t0.6931");
  EXPECT_EQ(lines.back(), "2000\t1\t\t0.25\t\t0");

  std::ostringstream few;
  writeTopGenes(ranking, 7, few);
  EXPECT_EQ(linesOf(few.str())[0],
            "***This is top 7  gene's gene number, split point and information gain.");
}

// 40 samples of class 1, then 22 of class 0; random integer values, except
// for three genes that all cut the classes apart with the highest gain.
constexpr int kClassOneSamples = 40;
constexpr int kSamples = 62;
constexpr int kGenes = 2000;
constexpr int kSeparatingGene = 5;  // class 1 high: ranks first
constexpr int kConstantGene = 7;    // cut inside equal values: incomplete
constexpr int kCopyGene = 9;        // same as kSeparatingGene: removed

ExpressionData syntheticData() {
  ExpressionData data;
  for (int s = 0; s < kSamples; ++s) data.labels.push_back(s < kClassOneSamples);
  std::mt19937 rng(42);
  std::uniform_int_distribution<int> value(0, 99);
  for (int gene = 0; gene < kGenes; ++gene) {
    ExpressionRow values(kSamples);
    for (int s = 0; s < kSamples; ++s) {
      values[s] = gene == kSeparatingGene ? 1.0 + (s < kClassOneSamples) : value(rng);
    }
    data.matrix.push_back(values);
  }
  data.matrix[kConstantGene].assign(kSamples, 3.0);
  data.matrix[kCopyGene] = data.matrix[kSeparatingGene];
  return data;
}

// The start-up of the synthetic data with the interactive program's cuts and
// console lines written to console.
RankedAnalysis rankAndClean(std::ostream& console) {
  const ExpressionData data = syntheticData();
  AnalysisSettings settings = settingsForData(kGenes, data.labels);
  settings.cuts = CutCandidates::kEveryPosition;
  return runStartUp(data, settings,
                    [&console](const ProgressEvent& event) { printProgress(console, event); })
      .ranking;
}

TEST(StartUpTest, LeavesRowsRankedAndCleaned) {
  const ExpressionMatrix loaded = syntheticData().matrix;
  std::ostringstream console;
  const RankedAnalysis ranking = rankAndClean(console);
  const CleaningResult& cleaning = ranking.cleaning();
  EXPECT_EQ(console.str(),
            "***The total incompleted data is: " + std::to_string(cleaning.incompleteGenes) +
                "\n\n***Finding and removing duplicated genes. Please Wait...\n"
                "\tThe total removed duplicated gene is: " +
                std::to_string(cleaning.duplicateGenes) + "\n");
  EXPECT_GE(cleaning.incompleteGenes, 1);
  EXPECT_GE(cleaning.duplicateGenes, 1);

  EXPECT_TRUE(std::is_sorted(ranking.gains().rbegin(), ranking.gains().rend()));
  EXPECT_EQ(ranking.geneNumber(0), kSeparatingGene);
  EXPECT_EQ(ranking.status(kConstantGene), GeneStatus::kIncomplete);
  EXPECT_EQ(ranking.status(kCopyGene), GeneStatus::kDuplicate);
  EXPECT_EQ(ranking.duplicateOf(kCopyGene), kSeparatingGene);
  for (int row = 0; row < kGenes; ++row) {
    const int gene = ranking.geneNumber(row);
    const double gain = ranking.gain(row);
    if (gene == kConstantGene || gene == kCopyGene) {
      EXPECT_EQ(gain, 0.0) << gene;
    }
    // Rows in play carry their gene's values; the removed copy carries zeros.
    if (gain > 0.0) {
      EXPECT_EQ(ranking.values(row), loaded[gene]) << gene;
    } else if (gene == kCopyGene) {
      EXPECT_EQ(ranking.values(row), ExpressionRow(kSamples, 0.0));
    }
  }
}

TEST(StartUpTest, RankingIsTheSameForEveryThreadCount) {
  std::vector<RankedAnalysis> ranked;
  for (const int threads : {1, 2, 8}) {
    const tbb::global_control limit(tbb::global_control::max_allowed_parallelism, threads);
    std::ostringstream console;
    ranked.push_back(rankAndClean(console));
  }
  for (std::size_t run = 1; run < ranked.size(); ++run) {
    EXPECT_EQ(ranked[run].geneNumbers(), ranked[0].geneNumbers());
    EXPECT_EQ(ranked[run].splitValues(), ranked[0].splitValues());
    EXPECT_EQ(ranked[run].gains(), ranked[0].gains());
  }
}

}  // namespace
}  // namespace geneclub::testing
