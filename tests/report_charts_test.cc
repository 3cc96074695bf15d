// The charts' data must be the input's numbers, unchanged by the trip through
// JSON into the page, and their mark counts bounded on the largest inputs.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <string>

#include "report/charts.h"
#include "report/html_text.h"
#include "report/report_labels.h"
#include "tools/report_demo_input.h"

namespace geneclub {
namespace {

using nlohmann::json;

// The chart definition as the page's script reads it back.
json throughPage(const json& chart) { return json::parse(jsonForScriptElement(chart)); }

// The inline data values of every view in the chart that has them,
// layered or concatenated views included, in order.
void collectData(const json& chart, std::vector<json>& out) {
  if (chart.contains("data")) out.push_back(chart["data"]["values"]);
  for (const char* composition : {"layer", "hconcat", "vconcat"}) {
    if (chart.contains(composition)) {
      for (const json& child : chart[composition]) collectData(child, out);
    }
  }
}

std::vector<json> dataOf(const json& chart) {
  std::vector<json> out;
  collectData(throughPage(chart), out);
  return out;
}

class ReportChartsTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    largest_ = new ReportInput(makeDemoReportInput(largestDemoShape()));
  }
  static void TearDownTestSuite() { delete largest_; }
  static const ReportInput& input() { return *largest_; }

 private:
  static ReportInput* largest_;
};

ReportInput* ReportChartsTest::largest_ = nullptr;

TEST_F(ReportChartsTest, BestGenesCarryTheRankingsGainsStatusesAndPValues) {
  const auto data = dataOf(bestGenesChart(input()));
  ASSERT_EQ(data.size(), 1u);
  ASSERT_EQ(data[0].size(), static_cast<std::size_t>(kBestGenesShown));
  std::set<std::string> statuses;
  for (const json& row : data[0]) {
    const RankedGene& gene = input().ranking[row["place"].get<int>() - 1];
    EXPECT_EQ(row["gene"], geneLabel(input(), row["place"]));
    EXPECT_EQ(row["gain"].get<double>(), gene.gain);
    EXPECT_EQ(row["split"].get<double>(), gene.split);
    EXPECT_EQ(row["pFwer"].get<double>(), *gene.pFwer);
    statuses.insert(row["status"]);
  }
  EXPECT_EQ(statuses, (std::set<std::string>{"in play", "duplicate"}));
}

TEST_F(ReportChartsTest, BestGenesWithoutPValuesHaveNoPValueColumn) {
  ReportInput small = makeDemoReportInput(DemoReportShape{});
  const json chart = throughPage(bestGenesChart(small));
  EXPECT_FALSE(chart.contains("hconcat"));
  for (const json& row : chart["data"]["values"]) EXPECT_FALSE(row.contains("pFwer"));
}

TEST_F(ReportChartsTest, GainCurveIsThinnedToPointsOfTheRanking) {
  const auto data = dataOf(gainCurveChart(input()));
  ASSERT_EQ(data.size(), 3u);  // curve, limit lines, limit labels
  const json& curve = data[0];
  EXPECT_LE(curve.size(), static_cast<std::size_t>(kGainCurvePoints));
  EXPECT_EQ(curve.front()["place"], 1);
  EXPECT_EQ(curve.back()["place"], input().ranking.size());
  for (const json& point : curve) {
    EXPECT_EQ(point["gain"].get<double>(), input().ranking[point["place"].get<int>() - 1].gain);
  }
  EXPECT_EQ(data[1][0]["place"], input().header.settings.topK);
  EXPECT_EQ(data[1][1]["place"], input().header.settings.pool);
}

TEST_F(ReportChartsTest, TopGeneDotsAreTheSamplesValuesAndTheLineIsTheSplit) {
  const auto names = classDisplayNames(input().header);
  for (std::size_t t : {std::size_t{0}, input().topGenes.size() - 1}) {
    const TopGeneValues& top = input().topGenes[t];
    const auto data = dataOf(topGeneChart(input(), t));
    ASSERT_EQ(data.size(), 2u);
    ASSERT_EQ(data[0].size(), input().samples.size());
    for (std::size_t s = 0; s < input().samples.size(); ++s) {
      EXPECT_EQ(data[0][s]["sample"], input().samples[s].name);
      EXPECT_EQ(data[0][s]["class"], names[input().samples[s].classLabel]);
      EXPECT_EQ(data[0][s]["value"].get<double>(), top.values[s]);
    }
    EXPECT_EQ(data[1][0]["split"].get<double>(), input().ranking[top.place - 1].split);
  }
}

