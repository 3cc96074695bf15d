// The emerging-pattern miner and the lines it leaves in EP.data and in the
// two class files: the exact text of small cases, the class-file thresholds
// and recorded gene sets, and, on random cases, agreement with a brute-force
// enumeration of the minimal jumping EPs and their supports.

#include "patterns/ep_miner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <map>
#include <numeric>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "data/gene_club_analyzer.h"
#include "data/process_state.h"
#include "patterns/minimal_transversals.h"
#include "tests/test_support.h"

namespace geneclub::testing {
namespace {

using Tuples = std::vector<SampleTuple>;

// The class sizes of the real data set, for which the class-file thresholds
// of 39 and 21 supporting tuples are meant.
constexpr int kDiseaseSamples = 40;
constexpr int kNormalSamples = 22;

ItemSet itemsOf(std::initializer_list<int> items) {
  ItemSet pattern = 0;
  for (const int item : items) pattern |= ItemSet{1} << item;
  return pattern;
}

std::string classHeader(const std::string& className, int tupleCount) {
  return "Minimal EPs (grouped by equiv case groups) for " + className + " Class (" +
         std::to_string(tupleCount) + " tuples):\n";
}

// Runs in a fresh working directory with geneIndexList = 0..19, so that
// gene position p is printed as gene number p + 1.
class EpMinerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    resetProcessState();
    geneIndexList.resize(kTopGeneCount);
    std::iota(geneIndexList.begin(), geneIndexList.end(), 0);
  }
  void TearDown() override { resetProcessState(); }

  // Mines both classes into one block, as a run does, and returns EP.data.
  static std::string mineBlock(const Tuples& disease, const Tuples& normal) {
    {
      EpBlockWriter writer;
      writer.startClass(EpClass::kDisease, static_cast<int>(disease.size()));
      mineClass(disease, normal, writer);
      writer.startClass(EpClass::kNormal, static_cast<int>(normal.size()));
      mineClass(normal, disease, writer);
    }
    return readFile("EP.data");
  }

  // Writes the pattern's line with its items in ascending order.
  static void writeLine(EpBlockWriter& writer, ItemSet pattern, int count) {
    std::array<int, kItemCount> ascending;
    std::iota(ascending.begin(), ascending.end(), 0);
    writer.writePatternLine(ascending, kItemCount, pattern, count);
  }

  ScopedWorkDir workDir_;
};

TEST_F(EpMinerTest, WorkedExampleOfBothClasses) {
  // Normal o: no bit set; Disease t1: bits 0 and 2; Disease t2: bits 2 and 5.
  EXPECT_EQ(mineBlock({0b101, 0b100100}, {0}),
            classHeader("Disease", 2) +
                "***Tidset with count = 2\n{ 03+ }\n"
                "***Tidset with count = 1\n{ 01+ }\n"
                "***Tidset with count = 1\n{ 06+ }\n" +
                classHeader("Normal", 1) + "***Tidset with count = 1\n{ 03- }\n{ 01- 06- }\n");
  EXPECT_TRUE(std::filesystem::exists("diseaseEP.data"));
  EXPECT_EQ(readFile("diseaseEP.data"), "");
  EXPECT_EQ(readFile("normalEP.data"), "");
}

TEST_F(EpMinerTest, CoveredAndRepeatedTuples) {
  // The second Disease tuple equals the Normal one: it is counted in the
  // header but contains no EP, supports none, and leaves Normal without EPs.
  EXPECT_EQ(
      mineBlock({0b1, 0}, {0}),
      classHeader("Disease", 2) + "***Tidset with count = 1\n{ 01+ }\n" + classHeader("Normal", 1));
  std::filesystem::remove("EP.data");
  // Equal tuples of one class share their EP, stored and written once.
  EXPECT_EQ(mineBlock({0b1, 0b1}, {0}),
            classHeader("Disease", 2) + "***Tidset with count = 2\n{ 01+ }\n" +
                classHeader("Normal", 1) + "***Tidset with count = 1\n{ 01- }\n");
}

