#include "results/run_report.h"

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

// The cross-validated classification as the page shows it.
ReportEvaluation reportEvaluation(const RunEvaluation& run, std::span<const int> trueClasses) {
  const ClassificationSummary& summary = run.summary;
  ReportEvaluation evaluation;
  evaluation.method = foldSchemeName(run.scheme);
  evaluation.accuracy = summary.accuracy;
  evaluation.balancedAccuracy = summary.balancedAccuracy;
  // A class without samples has no recall; the page shows 0 for it.
  evaluation.recallClassOne = summary.recall[kClassOne].value_or(0.0);
  evaluation.recallClassZero = summary.recall[kClassZero].value_or(0.0);
  evaluation.confusion = summary.confusion;
  for (const ScoringRule rule : run.candidates.rules) {
    evaluation.candidateRules.emplace_back(scoringRuleName(rule));
  }
  evaluation.candidateTopGenes = run.candidates.topGeneCounts;
  evaluation.referenceRule = scoringRuleName(run.candidates.reference.rule);
  evaluation.referenceTopGenes = run.candidates.reference.topGeneCount;
  for (const RunEvaluation::ChoiceCount& count : run.choiceCounts()) {
    evaluation.choices.push_back(
        {std::string(scoringRuleName(count.choice.rule)), count.choice.topGeneCount, count.folds});
  }
  for (std::size_t sample = 0; sample < run.predictions.size(); ++sample) {
    const HeldOutPrediction& prediction = run.predictions[sample];
    evaluation.predictions.push_back({run.folds[sample], trueClasses[sample],
                                      prediction.predictedLabel, prediction.scoreClassOne,
                                      prediction.scoreClassZero, prediction.covered});
  }
  return evaluation;
}

// A pattern of the class files as the page lists it: rows become ranking
// places.
StrongPattern reportStrongPattern(const ClassFilePattern& strong) {
  StrongPattern pattern{strong.analysis, strong.club, {}, strong.geneSet.support};
  for (const EpBlock::Condition& condition : strong.geneSet.conditions) {
    pattern.conditions.push_back({condition.row + 1, condition.above});
  }
  return pattern;
}

}  // namespace

ReportInput makeReportInput(const RunRecord& record) {
  const RankedAnalysis& ranking = record.ranking();
  const AnalysisSettings& settings = record.settings();
  const DataNames& names = record.names;
  ReportInput input;
  ReportHeader& header = input.header;
  header.dataPath = record.input.path;
  header.geneCounts = {record.input.totalGenes, record.input.droppedGenes,
                       ranking.cleaning().incompleteGenes, ranking.cleaning().duplicateGenes};
  header.classOneLabel = names.diseaseLabel;
  header.classZeroLabel = names.normalLabel;
  header.settings = {settings.topGeneCount, settings.poolBase, record.methodNames(),
                     record.input.missingPolicy};
  header.programVersion = GENECLUB_VERSION;
  header.runDate = today();
  for (int row = 0; row < ranking.geneCount(); ++row) {
    const int gene = ranking.geneNumber(row);
    std::optional<double> pFwer;
    if (!record.pValues.empty()) pFwer = record.pValues[row];
    input.ranking.push_back({names.shownName(gene), ranking.splitValue(row), ranking.gain(row),
                             rankedStatus(ranking.status(gene)), pFwer});
  }
  for (int sample = 0; sample < ranking.sampleCount(); ++sample) {
    input.samples.push_back({names.samples[sample], ranking.classLabels()[sample]});
  }
  for (int row = 0; row < settings.topGeneCount; ++row) {
    input.topGenes.push_back({row + 1, ranking.values(row)});
  }
  input.classPatterns[kClassOne] = reportPatterns(record.startUp.global.disease);
  input.classPatterns[kClassZero] = reportPatterns(record.startUp.global.normal);
  input.clubRuns = record.clubRuns;
  for (const ClassFilePattern& strong : record.strongPatterns) {
    input.strongPatterns[strong.geneSet.disease ? kClassOne : kClassZero].push_back(
        reportStrongPattern(strong));
  }
  if (record.evaluation) {
    input.evaluation = reportEvaluation(*record.evaluation, ranking.classLabels());
  }
  return input;
}

}  // namespace geneclub
