// The numbers of geneclub-batch's report page are the run's own: the chart
// data embedded in report.html are compared with genes.tsv and patterns.tsv
// of the same run on a generated table.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "tests/test_support.h"

namespace geneclub::testing {
namespace {

using nlohmann::json;

std::vector<std::vector<std::string>> rowsOf(const std::string& tsv) {
  std::vector<std::vector<std::string>> rows;
  for (const std::string& line : linesOf(tsv)) rows.push_back(fieldsOf(line));
  return rows;
}

// The page's chart definitions, by chart id.
std::map<std::string, json> chartsOf(const std::string& page) {
  const std::string opening = "<script type=\"application/json\" id=\"chart-definitions\">";
  const std::size_t start = page.find(opening) + opening.size();
  const json charts = json::parse(page.substr(start, page.find("</script>", start) - start));
  std::map<std::string, json> byId;
  for (const json& chart : charts) byId[chart["id"]] = chart["definition"];
  return byId;
}

TEST(BatchReportTest, ChartDataAreTheRunsNumbers) {
  ScopedWorkDir dir;
  const std::string command = "'" GENECLUB_DEMO_DATA_TOOL
                              "' --table --genes 400 --samples 44 --normal-samples 16 table.csv";
  ASSERT_EQ(std::system(command.c_str()), 0);
  const ProcessResult result =
      runBatchProgram(dir.path(), {"table.csv", "--report", "--quiet", "-o", "out"});
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  const std::map<std::string, json> charts = chartsOf(readFile(dir.path() / "out" / "report.html"));

  // The bars of the best genes: places, gains and splits of genes.tsv.
  const std::vector<std::vector<std::string>> genes =
      rowsOf(readFile(dir.path() / "out" / "genes.tsv"));
  const json& bars = charts.at("chart-best-genes")["data"]["values"];
  ASSERT_EQ(bars.size(), 50u);
  for (std::size_t i = 0; i < bars.size(); ++i) {
    const std::vector<std::string>& gene = genes[i + 1];
    EXPECT_EQ(bars[i]["place"].get<int>(), std::stoi(gene[0]));
    EXPECT_EQ(bars[i]["gain"].get<double>(), std::stod(gene[4])) << gene[1];
    EXPECT_EQ(bars[i]["split"].get<double>(), std::stod(gene[3])) << gene[1];
  }

  // The pattern matrix: the strongest global patterns of each class cover
  // exactly the samples patterns.tsv names, in its order.
  std::map<std::string, std::vector<std::string>> covered;
  for (const json& cell : charts.at("chart-pattern-coverage")["data"]["values"]) {
    covered[cell["row"].get<std::string>()].push_back(cell["sample"].get<std::string>());
  }
  int disease = 0, normal = 0;
  for (const std::vector<std::string>& row :
       rowsOf(readFile(dir.path() / "out" / "patterns.tsv"))) {
    if (row[0] != "global") continue;
    const bool isDisease = row[2] == "negative";
    int& shown = isDisease ? disease : normal;
    if (++shown > 20) continue;
    std::string id = isDisease ? "D" : "N";
    id += std::to_string(shown);
    std::vector<std::string> samples;
    std::stringstream names(row[5]);
    for (std::string name; std::getline(names, name, ',');) samples.push_back(name);
    ASSERT_TRUE(covered.count(id)) << id;
    EXPECT_EQ(covered.at(id), samples) << id;
    EXPECT_EQ(static_cast<int>(samples.size()), std::stoi(row[3])) << id;
  }
  EXPECT_GT(disease, 0);
  EXPECT_GT(normal, 0);
}

}  // namespace
}  // namespace geneclub::testing
