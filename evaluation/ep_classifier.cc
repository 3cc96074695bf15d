#include "evaluation/ep_classifier.h"

#include <algorithm>
#include <utility>

#include "analysis/start_up.h"

namespace geneclub {
namespace {

// The tuple of a sample whose value at mined position j is valueAt(j):
// bit j set when it lies strictly above the position's split value.
template <typename ValueAt>
SampleTuple tupleOfValues(std::span<const double> splitValues, const ValueAt& valueAt) {
  SampleTuple tuple = 0;
  for (std::size_t position = 0; position < splitValues.size(); ++position) {
    if (valueAt(position) > splitValues[position]) tuple |= SampleTuple{1} << position;
  }
  return tuple;
}

// The scorer of the patterns by the rule, trained on the training tuples.
PatternScorer trainedScorer(const MiningResult& patterns, std::span<const SampleTuple> tuples,
                            std::span<const int> labels, ScoringRule rule) {
  std::vector<ItemSet> trainingItems;
  trainingItems.reserve(tuples.size());
  for (const SampleTuple tuple : tuples) {
    trainingItems.push_back(tupleItems(tuple, patterns.positions));
  }
  return PatternScorer(patterns, trainingItems, labels, rule);
}

// The training columns of the data.
ExpressionData trainingData(const ExpressionMatrix& matrix, std::span<const int> labels,
                            std::span<const int> trainingSamples) {
  ExpressionData training;
  training.matrix.reserve(matrix.size());
  for (const ExpressionRow& row : matrix) {
    ExpressionRow& trainingRow = training.matrix.emplace_back();
    trainingRow.reserve(trainingSamples.size());
    for (const int sample : trainingSamples) trainingRow.push_back(row[sample]);
  }
  training.labels.reserve(trainingSamples.size());
  for (const int sample : trainingSamples) training.labels.push_back(labels[sample]);
  return training;
}

// The settings of a classifier's start-up: K best genes mined, no clubs.
AnalysisSettings classifierSettings(int topGeneCount, int geneCount, CutCandidates cuts) {
  AnalysisSettings settings;
  settings.topGeneCount = std::min(topGeneCount, geneCount);
  settings.cuts = cuts;
  // A classifier builds no clubs, so no candidates need their samples.
  settings.poolBase = 0;
  return settings;
}

}  // namespace

EpClassifier::EpClassifier(const ExpressionMatrix& matrix, const SortedGenes& sorted,
                           std::span<const int> labels, std::span<const int> trainingSamples,
                           int topGeneCount, ScoringRule rule, CutCandidates cuts)
    : rule_(rule) {
  // The start-up analysis of the training samples alone; its global mining
  // run over the K best genes gives the patterns.
  const AnalysisSettings settings =
      classifierSettings(topGeneCount, static_cast<int>(matrix.size()), cuts);
  takeStartUp(runStartUp(trainingData(matrix, labels, trainingSamples), settings,
                         PresortedGenes{sorted, trainingSamples}));
}

EpClassifier::EpClassifier(ExpressionData data, int topGeneCount, ScoringRule rule,
                           CutCandidates cuts)
    : rule_(rule) {
  const AnalysisSettings settings =
      classifierSettings(topGeneCount, static_cast<int>(data.matrix.size()), cuts);
  takeStartUp(runStartUp(std::move(data), settings));
}

void EpClassifier::takeStartUp(const StartUpResult& startUp) {
  const RankedAnalysis& ranking = startUp.ranking;
  const int positions = startUp.settings.topGeneCount;
  genes_.assign(ranking.geneNumbers().begin(), ranking.geneNumbers().begin() + positions);
  splitValues_.assign(ranking.splitValues().begin(), ranking.splitValues().begin() + positions);
  // The training tuples as the global mining run discretised them.
  trainingTuples_ = startUp.samples.positionSamples(startUp.topRows, positions);
  trainingLabels_ = ranking.classLabels();
  patterns_ = startUp.global;
  scorer_ = trainedScorer(patterns_, trainingTuples_, trainingLabels_, rule_);
}

EpClassifier::EpClassifier(std::vector<int> genes, std::vector<double> splitValues,
                           MiningResult patterns, std::vector<SampleTuple> trainingTuples,
                           std::vector<int> trainingLabels, ScoringRule rule)
    : genes_(std::move(genes)),
      splitValues_(std::move(splitValues)),
      patterns_(std::move(patterns)),
      trainingTuples_(std::move(trainingTuples)),
      trainingLabels_(std::move(trainingLabels)),
      rule_(rule),
      scorer_(trainedScorer(patterns_, trainingTuples_, trainingLabels_, rule)) {}

SampleTuple EpClassifier::tupleOf(const ExpressionMatrix& matrix, int sample) const {
  return tupleOfValues(splitValues_,
                       [&](std::size_t position) { return matrix[genes_[position]][sample]; });
}

EpScores EpClassifier::classify(const ExpressionMatrix& matrix, int sample) const {
  return scorer_.score(tupleItems(tupleOf(matrix, sample), static_cast<int>(genes_.size())));
}

EpScores EpClassifier::classifyMinedValues(std::span<const double> minedValues) const {
  const SampleTuple tuple =
      tupleOfValues(splitValues_, [&](std::size_t position) { return minedValues[position]; });
  return scorer_.score(tupleItems(tuple, static_cast<int>(genes_.size())));
}

}  // namespace geneclub
