// The two entry points of an analysis and what they promise their callers:
// the start-up reports its steps in order with the counts it leaves in the
// ranking, the loader reports the open file before reading it, the club
// methods reach every sink with each club prepared before it is delivered
// and delivered in club order, for every number of threads, and the
// settings derived from the data are the interactive program's on its shape.

#include <gtest/gtest.h>
#include <tbb/global_control.h>

#include <mutex>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "analysis/club_methods.h"
#include "analysis/start_up.h"
#include "app/gene_club_session.h"
#include "readers/load_data.h"
#include "tests/test_support.h"
#include "tools/synthetic_data.h"

namespace geneclub::testing {
namespace {

using Step = ProgressEvent::Step;

// The demo shape, with constant and copied genes for both cleaning steps.
ExpressionData syntheticData(int genes = 300) {
  SyntheticShape shape;
  shape.genes = genes;
  shape.informativeStride = 0;
  const SyntheticData data = makeSyntheticData(shape);
  return {expressionValues(data), classLabels(data)};
}

StartUpResult startUpOf(ExpressionData data) {
  const AnalysisSettings settings = settingsForData(data.matrix.size(), data.labels);
  return runStartUp(std::move(data), settings);
}

TEST(StartUpEntryTest, ReportsEachStepOnceInOrderWithTheCountsItLeaves) {
  std::vector<ProgressEvent> events;
  ExpressionData data = syntheticData();
  const AnalysisSettings settings = settingsForData(data.matrix.size(), data.labels);
  const StartUpResult startUp =
      runStartUp(std::move(data), settings,
                 [&events](const ProgressEvent& event) { events.push_back(event); });

  const CleaningResult& cleaning = startUp.ranking.cleaning();
  ASSERT_EQ(events.size(), 4u);
  EXPECT_EQ(events[0].step, Step::kIncompleteGenesTakenOut);
  EXPECT_EQ(events[0].count, cleaning.incompleteGenes);
  EXPECT_EQ(events[1].step, Step::kDuplicateSearchStarted);
  EXPECT_EQ(events[2].step, Step::kDuplicateGenesZeroed);
  EXPECT_EQ(events[2].count, cleaning.duplicateGenes);
  EXPECT_EQ(events[3].step, Step::kGenesRanked);
  // The synthetic data plant three constant genes and four copies (chance
  // may add a duplicate).
  EXPECT_EQ(cleaning.incompleteGenes, 3);
  EXPECT_GE(cleaning.duplicateGenes, 4);
}

TEST(StartUpEntryTest, GlobalRunMinesTheTopRowsOfTheFinalRanking) {
  const StartUpResult startUp = startUpOf(syntheticData());
  const int k = startUp.settings.topGeneCount;
  ASSERT_EQ(startUp.topRows.size(), static_cast<std::size_t>(k));
  for (int row = 0; row < k; ++row) EXPECT_EQ(startUp.topRows[row], row);
  // The genes taken out of play stand last, after every gene in play.
  const RankedAnalysis& ranking = startUp.ranking;
  const int removed = ranking.cleaning().removedGenes();
  for (int row = 0; row < ranking.geneCount(); ++row) {
    const bool inPlay = ranking.status(ranking.geneNumber(row)) == GeneStatus::kInPlay;
    EXPECT_EQ(inPlay, row < ranking.geneCount() - removed) << row;
  }
  const MiningResult mined =
      mineMinimalEps(startUp.samples.positionSamples(startUp.topRows, k), ranking.classLabels(), k);
  EXPECT_EQ(startUp.global.disease.patterns, mined.disease.patterns);
  EXPECT_EQ(startUp.global.normal.patterns, mined.normal.patterns);
  EXPECT_GT(startUp.global.disease.patternCount() + startUp.global.normal.patternCount(), 0);
}

TEST(LoadEntryTest, ReportsTheOpenFileOnlyAndFailsWithAKind) {
  ScopedWorkDir dir;
  std::vector<Step> steps;
  const ProgressListener listener = [&steps](const ProgressEvent& event) {
    steps.push_back(event.step);
  };
  auto missing = loadData("absent.data", 2, 1, listener);
  ASSERT_TRUE(std::holds_alternative<InputError>(missing));
  EXPECT_EQ(std::get<InputError>(missing).kind, InputError::kUnreadable);
  EXPECT_TRUE(steps.empty());

  writeFile(dir.path() / "wrong.data", "1,2,maybe\n");
  auto wrong = loadData("wrong.data", 2, 1, listener);
  ASSERT_TRUE(std::holds_alternative<InputError>(wrong));
  EXPECT_EQ(std::get<InputError>(wrong).kind, InputError::kInvalidData);
  EXPECT_EQ(steps, std::vector<Step>{Step::kDataOpened});

  writeFile(dir.path() / "right.data", "1,2,negative\n3,4,positive\n");
  auto right = loadData("right.data", 2, 2, listener);
  ASSERT_TRUE(std::holds_alternative<ExpressionData>(right));
  EXPECT_EQ(std::get<ExpressionData>(right).matrix,
            (ExpressionMatrix{ExpressionRow{1, 3}, ExpressionRow{2, 4}}));
  EXPECT_EQ(std::get<ExpressionData>(right).labels, (ClassLabels{1, 0}));
  EXPECT_EQ(steps.size(), 2u);
}

// "deliver METHOD TOP ROWS...".
std::string clubLine(const std::string& method, int topRow, const std::vector<int>& rows) {
  std::ostringstream line;
  line << "deliver " << method << " " << topRow;
  for (const int row : rows) line << " " << row;
  return line.str();
}

// Keeps what a sink is told, as lines: "begin M", "deliver M TOP ROWS",
// "end M"; and which clubs were prepared, checking that none is delivered
// before it was prepared.
class RecordingSink : public ClubSink {
 public:
  void beginMethod(ClubMethod method) override {
    method_ = std::string(methodName(method));
    calls.push_back("begin " + method_);
  }
  void prepare(const ClubRun& run) override {
    const std::lock_guard lock(mutex_);
    prepared_.insert({method_, run.topRow});
  }
  void deliver(const ClubRun& run) override {
    {
      const std::lock_guard lock(mutex_);
      EXPECT_TRUE(prepared_.contains({method_, run.topRow})) << method_ << " " << run.topRow;
    }
    calls.push_back(clubLine(method_, run.topRow, run.club));
  }
  void endMethod(ClubMethod method) override {
    calls.push_back("end " + std::string(methodName(method)));
  }

