#include "evaluation/ep_classifier.h"

#include <algorithm>
#include <ostream>

#include "ranking/start_up.h"

namespace geneclub {
namespace {

// The analysis of the training columns only, ranked and cleaned.
GeneClubAnalyzer rankedTrainingAnalysis(const ExpressionMatrix& matrix, const SortedGenes& sorted,
                                        std::span<const int> labels,
                                        std::span<const int> trainingSamples, CutCandidates cuts) {
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
  rankAndCleanGenes(analyzer, discard, cuts, sorted, trainingSamples);
  return analyzer;
}

}  // namespace

EpClassifier::EpClassifier(const ExpressionMatrix& matrix, const SortedGenes& sorted,
                           std::span<const int> labels, std::span<const int> trainingSamples,
                           int topGeneCount, ScoringRule rule, CutCandidates cuts) {
  const GeneClubAnalyzer analyzer =
      rankedTrainingAnalysis(matrix, sorted, labels, trainingSamples, cuts);
  const int positions = std::min(topGeneCount, analyzer.geneCount());
  genes_.assign(analyzer.geneNumbers.begin(), analyzer.geneNumbers.begin() + positions);
  splitValues_.assign(analyzer.splitValues.begin(), analyzer.splitValues.begin() + positions);

  // The training tuples from the ranked rows, as the global mining run of an
  // analysis discretises them.
  trainingTuples_.assign(analyzer.sampleCount(), 0);
  for (int position = 0; position < positions; ++position) {
    const ExpressionRow& values = analyzer.expressionMatrix[position];
    for (int t = 0; t < analyzer.sampleCount(); ++t) {
      if (values[t] > splitValues_[position]) trainingTuples_[t] |= SampleTuple{1} << position;
    }
  }
  trainingLabels_ = analyzer.classLabels;
  patterns_ = mineMinimalEps(trainingTuples_, trainingLabels_, positions);

  std::vector<ItemSet> trainingItems;
  trainingItems.reserve(trainingTuples_.size());
  for (const SampleTuple tuple : trainingTuples_) {
    trainingItems.push_back(tupleItems(tuple, positions));
  }
  scorer_ = PatternScorer(patterns_, trainingItems, trainingLabels_, rule);
}

SampleTuple EpClassifier::tupleOf(const ExpressionMatrix& matrix, int sample) const {
  SampleTuple tuple = 0;
  for (std::size_t position = 0; position < genes_.size(); ++position) {
    if (matrix[genes_[position]][sample] > splitValues_[position]) {
      tuple |= SampleTuple{1} << position;
    }
  }
  return tuple;
}

EpScores EpClassifier::classify(const ExpressionMatrix& matrix, int sample) const {
  return scorer_.score(tupleItems(tupleOf(matrix, sample), static_cast<int>(genes_.size())));
}

}  // namespace geneclub
