// geneclub-batch as a real process: its command line and exit statuses, the
// result folder's rules, the classes and options that depend on the data,
// and the result files themselves. The machine-readable tables must agree
// with the interactive program's files they accompany: patterns.tsv with
// EP.data line for line, genes.tsv with topGenes.data, clubs.tsv with the
// clubs mined. On the shared real data set the interactive files must be
// byte for byte those of an interactive session; the public tables are
// checked when present.

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/test_support.h"

namespace geneclub::testing {
namespace {

namespace fs = std::filesystem;

constexpr const char* kResultFiles[] = {"topGenes.data", "EP.data",   "diseaseEP.data",
                                        "normalEP.data", "genes.tsv", "clubs.tsv",
                                        "patterns.tsv",  "run.json"};

// Writes a generated table (make_demo_data --table) of the given shape.
void writeTable(const fs::path& path, int genes, int samples, int normalSamples) {
  const std::string command = "'" GENECLUB_DEMO_DATA_TOOL "' --table --genes " +
                              std::to_string(genes) + " --samples " + std::to_string(samples) +
                              " --normal-samples " + std::to_string(normalSamples) + " '" +
                              path.string() + "'";
  ASSERT_EQ(std::system(command.c_str()), 0);
}

// A pattern as both files show it: its support and its genes, each a
// ranking place with "+" (above the split) or "-", in the line's order.
struct ListedPattern {
  int support;
  std::vector<std::string> items;
  bool operator==(const ListedPattern&) const = default;
};
// Per mining run ("global 0", "independent 3", ...) and class (0 Disease, 1
// Normal), the patterns in file order.
using ListedPatterns = std::map<std::string, std::vector<ListedPattern>[2]>;

ListedPatterns patternsOfEpData(const std::string& epData) {
  ListedPatterns runs;
  std::string run, method = "global";
  int classIndex = 0, support = 0;
  const std::map<std::string, std::string> methodNames = {
      {"INDEPENDENT", "independent"},
      {"DIVISION", "division"},
      {"ITERATIVE", "independent-iterative"},
      {"DIVISION ITERATIVE", "division-iterative"}};
  for (const std::string& line : linesOf(epData)) {
    if (line.starts_with("Global top ")) run = "global 0";
    if (line.starts_with("This is the results gotten with ")) {
      const std::string label = line.substr(32, line.size() - 32 - 7);
      method = methodNames.at(label);
    }
    if (line.starts_with("Top ") && line.ends_with(" gene's gene club's EP patterns")) {
      run = method + " " + line.substr(4, line.find(' ', 4) - 4);
    }
    if (line.starts_with("Minimal EPs"))
      classIndex = line.find("Disease") != std::string::npos ? 0 : 1;
    if (line.starts_with("***Tidset with count = ")) support = std::stoi(line.substr(23));
    if (line.starts_with("{ ")) {
      ListedPattern pattern{support, {}};
      std::istringstream items(line.substr(2));
      for (std::string item; items >> item && item != "}";) {
        pattern.items.push_back(std::to_string(std::stoi(item)) + item.back());
      }
      runs[run][classIndex].push_back(pattern);
    }
  }
  return runs;
}

// The rows of patterns.tsv whose support is among the three highest of
// their run and class, as EP.data lists them.
ListedPatterns strongestOfPatternsTable(const std::string& table, const std::string& diseaseLabel) {
  ListedPatterns all;
  const std::vector<std::string> lines = linesOf(table);
  EXPECT_EQ(lines.front(),
            "analysis\tclub\tclass\tsupport\tclass_size\tsamples\tpattern\tranks\tsymbols");
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const std::vector<std::string> fields = fieldsOf(lines[i]);
    EXPECT_EQ(fields.size(), 9u) << lines[i];
    ListedPattern pattern{std::stoi(fields[3]), {}};
    std::istringstream ranks(fields[7]);
    std::size_t conditionStart = 0;
    for (std::string rank; std::getline(ranks, rank, ',');) {
      const std::size_t end = fields[6].find(" & ", conditionStart);
      const std::string condition = fields[6].substr(conditionStart, end - conditionStart);
      pattern.items.push_back(rank + (condition.find(" > ") != std::string::npos ? "+" : "-"));
      conditionStart = end == std::string::npos ? end : end + 3;
    }
    all[fields[0] + " " + fields[1]][fields[2] == diseaseLabel ? 0 : 1].push_back(pattern);
  }
  ListedPatterns strongest;
  for (auto& [run, classes] : all) {
    for (int c = 0; c < 2; ++c) {
      if (classes[c].empty()) continue;
      // Rows come with their supports descending.
      const int highest = classes[c].front().support;
      for (const ListedPattern& pattern : classes[c]) {
        if (pattern.support > highest - 3) strongest[run][c].push_back(pattern);
      }
    }
  }
  return strongest;
}

// The result folder's tables agree with its interactive files.
void expectTablesAgree(const fs::path& folder, const std::string& diseaseLabel, int topGenes) {
  const std::string epData = readFile(folder / "EP.data");
  const ListedPatterns fromEpData = patternsOfEpData(epData);
  const ListedPatterns fromTable =
      strongestOfPatternsTable(readFile(folder / "patterns.tsv"), diseaseLabel);
  for (const auto& [run, classes] : fromEpData) {
    for (int c = 0; c < 2; ++c) {
      const auto found = fromTable.find(run);
      ASSERT_TRUE(found != fromTable.end() || classes[c].empty()) << run;
      if (found != fromTable.end()) {
        EXPECT_TRUE(found->second[c] == classes[c]) << run << " " << c;
      }
    }
  }
  for (const auto& [run, classes] : fromTable) EXPECT_TRUE(fromEpData.count(run)) << run;

  // genes.tsv and topGenes.data: the same genes, splits and gains, place by
  // place (topGenes.data with 4 significant digits), except that a duplicate
  // shows in genes.tsv the gain of the gene it repeats, where topGenes.data
  // shows 0.
  const std::vector<std::string> genes = linesOf(readFile(folder / "genes.tsv"));
  const std::vector<std::string> ranking = linesOf(readFile(folder / "topGenes.data"));
  ASSERT_EQ(genes.size() + 2, ranking.size());
  EXPECT_EQ(
      genes[0],
      "rank\tgene\tcolumn\tsplit\tgain\tstatus\tduplicate_of\tp_fwer\tfold_frequency\tsymbol\t"
      "description");
  std::map<std::string, std::string> gainOfGene;
  for (std::size_t place = 1; place < genes.size(); ++place) {
    const std::vector<std::string> gene = fieldsOf(genes[place]);
    ASSERT_EQ(gene.size(), 11u);
    gainOfGene[gene[1]] = gene[4];
  }
  for (std::size_t place = 1; place < genes.size(); ++place) {
    const std::vector<std::string> gene = fieldsOf(genes[place]);
    const std::vector<std::string> ranked = fieldsOf(ranking[place + 2]);
    EXPECT_EQ(gene[0], ranked[0]);
    char split[32], gain[32];
    std::snprintf(split, sizeof split, "%.4g", std::stod(gene[3]));
    std::snprintf(gain, sizeof gain, "%.4g", std::stod(gene[4]));
    EXPECT_EQ(split, ranked[3]) << place;
    if (gene[5] == "duplicate") {
      EXPECT_EQ(ranked[5], "0") << place;
      EXPECT_EQ(gene[4], gainOfGene.at(gene[6])) << place;
    } else {
      EXPECT_EQ(gain, ranked[5]) << place;
      EXPECT_EQ(gene[6], "") << place;
      EXPECT_EQ(gene[5] == "in_play", std::stod(gene[4]) > 0.0 || gene[5] == "in_play") << place;
    }
  }

  // clubs.tsv: K clubs per method, the top gene of club k at place k.
  std::map<std::string, int> clubsPerMethod;
  const std::vector<std::string> clubs = linesOf(readFile(folder / "clubs.tsv"));
  EXPECT_EQ(clubs[0], "method\tclub\ttop_gene\tposition\tgene\trank\tmined");
  for (std::size_t i = 1; i < clubs.size(); ++i) {
    const std::vector<std::string> row = fieldsOf(clubs[i]);
    ASSERT_EQ(row.size(), 7u);
    if (row[3] == "1") {
      ++clubsPerMethod[row[0]];
      EXPECT_EQ(row[1], row[5]);
      EXPECT_EQ(row[2], row[4]);
    }
    EXPECT_EQ(row[6], std::stoi(row[3]) <= topGenes ? "yes" : "no");
  }
  for (const auto& [method, count] : clubsPerMethod) EXPECT_EQ(count, topGenes) << method;
}

// The genes of each club in clubs.tsv ("division 3" -> its genes), in
// position order; positions must run 1, 2, ... within a club.
std::map<std::string, std::vector<std::string>> clubGenes(const fs::path& folder) {
  std::map<std::string, std::vector<std::string>> clubs;
  const std::vector<std::string> lines = linesOf(readFile(folder / "clubs.tsv"));
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const std::vector<std::string> row = fieldsOf(lines[i]);
    std::vector<std::string>& genes = clubs[row[0] + " " + row[1]];
    EXPECT_EQ(row[3], std::to_string(genes.size() + 1)) << lines[i];
    genes.push_back(row[4]);
  }
  return clubs;
}