  std::vector<std::string> calls;

 private:
  std::string method_;
  std::mutex mutex_;
  std::set<std::pair<std::string, int>> prepared_;
};

TEST(ClubMethodsEntryTest, EverySinkGetsEveryClubInOrderForEveryThreadCount) {
  const StartUpResult startUp = startUpOf(syntheticData());
  const int k = startUp.settings.topGeneCount;
  const ClubMethod methods[] = {ClubMethod::kDivisionIterative, ClubMethod::kIndependent};
  std::vector<std::string> first;
  for (const int threads : {1, 2, 8}) {
    const tbb::global_control limit(tbb::global_control::max_allowed_parallelism, threads);
    RecordingSink one, other;
    ClubSink* const sinks[] = {&one, &other};
    runClubMethods(startUp, methods, sinks);
    EXPECT_EQ(one.calls, other.calls);
    if (first.empty()) first = one.calls;
    EXPECT_EQ(one.calls, first) << threads << " threads";
  }

  // Per method: its beginning, K clubs in ascending top row, its end.
  ASSERT_EQ(first.size(), 2u * (k + 2));
  const ClubContext context(startUp.ranking, startUp.samples, startUp.settings);
  std::size_t call = 0;
  for (const ClubMethod method : methods) {
    const std::string name(methodName(method));
    EXPECT_EQ(first[call++], "begin " + name);
    for (int top = 0; top < k; ++top) {
      EXPECT_EQ(first[call++], clubLine(name, top, buildClub(method, context, top)));
    }
    EXPECT_EQ(first[call++], "end " + name);
  }
}

TEST(ClubMethodsEntryTest, NoMethodsTellNoSinkAnything) {
  const StartUpResult startUp = startUpOf(syntheticData(60));
  RecordingSink sink;
  ClubSink* const sinks[] = {&sink};
  runClubMethods(startUp, {}, sinks);
  EXPECT_TRUE(sink.calls.empty());
}

TEST(SettingsForDataTest, DefaultsFollowTheDataAndChoicesAreKept) {
  // The interactive program's shape gives its fixed settings.
  const ClassLabels colon = classLabels(makeSyntheticData(SyntheticShape()));
  const AnalysisSettings derived = settingsForData(2000, colon);
  const AnalysisSettings interactive = interactiveSettings();
  EXPECT_EQ(derived.topGeneCount, interactive.topGeneCount);
  EXPECT_EQ(derived.poolBase, interactive.poolBase);
  EXPECT_EQ(derived.strongDiseaseSupport, interactive.strongDiseaseSupport);
  EXPECT_EQ(derived.strongNormalSupport, interactive.strongNormalSupport);

  // Fewer genes than the default K; one class empty.
  const AnalysisSettings small = settingsForData(7, ClassLabels{1, 1, 1});
  EXPECT_EQ(small.topGeneCount, 7);
  EXPECT_EQ(small.poolBase, 5);
  EXPECT_EQ(small.strongDiseaseSupport, 2);
  EXPECT_EQ(small.strongNormalSupport, -1);

  SettingsChoice choice;
  choice.topGeneCount = 3;
  choice.poolBase = -4;
  const AnalysisSettings chosen = settingsForData(100, ClassLabels{0, 1, 0}, choice);
  EXPECT_EQ(chosen.topGeneCount, 3);
  EXPECT_EQ(chosen.poolBase, -4);
  EXPECT_EQ(chosen.strongDiseaseSupport, 0);
  EXPECT_EQ(chosen.strongNormalSupport, 1);
}

}  // namespace
}  // namespace geneclub::testing
