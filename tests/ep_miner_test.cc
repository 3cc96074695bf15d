// The emerging-pattern miner and the lines it leaves in EP.data and in the
// two class files: the exact text of small cases, the class-file thresholds
// and recorded gene sets, and, on random cases of every run width and of
// classes larger than a word, agreement with a brute-force enumeration of the
// minimal jumping EPs and their supports.

#include "patterns/ep_miner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <map>
#include <numeric>
#include <random>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "data/sample_set.h"
#include "patterns/ep_groups.h"
#include "patterns/position_restriction.h"
#include "results/ep_report.h"
#include "tests/test_support.h"

namespace geneclub::testing {
namespace {

using Tuples = std::vector<SampleTuple>;

// The class sizes of the real data set, for which the class-file thresholds
// of 39 and 21 supporting tuples are meant.
constexpr int kDiseaseSamples = 40;
constexpr int kNormalSamples = 22;
constexpr int kStrongDisease = 39;
constexpr int kStrongNormal = 21;
constexpr int kPositions = 20;

ItemSet itemsOf(std::initializer_list<int> items) {
  ItemSet pattern = 0;
  for (const int item : items) pattern |= ItemSet{1} << item;
  return pattern;
}

std::string classHeader(const std::string& className, int tupleCount) {
  return "Minimal EPs (grouped by equiv case groups) for " + className + " Class (" +
         std::to_string(tupleCount) + " tuples):\n";
}

std::vector<int> identityRows(int count) {
  std::vector<int> rows(count);
  std::iota(rows.begin(), rows.end(), 0);
  return rows;
}

// Patterns given with their supports, each with a Tidset of its own.
ClassPatterns handMadePatterns(int tupleCount,
                               std::initializer_list<std::pair<ItemSet, int>> patterns) {
  ClassPatterns result;
  result.tupleCount = tupleCount;
  result.tidsetWords = 2;
  int offset = 0;
  for (const auto& [pattern, support] : patterns) {
    result.patterns.push_back(pattern);
    result.supports.push_back(support);
    std::uint64_t words[2] = {0, 0};
    for (int id = offset; id < offset + support; ++id)
      words[id / 64] |= std::uint64_t{1} << (id % 64);
    result.tidsets.insert(result.tidsets.end(), words, words + 2);
    ++offset;
  }
  return result;
}

// Runs in a fresh working directory; position p is printed as gene p + 1
// unless rows say otherwise.
class EpMinerTest : public ::testing::Test {
 protected:
  // Writes the run as one section of an appending report and returns
  // EP.data.
  std::string writeRun(const MiningResult& mining, const std::vector<int>& rows) {
    report_.beginSection();
    report_.writeBlock(mining, rows);
    report_.endSection();
    return readFile("EP.data");
  }

  // Mines both classes into one block, as a run does.
  std::string mineBlock(const Tuples& disease, const Tuples& normal) {
    MiningResult mining;
    mining.positions = kPositions;
    mining.disease = mineClass(disease, normal, kPositions);
    mining.normal = mineClass(normal, disease, kPositions);
    return writeRun(mining, identityRows(kPositions));
  }

  ScopedWorkDir workDir_;
  OutputFailures failures_{std::cerr};
  EpReport report_{"", EpFileMode::kAppendBySection, kStrongDisease, kStrongNormal, failures_};
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
  // {3, 8} and {8, 11} share a Tidset: item 8 is held twice and leads. Four
  // patterns {0, 2k+1} share another: item 0 leads, then the single items in
  // ascending order, whatever order the patterns come in.
  ClassPatterns patterns = handMadePatterns(4, {{itemsOf({3, 8}), 1},
                                                {itemsOf({1}), 1},
                                                {itemsOf({8, 11}), 1},
                                                {itemsOf({0, 9}), 2},
                                                {itemsOf({0, 5}), 2},
                                                {itemsOf({0, 7}), 2},
                                                {itemsOf({0, 3}), 2}});
  // Equal Tidsets for {3, 8} and {8, 11}, and for the four of support 2.
  patterns.tidsets = {1, 0, 2, 0, 1, 0, 12, 0, 12, 0, 12, 0, 12, 0};
  const std::vector<TidsetGroup> single = tidsetGroups(patterns, 1);
  ASSERT_EQ(single.size(), 2u);
  EXPECT_EQ(single[0].members, (std::vector<int>{0, 2}));
  EXPECT_EQ(orderedItems(single[0], patterns.patterns[0]), (std::vector<int>{8, 3}));
  EXPECT_EQ(orderedItems(single[0], patterns.patterns[2]), (std::vector<int>{8, 11}));
  const std::vector<TidsetGroup> pairs = tidsetGroups(patterns, 2);
  ASSERT_EQ(pairs.size(), 1u);
  EXPECT_EQ(pairs[0].itemCount, 5);
  EXPECT_EQ(std::vector<int>(pairs[0].itemOrder.begin(), pairs[0].itemOrder.begin() + 5),
            (std::vector<int>{0, 3, 5, 7, 9}));

