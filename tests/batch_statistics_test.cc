// geneclub-batch's statistics as a real process: results that do not depend
// on the order of the rows, duplicate genes that keep their gain, the
// classifier options and the columns they add to evaluation.tsv and
// genes.tsv, what patterns.tsv keeps, and the summary's account of it all.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/start_up.h"
#include "app/batch_summary.h"
#include "data/analysis_settings.h"
#include "tests/test_support.h"

namespace geneclub::testing {
namespace {

namespace fs = std::filesystem;

// A table of whole numbers 0 to 5, full of ties: `samples` rows named s1,
// s2, ..., every third labelled positive (class 0) and the others negative
// (class 1, whose values are raised by one in a third of the cells), and
// `genes` genes g1, g2, ...; the same text for a seed on every platform.
std::string tiedTable(int samples, int genes, unsigned seed) {
  std::mt19937 random(seed);
  std::string text = "id,labels";
  for (int gene = 1; gene <= genes; ++gene) text += ",g" + std::to_string(gene);
  text += "\n";
  for (int sample = 1; sample <= samples; ++sample) {
    const bool positive = sample % 3 == 0;
    text += "s" + std::to_string(sample) + (positive ? ",positive" : ",negative");
    for (int gene = 1; gene <= genes; ++gene) {
      const unsigned value = random() % 6 + (!positive && random() % 3 == 0 ? 1 : 0);
      text += "," + std::to_string(value);
    }
    text += "\n";
  }
  return text;
}

// The table with its data rows in the order `reorder` leaves them; the
// header stays first.
template <typename Reorder>
std::string withRowsReordered(const std::string& table, Reorder reorder) {
  std::vector<std::string> lines = linesOf(table);
  reorder(lines.begin() + 1, lines.end());
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

// The rows of a table after its header, keyed by the value of column `key`.
std::map<std::string, std::vector<std::string>> rowsByKey(const fs::path& file, int key) {
  std::map<std::string, std::vector<std::string>> rows;
  const std::vector<std::string> lines = linesOf(readFile(file));
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const std::vector<std::string> fields = fieldsOf(lines[i]);
    rows[fields[key]] = fields;
  }
  return rows;
}

// Columns of genes.tsv, counted from 0.
constexpr int kGeneColumn = 1;
constexpr int kGainColumn = 4;
constexpr int kStatusColumn = 5;
constexpr int kDuplicateOfColumn = 6;
constexpr int kPValueColumn = 7;
constexpr int kFoldFrequencyColumn = 8;

class BatchStatisticsTest : public ::testing::Test {
 protected:
  ProcessResult run(const std::vector<std::string>& arguments) {
    return runBatchProgram(dir_.path(), arguments);
  }
  fs::path path(const std::string& name) const { return dir_.path() / name; }

