// The member choice of the four gene-club methods. Random discretised data
// sets of many shapes (sample counts around word boundaries, clubs of 1 to
// 32 genes) are run through the methods and through a reference
// implementation (groups as index lists, scores summed term by term) and the
// clubs compared, for both ways of handling a step in which no candidate
// gains anything; hand-made data sets pin down ties, quotas, restarts and
// short clubs; clubs of distinct genes are mined as the clubs they are; and a
// method's clubs and patterns are the same for every number of threads.

#include <gtest/gtest.h>
#include <tbb/global_control.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "clubs/club_runs.h"
#include "data/ranked_analysis.h"
#include "ranking/discretised_samples.h"

namespace geneclub::testing {
namespace {

// Cleaning counts given to every synthetic analysis: the pool is the pool
// base less both, so a pool that forgot either would be too large.
constexpr int kIncompleteGenes = 3;
constexpr int kDuplicateGenes = 4;

// A discretised data set: profiles[r][s] is true when sample s lies above
// row r's split. Clubs are compared as rows.
struct Dataset {
  std::vector<int> labels;
  std::vector<std::vector<bool>> profiles;
  int candidateCount = 0;
  int topGeneCount = 20;
  GainlessClubStep gainlessStep = GainlessClubStep::kAddTopRankedGene;
  int samples() const { return static_cast<int>(labels.size()); }
  bool above(int row, int sample) const { return profiles[row][sample]; }
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

std::vector<int> referenceClub(const Dataset& data, ClubMethod method, int top) {
  const int members = data.topGeneCount - 1;
  const int quota = (data.topGeneCount + 2) / 4;
  RefGroup root;
  for (int sample = 0; sample < data.samples(); ++sample) {
    root.samples.push_back(sample);
    root.labels.push_back(data.labels[sample]);
  }
  const RefGroups topPartition = splitGroup(data, root, top);
  const bool addNothing = data.gainlessStep == GainlessClubStep::kAddNothing;
  std::vector<bool> used(data.profiles.size(), false);
  used[top] = true;
  std::vector<int> club{top};
  const auto add = [&](int row) {
    used[row] = true;
    club.push_back(row);
  };

  if (method == ClubMethod::kIndependent || method == ClubMethod::kIndependentIterative) {
    const double allEntropy = labelEntropy(root.labels);
    const double weight = 1.0 / data.samples();
    const auto weighted = [weight](double product) { return product * weight; };
    RefGroups partition = topPartition, bestList;
    for (int step = 0; step < members; ++step) {
      double best = 0.0;
      int bestRow = 0;
      for (int row = 0; row < data.candidateCount; ++row) {
        if (used[row]) continue;
        const RefGroups refined = refineGroups(data, partition, row);
        const double gain = allEntropy - leftEntropy(refined, weighted);
        if (gain > best) best = gain, bestRow = row, bestList = refined;
      }
      if (best == 0.0 && addNothing) break;
      add(bestRow);
      if (method == ClubMethod::kIndependentIterative) {
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
  while (memberCount < members) {
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
    if (method == ClubMethod::kDivision) {
      if (best[0] == 0.0 && best[1] == 0.0 && addNothing) break;
      int row = best[0] > best[1] ? bestRow[0] : bestRow[1];
      if (taken[0] < quota && best[0] != 0.0) {
        ++taken[0];
        row = bestRow[0];
      } else if (taken[1] < quota && best[1] != 0.0) {
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
      // A division without gain keeps its groups when it adds nothing.
      if (best[i] == 0.0 && addNothing) continue;
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

// The real methods on a data set: values 0.0 and 1.0 against splits of 0.5,
// and a pool base that gives the data set's candidate count after the
// cleaning counts.
class SyntheticRun {
 public:
  explicit SyntheticRun(const Dataset& data) : data_(data) {
    const int genes = static_cast<int>(data.profiles.size());
    ExpressionMatrix rows;
    for (int row = 0; row < genes; ++row) {
      ExpressionRow values(data.samples(), 0.0);
      for (int sample = 0; sample < data.samples(); ++sample) {
        if (data.above(row, sample)) values[sample] = 1.0;
      }
      rows.push_back(std::move(values));
    }
    std::vector<int> geneNumbers(genes);
    std::iota(geneNumbers.begin(), geneNumbers.end(), 0);
    CleaningResult cleaning;
    cleaning.incompleteGenes = kIncompleteGenes;
    cleaning.duplicateGenes = kDuplicateGenes;
    analysis_ = RankedAnalysis(std::move(rows), data.labels, std::vector<double>(genes, 0.5),
                               std::vector<double>(genes, 0.0), std::move(geneNumbers),
                               std::move(cleaning));
    settings_.topGeneCount = data.topGeneCount;
    settings_.poolBase = data.candidateCount + kIncompleteGenes + kDuplicateGenes;
    settings_.gainlessClubStep = data.gainlessStep;
    samples_ = std::make_unique<DiscretisedSamples>(analysis_);
    context_ = std::make_unique<ClubContext>(analysis_, *samples_, settings_);
  }

  std::vector<int> club(ClubMethod method, int top) const {
    return buildClub(method, *context_, top);
  }

  // The clubs and patterns of a whole method run, in the order delivered.
  std::vector<ClubRun> runMethod(ClubMethod method) const {
    std::vector<ClubRun> runs;
    runClubMethod(method, *context_, data_.labels, [&](const ClubRun& run) {
      EXPECT_EQ(run.topRow, static_cast<int>(runs.size()));
      runs.push_back(run);
    });
    return runs;
  }

  // The patterns of a club mined by themselves: its first K rows, over K
  // positions or, when given, over fewer.
  MiningResult mineAlone(const std::vector<int>& club, int positions = 0) const {
    if (positions == 0) positions = data_.topGeneCount;
    return mineMinimalEps(samples_->positionSamples(club, positions), data_.labels, positions);
  }

 private:
  const Dataset& data_;
  RankedAnalysis analysis_;
  AnalysisSettings settings_;
  std::unique_ptr<DiscretisedSamples> samples_;
  std::unique_ptr<ClubContext> context_;
};

void expectSamePatterns(const MiningResult& a, const MiningResult& b) {
  for (const auto& [x, y] : {std::pair{&a.disease, &b.disease}, std::pair{&a.normal, &b.normal}}) {
    EXPECT_EQ(x->patterns, y->patterns);
    EXPECT_EQ(x->supports, y->supports);
    EXPECT_EQ(x->tidsets, y->tidsets);
    EXPECT_EQ(x->samples, y->samples);
  }
}

// Samples come in kinds that agree on every row, so many rows share a
// profile or a gain, and labels mostly follow the kind, so groups and
// divisions become pure. Even seeds have 2 to 10 kinds; odd seeds 16, so
// partitions keep splitting and Division Iterative adds two members a step.
// Some rows set a lone sample apart; some top genes separate nothing. The
// rows just beyond the pool are random too, so that a pool too large shows.
Dataset randomDataset(unsigned seed, int samples, int topGeneCount) {
  std::mt19937 random(seed);
  const auto below = [&random](int bound) { return static_cast<int>(random() % bound); };
  Dataset data;
  data.topGeneCount = topGeneCount;
  const int pools[] = {12, 24, 48};  // fewer candidates than members up to plenty
  data.candidateCount = pools[seed % 3];
  const int genes = std::max(data.candidateCount, topGeneCount) + 10;
  const int kindCount = std::min(samples, seed % 2 == 0 ? 2 + below(9) : 16);
  const bool noisyLabels = below(2) == 0;
  std::vector<std::vector<int>> kinds(kindCount);
  std::vector<int> kindLabels{0, 1};
  while (static_cast<int>(kindLabels.size()) < kindCount) kindLabels.push_back(below(2));
  data.labels.assign(samples, 0);
  for (int sample = 0; sample < samples; ++sample) {
    const int kind = sample < kindCount ? sample : below(kindCount);
    kinds[kind].push_back(sample);
    data.labels[sample] = kindLabels[kind];
    if (noisyLabels && below(10) == 0) data.labels[sample] ^= 1;
  }
  data.profiles.assign(genes, std::vector<bool>(samples, false));
  for (int row = 0; row < genes; ++row) {
    for (const std::vector<int>& kind : kinds) {
      if (below(2) == 0) continue;
      for (const int sample : kind) data.profiles[row][sample] = true;
    }
    if (below(8) == 0) data.profiles[row][below(samples)] = !data.profiles[row][below(samples)];
    if (row < topGeneCount && below(4) == 0) {
      data.profiles[row].assign(samples, below(2) == 0);
    }
  }
  return data;
}

TEST(ClubMethodsTest, EveryMethodChoosesAsTheReferenceOnEveryShape) {
  const int sampleCounts[] = {1, 2, 62, 63, 64, 65, 128, 129};
  const int clubSizes[] = {1, 2, 5, 20, 32};
  // Clubs shorter than K, by handling of gainless steps and method.
  int shortClubs[2][std::size(kClubMethods)] = {};
  int longClubs = 0;
  unsigned seed = 0;
  for (const int samples : sampleCounts) {
    for (const int topGeneCount : clubSizes) {
      for (int repeat = 0; repeat < 2; ++repeat, ++seed) {
        for (const GainlessClubStep step :
             {GainlessClubStep::kAddTopRankedGene, GainlessClubStep::kAddNothing}) {
          Dataset data = randomDataset(seed, samples, topGeneCount);
          data.gainlessStep = step;
          const SyntheticRun run(data);
          for (std::size_t m = 0; m < std::size(kClubMethods); ++m) {
            for (int top = 0; top < topGeneCount; ++top) {
              const std::vector<int> expected = referenceClub(data, kClubMethods[m], top);
              shortClubs[step == GainlessClubStep::kAddNothing][m] +=
                  static_cast<int>(expected.size()) < topGeneCount;
              longClubs += static_cast<int>(expected.size()) > topGeneCount;
              ASSERT_EQ(run.club(kClubMethods[m], top), expected)
                  << "seed " << seed << ", " << samples << " samples, K " << topGeneCount
                  << ", method " << methodName(kClubMethods[m]) << ", top " << top
                  << ", gainless steps "
                  << (step == GainlessClubStep::kAddNothing ? "add nothing" : "add row 0");
            }
          }
        }
      }
    }
  }
  // Adding row 0, only Division Iterative ends clubs short; adding nothing,
  // every method does. Division Iterative reaches its long clubs too.
  for (std::size_t m = 0; m + 1 < std::size(kClubMethods); ++m) {
    EXPECT_EQ(shortClubs[0][m], 0) << methodName(kClubMethods[m]);
  }
  for (std::size_t m = 0; m < std::size(kClubMethods); ++m) {
    EXPECT_GT(shortClubs[1][m], 0) << methodName(kClubMethods[m]);
  }
  EXPECT_GT(shortClubs[0][std::size(kClubMethods) - 1], 0);
  EXPECT_GT(longClubs, 0);
}

// A club that ends when no candidate gains anything holds distinct genes,
// and a club shorter than K is mined as the club it is: its patterns are
// those over as many positions as it has rows, and name no position beyond.
TEST(ClubMethodsTest, ClubsThatAddNothingHoldDistinctGenesAndAreMinedAsTheyAre) {
  int shortClubs = 0;
  for (unsigned seed = 0; seed < 12; ++seed) {
    Dataset data = randomDataset(seed, 60 + static_cast<int>(seed), 20);
    data.gainlessStep = GainlessClubStep::kAddNothing;
    const SyntheticRun run(data);
    for (const ClubMethod method : kClubMethods) {
      for (const ClubRun& club : run.runMethod(method)) {
        SCOPED_TRACE("seed " + std::to_string(seed) + ", " + std::string(methodName(method)) +
                     ", top " + std::to_string(club.topRow));
        std::vector<int> rows = club.club;
        std::sort(rows.begin(), rows.end());
        EXPECT_TRUE(std::adjacent_find(rows.begin(), rows.end()) == rows.end());
        const int mined = std::min(static_cast<int>(rows.size()), data.topGeneCount);
        shortClubs += mined < data.topGeneCount;
        expectSamePatterns(club.patterns, run.mineAlone(club.club, mined));
        for (const ClassPatterns* patterns : {&club.patterns.disease, &club.patterns.normal}) {
          for (const ItemSet pattern : patterns->patterns) {
            EXPECT_EQ(pattern >> (2 * mined), 0u) << pattern;
          }
        }
      }
    }
  }
  EXPECT_GT(shortClubs, 0);
}

TEST(ClubMethodsTest, ClubsAndPatternsAreTheSameForEveryThreadCount) {
  const Dataset data = randomDataset(11, 130, 20);
  const SyntheticRun run(data);
  for (const ClubMethod method : kClubMethods) {
    std::vector<std::vector<ClubRun>> byThreads;
    for (const int threads : {1, 2, 8}) {
      const tbb::global_control limit(tbb::global_control::max_allowed_parallelism, threads);
      byThreads.push_back(run.runMethod(method));
    }
    for (const std::vector<ClubRun>& runs : byThreads) {
      ASSERT_EQ(runs.size(), static_cast<std::size_t>(data.topGeneCount));
      for (int top = 0; top < data.topGeneCount; ++top) {
        EXPECT_EQ(runs[top].club, byThreads[0][top].club);
        EXPECT_EQ(runs[top].club, run.club(method, top));
        expectSamePatterns(runs[top].patterns, run.mineAlone(runs[top].club));
      }
    }
  }
}

// Hand-made data sets of 62 samples: samples 0..29 have label 1 and samples
// 30..61 label 0; rows not given separate nothing.
constexpr int kSamples = 62;
constexpr int kRows = 40;

std::vector<bool> samplesFrom(int from, int to) {
  std::vector<bool> profile(kSamples, false);
  for (int sample = from; sample < to; ++sample) profile[sample] = true;
  return profile;
}

std::vector<bool> operator|(std::vector<bool> a, const std::vector<bool>& b) {
  for (std::size_t s = 0; s < a.size(); ++s) a[s] = a[s] || b[s];
  return a;
}

Dataset handMade(int candidateCount, std::vector<std::pair<int, std::vector<bool>>> rows) {
  Dataset data;
  data.labels.assign(kSamples, 0);
  std::fill(data.labels.begin(), data.labels.begin() + 30, 1);
  data.candidateCount = candidateCount;
  data.profiles.assign(kRows, std::vector<bool>(kSamples, false));
  for (auto& [row, profile] : rows) data.profiles[row] = profile;
  return data;
}

// A club of 20 rows ending in row 0 for every step in which no candidate
// gained anything.
std::vector<int> thenRowZero(std::vector<int> club) {
  club.resize(20, 0);
  return club;
}

TEST(ClubMethodsTest, TiesGoToTheLowerRowAndNoGainToRowZero) {
  // Top row 0 separates nothing; rows 3 and 7 mirror each other, so they gain
  // alike; the candidates run out after row 9.
  const Dataset data = handMade(10, {{3, samplesFrom(0, 20)}, {7, samplesFrom(20, 62)}});
  const SyntheticRun run(data);
  EXPECT_EQ(run.club(ClubMethod::kIndependent, 0), thenRowZero({0, 3, 7}));
  EXPECT_EQ(run.club(ClubMethod::kDivision, 0), thenRowZero({0, 3, 7}));
  // A candidate that splits no group scores the partition's own gain.
  EXPECT_EQ(run.club(ClubMethod::kIndependentIterative, 0),
            thenRowZero({0, 3, 1, 2, 4, 5, 6, 7, 8, 9}));
  // With no candidate left, Division Iterative ends the club short.
  EXPECT_EQ(run.club(ClubMethod::kDivisionIterative, 0),
            (std::vector<int>{0, 3, 1, 2, 4, 5, 6, 7, 8, 9}));

  // Adding nothing instead, every club ends at the first gainless step.
  Dataset distinct = data;
  distinct.gainlessStep = GainlessClubStep::kAddNothing;
  const SyntheticRun distinctRun(distinct);
  EXPECT_EQ(distinctRun.club(ClubMethod::kIndependent, 0), (std::vector<int>{0, 3, 7}));
  EXPECT_EQ(distinctRun.club(ClubMethod::kDivision, 0), (std::vector<int>{0, 3, 7}));
  for (const ClubMethod method :
       {ClubMethod::kIndependentIterative, ClubMethod::kDivisionIterative}) {
    EXPECT_EQ(distinctRun.club(method, 0), (std::vector<int>{0, 3, 1, 2, 4, 5, 6, 7, 8, 9}));
  }
}

TEST(ClubMethodsTest, TopGeneThatSeparatesTheClassesMakesNoGeneJoinTwice) {
  // Top row 0 separates the classes, so both its divisions are pure and no
  // candidate gains anything within them; with the top gene's groups pure,
  // every candidate gains the whole class entropy in the other methods.
  Dataset data = handMade(6, {{0, samplesFrom(0, 30)}, {2, samplesFrom(10, 40)}});
  EXPECT_EQ(SyntheticRun(data).club(ClubMethod::kDivision, 0), thenRowZero({0}));
  data.gainlessStep = GainlessClubStep::kAddNothing;
  const SyntheticRun run(data);
  EXPECT_EQ(run.club(ClubMethod::kDivision, 0), std::vector<int>{0});
  EXPECT_EQ(run.club(ClubMethod::kDivisionIterative, 0), std::vector<int>{0});
  for (const ClubMethod method : {ClubMethod::kIndependent, ClubMethod::kIndependentIterative}) {
    EXPECT_EQ(run.club(method, 0), (std::vector<int>{0, 1, 2, 3, 4, 5}));
  }
  // Around another top gene, row 0 joins first, as the best candidate.
  EXPECT_EQ(run.club(ClubMethod::kIndependent, 2), (std::vector<int>{2, 0, 1, 3, 4, 5}));
}

TEST(ClubMethodsTest, EmptyCandidatePoolAddsRowZero) {
  for (const int candidateCount : {0, -5}) {
    const Dataset data = handMade(candidateCount, {});
    const SyntheticRun run(data);
    for (const ClubMethod method :
         {ClubMethod::kIndependent, ClubMethod::kDivision, ClubMethod::kIndependentIterative}) {
      for (int top = 0; top < 20; ++top) EXPECT_EQ(run.club(method, top), thenRowZero({top}));
    }
    // Division Iterative adds row 0 once, unless it is the top gene, then ends.
    EXPECT_EQ(run.club(ClubMethod::kDivisionIterative, 0), std::vector<int>{0});
    EXPECT_EQ(run.club(ClubMethod::kDivisionIterative, 5), (std::vector<int>{5, 0}));

    // Adding nothing instead, every club is its top gene alone.
    Dataset distinct = data;
    distinct.gainlessStep = GainlessClubStep::kAddNothing;
    const SyntheticRun distinctRun(distinct);
    for (const ClubMethod method : kClubMethods) {
      for (int top = 0; top < 20; ++top) {
        EXPECT_EQ(distinctRun.club(method, top), std::vector<int>{top});
      }
    }
  }
}

TEST(ClubMethodsTest, DivisionQuotaSkipsPureDivisionAndGivesFreeTiesToDivisionOne) {
  // Top row 0 divides the samples into two divisions of equal make-up; rows
  // 1..6 make division 0 pure, rows 7..12 division 1, all with equal gains.
  // Top row 13 leaves a pure division 0 of samples 0..14.
  Dataset data =
      handMade(13, {{0, samplesFrom(15, 30) | samplesFrom(46, 62)}, {13, samplesFrom(15, 62)}});
  std::fill(&data.profiles[1], &data.profiles[7], samplesFrom(0, 15));
  std::fill(&data.profiles[7], &data.profiles[13], samplesFrom(15, 30));
  const SyntheticRun run(data);
  EXPECT_EQ(run.club(ClubMethod::kDivision, 0),
            thenRowZero({0, 1, 2, 3, 4, 5, 7, 8, 9, 10, 11, 12, 6}));
  EXPECT_EQ(run.club(ClubMethod::kDivision, 13), thenRowZero({13, 7, 8, 9, 10, 11, 12}));
}

TEST(ClubMethodsTest, IndependentIterativeRestartsFromTheTopGenePartition) {
  // Row 1 completes the separation begun by top row 0; row 3 improves on the
  // top gene's partition, row 2 does not.
  const Dataset data =
      handMade(4, {{0, samplesFrom(15, 46)}, {1, samplesFrom(0, 30)}, {3, samplesFrom(0, 10)}});
  EXPECT_EQ(SyntheticRun(data).club(ClubMethod::kIndependentIterative, 0),
            thenRowZero({0, 1, 3, 2}));
}

TEST(ClubMethodsTest, DivisionIterativeRestartsPureDivisionsAndEndsEveryClub) {
  // Row 1 makes division 0 pure, so it restarts and adds nothing, while
  // division 1 adds row 2 and then row 1, which splits none of its groups.
  const Dataset restart =
      handMade(3, {{0, samplesFrom(15, 46)}, {1, samplesFrom(0, 15)}, {2, samplesFrom(15, 20)}});
  EXPECT_EQ(SyntheticRun(restart).club(ClubMethod::kDivisionIterative, 0),
            (std::vector<int>{0, 2, 1}));
  // Rows 1 and 2 make both divisions pure in the first step: they are excluded
  // without joining, row 3 joins, and with no candidate left the club ends
  // and is mined as it is.
  const Dataset exclusion = handMade(4, {{0, samplesFrom(15, 46)},
                                         {1, samplesFrom(0, 15)},
                                         {2, samplesFrom(15, 30)},
                                         {3, samplesFrom(0, 5)}});
  const SyntheticRun run(exclusion);
  const std::vector<ClubRun> runs = run.runMethod(ClubMethod::kDivisionIterative);
  EXPECT_EQ(runs[0].club, (std::vector<int>{0, 3}));
  expectSamePatterns(runs[0].patterns, run.mineAlone({0, 3}));
}

TEST(ClubMethodsTest, DivisionIterativeClubOfTwentyOneRowsMinesTwenty) {
  // Odd rows set apart one label-1 sample of division 0 each, even rows one
  // of division 1, so every step adds a member for each division.
  Dataset data = handMade(21, {{0, samplesFrom(15, 46)}});
  for (int row = 1; row <= 20; ++row) {
    const int sample = (row - 1) / 2 + (row % 2 == 1 ? 0 : 15);
    data.profiles[row] = samplesFrom(sample, sample + 1);
  }
  const SyntheticRun run(data);
  std::vector<int> rows(21);
  std::iota(rows.begin(), rows.end(), 0);
  const std::vector<ClubRun> runs = run.runMethod(ClubMethod::kDivisionIterative);
  EXPECT_EQ(runs[0].club, rows);
  rows.pop_back();
  expectSamePatterns(runs[0].patterns, run.mineAlone(rows));
  // Each row that sets a sample apart is a pattern of its own, over the
  // first 20 positions only.
  EXPECT_EQ(runs[0].patterns.positions, 20);
  EXPECT_NE(std::find(runs[0].patterns.disease.patterns.begin(),
                      runs[0].patterns.disease.patterns.end(), ItemSet{1} << 39),
            runs[0].patterns.disease.patterns.end());
}

}  // namespace
}  // namespace geneclub::testing