class BatchProgramTest : public ::testing::Test {
 protected:
  void SetUp() override { writeTable(dir_.path() / "small.csv", 300, 40, 15); }

  ProcessResult run(const std::vector<std::string>& arguments, const std::string& input = "") {
    return runBatchProgram(dir_.path(), arguments, input);
  }

  ScopedWorkDir dir_;
};

TEST_F(BatchProgramTest, WholeAnalysisOfATable) {
  const ProcessResult result = run({"small.csv"});
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_EQ(result.err, "");
  const fs::path folder = dir_.path() / "small-geneclub";
  for (const char* name : kResultFiles) EXPECT_TRUE(fs::exists(folder / name)) << name;
  EXPECT_NE(result.out.find("40 samples x 300 genes"), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("class 1 (Disease) is negative with 25 samples"), std::string::npos);
  EXPECT_NE(result.out.find("Top 20 genes"), std::string::npos);
  expectTablesAgree(folder, "negative", 20);
  const std::string runJson = readFile(folder / "run.json");
  for (const char* text : {"\"top\": 20", "\"pool\": 240", "\"negative\": 25", "\"positive\": 15",
                           "\"total\": 300", "\"independent-iterative\""}) {
    EXPECT_NE(runJson.find(text), std::string::npos) << text;
  }
}

