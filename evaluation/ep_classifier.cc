#include "evaluation/ep_classifier.h"

#include <algorithm>
#include <ostream>

#include "ranking/start_up.h"

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
                           int topGeneCount, ScoringRule rule, CutCandidates cuts)
    : rule_(rule) {
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
  scorer_ = trainedScorer(patterns_, trainingTuples_, trainingLabels_, rule);
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
