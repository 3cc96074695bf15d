// The numbers of geneclub-batch's report page are the run's own: the chart
// data embedded in report.html are compared with genes.tsv, patterns.tsv
// and evaluation.tsv, and its strongest patterns with the class files, of
// the same run on a generated table.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "tests/test_support.h"

namespace geneclub::testing {
namespace {

namespace fs = std::filesystem;
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

// The gene sets of the strong-pattern table under the heading of a class:
// each row's genes, by name, sorted.
std::vector<std::vector<std::string>> strongPatternGenes(const std::string& page,
                                                         const std::string& classLabel) {
  const std::size_t heading = page.find("</span>" + classLabel + "</h4>");
  const std::size_t end = page.find("</table>", heading);
  std::vector<std::vector<std::string>> sets;
  for (std::size_t row = page.find("<tr><td>", heading); row < end;
       row = page.find("<tr><td>", row + 1)) {
    const std::size_t cellEnd = page.find("</td>", row);
    std::vector<std::string> genes;
    const std::string open = "<span class=\"gene\">";
    for (std::size_t at = page.find(open, row); at < cellEnd; at = page.find(open, at + 1)) {
      const std::size_t start = at + open.size();
      genes.push_back(page.substr(start, page.find("</span>", start) - start));
    }
    std::sort(genes.begin(), genes.end());
    sets.push_back(genes);
  }
  return sets;
}

// The gene sets of a class file, by name, sorted.
std::vector<std::vector<std::string>> classFileGenes(const std::filesystem::path& file,
                                                     const std::vector<std::string>& nameOfPlace) {
  std::vector<std::vector<std::string>> sets;
  for (const std::string& line : linesOf(readFile(file))) {
    std::vector<std::string> genes;
    std::istringstream places(line.substr(0, line.find(';')));
    for (int place; places >> place;) genes.push_back(nameOfPlace[place]);
    std::sort(genes.begin(), genes.end());
    sets.push_back(genes);
  }
  return sets;
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

  // The strongest patterns listed are those whose gene sets the class files
  // hold.
  const std::string page = readFile(dir.path() / "out" / "report.html");
  std::vector<std::string> nameOfPlace = {""};
  for (const std::vector<std::string>& row : rowsOf(readFile(dir.path() / "out" / "genes.tsv"))) {
    if (row[0] != "rank") nameOfPlace.push_back(row[1]);
  }
  for (const auto& [label, file] :
       {std::pair{"negative", "diseaseEP.data"}, std::pair{"positive", "normalEP.data"}}) {
    const auto listed = classFileGenes(dir.path() / "out" / file, nameOfPlace);
    ASSERT_FALSE(listed.empty()) << file;
    const auto shown = strongPatternGenes(page, label);
    EXPECT_EQ(shown.size(), std::min<std::size_t>(listed.size(), 20)) << file;
    for (const auto& genes : shown) {
      EXPECT_TRUE(std::find(listed.begin(), listed.end(), genes) != listed.end()) << file;
    }
  }
}

// Every score point of the evaluation is a sample's scores and coverage.
TEST(BatchReportTest, ScorePointsAreTheEvaluationsScoresAndCoverage) {
  ScopedWorkDir dir;
  // 40 samples of random whole numbers 0 to 9 in 30 genes: weak patterns
  // that leave some held-out samples without any.
  std::mt19937 random(5);  // any fixed seed
  std::string table = "labels";
  for (int gene = 0; gene < 30; ++gene) table += ",g" + std::to_string(gene);
  for (int sample = 0; sample < 40; ++sample) {
    table += sample % 3 == 0 ? "\npositive" : "\nnegative";
    for (int gene = 0; gene < 30; ++gene) table += "," + std::to_string(random() % 10);
  }
  writeFile(dir.path() / "table.csv", table + "\n");
  const ProcessResult result =
      runBatchProgram(dir.path(), {"table.csv", "--report", "--quiet", "--evaluate", "loo",
                                   "--classifier", "sum", "--top", "4", "-o", "out"});
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  const fs::path out = dir.path() / "out";
  const std::string page = readFile(out / "report.html");
  const std::vector<std::vector<std::string>> evaluation = rowsOf(readFile(out / "evaluation.tsv"));
  const std::map<std::string, json> charts = chartsOf(page);
  const json& points = charts.at("chart-scores")["layer"][1]["data"]["values"];
  ASSERT_EQ(points.size() + 1, evaluation.size());
  int uncovered = 0;
  for (std::size_t s = 0; s < points.size(); ++s) {
    const std::vector<std::string>& row = evaluation[s + 1];
    EXPECT_EQ(points[s]["sample"], row[0]);
    EXPECT_EQ(points[s]["scoreOne"].get<double>(), std::stod(row[4]));
    EXPECT_EQ(points[s]["scoreZero"].get<double>(), std::stod(row[5]));
    const bool covered = row[8] == "yes";
    uncovered += !covered;
    EXPECT_EQ(points[s]["outcome"].get<std::string>().starts_with("no pattern"), !covered) << s;
  }
  EXPECT_GT(uncovered, 0);
}

}  // namespace
}  // namespace geneclub::testing
