#include "evaluation/ep_classifier.h"

#include <algorithm>
#include <ostream>
#include <utility>

#include "ranking/start_up.h"

namespace geneclub {
namespace {

// The analysis of the training columns only, ranked and cleaned.
GeneClubAnalyzer rankedTrainingAnalysis(const ExpressionMatrix& matrix, std::span<const int> labels,
                                        std::span<const int> trainingSamples) {
  ExpressionMatrix training;
  training.reserve(matrix.size());
  for (const ExpressionRow& row : matrix) {
    ExpressionRow& trainingRow = training.emplace_back();
    trainingRow.reserve(trainingSamples.size());
    for (const int sample : trainingSamples) trainingRow.push_back(row[sample]);
  }
  ClassLabels trainingLabels;
  trainingLabels.reserve(trainingSamples.size());
  for (const int sample : trainingSamples) trainingLabels.push_back(labels[sample]);
  GeneClubAnalyzer analyzer(std::move(training), std::move(trainingLabels));
  // The ranking writes its cleaning counts for the interactive console;
  // a fold has no console, so they are discarded.
  std::ostream discard(nullptr);
  rankAndCleanGenes(analyzer, discard);
  return analyzer;
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
  const GeneClubAnalyzer analyzer = rankedTrainingAnalysis(matrix, labels, trainingSamples);
  const int positions = std::min(topGeneCount, analyzer.geneCount());
  genes_.assign(analyzer.geneNumbers.begin(), analyzer.geneNumbers.begin() + positions);
  splitValues_.assign(analyzer.splitValues.begin(), analyzer.splitValues.begin() + positions);

  // The training tuples from the ranked rows, as the global mining run of an
  // analysis discretises them.
  std::vector<SampleTuple> tuples(analyzer.sampleCount(), 0);
  for (int position = 0; position < positions; ++position) {
    const ExpressionRow& values = analyzer.expressionMatrix[position];
    for (int t = 0; t < analyzer.sampleCount(); ++t) {
      if (values[t] > splitValues_[position]) tuples[t] |= SampleTuple{1} << position;
    }
  }
  patterns_ = mineMinimalEps(tuples, analyzer.classLabels, positions);
  for (const int label : analyzer.classLabels) ++classSizes_[label];
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
