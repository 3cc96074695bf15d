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

// Correct predictions per candidate (rule major, K minor) and true label.
using CorrectCounts = std::vector<std::array<int, 2>>;

// Trains on the training samples outside inner fold `fold` and counts each
// candidate's correct predictions of the samples inside it.
CorrectCounts innerFoldCounts(const ExpressionMatrix& matrix, const SortedGenes& sorted,
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
  CorrectCounts counts(candidates.rules.size() * kCount, {0, 0});
  for (std::size_t k = 0; k < kCount; ++k) {
    const MiningResult patterns =
        restrictToFirstPositions(classifier.patterns(), candidates.topGeneCounts[k]);
    for (std::size_t r = 0; r < candidates.rules.size(); ++r) {
      const PatternScorer scorer(patterns, trainingItems, classifier.trainingLabels(),
                                 candidates.rules[r]);
      std::array<int, 2>& correct = counts[r * kCount + k];
      for (std::size_t h = 0; h < heldOut.size(); ++h) {
        const int label = labels[heldOut[h]];
        correct[label] += scorer.score(heldOutItems[h]).predictedLabel == label;
      }
    }
  }
  return counts;
}

}  // namespace

ModelSelection selectClassifier(const ExpressionMatrix& matrix, const SortedGenes& sorted,
                                std::span<const int> labels, std::span<const int> trainingSamples,
                                const ClassifierCandidates& candidates, CutCandidates cuts,
                                std::uint64_t seed) {
  ModelSelection selection;
  selection.choice = {candidates.rules.front(), candidates.topGeneCounts.front()};
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
  std::vector<CorrectCounts> foldCounts(kInnerRepetitions * folds);
  tbb::parallel_for(0, kInnerRepetitions * folds, [&](int task) {
    foldCounts[task] =
        innerFoldCounts(matrix, sorted, labels, trainingSamples, innerFoldOf[task / folds],
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
      for (const CorrectCounts& counts : foldCounts) {
        result.correct[0] += counts[r * kCount + k][0];
        result.correct[1] += counts[r * kCount + k][1];
      }
    }
  }
  const auto recall = [&selection](const CandidateResult& result, int label) {
    return static_cast<double>(result.correct[label]) /
           static_cast<double>(selection.innerPredictions[label]);
  };
  const auto balancedAccuracy = [&recall](const CandidateResult& result) {
    return (recall(result, 1) + recall(result, 0)) / 2;
  };
  const CandidateResult& best =
      *std::max_element(selection.results.begin(), selection.results.end(),
                        [&](const CandidateResult& a, const CandidateResult& b) {
                          return balancedAccuracy(a) < balancedAccuracy(b);
                        });
  const double bestRecallOne = recall(best, 1);
  const double bestRecallZero = recall(best, 0);
  const double standardError = std::sqrt(bestRecallOne * (1 - bestRecallOne) / classSizes[1] +
                                         bestRecallZero * (1 - bestRecallZero) / classSizes[0]) /
                               2;
  const double bar = balancedAccuracy(best) - standardError;
  for (const CandidateResult& result : selection.results) {
    if (balancedAccuracy(result) >= bar) {
      selection.choice = result.candidate;
      break;
    }
  }
  return selection;
}

}  // namespace geneclub
