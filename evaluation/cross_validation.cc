#include "evaluation/cross_validation.h"

#include <tbb/parallel_for.h>

#include <algorithm>
#include <cstdlib>

#include "data/analysis_settings.h"
#include "evaluation/ep_classifier.h"
#include "evaluation/fold_assignment.h"
#include "evaluation/random_streams.h"

namespace geneclub {

ClassifierCandidates classifierCandidates(const EvaluationSettings& settings, int geneCount) {
  ClassifierCandidates candidates;
  if (settings.rule) {
    candidates.rules = {*settings.rule};
  } else {
    candidates.rules.assign(kScoringRules.begin(), kScoringRules.end());
  }
  std::vector<int> counts = settings.topGeneCounts;
  if (counts.empty() && settings.rule) counts = {settings.topGeneCount};
  if (counts.empty())
    counts.assign(kDefaultTopGeneCandidates.begin(), kDefaultTopGeneCandidates.end());
  const int most = std::min(geneCount, kMaxTopGeneCount);
  for (int& count : counts) count = std::min(count, most);
  std::sort(counts.begin(), counts.end());
  counts.erase(std::unique(counts.begin(), counts.end()), counts.end());
  candidates.topGeneCounts = std::move(counts);
  // The candidate K nearest the run's K, the smaller of two as near.
  const int runCount = std::min(settings.topGeneCount, most);
  int reference = candidates.topGeneCounts.front();
  for (const int count : candidates.topGeneCounts) {
    if (std::abs(count - runCount) < std::abs(reference - runCount)) reference = count;
  }
  candidates.reference = {candidates.rules.front(), reference};
  return candidates;
}

CrossValidation crossValidate(const ExpressionMatrix& matrix, std::span<const int> labels,
                              std::span<const int> foldOf, const EvaluationSettings& settings) {
  const int samples = static_cast<int>(labels.size());
  const int genes = static_cast<int>(matrix.size());
  const int folds = samples == 0 ? 0 : *std::max_element(foldOf.begin(), foldOf.end());
  const ClassifierCandidates candidates = classifierCandidates(settings, genes);
  const SortedGenes sorted(matrix);
  CrossValidation result;
  result.predictions.resize(samples);
  result.foldChoices.resize(folds);
  std::vector<std::vector<int>> minedGenes(folds);
  // Each fold writes only its own entries.
  tbb::parallel_for(1, folds + 1, [&](int fold) {
    std::vector<int> training, heldOut;
    for (int sample = 0; sample < samples; ++sample) {
      (foldOf[sample] == fold ? heldOut : training).push_back(sample);
    }
    std::mt19937_64 stream = randomStream(settings.seed, kFoldAssignmentStream - fold);
    const ClassifierChoice choice =
        selectClassifier(matrix, sorted, labels, training, candidates, settings.cuts, stream())
            .choice;
    const EpClassifier classifier(matrix, sorted, labels, training, choice.topGeneCount,
                                  choice.rule, settings.cuts);
    for (const int sample : heldOut) {
      const EpScores scores = classifier.classify(matrix, sample);
      result.predictions[sample] = {fold, scores.predictedLabel, scores.scoreClassOne,
                                    scores.scoreClassZero, scores.covered};
    }
    result.foldChoices[fold - 1] = choice;
    minedGenes[fold - 1] = classifier.genes();
  });

  std::vector<int> minedCounts(genes, 0);
  for (const std::vector<int>& mined : minedGenes) {
    for (const int gene : mined) ++minedCounts[gene];
  }
  result.foldFrequency.reserve(genes);
  for (const int count : minedCounts) {
    result.foldFrequency.push_back(static_cast<double>(count) / static_cast<double>(folds));
  }
  return result;
}

}  // namespace geneclub