TEST_F(EpMinerTest, GroupsByTidsetAndOrdersItemsByHowManyMembersHoldThem) {
  // Target tuples: bits 1 and 5 (items 3, 8, 11 among others), and bit 0.
  // {3, 8} and {8, 11} lie in the first only, {1} in the second only.
  const Tuples targets{0b100010, 0b1};
  {
    EpBlockWriter writer;
    writeTidsetGroups(std::vector{itemsOf({3, 8}), itemsOf({1}), itemsOf({8, 11})}, targets,
                      writer);
  }
  EXPECT_EQ(readFile("EP.data"),
            "***Tidset with count = 1\n{ 05- 02+ }\n{ 05- 06+ }\n"
            "***Tidset with count = 1\n{ 01+ }\n");
}

TEST_F(EpMinerTest, RunSplitsSamplesByLabelAndReadsOnlyTwentyPositions) {
  // Labels 1 (Disease) on 40 samples holding bit 0, labels 0 (Normal) on 22
  // without it; bits above position 19 are noise that must be ignored.
  GeneClubAnalyzer analyzer;
  PositionSamples samples;
  for (int sample = 0; sample < kSampleCount; ++sample) {
    const bool normal = sample % 2 == 0 && sample < 2 * kNormalSamples;
    analyzer.classLabels.push_back(normal ? 0 : 1);
    samples.push_back((normal ? 0u : 1u) | (static_cast<std::uint32_t>(sample) << kTopGeneCount));
  }
  analyzer.mineMinimalEps(samples);
  EXPECT_EQ(readFile("EP.data"),
            classHeader("Disease", kDiseaseSamples) + "***Tidset with count = 40\n{ 01+ }\n" +
                classHeader("Normal", kNormalSamples) + "***Tidset with count = 22\n{ 01- }\n");
  EXPECT_EQ(readFile("diseaseEP.data"), "1 ; The count is: 40\n");
  EXPECT_EQ(readFile("normalEP.data"), "1 ; The count is: 22\n");
}

TEST_F(EpMinerTest, ClassWithoutSamplesGivesOnlyTheHeaders) {
  GeneClubAnalyzer analyzer;
  analyzer.classLabels.assign(kSampleCount, 1);
  analyzer.mineMinimalEps(PositionSamples(kSampleCount, 0b11));
  EXPECT_EQ(readFile("EP.data"), classHeader("Disease", 62) + classHeader("Normal", 0));
  std::filesystem::remove("EP.data");
  EXPECT_EQ(mineBlock({}, {0b1}), classHeader("Disease", 0) + classHeader("Normal", 1));
}

TEST_F(EpMinerTest, GeneNumbersAndClassFileThresholds) {
  // Positions 1, 2, 4 and 5 print as genes 09, 10, 100 and 2000.
  geneIndexList[1] = 8;
  geneIndexList[2] = 9;
  geneIndexList[3] = 11;
  geneIndexList[4] = 99;
  geneIndexList[5] = 1999;
  const ItemSet rows0And11 = itemsOf({0, 7});  // gene 1 at or below, gene 12 above
  const ItemSet row8 = itemsOf({3});           // gene 9 above
  // Class file lines from 39 Disease or 21 Normal tuples on; the Normal
  // records are kept apart from the Disease ones.
  {
    EpBlockWriter writer;
    writer.startClass(EpClass::kDisease, kDiseaseSamples);
    writeLine(writer, itemsOf({2, 5, 8, 11}), 1);
    writeLine(writer, rows0And11, 38);
    writeLine(writer, rows0And11, 39);
    writeLine(writer, row8, 40);
    writer.startClass(EpClass::kNormal, kNormalSamples);
    writeLine(writer, rows0And11, 20);
    writeLine(writer, rows0And11, 21);
    writeLine(writer, row8, 22);
  }
  EXPECT_EQ(readFile("EP.data"), classHeader("Disease", kDiseaseSamples) +
                                     "{ 09- 10+ 100- 2000+ }\n{ 01- 12+ }\n{ 01- 12+ }\n{ 09+ }\n" +
                                     classHeader("Normal", kNormalSamples) +
                                     "{ 01- 12+ }\n{ 01- 12+ }\n{ 09+ }\n");
  EXPECT_EQ(readFile("diseaseEP.data"), "1 12 ; The count is: 39\n9 ; The count is: 40\n");
  EXPECT_EQ(readFile("normalEP.data"), "1 12 ; The count is: 21\n9 ; The count is: 22\n");
}

