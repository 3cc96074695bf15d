#include "evaluation/model_selection.h"

#include <tbb/parallel_for.h>

#include <algorithm>

#include "evaluation/ep_classifier.h"
#include "evaluation/fold_assignment.h"
#include "patterns/position_restriction.h"

namespace geneclub {
namespace {

// Correct predictions per candidate (rule major, K minor) and true label.
using CorrectCounts = std::vector<std::array<int, 2>>;

// Trains on the training samples outside inner fold `fold` and counts each
// candidate's correct predictions of the samples inside it.
CorrectCounts innerFoldCounts(const ExpressionMatrix& matrix, std::span<const int> labels,
                              std::span<const int> trainingSamples,
                              std::span<const int> innerFoldOf, int fold,
                              const ClassifierCandidates& candidates, CutCandidates cuts) {
  std::vector<int> training, heldOut;
  for (std::size_t t = 0; t < trainingSamples.size(); ++t) {
    (innerFoldOf[t] == fold ? heldOut : training).push_back(trainingSamples[t]);
  }
  const int mostGenes = candidates.topGeneCounts.back();
  // The scorer of this classifier is not used: each candidate has its own.
  const EpClassifier classifier(matrix, labels, training, mostGenes, ScoringRule::kSum, cuts);
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

ModelSelection selectClassifier(const ExpressionMatrix& matrix, std::span<const int> labels,
                                std::span<const int> trainingSamples,
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

  const std::vector<int> innerFoldOf = assignFolds(FoldScheme{folds}, trainingLabels, seed);
  std::vector<CorrectCounts> foldCounts(folds);
  tbb::parallel_for(1, folds + 1, [&](int fold) {
    foldCounts[fold - 1] =
        innerFoldCounts(matrix, labels, trainingSamples, innerFoldOf, fold, candidates, cuts);
  });

  selection.innerFoldCount = folds;
  long bestCriterion = -1;
  const std::size_t kCount = candidates.topGeneCounts.size();
  for (std::size_t r = 0; r < candidates.rules.size(); ++r) {
    for (std::size_t k = 0; k < kCount; ++k) {
      CandidateResult& result = selection.results.emplace_back();
      result.candidate = {candidates.rules[r], candidates.topGeneCounts[k]};
      for (const CorrectCounts& counts : foldCounts) {
        result.correct[0] += counts[r * kCount + k][0];
        result.correct[1] += counts[r * kCount + k][1];
      }
      // The balanced accuracy times 2 * n1 * n0, an exact integer.
      const long criterion = static_cast<long>(result.correct[1]) * classSizes[0] +
                             static_cast<long>(result.correct[0]) * classSizes[1];
      if (criterion > bestCriterion) {
        bestCriterion = criterion;
        selection.choice = result.candidate;
      }
    }
  }
  return selection;
}

}  // namespace geneclub