// Positive values with a long tail of large ones go on a log scale; values
// that are not all positive, or not so skewed, stay linear.
TEST(ReportScaleTest, OnlyPositiveStronglySkewedValuesAreDrawnOnALogScale) {
  TopGeneValues top{1, {10, 12, 11, 13, 9, 10, 12, 400, 900, 11}};
  EXPECT_TRUE(drawnOnLogScale(top));
  top.values[0] = 0.0;  // log 0 is no point of the axis
  EXPECT_FALSE(drawnOnLogScale(top));
  top.values[0] = -5.0;
  EXPECT_FALSE(drawnOnLogScale(top));
  // Symmetric, and skewed to the left: a log axis would not help.
  EXPECT_FALSE(drawnOnLogScale({1, {10, 20, 30, 40, 50, 60, 70}}));
  EXPECT_FALSE(drawnOnLogScale({1, {1000, 990, 995, 1001, 998, 20, 5}}));
  // Skewness exactly at the limit: n = 4 values {1, 1, 1, x} have g1 = 2/sqrt(3)
  // whatever x > 1, above 1; two values have none.
  EXPECT_TRUE(drawnOnLogScale({1, {1, 1, 1, 5}}));
  EXPECT_FALSE(drawnOnLogScale({1, {1, 5}}));
  EXPECT_FALSE(drawnOnLogScale({1, {7, 7, 7}}));
}

TEST_F(ReportChartsTest, TopGeneAxesSayValueAndWhetherTheScaleIsLogarithmic) {
  int logAxes = 0;
  for (std::size_t t = 0; t < input().topGenes.size(); ++t) {
    const json chart = throughPage(topGeneChart(input(), t));
    const json& x = chart["layer"][0]["encoding"]["x"];
    const bool log = drawnOnLogScale(input().topGenes[t]);
    logAxes += log;
    EXPECT_EQ(x["title"], log ? "value (log scale)" : "value") << t;
    EXPECT_EQ(x["scale"].value("type", "linear"), log ? "log" : "linear") << t;
    // Neighbouring tick labels keep apart.
    EXPECT_GT(x["axis"]["labelSeparation"].get<int>(), 0);
  }
  // The demo input draws every second gene with a long tail.
  EXPECT_EQ(logAxes, static_cast<int>(input().topGenes.size()) / 2);
}

// Each heatmap row is its gene's values, or their logarithms, less their
// mean and divided by their standard deviation; columns group the samples
// by class, class 1 first, each class in sample order.
TEST_F(ReportChartsTest, HeatmapRowsAreEachGenesStandardisedValuesSamplesByClass) {
  const auto data = dataOf(topGeneHeatmap(input()));
  ASSERT_EQ(data.size(), 2u);  // the class strip, then the cells
  const std::size_t samples = input().samples.size();
  ASSERT_EQ(data[0].size(), samples);
  ASSERT_EQ(data[1].size(), input().topGenes.size() * samples);
  const auto names = classDisplayNames(input().header);
  std::vector<std::string> stripClasses;
  for (const json& cell : data[0]) stripClasses.push_back(cell["class"]);
  EXPECT_TRUE(std::is_sorted(stripClasses.begin(), stripClasses.end(),
                             [&](const std::string& a, const std::string& b) {
                               return a == names[kClassOne] && b == names[kClassZero];
                             }));
  std::map<std::string, int> sampleIndex;
  for (std::size_t s = 0; s < samples; ++s) sampleIndex[input().samples[s].name] = s;
  for (std::size_t t = 0; t < input().topGenes.size(); ++t) {
    const TopGeneValues& top = input().topGenes[t];
    const bool log = drawnOnLogScale(top);
    double sum = 0.0, squares = 0.0;
    for (const double value : top.values) {
      const double drawn = log ? std::log(value) : value;
      sum += drawn;
      squares += drawn * drawn;
    }
    const double mean = sum / samples;
    const double deviation = std::sqrt(squares / samples - mean * mean);
    int previous = -1;
    bool previousClassOne = true;
    for (std::size_t c = 0; c < samples; ++c) {
      const json& cell = data[1][t * samples + c];
      EXPECT_EQ(cell["gene"], geneLabel(input(), top.place));
      EXPECT_EQ(cell["column"], c);
      const int s = sampleIndex.at(cell["sample"]);
      EXPECT_EQ(cell["value"].get<double>(), top.values[s]);
      const double drawn = log ? std::log(top.values[s]) : top.values[s];
      EXPECT_NEAR(cell["scaled"].get<double>(), (drawn - mean) / deviation, 1e-9);
      // Within a class, samples keep their order.
      const bool classOne = input().samples[s].classLabel == kClassOne;
      if (classOne == previousClassOne) {
        EXPECT_GT(s, previous);
      }
      previous = s;
      previousClassOne = classOne;
    }
  }
}