TEST_F(EpMinerTest, RecordedGeneSetSuppressesEqualAndSmallerSets) {
  // Rows 5 and 17 (genes 6 and 18), with either sign: the signs play no part.
  const ItemSet rows5And17 = itemsOf({10, 35}), row5 = itemsOf({11});
  constexpr int kStrong = 39;
  {
    EpBlockWriter writer;
    writer.startClass(EpClass::kDisease, kDiseaseSamples);
    writeLine(writer, rows5And17, kStrong);
    writeLine(writer, row5, kStrong);
    writeLine(writer, itemsOf({11, 34}), kStrong);
  }
  EXPECT_EQ(readFile("diseaseEP.data"), "6 18 ; The count is: 39\n");
  EXPECT_TRUE(RecordedNormalGeneSets.empty());

  RecordedDiseaseGeneSets.clear();
  std::filesystem::remove("diseaseEP.data");
  {
    EpBlockWriter writer;
    writer.startClass(EpClass::kDisease, kDiseaseSamples);
    writeLine(writer, row5, kStrong);
    writeLine(writer, rows5And17, kStrong);
  }
  EXPECT_EQ(readFile("diseaseEP.data"), "6 ; The count is: 39\n6 18 ; The count is: 39\n");
  EXPECT_EQ(RecordedDiseaseGeneSets.size(), 2u);
}

// Every minimal jumping EP of the target class with its support: the item
// sets held by some target tuple and by no other tuple, none of whose
// one-item-smaller subsets is held by no other tuple. Only positions of
// `active` vary between tuples; items of the others are in every tuple and
// so in no minimal EP.
std::map<ItemSet, int> bruteForceEps(const Tuples& targets, const Tuples& others, GeneMask active) {
  const auto itemsHeld = [active](SampleTuple tuple) {
    ItemSet items = 0;
    for (GeneMask rest = active; rest != 0; rest &= rest - 1) {
      const int position = std::countr_zero(rest);
      items |= ItemSet{1} << (2 * position + ((tuple >> position) & 1));
    }
    return items;
  };
  const auto countHolders = [&itemsHeld](const Tuples& tuples, ItemSet pattern) {
    int holders = 0;
    for (const SampleTuple tuple : tuples) holders += (itemsHeld(tuple) & pattern) == pattern;
    return holders;
  };
  std::map<ItemSet, int> eps;
  for (const SampleTuple target : targets) {
    const ItemSet held = itemsHeld(target);
    for (ItemSet pattern = held; pattern != 0; pattern = (pattern - 1) & held) {
      if (countHolders(others, pattern) != 0) continue;
      bool minimal = true;
      for (ItemSet rest = pattern; rest != 0 && minimal; rest &= rest - 1) {
        minimal = countHolders(others, pattern & ~(rest & -rest)) != 0;
      }
      if (minimal) eps[pattern] = countHolders(targets, pattern);
    }
  }
  return eps;
}