TEST_F(BatchProgramTest, ResultsDoNotDependOnTheThreadCount) {
  ASSERT_EQ(run({"small.csv", "--threads", "1", "-o", "one", "--quiet"}).exitStatus, 0);
  ASSERT_EQ(run({"small.csv", "--threads=3", "-otwo", "--quiet"}).exitStatus, 0);
  for (const char* name : kResultFiles) {
    if (std::string(name) == "run.json") continue;
    EXPECT_TRUE(readFile(dir_.path() / "one" / name) == readFile(dir_.path() / "two" / name))
        << name;
  }
}

TEST_F(BatchProgramTest, CommandLineErrorsExitWithThreeAndAUsageLine) {
  const std::vector<std::vector<std::string>> wrong = {
      {"small.csv", "--bogus"},
      {"small.csv", "--top"},
      {"small.csv", "--top", "x"},
      {"small.csv", "--top", "0"},
      {"small.csv", "--top", "33"},
      {"small.csv", "--pool", "1.5"},
      {"small.csv", "--threads", "0"},
      {"small.csv", "--methods", "5"},
      {"small.csv", "--methods", "Independent"},
      {"small.csv", "--methods", ""},
      {"small.csv", "--methods", "1,"},
      {"small.csv", "--methods", "1,,2"},
      {"small.csv", "--methods", "none,1"},
      {"small.csv", "--missing", "ignore"},
      {},
      {"small.csv", "other.csv"},
      {"small.csv", "--labels", "l.txt", "--label-column", "labels"},
      {"small.csv", "--genes-in-rows", "--sample-column", "id"},
      {"small.csv", "--evaluate", "lo"},
      {"small.csv", "--evaluate", "kfold:1"},
      {"small.csv", "--evaluate", "kfold:x"},
      {"small.csv", "--permutations", "-1"},
      {"small.csv", "--pool", "-1"},
      {"small.csv", "--pool=-1"},
      {"small.csv", "--seed", "x"},
      {"small.csv", "--seed", ""},
      {"small.csv", "--seed", "-1"},
      {"small.csv", "--seed=-1"},
      {"small.csv", "--seed", "18446744073709551616"},
      {"small.csv", "--seed", "99999999999999999999999"},
      {"small.csv", "--seed", "1.0"}};
  for (const std::vector<std::string>& arguments : wrong) {
    const ProcessResult result = run(arguments);
    std::string shown;
    for (const std::string& argument : arguments) shown += argument + " ";
    EXPECT_EQ(result.exitStatus, 3) << shown;
    EXPECT_TRUE(result.err.starts_with("geneclub-batch: ")) << shown << result.err;
    EXPECT_NE(result.err.find("Usage: geneclub-batch"), std::string::npos) << shown;
    EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 2) << shown << result.err;
    for (const char* option : {"--pool", "--seed"}) {
      if (shown.find(option) != std::string::npos) {
        EXPECT_NE(result.err.find(option), std::string::npos) << shown << result.err;
      }
    }
  }
  EXPECT_FALSE(fs::exists(dir_.path() / "small-geneclub"));
  // The largest seed is taken as it is.
  const ProcessResult largestSeed =
      run({"small.csv", "--seed", "18446744073709551615", "--methods", "none", "--quiet"});
  ASSERT_EQ(largestSeed.exitStatus, 0) << largestSeed.err;
  EXPECT_NE(
      readFile(dir_.path() / "small-geneclub" / "run.json").find("\"seed\": 18446744073709551615,"),
      std::string::npos);

  const ProcessResult help = run({"--help"});
  EXPECT_EQ(help.exitStatus, 0);
  EXPECT_NE(help.out.find("--methods"), std::string::npos);
  const ProcessResult version = run({"--version"});
  EXPECT_EQ(version.exitStatus, 0);
  EXPECT_EQ(version.out, std::string("geneclub-batch ") + GENECLUB_VERSION + "\n");
}