  MiningResult mining;
  mining.disease = patterns;
  EXPECT_EQ(writeRun(mining, identityRows(kPositions)),
            classHeader("Disease", 4) + "***Tidset with count = 2\n" +
                "{ 01- 05+ }\n{ 01- 03+ }\n{ 01- 04+ }\n{ 01- 02+ }\n" +
                "***Tidset with count = 1\n{ 05- 02+ }\n{ 05- 06+ }\n" +
                "***Tidset with count = 1\n{ 01+ }\n" + classHeader("Normal", 0));
}

TEST_F(EpMinerTest, RunSplitsSamplesByLabelAndReadsOnlyItsPositions) {
  // Labels 1 (Disease) on 40 samples holding bit 0, labels 0 (Normal) on 22
  // without it; bits above the run's positions are noise that must be
  // ignored.
  std::vector<int> labels;
  std::vector<std::uint32_t> samples;
  for (int sample = 0; sample < kDiseaseSamples + kNormalSamples; ++sample) {
    const bool normal = sample % 2 == 0 && sample < 2 * kNormalSamples;
    labels.push_back(normal ? 0 : 1);
    samples.push_back((normal ? 0u : 1u) | (static_cast<std::uint32_t>(sample) << kPositions));
  }
  const MiningResult mining = mineMinimalEps(samples, labels, kPositions);
  EXPECT_EQ(mining.normal.samples.front(), 0);
  EXPECT_EQ(mining.disease.samples.front(), 1);
  EXPECT_EQ(writeRun(mining, identityRows(kPositions)),
            classHeader("Disease", kDiseaseSamples) + "***Tidset with count = 40\n{ 01+ }\n" +
                classHeader("Normal", kNormalSamples) + "***Tidset with count = 22\n{ 01- }\n");
  EXPECT_EQ(readFile("diseaseEP.data"), "1 ; The count is: 40\n");
  EXPECT_EQ(readFile("normalEP.data"), "1 ; The count is: 22\n");
}

TEST_F(EpMinerTest, ClassWithoutSamplesGivesOnlyTheHeaders) {
  const std::vector<int> allDisease(kDiseaseSamples, 1);
  const MiningResult mining =
      mineMinimalEps(std::vector<std::uint32_t>(kDiseaseSamples, 0b11), allDisease, kPositions);
  EXPECT_EQ(writeRun(mining, identityRows(kPositions)),
            classHeader("Disease", kDiseaseSamples) + classHeader("Normal", 0));
  std::filesystem::remove("EP.data");
  EXPECT_EQ(mineBlock({}, {0b1}), classHeader("Disease", 0) + classHeader("Normal", 1));
}

TEST_F(EpMinerTest, GeneNumbersAndClassFileThresholds) {
  // Positions 1, 2, 4 and 5 print as genes 09, 10, 100 and 2000.
  std::vector<int> rows = identityRows(kPositions);
  rows[1] = 8;
  rows[2] = 9;
  rows[3] = 11;
  rows[4] = 99;
  rows[5] = 1999;
  const ItemSet rows0And11 = itemsOf({0, 7});  // gene 1 at or below, gene 12 above
  const ItemSet row8 = itemsOf({3});           // gene 9 above
  MiningResult numbers;
  numbers.disease = handMadePatterns(kDiseaseSamples, {{itemsOf({2, 5, 8, 11}), 1}});
  EXPECT_EQ(writeRun(numbers, rows), classHeader("Disease", kDiseaseSamples) +
                                         "***Tidset with count = 1\n{ 09- 10+ 100- 2000+ }\n" +
                                         classHeader("Normal", 0));
  std::filesystem::remove("EP.data");

  // Class file lines from 39 Disease or 21 Normal tuples on; the Normal
  // records are kept apart from the Disease ones.
  MiningResult strong;
  strong.disease =
      handMadePatterns(kDiseaseSamples, {{rows0And11, 38}, {rows0And11, 39}, {row8, 40}});
  strong.normal =
      handMadePatterns(kNormalSamples, {{rows0And11, 20}, {rows0And11, 21}, {row8, 22}});
  EXPECT_EQ(writeRun(strong, rows),
            classHeader("Disease", kDiseaseSamples) +
                "***Tidset with count = 40\n{ 09+ }\n***Tidset with count = 39\n{ 01- 12+ }\n"
                "***Tidset with count = 38\n{ 01- 12+ }\n" +
                classHeader("Normal", kNormalSamples) +
                "***Tidset with count = 22\n{ 09+ }\n***Tidset with count = 21\n{ 01- 12+ }\n"
                "***Tidset with count = 20\n{ 01- 12+ }\n");
  EXPECT_EQ(readFile("diseaseEP.data"), "9 ; The count is: 40\n1 12 ; The count is: 39\n");
  EXPECT_EQ(readFile("normalEP.data"), "9 ; The count is: 22\n1 12 ; The count is: 21\n");
}

TEST_F(EpMinerTest, RecordedGeneSetSuppressesEqualAndSmallerSets) {
  // Rows 5 and 17 (genes 6 and 18), with either sign: the signs play no part.
  const ItemSet rows5And17 = itemsOf({10, 35}), row5 = itemsOf({11});
  constexpr int kStrong = 39;
  MiningResult first;
  first.disease = handMadePatterns(
      kDiseaseSamples, {{rows5And17, kStrong}, {row5, kStrong}, {itemsOf({11, 34}), kStrong}});
  writeRun(first, identityRows(kPositions));
  EXPECT_EQ(readFile("diseaseEP.data"), "6 18 ; The count is: 39\n");
  // The sets are kept for the whole report: the same patterns later add
  // nothing.
  writeRun(first, identityRows(kPositions));
  EXPECT_EQ(readFile("diseaseEP.data"), "6 18 ; The count is: 39\n");
  EXPECT_EQ(readFile("normalEP.data"), "");

  ScopedWorkDir other;
  OutputFailures failures(std::cerr);
  EpReport fresh("", EpFileMode::kAppendBySection, kStrongDisease, kStrongNormal, failures);
  MiningResult second;
  second.disease = handMadePatterns(kDiseaseSamples, {{row5, kStrong}, {rows5And17, kStrong}});
  fresh.beginSection();
  fresh.writeBlock(second, identityRows(kPositions));
  fresh.endSection();
  EXPECT_EQ(readFile("diseaseEP.data"), "6 ; The count is: 39\n6 18 ; The count is: 39\n");
}

// The patterns of EP.data's pattern lines, each with the count of the group
// line above it; with rows 0..K-1 gene number g is position g - 1.
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
  const int widths[] = {1, 2, 5, 20, 32};
  std::uniform_int_distribution percent(0, 99);
  for (int c = 0; c < kCases; ++c) {
    const int positions = widths[c % std::size(widths)];
    // Classes of up to 12 tuples, and now and then of more than a word.
    const int maxTuples = c % 7 == 0 ? 80 : 12;
    std::uniform_int_distribution tupleCount(1, maxTuples), position(0, positions - 1);
    // At most 10 positions vary, so that the brute force stays cheap.
    GeneMask active = 0;
    const int activeCount = std::min(positions, std::uniform_int_distribution(5, 10)(random));
    while (std::popcount(active) < activeCount) active |= GeneMask{1} << position(random);
    const GeneMask fixedOnes = allPositions(positions) & ~active & static_cast<GeneMask>(random());
    const int bitPercent = 15 + 35 * (c % 3);  // sparse, even and dense tuples
    const auto randomTuple = [&] {
      SampleTuple tuple = fixedOnes;
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

    const ClassPatterns mined = mineClass(targets, others, positions);
    std::map<ItemSet, int> minedWithSupport;
    for (int p = 0; p < mined.patternCount(); ++p) {
      ASSERT_TRUE(minedWithSupport.emplace(mined.patterns[p], mined.supports[p]).second)
          << "stored twice, case " << c;
      std::vector<int> holders;
      for (std::size_t id = 0; id < targets.size(); ++id) {
        if (isSubset(mined.patterns[p], tupleItems(targets[id], positions))) {
          holders.push_back(static_cast<int>(id));
        }
      }
      ASSERT_EQ(SampleSet(mined.tidset(p)).members(), holders) << "case " << c;
    }
    ASSERT_EQ(minedWithSupport, expected) << "case " << c;

    // EP.data gets the EPs of the three highest supports.
    int maxCount = 0;
    for (const auto& [pattern, count] : expected) maxCount = std::max(maxCount, count);
    std::map<ItemSet, int> strongest;
    for (const auto& [pattern, count] : expected) {
      if (count > maxCount - 3) strongest.emplace(pattern, count);
    }
    std::filesystem::remove("EP.data");
    MiningResult mining;
    mining.disease = mined;
    const std::string text = writeRun(mining, identityRows(positions));
    ASSERT_EQ(writtenPatterns(text.substr(0, text.find("Minimal EPs", 1))), strongest)
        << "case " << c;
  }
}

// Each pattern with its support and supporting tuples.
std::map<ItemSet, std::pair<int, std::vector<int>>> patternsWithHolders(
    const ClassPatterns& patterns) {
  std::map<ItemSet, std::pair<int, std::vector<int>>> found;
  for (int p = 0; p < patterns.patternCount(); ++p) {
    found[patterns.patterns[p]] = {patterns.supports[p], patterns.supportingSamples(p)};
  }
  return found;
}

// The minimal EPs of the first K positions, read off a run over 32, are those
// of a run over K: the same patterns, supports and supporting samples, and
// those a brute-force enumeration finds.
TEST(PositionRestrictionTest, FirstPositionsOfAWideRunAreTheNarrowRun) {
  std::mt19937 random(777);
  for (int c = 0; c < 30; ++c) {
    const int samples = 4 + static_cast<int>(random() % 16);
    std::vector<std::uint32_t> tuples(samples);
    std::vector<int> labels(samples);
    for (int s = 0; s < samples; ++s) {
      tuples[s] = static_cast<std::uint32_t>(random());
      labels[s] = static_cast<int>(random() % 2);
    }
    // Now and then a tuple repeated in the other class.
    if (c % 4 == 0) tuples[1] = tuples[0], labels[1] = 1 - labels[0];
    const MiningResult wide = mineMinimalEps(tuples, labels, kMaxPositions);
    for (const int positions : {1, 3, 8, 12, 20, kMaxPositions}) {
      const MiningResult narrow = mineMinimalEps(tuples, labels, positions);
      const MiningResult restricted = restrictToFirstPositions(wide, positions);
      EXPECT_EQ(restricted.positions, positions);
      for (const auto& [restrictedClass, narrowClass, label] :
           {std::tuple(&restricted.disease, &narrow.disease, 1),
            std::tuple(&restricted.normal, &narrow.normal, 0)}) {
        ASSERT_EQ(patternsWithHolders(*restrictedClass), patternsWithHolders(*narrowClass))
            << "case " << c << ", " << positions << " positions";
        EXPECT_EQ(restrictedClass->samples, narrowClass->samples);
        EXPECT_EQ(restrictedClass->tupleCount, narrowClass->tupleCount);
        if (positions > 8) continue;  // the brute force grows as 2^positions
        Tuples targets, others;
        for (int s = 0; s < samples; ++s) {
          (labels[s] == label ? targets : others).push_back(tuples[s] & allPositions(positions));
        }
        std::map<ItemSet, int> supports;
        for (const auto& [pattern, found] : patternsWithHolders(*restrictedClass)) {
          supports[pattern] = found.first;
        }
        EXPECT_EQ(supports, bruteForceEps(targets, others, allPositions(positions)))
            << "case " << c << ", " << positions << " positions";
      }
    }
  }
}

}  // namespace
}  // namespace geneclub::testing