// The patterns of EP.data's pattern lines, each with the count of the group
// line above it; with geneIndexList = 0..19 gene number g is position g - 1.
std::map<ItemSet, int> writtenPatterns(const std::string& epData) {
  std::map<ItemSet, int> patterns;
  std::istringstream lines(epData);
  const std::string groupLine = "***Tidset with count = ";
  int count = 0;
  for (std::string line; std::getline(lines, line);) {
    if (line.starts_with(groupLine)) count = std::stoi(line.substr(groupLine.size()));
    if (!line.starts_with("{ ")) continue;
    std::istringstream entries(line.substr(2));
    ItemSet pattern = 0;
    for (std::string entry; entries >> entry && entry != "}";) {
      pattern |= ItemSet{1} << (2 * (std::stoi(entry) - 1) + (entry.back() == '+'));
    }
    EXPECT_TRUE(patterns.emplace(pattern, count).second) << "written twice: " << line;
  }
  return patterns;
}

TEST_F(EpMinerTest, FindsExactlyTheMinimalJumpingEpsOfRandomCases) {
  // Fixed seed: a failure reproduces.
  std::mt19937 random(4242);
  constexpr int kCases = 400;
  constexpr int kMaxTuplesPerClass = 12;
  std::uniform_int_distribution tupleCount(1, kMaxTuplesPerClass), position(0, kTopGeneCount - 1);
  std::uniform_int_distribution percent(0, 99);
  for (int c = 0; c < kCases; ++c) {
    // At most 10 positions vary, so that the brute force stays cheap.
    GeneMask active = 0;
    const int activeCount = std::uniform_int_distribution(5, 10)(random);
    while (std::popcount(active) < activeCount) active |= GeneMask{1} << position(random);
    const int bitPercent = 15 + 35 * (c % 3);  // sparse, even and dense tuples
    const auto randomTuple = [&] {
      SampleTuple tuple = 0;
      for (GeneMask rest = active; rest != 0; rest &= rest - 1) {
        if (percent(random) < bitPercent) tuple |= rest & -rest;
      }
      return tuple;
    };
    Tuples targets, others;
    for (int k = tupleCount(random); k > 0; --k) others.push_back(randomTuple());
    for (int k = tupleCount(random); k > 0; --k) {
      // Now and then a repeated target or a copy of another-class tuple.
      const int draw = percent(random);
      targets.push_back(draw < 15 && !targets.empty() ? targets[random() % targets.size()]
                        : draw < 30                   ? others[random() % others.size()]
                                                      : randomTuple());
    }
    const std::map<ItemSet, int> expected = bruteForceEps(targets, others, active);

    // The miner's steps, keeping every EP with its support.
    PatternStore store;
    for (const SampleTuple tuple : targets) {
      GeneMaskStore differences, minimal;
      if (collectDifferenceSets(tuple, others, differences)) continue;
      for (const GeneMask difference : differences.inStoreOrder()) minimal.addIfMinimal(difference);
      for (const GeneMask transversal : minimalTransversals(minimal.inStoreOrder())) {
        store.addIfAbsent(projectMask(transversal, tuple));
      }
    }
    const std::vector<ItemSet> walk = store.inStoreOrder();
    const std::vector<int> counts = countSupports(walk, targets);
    std::map<ItemSet, int> mined;
    for (std::size_t j = 0; j < walk.size(); ++j) {
      ASSERT_TRUE(mined.emplace(walk[j], counts[j]).second) << "stored twice, case " << c;
    }
    ASSERT_EQ(mined, expected) << "case " << c;

    // mineClass writes the EPs of the three highest supports.
    int maxCount = 0;
    for (const auto& [pattern, count] : expected) maxCount = std::max(maxCount, count);
    std::map<ItemSet, int> strongest;
    for (const auto& [pattern, count] : expected) {
      if (count > maxCount - 3) strongest.emplace(pattern, count);
    }
    std::filesystem::remove("EP.data");
    {
      EpBlockWriter writer;
      mineClass(targets, others, writer);
    }
    ASSERT_EQ(writtenPatterns(readFile("EP.data")), strongest) << "case " << c;
  }
}

}  // namespace
}  // namespace geneclub::testing
