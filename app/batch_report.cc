#include "app/batch_report.h"

#include <chrono>
#include <ctime>

#include "patterns/ep_groups.h"

namespace geneclub {
namespace {

RankedGeneStatus rankedStatus(GeneStatus status) {
  switch (status) {
    case GeneStatus::kInPlay:
      return RankedGeneStatus::kInPlay;
    case GeneStatus::kIncomplete:
      return RankedGeneStatus::kIncomplete;
    case GeneStatus::kDuplicate:
      return RankedGeneStatus::kDuplicate;
  }
  return RankedGeneStatus::kInPlay;
}

std::string today() {
  const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::tm local{};
  localtime_r(&now, &local);
  char date[16];
  std::strftime(date, sizeof date, "%Y-%m-%d", &local);
  return date;
}

// The class's patterns as the page lists them: supports from the highest
// down, groups and members as in EP.data.
std::vector<EmergingPattern> reportPatterns(const ClassPatterns& patterns) {
  std::vector<EmergingPattern> listed;
  for (const std::vector<TidsetGroup>& groups : groupsBySupport(patterns, 1)) {
    for (const TidsetGroup& group : groups) {
      const std::vector<int> samples = patterns.supportingSamples(group.members.front());
      for (const int member : group.members) {
        EmergingPattern pattern{{}, group.support, samples};
        for (const int item : orderedItems(group, patterns.patterns[member])) {
          // The global run's position p is the gene in ranking place p + 1.
          pattern.conditions.push_back({item / 2 + 1, item % 2 == 1});
        }
        listed.push_back(std::move(pattern));
      }
    }
  }
  return listed;
}

}  // namespace

ReportInput makeReportInput(const ReportRunFacts& facts, const AnalysisSettings& settings,
                            const GeneClubAnalyzer& analyzer, const DataNames& names,
                            const MiningResult& global) {
  ReportInput input;
  ReportHeader& header = input.header;
  header.dataPath = facts.dataPath;
  header.geneCounts = {facts.totalGenes, facts.droppedGenes, analyzer.incompleteGeneCount,
                       analyzer.duplicateGeneCount};
  header.classOneLabel = names.diseaseLabel;
  header.classZeroLabel = names.normalLabel;
  header.settings = {settings.topGeneCount, settings.poolBase, facts.methods, facts.missingPolicy};
  header.programVersion = GENECLUB_VERSION;
  header.runDate = today();
  for (int row = 0; row < analyzer.geneCount(); ++row) {
    const int gene = analyzer.geneNumbers[row];
    input.ranking.push_back({names.genes[gene], analyzer.splitValues[row],
                             analyzer.informationGains[row],
                             rankedStatus(analyzer.geneStatus[gene]), std::nullopt});
  }
  for (int sample = 0; sample < analyzer.sampleCount(); ++sample) {
    input.samples.push_back({names.samples[sample], analyzer.classLabels[sample]});
  }
  for (int row = 0; row < settings.topGeneCount; ++row) {
    input.topGenes.push_back({row + 1, analyzer.expressionMatrix[row]});
  }
  input.classPatterns[kClassOne] = reportPatterns(global.disease);
  input.classPatterns[kClassZero] = reportPatterns(global.normal);
  return input;
}

void addReportClub(ReportInput& input, std::string_view method, std::span<const int> club,
                   const MiningResult& patterns) {
  if (input.clubRuns.empty() || input.clubRuns.back().method != method) {
    input.clubRuns.push_back({std::string(method), {}, {}});
  }
  ClubMethodRun& run = input.clubRuns.back();
  std::vector<int> places;
  for (const int row : club) places.push_back(row + 1);
  run.clubs.push_back(std::move(places));
  run.patternCounts.push_back(patterns.disease.patternCount() + patterns.normal.patternCount());
}

void addReportEvaluation(ReportInput& input, const std::string& method,
                         const ClassificationSummary& summary, std::span<const int> folds,
                         std::span<const int> trueClasses,
                         std::span<const HeldOutPrediction> predictions) {
  ReportEvaluation evaluation;
  evaluation.method = method;
  evaluation.accuracy = summary.accuracy;
  evaluation.balancedAccuracy = summary.balancedAccuracy;
  // A class without samples has no recall; the page shows 0 for it.
  evaluation.recallClassOne = summary.recall[kClassOne].value_or(0.0);
  evaluation.recallClassZero = summary.recall[kClassZero].value_or(0.0);
  evaluation.confusion = summary.confusion;
  for (std::size_t sample = 0; sample < predictions.size(); ++sample) {
    const HeldOutPrediction& prediction = predictions[sample];
    evaluation.predictions.push_back({folds[sample], trueClasses[sample], prediction.predictedLabel,
                                      prediction.scoreClassOne, prediction.scoreClassZero});
  }
  input.evaluation = std::move(evaluation);
}

}  // namespace geneclub
