// The member choice of the four gene-club methods. Random discretised data
// sets are run through the methods and through a reference implementation
// (groups as index lists, scores summed term by term) and the clubs compared;
// hand-made data sets pin down ties, quotas, restarts and short clubs.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <numeric>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "data/dimensions.h"
#include "data/gene_club_analyzer.h"
#include "data/process_state.h"
#include "ranking/discretised_samples.h"
#include "tests/test_support.h"

namespace geneclub::testing {
namespace {

enum Method { kIndependent, kDivision, kIndependentIterative, kDivisionIterative };
constexpr Method kAllMethods[] = {kIndependent, kDivision, kIndependentIterative,
                                  kDivisionIterative};

// The candidates are the rows below 1600 less the cleaning counts.
constexpr int kCandidatePoolBase = 1600;
// Members a club takes, one a step, in all methods but Division Iterative.
constexpr int kMembers = 19;
// Members the Division method takes from each division before free choice.
constexpr int kDivisionQuota = 5;
constexpr GeneProfile kAllSamples = (GeneProfile{1} << kSampleCount) - 1;

// A discretised data set: bit s of profiles[r] is set when sample s lies
// above row r's split. Clubs are compared as printed: rows plus one.
struct Dataset {
  std::vector<int> labels = std::vector<int>(kSampleCount, 0);
  std::vector<GeneProfile> profiles = std::vector<GeneProfile>(kGeneCount, 0);
  int candidateCount = 0;
  bool above(int row, int sample) const { return (profiles[row] >> sample) & 1; }
};
using Clubs = std::vector<std::vector<int>>;

// The reference implementation: groups as index lists, scores summed term by
// term.
struct RefGroup {
  std::vector<int> samples;
  std::vector<int> labels;
};
using RefGroups = std::vector<RefGroup>;

// In nats, for z labels 0 and q labels 1 among n; 0.0 when a class is missing.
double labelEntropy(const std::vector<int>& labels) {
  const double n = static_cast<double>(labels.size());
  const double q = static_cast<double>(std::count(labels.begin(), labels.end(), 1));
  const double z = n - q;
  if (z == 0.0 || q == 0.0) return 0.0;
  return -(z * std::log(z / n)) / n - (q * std::log(q / n)) / n;
}

RefGroups splitGroup(const Dataset& data, const RefGroup& group, int row) {
  RefGroup low, high;
  for (RefGroup* part : {&low, &high}) {
    part->samples.reserve(group.samples.size());
    part->labels.reserve(group.samples.size());
  }
  for (std::size_t k = 0; k < group.samples.size(); ++k) {
    RefGroup& part = data.above(row, group.samples[k]) ? high : low;
    part.samples.push_back(group.samples[k]);
    part.labels.push_back(group.labels[k]);
  }
  RefGroups parts;
  if (!low.samples.empty()) parts.push_back(std::move(low));
  if (!high.samples.empty()) parts.push_back(std::move(high));
  return parts;
}

RefGroups refineGroups(const Dataset& data, const RefGroups& groups, int row) {
  RefGroups refined;
  refined.reserve(2 * groups.size());
  for (const RefGroup& group : groups) {
    if (group.samples.size() < 2) continue;
    for (RefGroup& part : splitGroup(data, group, row)) refined.push_back(std::move(part));
  }
  return refined;
}

// The sum over groups of two or more of scale(size * entropy).
template <typename Scale>
double leftEntropy(const RefGroups& groups, Scale scale) {
  double sum = 0.0;
  for (const RefGroup& group : groups) {
    if (group.samples.size() < 2) continue;
    sum = sum + scale(static_cast<double>(group.samples.size()) * labelEntropy(group.labels));
  }
  return sum;
}

std::vector<int> referenceClub(const Dataset& data, Method method, int top) {
  RefGroup root;
  for (int sample = 0; sample < kSampleCount; ++sample) {
    root.samples.push_back(sample);
    root.labels.push_back(data.labels[sample]);
  }
  const RefGroups topPartition = splitGroup(data, root, top);
  std::vector<bool> used(kGeneCount, false);
  used[top] = true;
  std::vector<int> club{top + 1};
  const auto add = [&](int row) {
    used[row] = true;
    club.push_back(row + 1);
  };

  if (method == kIndependent || method == kIndependentIterative) {
    const double allEntropy = labelEntropy(root.labels);
    // The sample weight 1/62.
    const auto weighted = [](double product) { return product * 0.016129032258064516; };
    RefGroups partition = topPartition, bestList;
    for (int step = 0; step < kMembers; ++step) {
      double best = 0.0;
      int bestRow = 0;
      for (int row = 0; row < data.candidateCount; ++row) {
        if (used[row]) continue;
        const RefGroups refined = refineGroups(data, partition, row);
        const double gain = allEntropy - leftEntropy(refined, weighted);
        if (gain > best) best = gain, bestRow = row, bestList = refined;
      }
      add(bestRow);
      if (method == kIndependentIterative) {
        partition = best == allEntropy ? topPartition : bestList;
      }
    }
    return club;
  }

  // The divisions are the top gene's groups. Division scores each candidate
  // on the whole division; Division Iterative refines each division's groups.
  const RefGroups& divisions = topPartition;
  const int divisionCount = static_cast<int>(divisions.size());
  std::vector<RefGroups> partitions, bestLists(divisionCount);
  for (const RefGroup& division : divisions) partitions.push_back({division});
  int taken[2] = {0, 0}, memberCount = 0;
  while (memberCount < kMembers) {
    double best[2] = {0.0, 0.0};
    int bestRow[2] = {0, 0};
    for (int row = 0; row < data.candidateCount; ++row) {
      if (used[row]) continue;
      RefGroups refined[2];
      double gain[2];
      for (int i = 0; i < divisionCount; ++i) {
        const double n = static_cast<double>(divisions[i].samples.size());
        refined[i] = refineGroups(data, partitions[i], row);
        gain[i] = labelEntropy(divisions[i].labels) -
                  leftEntropy(refined[i], [n](double product) { return product / n; });
      }
      for (int i = 0; i < divisionCount; ++i) {
        if (gain[i] > best[i]) best[i] = gain[i], bestRow[i] = row, bestLists[i] = refined[i];
      }
    }
    if (method == kDivision) {
      int row = best[0] > best[1] ? bestRow[0] : bestRow[1];
      if (taken[0] < kDivisionQuota && best[0] != 0.0) {
        ++taken[0];
        row = bestRow[0];
      } else if (taken[1] < kDivisionQuota && best[1] != 0.0) {
        ++taken[1];
        row = bestRow[1];
      }
      add(row);
      ++memberCount;
      continue;
    }
    bool added = false;
    std::vector<int> restartRows;
    for (int i = 0; i < divisionCount; ++i) {
      if (best[i] == labelEntropy(divisions[i].labels)) {
        partitions[i] = {divisions[i]};
        if (best[i] > 0.0) restartRows.push_back(bestRow[i]);
        continue;
      }
      partitions[i] = bestLists[i];
      bestLists[i].clear();
      if (!used[bestRow[i]]) add(bestRow[i]), ++memberCount, added = true;
    }
    // A step that adds nothing excludes the rows that made a division pure;
    // with no such row the club ends.
    if (added) continue;
    if (restartRows.empty()) break;
    for (const int row : restartRows) used[row] = true;
  }
  return club;
}

// Runs the real methods on a data set: values 0.0 and 1.0 against splits of
// 0.5, and the cleaning counts chosen to give the data set's candidate pool.
class SyntheticRun {
 public:
  explicit SyntheticRun(const Dataset& data) {
    incompleteGeneCount = kCandidatePoolBase - data.candidateCount;
    duplicateGeneCount = 0;
    analyzer_.expressionMatrix.assign(kGeneCount, ExpressionRow(kSampleCount, 0.0));
    for (int row = 0; row < kGeneCount; ++row) {
      for (int sample = 0; sample < kSampleCount; ++sample) {
        if (data.above(row, sample)) analyzer_.expressionMatrix[row][sample] = 1.0;
      }
    }
    analyzer_.splitValues.assign(kGeneCount, 0.5);
    analyzer_.informationGains.assign(kGeneCount, 0.0);
    analyzer_.classLabels = data.labels;
  }

