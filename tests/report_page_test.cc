// The whole report page: bounded in size on the largest inputs, reproducible,
// showing what the input holds and only that, and refusing faulty input.

#include "report/report_page.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <stdexcept>
#include <string>

#include "report/chart_libraries.h"
#include "report/html_text.h"
#include "report/report_labels.h"
#include "tests/test_support.h"
#include "tools/report_demo_input.h"

namespace geneclub {
namespace {

// The chart definitions exactly as the page's script parses them.
nlohmann::json chartsOf(const std::string& page) {
  const std::string open = "<script type=\"application/json\" id=\"chart-definitions\">";
  const std::size_t begin = page.find(open) + open.size();
  return nlohmann::json::parse(page.substr(begin, page.find("</script>", begin) - begin));
}

std::vector<std::string> chartIds(const std::string& page) {
  std::vector<std::string> ids;
  for (const auto& chart : chartsOf(page)) ids.push_back(chart["id"]);
  return ids;
}

bool contains(const std::string& text, const std::string& piece) {
  return text.find(piece) != std::string::npos;
}

TEST(ReportPageTest, LargestInputGivesAReproduciblePageUnderFiveMegabytes) {
  const ReportInput input = makeDemoReportInput(largestDemoShape());
  const std::string page = buildReportHtml(input);
  constexpr std::size_t kPageSizeLimit = 5'000'000;
  EXPECT_LT(page.size(), kPageSizeLimit);
  EXPECT_EQ(buildReportHtml(input), page);
  // Every container has its chart and every chart its container.
  const auto ids = chartIds(page);
  // Ranking 2, the heatmap and top genes 32, coverage 1, clubs 4,
  // evaluation 2.
  EXPECT_EQ(ids.size(), 42u);
  for (const std::string& id : ids) {
    EXPECT_TRUE(contains(page, "<div class=\"chart\" id=\"" + id + "\"></div>")) << id;
  }
}

TEST(ReportPageTest, PageCarriesTheChartLibrariesAndTheHeaderFacts) {
  const ReportInput input = makeDemoReportInput(largestDemoShape());
  const std::string page = buildReportHtml(input);
  // The embedded bundles are the vendored files byte for byte, in load order.
  const std::filesystem::path thirdParty =
      std::filesystem::path(GENECLUB_SOURCE_DIR) / "third_party";
  const std::vector<std::filesystem::path> files = {
      thirdParty / "vega" / "vega.min.js", thirdParty / "vega-lite" / "vega-lite.min.js",
      thirdParty / "vega-embed" / "vega-embed.min.js"};
  ASSERT_EQ(chartLibraries().size(), files.size());
  for (std::size_t i = 0; i < files.size(); ++i) {
    const EmbeddedFile& library = chartLibraries()[i];
    EXPECT_EQ(library.name, files[i].filename().string());
    EXPECT_TRUE(library.bytes == geneclub::testing::readFile(files[i])) << library.name;
    EXPECT_TRUE(contains(page, scriptForInlining(library.bytes))) << library.name;
  }
  EXPECT_TRUE(contains(page, "12600 genes analysed &times; 102 samples"));
  EXPECT_TRUE(contains(page, escapeHtml(input.header.dataPath)));
  EXPECT_TRUE(contains(page, "top K = 32, pool P = 1600"));
  EXPECT_TRUE(contains(page, "independent, division, independent-iterative, division-iterative"));
  EXPECT_TRUE(contains(page, "cross-validated, kfold:5"));
  EXPECT_TRUE(contains(page, "version 0.0-demo, run 2026-01-01"));
  EXPECT_TRUE(contains(page, "12603 in the file; 3 dropped for missing values"));
}

TEST(ReportPageTest, OptionalPartsAppearOnlyWhenPresent) {
  ReportInput input = makeDemoReportInput(DemoReportShape{});
  std::string page = buildReportHtml(input);
  auto ids = chartIds(page);
  EXPECT_EQ(std::count(ids.begin(), ids.end(), "chart-confusion"), 0);
  EXPECT_FALSE(contains(page, "p_fwer"));
  EXPECT_FALSE(contains(page, "id=\"evaluation\""));

  input.classPatterns = {};
  input.clubRuns.clear();
  input.header.classZeroLabel = "";
  page = buildReportHtml(input);
  ids = chartIds(page);
  EXPECT_EQ(std::count(ids.begin(), ids.end(), "chart-pattern-coverage"), 0);
  EXPECT_EQ(std::count(ids.begin(), ids.end(), "chart-clubs-1"), 0);
  EXPECT_TRUE(contains(page, "No emerging pattern of this class."));
  EXPECT_TRUE(contains(page, "No club method was run."));
  EXPECT_TRUE(contains(page, "class 0 &mdash; class 0 (Normal)"));
}

TEST(ReportPageTest, FaultyInputIsRefusedWithItsFault) {
  const ReportInput valid = makeDemoReportInput(largestDemoShape());
  const auto expectRefused = [](const ReportInput& input, const std::string& fault) {
    try {
      buildReportHtml(input);
      ADD_FAILURE() << "accepted: " << fault;
    } catch (const std::invalid_argument& error) {
      EXPECT_TRUE(contains(error.what(), fault)) << error.what();
    }
  };
  ReportInput input = valid;
  input.topGenes[3].place = 12601;
  expectRefused(input, "top gene 4 names ranking place 12601");
  input = valid;
  input.topGenes[0].values.pop_back();
  expectRefused(input, "top gene 1 does not have one value per sample");
  input = valid;
  input.classPatterns[kClassZero][2].conditions[0].place = 0;
  expectRefused(input, "pattern 3 of class 0 names ranking place 0");
  input = valid;
  input.classPatterns[kClassOne][0].samples.push_back(102);
  expectRefused(input, "pattern 1 of class 1 names sample 102");
  input = valid;
  input.clubRuns[1].clubs[5].push_back(-1);
  expectRefused(input, "club 6 of division names ranking place -1");
  input = valid;
  input.clubRuns[0].patternCounts.pop_back();
  expectRefused(input, "independent does not have one pattern count per club");
  input = valid;
  input.samples[7].classLabel = 2;
  expectRefused(input, "sample 7 has a class label other than 1 or 0");
  input = valid;
  input.evaluation->predictions.pop_back();
  expectRefused(input, "one prediction per sample");
  input = valid;
  input.evaluation->predictions[4].predictedLabel = -1;
  expectRefused(input, "the prediction of sample 4");
  input = valid;
  input.strongPatterns[kClassOne][2].conditions[1].place = 12601;
  expectRefused(input, "strong pattern 3 of class 1 names ranking place 12601");
  input = valid;
  input.strongPatterns[kClassZero][1].clubPlace = -3;
  expectRefused(input, "strong pattern 2 of class 0 names ranking place -3");
}

// The strong patterns read as words, highest support first, each with the
// run that found it; the evaluation names its classifier and its uncovered
// samples.
TEST(ReportPageTest, StrongPatternsAndTheClassifierInWords) {
  ReportInput input = makeDemoReportInput(largestDemoShape());
  input.strongPatterns[kClassZero] = {{"global", 0, {{3, true}}, 40},
                                      {"division", 2, {{2, false}, {5, true}}, 41}};
  const std::string page = buildReportHtml(input);
  const std::string stronger =
      "<tr><td><span class=\"gene\">G1014_at</span> at or below " +
      formatSignificant(input.ranking[1].split, 4) +
      " <b>and</b> <span class=\"gene\">G1035_at</span> above " +
      formatSignificant(input.ranking[4].split, 4) +
      "</td><td class=\"support\">41 of 41</td><td>division club of <span class=\"gene\">2. "
      "G1014_at</span></td></tr>";
  const std::string weaker =
      "<td class=\"support\">40 of 41</td><td>the global run over the top 32 genes</td>";
  ASSERT_TRUE(contains(page, stronger));
  ASSERT_TRUE(contains(page, weaker));
  EXPECT_LT(page.find(stronger), page.find(weaker));
  // 24 patterns of class 1, of which kPatternsShown are listed.
  EXPECT_TRUE(contains(page, "24 patterns, the 20 of highest support shown."));
  EXPECT_TRUE(contains(page,
                       "by a cross-validation within its training samples, keeping sum with K = 20 "
                       "unless another did measurably better: sum with K = 20 in 3 folds; top with "
                       "K = 10 in 2 folds."));
  EXPECT_TRUE(contains(page, "14 held-out samples hold no pattern of either class"));

  input.evaluation->candidateRules = {"top"};
  input.evaluation->candidateTopGenes = {10};
  EXPECT_TRUE(contains(buildReportHtml(input),
                       "scores the minimal patterns of the 10 best genes of its training samples "
                       "by the top rule."));
}

}  // namespace
}  // namespace geneclub