  ScopedWorkDir dir_;
};

// Cuts only between different values make the ranking and a fixed rule's
// leave-one-out predictions the same whatever the order of the rows: the
// same genes.tsv row for every gene and the same prediction for every
// sample (the sums may add the same patterns in another order, so scores
// agree to rounding). The automatic choice draws its inner folds in sample
// order, so with it only what the ranking promises is compared: every
// column of genes.tsv but fold_frequency, which follows the K each fold
// chose.
TEST_F(BatchStatisticsTest, ReorderedRowsGiveTheSameGenesAndPredictions) {
  const std::string table = tiedTable(30, 60, 11);
  writeFile(path("table.csv"), table);
  writeFile(path("reversed.csv"),
            withRowsReordered(table, [](auto first, auto last) { std::reverse(first, last); }));
  writeFile(path("shuffled.csv"), withRowsReordered(table, [](auto first, auto last) {
              std::mt19937 random(4);  // any fixed seed
              std::shuffle(first, last, random);
            }));
  for (const char* copy : {"table", "reversed", "shuffled"}) {
    for (const std::string classifier : {"sum", "normalised", "top", "auto"}) {
      const ProcessResult result =
          run({std::string(copy) + ".csv", "--evaluate", "loo", "--classifier", classifier, "--top",
               "10", "--methods", "none", "--quiet", "-o", copy + classifier});
      ASSERT_EQ(result.exitStatus, 0) << result.err;
    }
  }
  for (const char* copy : {"reversed", "shuffled"}) {
    for (const std::string classifier : {"sum", "normalised", "top", "auto"}) {
      const std::string shown = std::string(copy) + " " + classifier;
      auto genes = rowsByKey(path(copy + classifier) / "genes.tsv", kGeneColumn);
      auto expectedGenes = rowsByKey(path("table" + classifier) / "genes.tsv", kGeneColumn);
      ASSERT_EQ(genes.size(), 60u);
      if (classifier == "auto") {
        for (auto* rows : {&genes, &expectedGenes}) {
          for (auto& [gene, row] : *rows) row[kFoldFrequencyColumn] = "";
        }
      }
      EXPECT_TRUE(genes == expectedGenes) << shown;
      if (classifier == "auto") continue;
      const auto predictions = rowsByKey(path(copy + classifier) / "evaluation.tsv", 0);
      const auto expected = rowsByKey(path("table" + classifier) / "evaluation.tsv", 0);
      ASSERT_EQ(predictions.size(), 30u);
      for (const auto& [sample, row] : predictions) {
        const std::vector<std::string>& before = expected.at(sample);
        EXPECT_EQ(row[3], before[3]) << shown << " " << sample;  // predicted
        EXPECT_NEAR(std::stod(row[4]), std::stod(before[4]), 1e-12) << shown << " " << sample;
        EXPECT_NEAR(std::stod(row[5]), std::stod(before[5]), 1e-12) << shown << " " << sample;
        EXPECT_EQ(row[8], before[8]) << shown << " " << sample;  // covered
      }
    }
  }
  // The interactive program's cuts, between tied values too, rank these
  // rows differently once they are reversed: the fault the default avoids.
  for (const char* copy : {"table", "reversed"}) {
    ASSERT_EQ(run({std::string(copy) + ".csv", "--split-ties", "--methods", "none", "--quiet", "-o",
                   std::string("ties-") + copy})
                  .exitStatus,
              0);
  }
  EXPECT_FALSE(rowsByKey(path("ties-table") / "genes.tsv", kGeneColumn) ==
               rowsByKey(path("ties-reversed") / "genes.tsv", kGeneColumn));
}

// --classifier sum with K = --top is the classifier of the earlier program:
// these are the first six columns of its evaluation.tsv for this table.
TEST_F(BatchStatisticsTest, TheSumRuleGivesTheEarlierProgramsScoresAndPredictions) {
  writeFile(path("table.csv"), tiedTable(30, 60, 11));
  const ProcessResult result = run({"table.csv", "--evaluate", "loo", "--classifier", "sum",
                                    "--top", "10", "--methods", "none", "--quiet", "-o", "out"});
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  const std::string expected =
      R"(sample	fold	true	predicted	score_disease	score_normal
s1	1	negative	negative	2.2105263157894735	0.3
s2	2	negative	negative	4.157894736842104	0
s3	3	positive	positive	0.44999999999999996	3.888888888888889
s4	4	negative	negative	4.526315789473684	0
s5	5	negative	negative	4.210526315789474	0
s6	6	positive	negative	3.5500000000000003	1.6666666666666667
s7	7	negative	negative	3.052631578947368	0.3
s8	8	negative	negative	4.526315789473683	0.1
s9	9	positive	negative	3.65	1.2222222222222223
s10	10	negative	negative	2.3684210526315788	1.3000000000000003
s11	11	negative	positive	1.1052631578947367	1.4
s12	12	positive	positive	0.4	4.666666666666666
s13	13	negative	negative	4.894736842105263	0
s14	14	negative	negative	3.842105263157895	0
s15	15	positive	positive	0.1	5.222222222222222
s16	16	negative	negative	3.8421052631578942	0.8
s17	17	negative	negative	4.315789473684211	1
s18	18	positive	positive	1.4	2.222222222222222
s19	19	negative	negative	3.3157894736842106	0.8999999999999999
s20	20	negative	negative	5.052631578947367	0
s21	21	positive	positive	1.3	1.3333333333333335
s22	22	negative	negative	4.6842105263157885	0
s23	23	negative	positive	1.1052631578947367	2
s24	24	positive	negative	1.7	0.6666666666666666
s25	25	negative	negative	2.3684210526315788	0.3
s26	26	negative	negative	2.3684210526315788	0.30000000000000004
s27	27	positive	positive	0	7.555555555555555
s28	28	negative	negative	2.2105263157894735	0.4
s29	29	negative	negative	2.1578947368421053	0.6
s30	30	positive	positive	1.3	4.111111111111111
)";
  std::string firstSix;
  for (const std::string& line : linesOf(readFile(path("out") / "evaluation.tsv"))) {
    const std::vector<std::string> fields = fieldsOf(line);
    ASSERT_EQ(fields.size(), 9u) << line;
    for (int column = 0; column < 6; ++column)
      firstSix += fields[column] + (column < 5 ? "\t" : "\n");
    // Every fold used the one rule and K given.
    if (fields[0] != "sample") {
      EXPECT_EQ(fields[6], "sum");
      EXPECT_EQ(fields[7], "10");
    }
  }
  EXPECT_EQ(firstSix, expected);
}

// A duplicate gene shows the gain of the gene it repeats and that gene's
// p_fwer, keeping its place at the end of the ranking and its status.
TEST_F(BatchStatisticsTest, DuplicatesKeepTheGainAndPValueOfTheGeneTheyRepeat) {
  // gA separates the classes (7 or 8 in class 1, 0 or 1 in class 0) and gB
  // repeats it; g61 repeats a random gene, g5, with its values doubled: the
  // same cut between the same samples, the same gain.
  std::vector<std::string> lines = linesOf(tiedTable(30, 60, 11));
  lines[0] += ",gA,gB,g61";
  for (std::size_t i = 1; i < lines.size(); ++i) {
    std::vector<std::string> cells;
    std::stringstream row(lines[i]);
    for (std::string cell; std::getline(row, cell, ',');) cells.push_back(cell);
    const std::string separating = std::to_string((cells[1] == "negative" ? 7 : 0) + i % 2);
    lines[i] += "," + separating + "," + separating + "," + std::to_string(2 * std::stoi(cells[6]));
  }
  std::string table;
  for (const std::string& line : lines) table += line + "\n";
  writeFile(path("table.csv"), table);
  const ProcessResult result = run({"table.csv", "--permutations", "40", "--methods", "none",
                                    "--evaluate", "kfold:3", "--classifier", "sum", "-o", "out"});
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  const auto genes = rowsByKey(path("out") / "genes.tsv", kGeneColumn);
  int lastInPlay = 0;
  for (const auto& [gene, row] : genes) {
    if (row[kStatusColumn] == "in_play") lastInPlay = std::max(lastInPlay, std::stoi(row[0]));
  }
  for (const auto& [copy, original] : {std::pair{"gB", "gA"}, std::pair{"g61", "g5"}}) {
    const std::vector<std::string>& duplicate = genes.at(copy);
    const std::vector<std::string>& kept = genes.at(original);
    EXPECT_EQ(kept[kStatusColumn], "in_play") << original;
    EXPECT_EQ(duplicate[kStatusColumn], "duplicate") << copy;
    EXPECT_EQ(duplicate[kDuplicateOfColumn], original) << copy;
    EXPECT_EQ(duplicate[kGainColumn], kept[kGainColumn]) << copy;
    EXPECT_GT(std::stod(duplicate[kGainColumn]), 0.0) << copy;
    EXPECT_EQ(duplicate[kPValueColumn], kept[kPValueColumn]) << copy;
    // The duplicates still stand behind every gene in play.
    EXPECT_GT(std::stoi(duplicate[0]), lastInPlay) << copy;
  }
  // No permutation separates the classes as gA does: p_fwer = 1 / 41.
  EXPECT_EQ(genes.at("gB")[kPValueColumn], "0.024390243902439025");
  // The summary counts the genes below 0.05, the duplicate among them.
  EXPECT_NE(result.out.find("genes with p_fwer below 0.05 (1 of them duplicates)"),
            std::string::npos)
      << result.out;
  // topGenes.data keeps the ranking's gain of 0 for them.
  const std::vector<std::string> top = linesOf(readFile(path("out") / "topGenes.data"));
  EXPECT_EQ(fieldsOf(top.back()).back(), "0");
}

// fold_frequency is the share of the training sets whose classifier mined
// the gene: with K genes mined per fold, the column sums to K; without an
// evaluation it stays empty.
TEST_F(BatchStatisticsTest, FoldFrequencyIsTheShareOfTrainingSetsThatMinedTheGene) {
  writeFile(path("table.csv"), tiedTable(30, 60, 11));
  ASSERT_EQ(run({"table.csv", "--evaluate", "kfold:5", "--classifier", "top", "--top", "7",
                 "--methods", "none", "--quiet", "-o", "out"})
                .exitStatus,
            0);
  double total = 0.0;
  for (const auto& [gene, row] : rowsByKey(path("out") / "genes.tsv", kGeneColumn)) {
    const double share = std::stod(row[kFoldFrequencyColumn]);
    // Shares of five folds.
    EXPECT_DOUBLE_EQ(share * 5, std::round(share * 5)) << gene;
    total += share;
  }
  EXPECT_NEAR(total, 7.0, 1e-9);
  ASSERT_EQ(run({"table.csv", "--methods", "none", "--quiet", "-o", "plain"}).exitStatus, 0);
  for (const auto& [gene, row] : rowsByKey(path("plain") / "genes.tsv", kGeneColumn)) {
    EXPECT_EQ(row.size(), 11u) << gene;
    EXPECT_EQ(row[kFoldFrequencyColumn], "") << gene;
  }
}

// The automatic choice, with K from the list given, writes the same files
// on one thread and on three.
TEST_F(BatchStatisticsTest, TheAutomaticChoiceIsTheSameForEveryThreadCount) {
  writeFile(path("table.csv"), tiedTable(30, 60, 11));
  for (const char* threads : {"1", "3"}) {
    const ProcessResult result =
        run({"table.csv", "--evaluate", "LOO", "--evaluate-top", "4,8,12", "--threads", threads,
             "--methods", "none", "-o", std::string("threads") + threads});
    ASSERT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_NE(result.out.find("Cross-validated classification (loo, seed 1)"), std::string::npos);
    // The reference is the K nearest --top, 20.
    EXPECT_NE(result.out.find("among the rules sum, normalised, top with K = 4, 8, 12, keeping sum "
                              "with K = 12 unless another does measurably better; chosen: "),
              std::string::npos)
        << result.out;
  }
  for (const char* name : {"evaluation.tsv", "genes.tsv"}) {
    EXPECT_EQ(readFile(path("threads1") / name), readFile(path("threads3") / name)) << name;
  }
  std::set<std::string> topGeneCounts;
  for (const auto& [sample, row] : rowsByKey(path("threads1") / "evaluation.tsv", 0)) {
    topGeneCounts.insert(row[7]);
  }
  for (const std::string& count : topGeneCounts) {
    EXPECT_TRUE(count == "4" || count == "8" || count == "12") << count;
  }
}

// The summary and run.json account for the classifier and for the held-out
// samples no pattern covers, which evaluation.tsv marks.
TEST_F(BatchStatisticsTest, UncoveredSamplesAreCountedEverywhere) {
  writeFile(path("table.csv"), tiedTable(30, 60, 11));
  const ProcessResult result = run({"table.csv", "--evaluate", "kfold:3", "--classifier", "sum",
                                    "--top", "2", "--methods", "none", "-o", "out"});
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  int uncovered = 0;
  for (const auto& [sample, row] : rowsByKey(path("out") / "evaluation.tsv", 0)) {
    ASSERT_TRUE(row[8] == "yes" || row[8] == "no") << sample;
    if (row[8] == "no") {
      ++uncovered;
      EXPECT_EQ(row[4], "0");
      EXPECT_EQ(row[5], "0");
      // The tie rule: the larger training class, negative.
      EXPECT_EQ(row[3], "negative");
    }
  }
  ASSERT_GT(uncovered, 0);
  EXPECT_NE(result.out.find("  classifier: the sum rule over the minimal EPs of the 2 best genes "
                            "of each training set\n"),
            std::string::npos)
      << result.out;
  EXPECT_NE(result.out.find("  uncovered: " + std::to_string(uncovered) +
                            " held-out samples hold no pattern of either class"),
            std::string::npos)
      << result.out;
  const std::string runJson = readFile(path("out") / "run.json");
  EXPECT_NE(runJson.find("\"uncovered\": " + std::to_string(uncovered)), std::string::npos);
  EXPECT_NE(runJson.find("\"classifier\": \"sum\""), std::string::npos);
}

// patterns.tsv holds every pattern, those of EP.data's support levels, or
// is not written; the summary's list of files and run.json say which.
TEST_F(BatchStatisticsTest, PatternsTableKeepsAllTheEpDataLevelsOrNothing) {
  writeFile(path("table.csv"), tiedTable(30, 60, 11));
  for (const char* kept : {"all", "ep-data", "none"}) {
    const ProcessResult result = run({"table.csv", "--top", "8", "--patterns", kept, "-o", kept});
    ASSERT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_NE(readFile(path(kept) / "run.json").find("\"patterns\": \"" + std::string(kept) + "\""),
              std::string::npos)
        << kept;
    const bool written = std::string(kept) != "none";
    EXPECT_EQ(fs::exists(path(kept) / "patterns.tsv"), written) << kept;
    EXPECT_EQ(result.out.find("patterns.tsv") != std::string::npos, written) << kept;
  }
  // ep-data keeps the rows of all whose support is among the three highest
  // of their run and class, in the same order.
  std::vector<std::string> expected;
  std::map<std::string, int> highest;
  for (const std::string& line : linesOf(readFile(path("all") / "patterns.tsv"))) {
    const std::vector<std::string> row = fieldsOf(line);
    if (row[0] == "analysis") {
      expected.push_back(line);
      continue;
    }
    const std::string runClass = row[0] + " " + row[1] + " " + row[2];
    // Rows of a run and class come with their supports descending.
    const int support = std::stoi(row[3]);
    if (!highest.count(runClass)) highest[runClass] = support;
    if (support > highest[runClass] - 3) expected.push_back(line);
  }
  const std::vector<std::string> levels = linesOf(readFile(path("ep-data") / "patterns.tsv"));
  EXPECT_LT(levels.size(), linesOf(readFile(path("all") / "patterns.tsv")).size());
  EXPECT_EQ(levels, expected);
  // The other files are the same.
  for (const char* name : {"EP.data", "diseaseEP.data", "normalEP.data", "clubs.tsv"}) {
    EXPECT_EQ(readFile(path("none") / name), readFile(path("all") / name)) << name;
  }
}

TEST_F(BatchStatisticsTest, ClassifierOptionsThatDoNotFitTheCommandLineOrTheData) {
  writeFile(path("table.csv"), tiedTable(12, 20, 2));
  const std::vector<std::vector<std::string>> wrong = {
      {"--classifier", "sum"},
      {"--evaluate-top", "5"},
      {"--evaluate", "loo", "--classifier", "Sum"},
      {"--evaluate", "loo", "--classifier", "best"},
      {"--evaluate", "loo", "--classifier", ""},
      {"--evaluate", "loo", "--evaluate-top", ""},
      {"--evaluate", "loo", "--evaluate-top", "0"},
      {"--evaluate", "loo", "--evaluate-top", "33"},
      {"--evaluate", "loo", "--evaluate-top", "5,"},
      {"--evaluate", "loo", "--evaluate-top", "5,,10"},
      {"--evaluate", "loo", "--evaluate-top", "five"},
      {"--evaluate", "loo", "--evaluate-top", "-5"},
      {"--evaluate", "loo", "--evaluate-top", "5 10"},
      {"--evaluate", "kfold:X"},
      {"--patterns", "some"},
      {"--patterns", "All"},
      {"--patterns", ""}};
  for (std::vector<std::string> arguments : wrong) {
    std::string shown;
    for (const std::string& argument : arguments) shown += argument + " ";
    arguments.insert(arguments.begin(), "table.csv");
    const ProcessResult result = run(arguments);
    EXPECT_EQ(result.exitStatus, 3) << shown;
    EXPECT_TRUE(result.err.starts_with("geneclub-batch: ")) << shown << result.err;
    EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 2) << shown << result.err;
    const std::string option = arguments[arguments.size() - 2];
    EXPECT_NE(result.err.find(option.starts_with("--") ? option : arguments[1]), std::string::npos)
        << shown << result.err;
  }
  // More genes to choose from than the table holds do not fit the data.
  const ProcessResult tooMany =
      run({"table.csv", "--evaluate", "loo", "--evaluate-top", "5,21", "-o", "many"});
  EXPECT_EQ(tooMany.exitStatus, 2);
  EXPECT_EQ(tooMany.err,
            "geneclub-batch: --evaluate-top 21 is more than the 20 genes of table.csv\n");
  // Any letter case of --evaluate, and a list in any order with repeats.
  const ProcessResult accepted = run({"table.csv", "--evaluate", "KFold:3", "--evaluate-top",
                                      "20,3,3", "--methods", "none", "--quiet", "-o", "accepted"});
  EXPECT_EQ(accepted.exitStatus, 0) << accepted.err;
  EXPECT_NE(readFile(path("accepted") / "run.json").find("\"method\": \"kfold:3\""),
            std::string::npos);
}