  // What the method printed.
  std::string run(Method method) {
    static constexpr void (GeneClubAnalyzer::*kRuns[])() = {
        &GeneClubAnalyzer::runIndependentMethod, &GeneClubAnalyzer::runDivisionMethod,
        &GeneClubAnalyzer::runIndependentIterativeMethod,
        &GeneClubAnalyzer::runDivisionIterativeMethod};
    CapturedStdout out;
    (analyzer_.*kRuns[method])();
    return out.text();
  }

  // The 20 clubs as printed, each line checked for its form.
  Clubs runClubs(Method method) {
    Clubs clubs;
    std::istringstream lines(run(method));
    std::string header, members, empty;
    while (std::getline(lines, header) && std::getline(lines, members) &&
           std::getline(lines, empty)) {
      EXPECT_EQ(header, "Top " + std::to_string(clubs.size() + 1) + " gene's gene club member");
      EXPECT_TRUE(members.ends_with('\t') && empty.empty()) << members;
      std::istringstream numbers(members);
      clubs.emplace_back(std::istream_iterator<int>(numbers), std::istream_iterator<int>());
    }
    EXPECT_EQ(clubs.size(), static_cast<std::size_t>(kTopGeneCount));
    return clubs;
  }

  std::string epData() const { return readFile(dir_.path() / "EP.data"); }