TEST_F(ReportChartsTest, CoverageCellsAreExactlyTheSamplesOfTheShownPatterns) {
  const auto data = dataOf(patternCoverageChart(input()));
  ASSERT_EQ(data.size(), 1u);
  std::map<std::string, std::set<std::string>> coveredByRow;
  for (const json& cell : data[0]) coveredByRow[cell["row"]].insert(cell["sample"]);
  EXPECT_EQ(coveredByRow["class"].size(), input().samples.size());
  for (int label : {kClassOne, kClassZero}) {
    const auto& patterns = input().classPatterns[label];
    ASSERT_GT(patterns.size(), static_cast<std::size_t>(kPatternsShown));
    for (int p = 0; p < kPatternsShown; ++p) {
      std::set<std::string> expected;
      for (int s : patterns[p].samples) expected.insert(input().samples[s].name);
      EXPECT_EQ(coveredByRow[patternName(label, p)], expected) << patternName(label, p);
    }
    EXPECT_EQ(coveredByRow.count(patternName(label, kPatternsShown)), 0u);
  }
}

TEST_F(ReportChartsTest, ClubMatrixHoldsEveryMemberAndEveryPatternCount) {
  for (const ClubMethodRun& run : input().clubRuns) {
    const auto data = dataOf(clubMembershipChart(input(), run));
    ASSERT_EQ(data.size(), 2u);
    std::map<std::string, std::vector<int>> members;
    for (const json& cell : data[0]) members[cell["club"]].push_back(cell["place"]);
    ASSERT_EQ(data[1].size(), run.clubs.size());
    for (std::size_t c = 0; c < run.clubs.size(); ++c) {
      const std::string club = geneLabel(input(), run.clubs[c].front());
      EXPECT_EQ(members[club], run.clubs[c]);
      EXPECT_EQ(data[1][c]["club"], club);
      EXPECT_EQ(data[1][c]["patterns"], run.patternCounts[c]);
    }
  }
}

TEST_F(ReportChartsTest, EvaluationChartsCarryTheConfusionCountsAndEveryScore) {
  const ReportEvaluation& evaluation = *input().evaluation;
  const auto names = classDisplayNames(input().header);
  const auto confusion = dataOf(confusionChart(input()));
  ASSERT_EQ(confusion.size(), 1u);
  ASSERT_EQ(confusion[0].size(), 4u);
  for (const json& cell : confusion[0]) {
    const int truth = cell["true"] == names[kClassOne] ? kClassOne : kClassZero;
    const int predicted = cell["predicted"] == names[kClassOne] ? kClassOne : kClassZero;
    EXPECT_EQ(cell["count"], evaluation.confusion[truth][predicted]);
  }
  const auto scores = dataOf(sampleScoreChart(input()));
  ASSERT_EQ(scores.size(), 2u);  // the line of equal scores, then the samples
  ASSERT_EQ(scores[1].size(), input().samples.size());
  int uncovered = 0;
  for (std::size_t s = 0; s < input().samples.size(); ++s) {
    const SamplePrediction& prediction = evaluation.predictions[s];
    const json& point = scores[1][s];
    EXPECT_EQ(point["sample"], input().samples[s].name);
    EXPECT_EQ(point["fold"], prediction.fold);
    EXPECT_EQ(point["scoreOne"].get<double>(), prediction.scoreClassOne);
    EXPECT_EQ(point["scoreZero"].get<double>(), prediction.scoreClassZero);
    // The share of class 1 in the two scores; one half without patterns.
    const double share = point["share"].get<double>();
    EXPECT_GE(share, 0.0);
    EXPECT_LE(share, 1.0);
    const std::string outcome =
        prediction.trueLabel == prediction.predictedLabel ? "correct" : "wrong";
    if (prediction.covered) {
      EXPECT_EQ(share,
                prediction.scoreClassOne / (prediction.scoreClassOne + prediction.scoreClassZero));
      EXPECT_EQ(point["outcome"], outcome);
    } else {
      ++uncovered;
      EXPECT_EQ(share, 0.5);
      EXPECT_EQ(point["outcome"], "no pattern, " + outcome);
    }
  }
  EXPECT_GT(uncovered, 0);
  const json chart = throughPage(sampleScoreChart(input()));
  EXPECT_EQ(chart["layer"][1]["encoding"]["x"]["scale"]["domain"], json::array({0.0, 1.0}));
}

TEST(ReportLabelsTest, ClassNamesAreNeverEmptyAndAlwaysDiffer) {
  ReportHeader header;
  header.classOneLabel = "negative";
  header.classZeroLabel = "positive";
  EXPECT_EQ(classDisplayNames(header), (std::array<std::string, 2>{"positive", "negative"}));
  header.classZeroLabel = "";
  EXPECT_EQ(classDisplayNames(header), (std::array<std::string, 2>{"class 0", "negative"}));
  header.classZeroLabel = "negative";
  EXPECT_EQ(classDisplayNames(header),
            (std::array<std::string, 2>{"negative (0)", "negative (1)"}));
  header.classOneLabel = "class 0";
  header.classZeroLabel = "";
  const auto names = classDisplayNames(header);
  EXPECT_NE(names[0], names[1]);
}

}  // namespace
}  // namespace geneclub