TEST_F(BatchProgramTest, MethodsAreASetRunInMenuOrder) {
  ASSERT_EQ(run({"small.csv", "--methods", "division-iterative,1,independent", "-o", "set",
                 "--quiet", "--top", "4"})
                .exitStatus,
            0);
  const std::string epData = readFile(dir_.path() / "set" / "EP.data");
  const std::size_t independent = epData.find("gotten with INDEPENDENT method");
  const std::size_t iterative = epData.find("gotten with DIVISION ITERATIVE method");
  EXPECT_NE(independent, std::string::npos);
  EXPECT_LT(independent, iterative);
  EXPECT_EQ(epData.find("gotten with INDEPENDENT method", independent + 1), std::string::npos);
  EXPECT_EQ(epData.find("gotten with DIVISION method"), std::string::npos);
  EXPECT_TRUE(epData.starts_with("Global top 4 gene's EP patterns\n"));

  ASSERT_EQ(run({"small.csv", "--methods", "none", "-o", "none", "--quiet"}).exitStatus, 0);
  EXPECT_EQ(readFile(dir_.path() / "none" / "clubs.tsv"),
            "method\tclub\ttop_gene\tposition\tgene\trank\tmined\n");
  EXPECT_EQ(readFile(dir_.path() / "none" / "EP.data").find("This is the results"),
            std::string::npos);
}

// 16 samples, 8 labelled "a" and then 8 "b"; gene g0 is 1 in every "a" and
// 2 in every "b" sample, so it separates the classes and ranks first; genes
// g1 to g29 are random whole numbers from 0 to 9.
std::string separatedTable() {
  std::mt19937 random(3);  // any fixed seed
  std::string text = "labels";
  for (int gene = 0; gene < 30; ++gene) text += ",g" + std::to_string(gene);
  text += "\n";
  for (int sample = 0; sample < 16; ++sample) {
    text += sample < 8 ? "a,1" : "b,2";
    for (int gene = 1; gene < 30; ++gene) text += "," + std::to_string(random() % 10);
    text += "\n";
  }
  return text;
}

// Steps in which no candidate gains anything add nothing: no club holds a
// gene twice (or patterns.tsv a pattern twice), and the shorter clubs flow
// through every result file.
TEST_F(BatchProgramTest, ClubsHoldDistinctGenesWhenTheTopGeneSeparatesTheClasses) {
  writeFile(dir_.path() / "separated.csv", separatedTable());
  const ProcessResult result = run({"separated.csv", "--report", "--quiet"});
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  const fs::path folder = dir_.path() / "separated-geneclub";
  expectTablesAgree(folder, "a", 20);
  EXPECT_TRUE(fs::exists(folder / "report.html"));
  int shortClubs = 0;
  for (auto [club, genes] : clubGenes(folder)) {
    shortClubs += genes.size() < 20;
    std::sort(genes.begin(), genes.end());
    EXPECT_TRUE(std::adjacent_find(genes.begin(), genes.end()) == genes.end()) << club;
  }
  EXPECT_GT(shortClubs, 0);
  // Both divisions of g0 are pure: nothing can join its Division club.
  EXPECT_EQ(clubGenes(folder)["division 1"], std::vector<std::string>{"g0"});
  const std::vector<std::string> patterns = linesOf(readFile(folder / "patterns.tsv"));
  EXPECT_EQ(std::set<std::string>(patterns.begin(), patterns.end()).size(), patterns.size());
}

