// Cross-validated classification by emerging patterns: for each fold, an
// EpClassifier is trained on the samples outside the fold (the whole
// start-up analysis and the global mining run over the K best genes, on those
// samples alone) and classifies each sample of the fold. The scoring rule
// and K are fixed, or chosen inside each fold from its training samples
// alone (evaluation/model_selection.h). Folds run in parallel; the results
// are the same for every number of threads.

#ifndef GENECLUB_EVALUATION_CROSS_VALIDATION_H_
#define GENECLUB_EVALUATION_CROSS_VALIDATION_H_

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "data/expression_data.h"
#include "evaluation/model_selection.h"
#include "evaluation/scoring_rule.h"
#include "ranking/split_search.h"

namespace geneclub {

// The numbers of mined genes the automatic choice tries when none are given.
inline constexpr std::array<int, 4> kDefaultTopGeneCandidates = {5, 10, 20, 32};

// How each fold's classifier is built. By default: cuts only between
// different values, and the rule and K chosen in each fold.
struct EvaluationSettings {
  CutCandidates cuts = CutCandidates::kDistinctValues;
  // The scoring rule; none: each fold chooses among all rules.
  std::optional<ScoringRule> rule;
  // The numbers of mined genes to choose from; empty when none are given.
  std::vector<int> topGeneCounts;
  // The run's number of mined genes: the K of a fixed rule without a list.
  int topGeneCount = 20;
  // Seeds the inner folds of the choice.
  std::uint64_t seed = 1;
};

// The candidates each fold chooses from: the fixed rule, or all rules from
// the simplest; the given K list, else the run's K for a fixed rule and
// kDefaultTopGeneCandidates for the automatic choice; each K capped at
// min(geneCount, kMaxTopGeneCount), ascending, without repeats. The
// reference is the first rule with the candidate K nearest the run's K
// (capped alike; the smaller of two as near): by default the sum rule with
// K = 20, the classifier of a fixed sum rule with the run's K, which the
// automatic choice keeps unless another candidate is measurably better. A
// single candidate means no choice.
// REQUIRES: geneCount >= 1; every K given is >= 1.
ClassifierCandidates classifierCandidates(const EvaluationSettings& settings, int geneCount);

// How one held-out sample was classified in its fold.
struct HeldOutPrediction {
  int fold = 0;  // from 1
  int predictedLabel = 1;
  double scoreClassOne = 0.0;
  double scoreClassZero = 0.0;
  // Whether a pattern of either class holds in the sample; an uncovered
  // sample was decided by the tie rule.
  bool covered = false;
};

struct CrossValidation {
  // One per sample, in sample order.
  std::vector<HeldOutPrediction> predictions;
  // Fold f's rule and K at f - 1 (the only candidate when there is no
  // choice).
  std::vector<ClassifierChoice> foldChoices;
  // Per gene (matrix row): the share of the folds whose classifier mined it
  // among its top genes.
  std::vector<double> foldFrequency;
};

// Cross-validates with foldOf[s] the fold that holds out sample s
// (assignFolds in evaluation/fold_assignment.h makes one). The choice inside
// fold f uses the seed randomStream(settings.seed, kFoldAssignmentStream -
// f)() (evaluation/random_streams.h), so each fold has inner folds of its own
// that depend on the run's seed and f alone.
// REQUIRES: matrix holds the data as loaded, not a ranked analysis's rows
// (the cleaning zeroes the values of duplicates); at least one gene; every
// row has labels.size() values; labels are 0 or 1; foldOf has one entry per
// sample, each >= 1; no fold holds every sample; every fold from 1 to the
// largest holds a sample.
CrossValidation crossValidate(const ExpressionMatrix& matrix, std::span<const int> labels,
                              std::span<const int> foldOf, const EvaluationSettings& settings);

}  // namespace geneclub

#endif  // GENECLUB_EVALUATION_CROSS_VALIDATION_H_
