#include "evaluation/model_selection.h"

#include <tbb/parallel_for.h>

#include <algorithm>
#include <cmath>

#include "evaluation/ep_classifier.h"
#include "evaluation/fold_assignment.h"
#include "evaluation/random_streams.h"
#include "patterns/position_restriction.h"

namespace geneclub {
namespace {

// Per candidate (rule major, K minor) and held-out sample of an inner fold
// (in training order): 1 when predicted right.
using FoldOutcomes = std::vector<std::vector<char>>;

// Trains on the training samples outside inner fold `fold` and records each
// candidate's outcome on the samples inside it.
FoldOutcomes innerFoldOutcomes(const ExpressionMatrix& matrix, const SortedGenes& sorted,
                               std::span<const int> labels, std::span<const int> trainingSamples,
                               std::span<const int> innerFoldOf, int fold,
                               const ClassifierCandidates& candidates, CutCandidates cuts) {
  std::vector<int> training, heldOut;
  for (std::size_t t = 0; t < trainingSamples.size(); ++t) {
    (innerFoldOf[t] == fold ? heldOut : training).push_back(trainingSamples[t]);
  }
  const int mostGenes = candidates.topGeneCounts.back();
  // The scorer of this classifier is not used: each candidate has its own.
  const EpClassifier classifier(matrix, sorted, labels, training, mostGenes, ScoringRule::kSum,
                                cuts);
  std::vector<ItemSet> trainingItems, heldOutItems;
  for (const SampleTuple tuple : classifier.trainingTuples()) {
    trainingItems.push_back(tupleItems(tuple, mostGenes));
  }
  for (const int sample : heldOut) {
    heldOutItems.push_back(tupleItems(classifier.tupleOf(matrix, sample), mostGenes));
  }

  const std::size_t kCount = candidates.topGeneCounts.size();
  FoldOutcomes outcomes(candidates.rules.size() * kCount);
  for (std::size_t k = 0; k < kCount; ++k) {
    const MiningResult patterns =
        restrictToFirstPositions(classifier.patterns(), candidates.topGeneCounts[k]);
    for (std::size_t r = 0; r < candidates.rules.size(); ++r) {
      const PatternScorer scorer(patterns, trainingItems, classifier.trainingLabels(),
                                 candidates.rules[r]);
      std::vector<char>& right = outcomes[r * kCount + k];
      for (std::size_t h = 0; h < heldOut.size(); ++h) {
        right.push_back(scorer.score(heldOutItems[h]).predictedLabel == labels[heldOut[h]]);
      }
    }
  }
  return outcomes;
}

}  // namespace

PairedAdvantage pairedAdvantage(std::span<const int> candidateCorrect,
                                std::span<const int> referenceCorrect,
                                std::span<const int> trainingLabels, int repetitions) {
  // Per label: the count, and the sums of the differences and of their
  // squares, in whole numbers, so that the moments are exact.
  std::array<long long, 2> count = {}, sum = {}, squares = {};
  for (std::size_t t = 0; t < trainingLabels.size(); ++t) {
    const long long difference = candidateCorrect[t] - referenceCorrect[t];
    ++count[trainingLabels[t]];
    sum[trainingLabels[t]] += difference;
    squares[trainingLabels[t]] += difference * difference;
  }
  const double scale = static_cast<double>(repetitions);
  double meanSum = 0.0, varianceOfMeans = 0.0;
  for (const int label : {1, 0}) {
    const double n = static_cast<double>(count[label]);
    meanSum += static_cast<double>(sum[label]) / (n * scale);
    // n * squares - sum^2 = n (n - 1) s^2 R^2, never negative.
    const long long spread = count[label] * squares[label] - sum[label] * sum[label];
    varianceOfMeans += static_cast<double>(spread) / (n * (n - 1) * scale * scale) / n;
  }
  return {meanSum / 2, std::sqrt(varianceOfMeans) / 2};
}

ModelSelection selectClassifier(const ExpressionMatrix& matrix, const SortedGenes& sorted,
                                std::span<const int> labels, std::span<const int> trainingSamples,
                                const ClassifierCandidates& candidates, CutCandidates cuts,
                                std::uint64_t seed) {
  ModelSelection selection;
  selection.choice = candidates.reference;
  if (candidates.rules.size() * candidates.topGeneCounts.size() == 1) return selection;
  std::vector<int> trainingLabels;
  for (const int sample : trainingSamples) trainingLabels.push_back(labels[sample]);
  const std::array<int, 2> classSizes = {
      static_cast<int>(std::count(trainingLabels.begin(), trainingLabels.end(), 0)),
      static_cast<int>(std::count(trainingLabels.begin(), trainingLabels.end(), 1))};
  const int folds = std::min({kInnerFoldCount, classSizes[0], classSizes[1]});
  if (folds < 2) return selection;

  // Every repetition's fold assignment, then all their inner folds at once.
  std::vector<std::vector<int>> innerFoldOf;
  for (int repetition = 0; repetition < kInnerRepetitions; ++repetition) {
    std::mt19937_64 stream = randomStream(seed, static_cast<std::uint64_t>(repetition));
    innerFoldOf.push_back(assignFolds(FoldScheme{folds}, trainingLabels, stream()));
  }
  const int tasks = kInnerRepetitions * folds;
  std::vector<FoldOutcomes> foldOutcomes(tasks);
  tbb::parallel_for(0, tasks, [&](int task) {
    foldOutcomes[task] =
        innerFoldOutcomes(matrix, sorted, labels, trainingSamples, innerFoldOf[task / folds],
                          task % folds + 1, candidates, cuts);
  });

  selection.innerFoldCount = folds;
  selection.innerPredictions = {kInnerRepetitions * classSizes[0],
                                kInnerRepetitions * classSizes[1]};
  const std::size_t kCount = candidates.topGeneCounts.size();
  for (std::size_t r = 0; r < candidates.rules.size(); ++r) {
    for (std::size_t k = 0; k < kCount; ++k) {
      CandidateResult& result = selection.results.emplace_back();
      result.candidate = {candidates.rules[r], candidates.topGeneCounts[k]};
      result.correctBySample.assign(trainingSamples.size(), 0);
      for (int task = 0; task < tasks; ++task) {
        const std::vector<int>& foldOf = innerFoldOf[task / folds];
        const std::vector<char>& right = foldOutcomes[task][r * kCount + k];
        std::size_t h = 0;
        for (std::size_t t = 0; t < trainingSamples.size(); ++t) {
          if (foldOf[t] == task % folds + 1) result.correctBySample[t] += right[h++];
        }
      }
      for (std::size_t t = 0; t < trainingSamples.size(); ++t) {
        result.correct[trainingLabels[t]] += result.correctBySample[t];
      }
    }
  }

  const CandidateResult& reference = *std::find_if(
      selection.results.begin(), selection.results.end(),
      [&](const CandidateResult& result) { return result.candidate == candidates.reference; });
  const std::vector<int> referenceCorrect = reference.correctBySample;
  double chosenAdvantage = 0.0;
  for (CandidateResult& result : selection.results) {
    const PairedAdvantage paired = pairedAdvantage(result.correctBySample, referenceCorrect,
                                                   trainingLabels, kInnerRepetitions);
    result.advantage = paired.advantage;
    result.advantageError = paired.standardError;
    if (paired.advantage > kSelectionStandardErrors * paired.standardError &&
        paired.advantage > chosenAdvantage) {
      selection.choice = result.candidate;
      chosenAdvantage = paired.advantage;
    }
  }
  return selection;
}

}  // namespace geneclub