// A pool of no genes: every club is its top gene alone.
TEST_F(BatchProgramTest, PoolOfNoGenesMakesClubsOfTheTopGeneAlone) {
  const ProcessResult result = run({"small.csv", "--pool", "0", "--report", "-o", "alone"});
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  const fs::path folder = dir_.path() / "alone";
  expectTablesAgree(folder, "negative", 20);
  const std::map<std::string, std::vector<std::string>> clubs = clubGenes(folder);
  EXPECT_EQ(clubs.size(), 4u * 20);
  for (const auto& [club, genes] : clubs) EXPECT_EQ(genes.size(), 1u) << club;
  // Each club's patterns name its top gene only.
  const std::vector<std::string> patterns = linesOf(readFile(folder / "patterns.tsv"));
  for (std::size_t i = 1; i < patterns.size(); ++i) {
    const std::vector<std::string> row = fieldsOf(patterns[i]);
    if (row[0] != "global") {
      EXPECT_EQ(row[7], row[1]) << patterns[i];
    }
  }
  EXPECT_NE(readFile(folder / "run.json").find("\"pool\": 0,"), std::string::npos);
  EXPECT_TRUE(fs::exists(folder / "report.html"));
}

TEST_F(BatchProgramTest, ResultFolderRules) {
  // An existing result file stops the run before the data are read (the
  // data file here does not even exist).
  fs::create_directories(dir_.path() / "taken");
  writeFile(dir_.path() / "taken" / "EP.data", "keep");
  ProcessResult result = run({"missing.csv", "-o", "taken"});
  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_NE(result.err.find("taken/EP.data exists"), std::string::npos) << result.err;
  EXPECT_NE(result.err.find("--force"), std::string::npos);
  EXPECT_EQ(readFile(dir_.path() / "taken" / "EP.data"), "keep");
  EXPECT_FALSE(fs::exists(dir_.path() / "taken" / "genes.tsv"));
  // Links (even dangling) and folders of the names count too.
  fs::create_directories(dir_.path() / "linked");
  fs::create_symlink("nowhere", dir_.path() / "linked" / "run.json");
  EXPECT_EQ(run({"small.csv", "-o", "linked"}).exitStatus, 1);
  // --force replaces them.
  result = run({"small.csv", "-o", "taken", "--force", "--quiet"});
  EXPECT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_NE(readFile(dir_.path() / "taken" / "EP.data"), "keep");
  // A file where the folder should be.
  writeFile(dir_.path() / "plain", "x");
  result = run({"small.csv", "-o", "plain"});
  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_NE(result.err.find("not a folder"), std::string::npos);
  // A missing data file cannot be read.
  result = run({"missing.csv"});
  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_TRUE(result.err.starts_with("geneclub-batch: ")) << result.err;
  EXPECT_FALSE(fs::exists(dir_.path() / "missing-geneclub"));
  // The default folder: the name up to its first dot after the first
  // character; "-" reads standard input.
  fs::copy_file(dir_.path() / "small.csv", dir_.path() / "my.data.csv");
  EXPECT_EQ(run({"my.data.csv", "--quiet", "--methods", "none"}).exitStatus, 0);
  EXPECT_TRUE(fs::exists(dir_.path() / "my-geneclub" / "run.json"));
  EXPECT_EQ(
      run({"-", "--quiet", "--methods", "none"}, readFile(dir_.path() / "small.csv")).exitStatus,
      0);
  EXPECT_EQ(readFile(dir_.path() / "stdin-geneclub" / "genes.tsv"),
            readFile(dir_.path() / "my-geneclub" / "genes.tsv"));
}