// The help shows the data file as DATA, once.
TEST_F(BatchStatisticsTest, HelpShowsOneDataFile) {
  const ProcessResult help = run({"--help"});
  EXPECT_EQ(help.exitStatus, 0);
  EXPECT_NE(help.out.find("Usage: geneclub-batch [OPTIONS] DATA\n"), std::string::npos) << help.out;
  EXPECT_EQ(help.out.find("..."), std::string::npos) << help.out;
  for (const char* option : {"--classifier", "--evaluate-top", "--patterns"}) {
    EXPECT_NE(help.out.find(option), std::string::npos) << option;
  }
  writeFile(path("table.csv"), tiedTable(12, 20, 2));
  const ProcessResult two = run({"table.csv", "other.csv"});
  EXPECT_EQ(two.exitStatus, 3);
  EXPECT_TRUE(
      two.err.starts_with("geneclub-batch: exactly one DATA file is expected, 2 were "
                          "given\n"))
      << two.err;
}

// Beyond 100 MB the summary suggests keeping fewer patterns.
TEST(BatchSummaryTest, ALargePatternsTableIsPointedOut) {
  const ClassLabels labels = {1, 1, 1, 0, 0, 0};
  ExpressionData data{{{1, 2, 3, 4, 5, 6}, {6, 5, 4, 3, 2, 1}, {1, 5, 2, 6, 3, 4}}, labels};
  RunRecord record;
  record.names.genes = {"a", "b", "c"};
  record.classes.diseaseLabel = "tumour";
  record.classes.normalLabel = "normal";
  record.startUp = runStartUp(std::move(data), settingsForData(3, labels));
  const auto summary = [&record](std::uintmax_t bytes) {
    record.patternsTableBytes = bytes;
    std::ostringstream out;
    writeSummary(record, "out", {"patterns.tsv"}, out);
    return out.str();
  };
  const std::string note =
      "Note: patterns.tsv holds 215 MB; --patterns ep-data keeps only the support levels EP.data "
      "lists, --patterns none writes no patterns.tsv\n";
  EXPECT_NE(summary(215'000'000).find(note), std::string::npos) << summary(215'000'000);
  EXPECT_EQ(summary(100'000'000).find("Note:"), std::string::npos);
  EXPECT_NE(summary(100'000'001).find("Note: patterns.tsv holds 100 MB"), std::string::npos);
  // Numbers after the note keep their usual form.
  EXPECT_NE(summary(215'000'000).find("Results in out/: patterns.tsv\n"), std::string::npos);
}

// On the colon data set the sum rule with the default K predicts 51 of 62
// in leave-one-out, as the earlier program did.
TEST(BatchStatisticsRealDataTest, ColonLeaveOneOutBySumPredicts51Of62) {
  const std::optional<fs::path> shared = sharedDataDir();
  if (!shared) GTEST_SKIP() << "the shared data set is absent";
  ScopedWorkDir dir;
  const ProcessResult result =
      runBatchProgram(dir.path(), {(*shared / "colonTumor.data").string(), "--evaluate", "loo",
                                   "--classifier", "sum", "--methods", "none", "-o", "colon"});
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_NE(result.out.find("(loo, seed 1): 51 of 62 samples right"), std::string::npos)
      << result.out;
}

}  // namespace
}  // namespace geneclub::testing