  // The EP.data section of the first club, its header included.
  std::string firstClubSection() const {
    const std::string ep = epData();
    const std::size_t start = ep.find("\n\nTop 1 gene's");
    return ep.substr(start, ep.find("\n\nTop 2 gene's") - start);
  }

  // What mining the given club (as printed) by itself writes to EP.data.
  std::string mineAlone(const std::vector<int>& club) {
    ScopedWorkDir dir;
    geneIndexList.clear();
    for (const int number : club) geneIndexList.push_back(number - 1);
    analyzer_.runClubEpMining(0, geneIndexList, analyzer_.discretiseSamples());
    return readFile(dir.path() / "EP.data");
  }

 private:
  ScopedWorkDir dir_;
  GeneClubAnalyzer analyzer_;
};

// Samples come in kinds that agree on every row, so many rows share a profile
// or a gain, and labels mostly follow the kind, so groups and divisions
// become pure. Even seeds have 2 to 10 kinds; odd seeds 16, so partitions
// keep splitting and Division Iterative adds two members a step. Some rows
// set a lone sample apart; some top genes separate nothing.
Dataset randomDataset(unsigned seed) {
  std::mt19937 random(seed);
  const auto below = [&random](int bound) { return static_cast<int>(random() % bound); };
  Dataset data;
  constexpr int kPools[] = {12, 24, 48};  // fewer candidates than members up to plenty
  data.candidateCount = kPools[seed % 3];
  const int kindCount = seed % 2 == 0 ? 2 + below(9) : 16;
  const bool noisyLabels = below(2) == 0;
  std::vector<GeneProfile> kinds(kindCount, 0);
  std::vector<int> kindLabels{0, 1};
  while (static_cast<int>(kindLabels.size()) < kindCount) kindLabels.push_back(below(2));
  for (int sample = 0; sample < kSampleCount; ++sample) {
    const int kind = sample < kindCount ? sample : below(kindCount);
    kinds[kind] |= GeneProfile{1} << sample;
    data.labels[sample] = kindLabels[kind];
    if (noisyLabels && below(10) == 0) data.labels[sample] ^= 1;
  }
  for (int row = 0; row < std::max(data.candidateCount, kTopGeneCount); ++row) {
    for (const GeneProfile kind : kinds) data.profiles[row] |= below(2) ? kind : 0;
    if (below(8) == 0) data.profiles[row] ^= GeneProfile{1} << below(kSampleCount);
    if (row < kTopGeneCount && below(4) == 0) data.profiles[row] = below(2) ? kAllSamples : 0;
  }
  return data;
}

// Hand-made data sets: samples 0..29 have label 1 and samples 30..61 label
// 0; rows not given separate nothing.
GeneProfile samples(int from, int to) {
  return ((GeneProfile{1} << to) - 1) & ~((GeneProfile{1} << from) - 1);
}

Dataset handMade(int candidateCount, std::vector<std::pair<int, GeneProfile>> rows) {
  Dataset data;
  std::fill(data.labels.begin(), data.labels.begin() + 30, 1);
  data.candidateCount = candidateCount;
  for (const auto& [row, profile] : rows) data.profiles[row] = profile;
  return data;
}

// A club of 20 rows ending in row 0, printed as 1, for every step in which
// no candidate gained anything.
std::vector<int> thenRowZero(std::vector<int> club) {
  club.resize(kMembers + 1, 1);
  return club;
}

TEST(ClubMethodsTest, EveryMethodChoosesAsTheReferenceOnRandomData) {
  constexpr unsigned kSeeds = 16;
  int shortClubs = 0, longClubs = 0;
  for (unsigned seed = 0; seed < kSeeds; ++seed) {
    resetProcessState();
    const Dataset data = randomDataset(seed);
    SyntheticRun run(data);
    for (const Method method : kAllMethods) {
      Clubs expected;
      for (int top = 0; top < kTopGeneCount; ++top) {
        expected.push_back(referenceClub(data, method, top));
        shortClubs += expected.back().size() < kMembers + 1;
        longClubs += expected.back().size() > kMembers + 1;
      }
      ASSERT_EQ(run.runClubs(method), expected) << "seed " << seed << ", method " << method;
    }
  }
  // The data sets reach the short and the 21-row clubs of Division Iterative.
  EXPECT_GT(shortClubs, 0);
  EXPECT_GT(longClubs, 0);
}

TEST(ClubMethodsTest, TiesGoToTheLowerRowAndNoGainToRowZero) {
  resetProcessState();
  // Top row 0 separates nothing; rows 3 and 7 mirror each other, so they gain
  // alike; the candidates run out after row 9.
  SyntheticRun run(handMade(10, {{3, samples(0, 20)}, {7, samples(20, 62)}}));
  EXPECT_EQ(run.runClubs(kIndependent)[0], thenRowZero({1, 4, 8}));
  EXPECT_EQ(run.runClubs(kDivision)[0], thenRowZero({1, 4, 8}));
  // A candidate that splits no group scores the partition's own gain.
  EXPECT_EQ(run.runClubs(kIndependentIterative)[0], thenRowZero({1, 4, 2, 3, 5, 6, 7, 8, 9, 10}));
  // With no candidate left, Division Iterative ends the club short.
  EXPECT_EQ(run.runClubs(kDivisionIterative)[0], (std::vector<int>{1, 4, 2, 3, 5, 6, 7, 8, 9, 10}));
}

TEST(ClubMethodsTest, EmptyCandidatePoolAddsRowZero) {
  for (const int candidateCount : {0, -5}) {
    resetProcessState();
    SyntheticRun run(handMade(candidateCount, {}));
    for (const Method method : {kIndependent, kDivision, kIndependentIterative}) {
      const Clubs clubs = run.runClubs(method);
      for (int top = 0; top < kTopGeneCount; ++top) EXPECT_EQ(clubs[top], thenRowZero({top + 1}));
    }
    // Division Iterative adds row 0 once, unless it is the top gene, then ends.
    const Clubs clubs = run.runClubs(kDivisionIterative);
    EXPECT_EQ(clubs[0], std::vector<int>{1});
    EXPECT_EQ(clubs[5], (std::vector<int>{6, 1}));
  }
}

TEST(ClubMethodsTest, DivisionQuotaSkipsPureDivisionAndGivesFreeTiesToDivisionOne) {
  resetProcessState();
  // Top row 0 divides the samples into two divisions of equal make-up; rows
  // 1..6 make division 0 pure, rows 7..12 division 1, all with equal gains.
  // Top row 13 leaves a pure division 0 of samples 0..14.
  Dataset data = handMade(13, {{0, samples(15, 30) | samples(46, 62)}, {13, samples(15, 62)}});
  std::fill(&data.profiles[1], &data.profiles[7], samples(0, 15));
  std::fill(&data.profiles[7], &data.profiles[13], samples(15, 30));
  SyntheticRun run(data);
  const Clubs clubs = run.runClubs(kDivision);
  EXPECT_EQ(clubs[0], thenRowZero({1, 2, 3, 4, 5, 6, 8, 9, 10, 11, 12, 13, 7}));
  EXPECT_EQ(clubs[13], thenRowZero({14, 8, 9, 10, 11, 12, 13}));
}

TEST(ClubMethodsTest, IndependentIterativeRestartsFromTheTopGenePartition) {
  resetProcessState();
  // Row 1 completes the separation begun by top row 0; row 3 improves on the
  // top gene's partition, row 2 does not.
  SyntheticRun run(handMade(4, {{0, samples(15, 46)}, {1, samples(0, 30)}, {3, samples(0, 10)}}));
  EXPECT_EQ(run.runClubs(kIndependentIterative)[0], thenRowZero({1, 2, 4, 3}));
}

TEST(ClubMethodsTest, DivisionIterativeRestartsPureDivisionsAndEndsEveryClub) {
  resetProcessState();
  // Row 1 makes division 0 pure, so it restarts and adds nothing, while
  // division 1 adds row 2 and then row 1, which splits none of its groups.
  SyntheticRun restart(
      handMade(3, {{0, samples(15, 46)}, {1, samples(0, 15)}, {2, samples(15, 20)}}));
  EXPECT_EQ(restart.runClubs(kDivisionIterative)[0], (std::vector<int>{1, 3, 2}));
  // Rows 1 and 2 make both divisions pure in the first step: they are excluded
  // without joining, row 3 joins, and with no candidate left the club ends
  // and is mined as it is.
  SyntheticRun exclusion(handMade(
      4, {{0, samples(15, 46)}, {1, samples(0, 15)}, {2, samples(15, 30)}, {3, samples(0, 5)}}));
  EXPECT_EQ(exclusion.runClubs(kDivisionIterative)[0], (std::vector<int>{1, 4}));
  EXPECT_EQ(exclusion.firstClubSection(), exclusion.mineAlone({1, 4}));
}

TEST(ClubMethodsTest, DivisionIterativeClubOfTwentyOneRowsMinesTwenty) {
  resetProcessState();
  // Odd rows set apart one label-1 sample of division 0 each, even rows one
  // of division 1, so every step adds a member for each division.
  Dataset data = handMade(21, {{0, samples(15, 46)}});
  for (int row = 1; row <= 20; ++row) {
    data.profiles[row] = GeneProfile{1} << ((row - 1) / 2 + (row % 2 == 1 ? 0 : 15));
  }
  SyntheticRun run(data);
  std::vector<int> printed(21);
  std::iota(printed.begin(), printed.end(), 1);
  EXPECT_EQ(run.runClubs(kDivisionIterative)[0], printed);
  printed.pop_back();
  const std::string section = run.firstClubSection();
  EXPECT_EQ(section, run.mineAlone(printed));
  // Each row that sets a sample apart is a pattern of its own; the 21st is not mined.
  EXPECT_NE(section.find("{ 20+ }"), std::string::npos);
  EXPECT_EQ(section.find("21+"), std::string::npos);
}

TEST(ClubMethodsTest, MethodChosenTwiceRepeatsItsLinesAndSection) {
  for (const Method method : kAllMethods) {
    resetProcessState();
    SyntheticRun run(randomDataset(7));
    EXPECT_EQ(run.run(method), run.run(method)) << method;
    const std::string ep = run.epData();
    EXPECT_TRUE(ep.starts_with("\nThis is the results gotten with ")) << method;
    EXPECT_EQ(ep.substr(0, ep.size() / 2), ep.substr(ep.size() / 2)) << method;
  }
}

}  // namespace
}  // namespace geneclub::testing
