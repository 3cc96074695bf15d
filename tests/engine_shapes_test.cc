// The whole engine (ranking and cleaning, the global mining run, the four
// gene-club methods and the EP report) on shapes the interactive program
// never sees: from 1 to 1000 samples, around the word boundaries, from 1 to
// 5000 genes, runs of 1 to 32 genes, one class only, all values tied. On
// every shape the results must be the same for every number of threads, the
// clubs well formed, and the mined patterns of narrow runs exactly those a
// brute-force enumeration finds.

#include <gtest/gtest.h>
#include <tbb/global_control.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "analysis/club_methods.h"
#include "analysis/start_up.h"
#include "results/ep_sections.h"
#include "tests/test_support.h"
#include "tools/synthetic_data.h"

namespace geneclub::testing {
namespace {

struct Shape {
  int samples;
  int genes;
  int topGeneCount;
  int normalSamples;
  bool tied = false;  // every value the same
};

ExpressionData dataOf(const Shape& shape) {
  SyntheticShape synthetic;
  synthetic.samples = shape.samples;
  synthetic.genes = shape.genes;
  synthetic.normalSamples = shape.normalSamples;
  synthetic.informativeStride = 0;
  synthetic.constantGenes = shape.genes >= 10 ? 3 : 0;
  synthetic.copiedGenes = shape.genes >= 10 ? 4 : 0;
  synthetic.informativeGenes =
      std::min(32, shape.genes - synthetic.constantGenes - synthetic.copiedGenes);
  const SyntheticData data = makeSyntheticData(synthetic);
  ExpressionData values{expressionValues(data), classLabels(data)};
  if (shape.tied) {
    for (ExpressionRow& row : values.matrix) row.assign(row.size(), 1.0);
  }
  return values;
}

StartUpResult startUpOf(const Shape& shape) {
  ExpressionData data = dataOf(shape);
  SettingsChoice choice;
  choice.topGeneCount = shape.topGeneCount;
  AnalysisSettings settings = settingsForData(shape.genes, data.labels, choice);
  // The clubs of the interactive program, whose gainless steps add the
  // top-ranked gene again.
  settings.gainlessClubStep = GainlessClubStep::kAddTopRankedGene;
  return runStartUp(std::move(data), settings);
}

// Keeps every club delivered.
class ClubList : public ClubSink {
 public:
  explicit ClubList(std::vector<std::vector<int>>& clubs) : clubs_(clubs) {}
  void deliver(const ClubRun& run) override { clubs_.push_back(run.club); }

