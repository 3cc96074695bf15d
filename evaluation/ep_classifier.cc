#include "evaluation/ep_classifier.h"

#include <algorithm>
#include <utility>

#include "analysis/start_up.h"

namespace geneclub {
namespace {

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

// The class's score for a tuple's items: the added support shares of its
// EPs that the tuple contains, in store order.
double classScore(const ClassPatterns& patterns, int classSize, ItemSet tuple) {
  double score = 0.0;
  for (int p = 0; p < patterns.patternCount(); ++p) {
    if (isSubset(patterns.patterns[p], tuple)) {
      score += static_cast<double>(patterns.supports[p]) / static_cast<double>(classSize);
    }
  }
  return score;
}

}  // namespace

EpClassifier::EpClassifier(const ExpressionMatrix& matrix, std::span<const int> labels,
                           std::span<const int> trainingSamples, int topGeneCount) {
  // The start-up analysis of the training samples alone; its global mining
  // run over the K best genes gives the patterns.
  AnalysisSettings settings;
  settings.topGeneCount = std::min(topGeneCount, static_cast<int>(matrix.size()));
  // A fold builds no clubs, so no candidates need their samples.
  settings.poolBase = 0;
  const StartUpResult startUp = runStartUp(trainingData(matrix, labels, trainingSamples), settings);
  const RankedAnalysis& ranking = startUp.ranking;
  const int positions = settings.topGeneCount;
  genes_.assign(ranking.geneNumbers().begin(), ranking.geneNumbers().begin() + positions);
  splitValues_.assign(ranking.splitValues().begin(), ranking.splitValues().begin() + positions);
  patterns_ = startUp.global;
  for (const int label : ranking.classLabels()) ++classSizes_[label];
}

EpClassifier::EpClassifier(std::vector<int> genes, std::vector<double> splitValues,
                           MiningResult patterns, std::array<int, 2> classSizes)
    : genes_(std::move(genes)),
      splitValues_(std::move(splitValues)),
      patterns_(std::move(patterns)),
      classSizes_(classSizes) {}

EpScores EpClassifier::classify(const ExpressionMatrix& matrix, int sample) const {
  std::vector<double> minedValues;
  minedValues.reserve(genes_.size());
  for (const int gene : genes_) minedValues.push_back(matrix[gene][sample]);
  return classifyMinedValues(minedValues);
}

EpScores EpClassifier::classifyMinedValues(std::span<const double> minedValues) const {
  const int positions = static_cast<int>(genes_.size());
  SampleTuple tuple = 0;
  for (int position = 0; position < positions; ++position) {
    if (minedValues[position] > splitValues_[position]) tuple |= SampleTuple{1} << position;
  }
  const ItemSet items = tupleItems(tuple, positions);
  EpScores scores;
  scores.scoreClassOne = classScore(patterns_.disease, classSizes_[1], items);
  scores.scoreClassZero = classScore(patterns_.normal, classSizes_[0], items);
  if (scores.scoreClassOne != scores.scoreClassZero) {
    scores.predictedLabel = scores.scoreClassOne > scores.scoreClassZero ? 1 : 0;
  } else {
    scores.predictedLabel = classSizes_[0] > classSizes_[1] ? 0 : 1;
  }
  return scores;
}

}  // namespace geneclub