// A folder of a result file's name is no result file: the folder holding
// it is never replaced, even with --force, and nothing is read or written.
TEST_F(BatchProgramTest, AFolderOfAResultNameKeepsItsFolder) {
  fs::create_directories(dir_.path() / "blocked" / "genes.tsv");
  writeFile(dir_.path() / "blocked" / "genes.tsv" / "mine.txt", "keep\n");
  const ProcessResult result = run({"small.csv", "-o", "blocked", "--force", "--quiet"});
  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_EQ(result.err,
            "geneclub-batch: blocked/genes.tsv is not a result file, and a results folder is "
            "replaced whole: choose another folder with --out\n");
  EXPECT_EQ(readFile(dir_.path() / "blocked" / "genes.tsv" / "mine.txt"), "keep\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_.path() / "blocked"), {}), 1);
}

TEST_F(BatchProgramTest, OptionsThatDoNotFitTheDataExitWithTwo) {
  writeFile(dir_.path() / "three.csv", "id,labels,g1,g2\ns1,a,1,2\ns2,b,3,4\ns3,c,5,6\ns4,a,7,8\n");
  writeFile(dir_.path() / "numbers.csv", "g1,g2,g3\n1,2,3\n4,5,6\n");
  writeFile(dir_.path() / "two.txt", "a b\n");
  const std::vector<std::vector<std::string>> unfit = {
      {"small.csv", "--top", "32", "--methods", "none", "--pool", "1"},
      {"small.csv", "--disease", "tumour"},
      {"small.csv", "--label-column", "diagnosis"},
      {"small.csv", "--sample-column", "400"},
      {"small.csv", "--labels", "two.txt"},
      {"three.csv"},
      {"numbers.csv"}};
  for (const std::vector<std::string>& arguments : unfit) {
    std::string shown;
    for (const std::string& argument : arguments) shown += argument + " ";
    std::vector<std::string> forced = arguments;
    forced.push_back("--force");
    const ProcessResult result = run(forced);
    if (shown.starts_with("small.csv --top 32")) {
      // 300 genes take a K of 32.
      EXPECT_EQ(result.exitStatus, 0) << result.err;
      continue;
    }
    EXPECT_EQ(result.exitStatus, 2) << shown << result.err;
    EXPECT_TRUE(result.err.starts_with("geneclub-batch: ")) << shown;
    EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << shown << result.err;
  }
  EXPECT_NE(run({"three.csv"}).err.find("--disease"), std::string::npos);
  EXPECT_NE(run({"numbers.csv"}).err.find("--label-column"), std::string::npos);
  // Two genes cannot give three top genes.
  const ProcessResult tooMany = run({"three.csv", "--disease", "a", "--top", "3"});
  EXPECT_EQ(tooMany.exitStatus, 2);
  EXPECT_NE(tooMany.err.find("--top 3"), std::string::npos) << tooMany.err;
}

TEST_F(BatchProgramTest, ClassesFollowTheLabelsOrTheDiseaseOption) {
  writeFile(dir_.path() / "three.csv",
            "id,labels,g1,g2\ns1,b,1,2\ns2,a,3,4\ns3,c,5,6\ns4,a,7,8\ns5,b,9,1\n");
  ProcessResult result = run({"three.csv", "--disease", "a", "--methods", "none", "-o", "ovr"});
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_NE(result.out.find("class 1 (Disease) is a with 2 samples (chosen with --disease)"),
            std::string::npos)
      << result.out;
  EXPECT_NE(result.out.find("class 0 (Normal) is b+c with 3 samples"), std::string::npos);
  const std::string runJson = readFile(dir_.path() / "ovr" / "run.json");
  EXPECT_NE(runJson.find("\"label\": \"b+c\""), std::string::npos) << runJson;
  // Two labels: the first sample's is class 1, and the summary says so.
  writeFile(dir_.path() / "two.csv", "labels,g1,g2\nx,1,2\ny,3,4\nx,5,6\n");
  result = run({"two.csv", "--methods", "none"});
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_NE(result.out.find("class 1 (Disease) is x with 2 samples (the first sample's label"),
            std::string::npos)
      << result.out;
}

TEST_F(BatchProgramTest, OtherFormsOfTheSameData) {
  // Genes in rows with a labels file, and the table compressed with gzip,
  // give the results of the plain table.
  ASSERT_EQ(run({"small.csv", "--quiet", "-o", "plain"}).exitStatus, 0);
  const std::vector<std::string> rows = linesOf(readFile(dir_.path() / "small.csv"));
  std::vector<std::vector<std::string>> cells;
  for (const std::string& row : rows) {
    std::vector<std::string> fields;
    std::stringstream split(row);
    for (std::string field; std::getline(split, field, ',');) fields.push_back(field);
    cells.push_back(fields);
  }
  std::string transposed, labels;
  for (std::size_t column = 0; column < cells[0].size(); ++column) {
    if (column == 0) {
      transposed += "gene";
      for (std::size_t row = 1; row < cells.size(); ++row) {
        transposed += ",s" + std::to_string(row);
        labels += cells[row][0] + "\n";
      }
      transposed += "\n";
      continue;
    }
    for (std::size_t row = 0; row < cells.size(); ++row) {
      transposed += (row == 0 ? "" : ",") + cells[row][column];
    }
    transposed += "\n";
  }
  writeFile(dir_.path() / "rows.csv", transposed);
  writeFile(dir_.path() / "labels.txt", labels);
  ProcessResult result =
      run({"rows.csv", "--genes-in-rows", "--labels", "labels.txt", "--quiet", "-o", "rows"});
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  for (const char* name :
       {"topGenes.data", "EP.data", "diseaseEP.data", "normalEP.data", "clubs.tsv"}) {
    EXPECT_TRUE(readFile(dir_.path() / "rows" / name) == readFile(dir_.path() / "plain" / name))
        << name;
  }

  gzFile gz = gzopen((dir_.path() / "small.csv.gz").c_str(), "wb");
  const std::string text = readFile(dir_.path() / "small.csv");
  gzwrite(gz, text.data(), static_cast<unsigned>(text.size()));
  gzclose(gz);
  result = run({"small.csv.gz", "--quiet", "-o", "gz"});
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  for (const char* name : kResultFiles) {
    if (std::string(name) == "run.json") continue;
    EXPECT_TRUE(readFile(dir_.path() / "gz" / name) == readFile(dir_.path() / "plain" / name))
        << name;
  }
}

TEST_F(BatchProgramTest, GenesWithMissingValuesCanBeLeftOut) {
  writeFile(dir_.path() / "gaps.csv",
            "labels,g1,g2,g3,g4\nnegative,1,NA,3,4\npositive,5,6,,8\nnegative,9,1,2,3\n"
            "positive,4,5,6,7\n");
  ProcessResult result = run({"gaps.csv"});
  EXPECT_EQ(result.exitStatus, 2);
  EXPECT_NE(result.err.find("g2"), std::string::npos) << result.err;
  result = run({"gaps.csv", "--missing", "drop-genes", "--quiet", "-o", "dropped"});
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  // The total counts the genes of the file, those left out included.
  const std::string runJson = readFile(dir_.path() / "dropped" / "run.json");
  EXPECT_NE(runJson.find("\"total\": 4,\n    \"dropped\": 2,"), std::string::npos) << runJson;
  // The kept genes are numbered 1..G in topGenes.data; genes.tsv names them.
  const std::vector<std::string> ranking =
      linesOf(readFile(dir_.path() / "dropped" / "topGenes.data"));
  ASSERT_EQ(ranking.size(), 5u);
  const std::string genes = readFile(dir_.path() / "dropped" / "genes.tsv");
  EXPECT_NE(genes.find("\tg4\t5\t"), std::string::npos) << genes;
  EXPECT_EQ(genes.find("\tg2\t"), std::string::npos);
}

TEST_F(BatchProgramTest, EvaluationAndPermutationsAreTheSameForEveryThreadCount) {
  for (const char* threads : {"1", "3"}) {
    const ProcessResult result =
        run({"small.csv", "--evaluate", "kfold:4", "--seed", "7", "--permutations", "50",
             "--threads", threads, "--methods", "none", "-o", std::string("eval") + threads});
    ASSERT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_NE(result.out.find("Cross-validated classification (kfold:4, seed 7): "),
              std::string::npos)
        << result.out;
  }
  for (const char* name : {"evaluation.tsv", "genes.tsv"}) {
    EXPECT_EQ(readFile(dir_.path() / "eval1" / name), readFile(dir_.path() / "eval3" / name))
        << name;
  }
  const std::vector<std::string> evaluation =
      linesOf(readFile(dir_.path() / "eval1" / "evaluation.tsv"));
  ASSERT_EQ(evaluation.size(), 41u);
  EXPECT_EQ(evaluation[0],
            "sample\tfold\ttrue\tpredicted\tscore_disease\tscore_normal\trule\ttop\tcovered");
  // Stratified folds: each of the 4 folds holds 10 of the 40 samples.
  std::map<std::string, int> foldSizes;
  for (std::size_t i = 1; i < evaluation.size(); ++i) ++foldSizes[fieldsOf(evaluation[i])[1]];
  EXPECT_EQ(foldSizes, (std::map<std::string, int>{{"1", 10}, {"2", 10}, {"3", 10}, {"4", 10}}));
  // Every p-value lies in [1/51, 1].
  const std::vector<std::string> genes = linesOf(readFile(dir_.path() / "eval1" / "genes.tsv"));
  for (std::size_t i = 1; i < genes.size(); ++i) {
    const double p = std::stod(fieldsOf(genes[i])[7]);
    EXPECT_GE(p, 1.0 / 51 - 1e-12);
    EXPECT_LE(p, 1.0);
  }
  // More folds than samples do not fit the data.
  const ProcessResult tooMany = run({"small.csv", "--evaluate", "kfold:41", "-o", "many"});
  EXPECT_EQ(tooMany.exitStatus, 2);
  EXPECT_NE(tooMany.err.find("kfold:41"), std::string::npos) << tooMany.err;
}

// With --split-ties the batch program cuts as the interactive one does.
TEST(BatchRealDataTest, NativeColonDataGiveTheInteractiveSessionsFiles) {
  const std::optional<fs::path> shared = sharedDataDir();
  if (!shared) GTEST_SKIP() << "the shared data set is absent";
  ScopedWorkDir dir;
  const ProcessResult result =
      runBatchProgram(dir.path(), {(*shared / "colonTumor.data").string(), "--split-ties",
                                   "--methods", "1,2,3,4", "-o", "colon"});
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  const fs::path expected = *shared / "expected-session";
  for (const char* name : {"topGenes.data", "EP.data", "diseaseEP.data", "normalEP.data"}) {
    EXPECT_TRUE(readFile(dir.path() / "colon" / name) == readFile(expected / name)) << name;
  }
  expectTablesAgree(dir.path() / "colon", "negative", 20);
}

struct PublicSet {
  const char* file;
  const char* shape;
  const char* classes;
  const char* diseaseLabel;
};

class BatchPublicDataTest : public ::testing::TestWithParam<PublicSet> {};

TEST_P(BatchPublicDataTest, ShapeClassesAndTablesAgreeWithTheFiles) {
  const PublicSet set = GetParam();
  const fs::path path =
      fs::path(GENECLUB_SOURCE_DIR) / ".." / "shared" / "data" / "public" / set.file;
  if (!fs::exists(path)) GTEST_SKIP() << path << " is absent";
  ScopedWorkDir dir;
  const ProcessResult result = runBatchProgram(dir.path(), {path.string(), "-o", "out"});
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_NE(result.out.find(set.shape), std::string::npos) << result.out;
  EXPECT_NE(result.out.find(set.classes), std::string::npos) << result.out;
  expectTablesAgree(dir.path() / "out", set.diseaseLabel, 20);
}

// The published leukemia set: leave-one-out classification by the sum rule
// and 1000 permutations.
TEST(BatchPublicDataEvaluationTest, LeukemiaLeaveOneOutAndPermutations) {
  const fs::path path =
      fs::path(GENECLUB_SOURCE_DIR) / ".." / "shared" / "data" / "public" / "leukemia-golub.csv";
  if (!fs::exists(path)) GTEST_SKIP() << path << " is absent";
  ScopedWorkDir dir;
  const ProcessResult result =
      runBatchProgram(dir.path(), {"--evaluate", "loo", "--classifier", "sum", "--permutations",
                                   "1000", path.string(), "-o", "out"});
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_NE(result.out.find("(loo, seed 1): 71 of 72 samples right"), std::string::npos)
      << result.out;
  EXPECT_EQ(linesOf(readFile(dir.path() / "out" / "evaluation.tsv")).size(), 73u);
  const std::vector<std::string> genes = linesOf(readFile(dir.path() / "out" / "genes.tsv"));
  EXPECT_EQ(fieldsOf(genes[1])[7], "0.000999000999000999");  // 1 / 1001: no permutation beats it
}

INSTANTIATE_TEST_SUITE_P(
    PublicSets, BatchPublicDataTest,
    ::testing::Values(PublicSet{"leukemia-golub.csv", "72 samples x 7129 genes",
                                "class 1 (Disease) is ALL with 47 samples", "ALL"},
                      PublicSet{"prostate-singh.csv", "102 samples x 12600 genes",
                                "class 1 (Disease) is Tumor with 52 samples", "Tumor"}),
    [](const ::testing::TestParamInfo<PublicSet>& info) {
      const std::string file = info.param.file;
      return file.substr(0, file.find('-'));
    });

}  // namespace
}  // namespace geneclub::testing