 private:
  std::vector<std::vector<int>>& clubs_;
};

// What one analysis leaves: the ranking, the clubs of every method, and the
// three EP files.
struct Outcome {
  std::vector<int> geneNumbers;
  std::vector<double> gains;
  std::vector<std::vector<int>> clubs;
  std::string epData, diseaseEp, normalEp;
  MiningResult global;
};

Outcome analyse(const Shape& shape, int threads) {
  const tbb::global_control limit(tbb::global_control::max_allowed_parallelism, threads);
  const StartUpResult startUp = startUpOf(shape);
  const AnalysisSettings& settings = startUp.settings;

  Outcome outcome;
  outcome.geneNumbers = startUp.ranking.geneNumbers();
  outcome.gains = startUp.ranking.gains();
  outcome.global = startUp.global;
  ScopedWorkDir dir;
  OutputFailures failures(std::cerr);
  {
    EpReport report(dir.path(), EpFileMode::kFresh, settings.strongDiseaseSupport,
                    settings.strongNormalSupport, failures);
    writeGlobalSection(report, startUp);
    ClubList clubs(outcome.clubs);
    EpMethodSections sections(report, settings.topGeneCount);
    ClubSink* const sinks[] = {&clubs, &sections};
    runClubMethods(startUp, kClubMethods, sinks);
  }
  EXPECT_FALSE(failures.any());
  outcome.epData = readFile(dir.path() / "EP.data");
  outcome.diseaseEp = readFile(dir.path() / "diseaseEP.data");
  outcome.normalEp = readFile(dir.path() / "normalEP.data");
  return outcome;
}

void expectBruteForceAgrees(const Shape& shape, const MiningResult& mined) {
  const StartUpResult startUp = startUpOf(shape);
  const PositionSamples tuples =
      startUp.samples.positionSamples(startUp.topRows, shape.topGeneCount);
  std::vector<SampleTuple> disease, normal;
  for (int s = 0; s < shape.samples; ++s) {
    (startUp.ranking.classLabels()[s] == 1 ? disease : normal).push_back(tuples[s]);
  }
  for (const auto& [patterns, targets, others] : {std::tuple{&mined.disease, &disease, &normal},
                                                  std::tuple{&mined.normal, &normal, &disease}}) {
    std::map<ItemSet, int> found;
    for (int p = 0; p < patterns->patternCount(); ++p) {
      found[patterns->patterns[p]] = patterns->supports[p];
    }
    EXPECT_EQ(found, bruteForceEps(*targets, *others, allPositions(shape.topGeneCount)));
  }
}

class EngineShapesTest : public ::testing::TestWithParam<Shape> {};

TEST_P(EngineShapesTest, SameResultsForEveryThreadCountAndWellFormedClubs) {
  const Shape shape = GetParam();
  const Outcome one = analyse(shape, 1);
  for (const int threads : {2, 8}) {
    const Outcome other = analyse(shape, threads);
    EXPECT_EQ(other.geneNumbers, one.geneNumbers) << threads;
    EXPECT_EQ(other.gains, one.gains) << threads;
    EXPECT_EQ(other.clubs, one.clubs) << threads;
    EXPECT_TRUE(other.epData == one.epData) << threads;
    EXPECT_EQ(other.diseaseEp, one.diseaseEp) << threads;
    EXPECT_EQ(other.normalEp, one.normalEp) << threads;
  }

  ASSERT_EQ(one.clubs.size(), 4u * shape.topGeneCount);
  for (std::size_t c = 0; c < one.clubs.size(); ++c) {
    const std::vector<int>& club = one.clubs[c];
    EXPECT_EQ(club.front(), static_cast<int>(c) % shape.topGeneCount);
    EXPECT_LE(static_cast<int>(club.size()), shape.topGeneCount + 1);
    for (const int row : club) EXPECT_LT(row, shape.genes);
  }
  EXPECT_TRUE(one.epData.starts_with("Global top " + std::to_string(shape.topGeneCount) +
                                     " gene's EP patterns\n"));
  EXPECT_NE(one.epData.find("\n\nTop " + std::to_string(shape.topGeneCount) + " gene's"),
            std::string::npos);
  if (shape.topGeneCount <= 5) expectBruteForceAgrees(shape, one.global);
}

INSTANTIATE_TEST_SUITE_P(Shapes, EngineShapesTest,
                         ::testing::Values(Shape{1, 12, 5, 0}, Shape{2, 12, 2, 1},
                                           Shape{63, 40, 20, 21}, Shape{64, 21, 20, 30},
                                           Shape{65, 40, 32, 20}, Shape{128, 60, 5, 60},
                                           Shape{129, 20, 20, 40}, Shape{1000, 200, 20, 400},
                                           Shape{62, 1, 1, 22}, Shape{64, 5000, 20, 22},
                                           Shape{40, 30, 5, 0}, Shape{40, 30, 5, 40},
                                           Shape{62, 50, 20, 22, true}),
                         [](const ::testing::TestParamInfo<Shape>& info) {
                           const Shape& shape = info.param;
                           std::string name = "N";
                           name += std::to_string(shape.samples);
                           name += "_G" + std::to_string(shape.genes);
                           name += "_K" + std::to_string(shape.topGeneCount);
                           name += "_Normal" + std::to_string(shape.normalSamples);
                           if (shape.tied) name += "_Tied";
                           return name;
                         });

}  // namespace
}  // namespace geneclub::testing
