// The automatic choice of an EP classifier's scoring rule and number of mined
// genes K from its training samples alone: a repeated inner stratified
// cross-validation on those samples measures every candidate (rule, K), and
// the simplest candidate that does as well as the best within the accuracy
// of the measurement is chosen. Nothing outside the training samples is
// read, so a choice made inside an outer fold never sees the samples that
// fold holds out. The inner folds run in parallel; the choice is the same
// for every number of threads.
//
// Exactly: with n1 and n0 training samples of class 1 and 0, the inner
// cross-validation has F = min(kInnerFoldCount, n1, n0) stratified folds of
// the training samples, assigned kInnerRepetitions times: repetition r
// assigns them with assignFolds of evaluation/fold_assignment.h over the
// training labels (in training order) and the seed randomStream(seed, r)()
// of evaluation/random_streams.h. For each inner fold one classifier is
// trained on the rest of the training samples over the largest candidate K,
// and for every smaller K its patterns are restricted to the first K
// positions (patterns/position_restriction.h): the same patterns and
// supports as mining K positions, though the sum rule may add them in
// another order than a direct mining would, which can move a score by a
// rounding step. Every candidate then classifies every held-out sample of
// the inner fold.
//
// The criterion is a candidate's inner balanced accuracy BA = (R1 + R0) / 2,
// R1 and R0 the shares of the class-1 and class-0 training samples it
// predicted right, over all inner folds of all repetitions. Candidates whose
// BA lies within one standard error of the best BA count as tied: BA >=
// best - sqrt(R1(1-R1)/n1 + R0(1-R0)/n0) / 2, with the best candidate's R1
// and R0 (the repetitions reuse the same samples, so n1 and n0 stay the
// training counts). Ties go to the earlier rule of the candidates (the
// simpler one), then to the smaller K: the one-standard-error rule of
// Breiman, Friedman, Olshen and Stone (1984). Among a dozen candidates whose
// accuracies differ by a sample or two, the largest is as much the luck of
// the inner folds as the merit of the candidate; a simpler candidate that
// is not measurably worse is the safer choice, and repeating the folds
// (repeated cross-validation, Kohavi 1995) steadies the measurement. When
// the smaller class has fewer than two training samples no inner
// cross-validation is possible and every candidate counts as tied: the
// first rule and the smallest K are chosen.

#ifndef GENECLUB_EVALUATION_MODEL_SELECTION_H_
#define GENECLUB_EVALUATION_MODEL_SELECTION_H_

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "data/expression_data.h"
#include "evaluation/scoring_rule.h"
#include "ranking/sorted_genes.h"
#include "ranking/split_search.h"

namespace geneclub {

// The most inner folds, and how many times they are drawn. Five times five
// folds train 25 classifiers per choice, which keeps leave-one-out of a
// hundred samples and twelve thousand genes within a minute on two cores.
inline constexpr int kInnerFoldCount = 5;
inline constexpr int kInnerRepetitions = 5;

// A classifier's scoring rule and number of mined genes.
struct ClassifierChoice {
  ScoringRule rule = ScoringRule::kSum;
  int topGeneCount = 0;

  friend bool operator==(const ClassifierChoice&, const ClassifierChoice&) = default;
};

// What a choice is made from: rules in order of preference on a tie, the
// numbers of mined genes ascending and without repeats.
struct ClassifierCandidates {
  std::vector<ScoringRule> rules;
  std::vector<int> topGeneCounts;
};

// How one candidate did: its correct inner predictions per true label,
// over all repetitions.
struct CandidateResult {
  ClassifierChoice candidate;
  std::array<int, 2> correct = {};
};

struct ModelSelection {
  ClassifierChoice choice;
  // F, or 0 when no inner cross-validation ran (a single candidate, or a
  // class of fewer than two training samples).
  int innerFoldCount = 0;
  // The inner predictions of each true label, by label: the training
  // samples of the class times kInnerRepetitions; 0 when no inner
  // cross-validation ran.
  std::array<int, 2> innerPredictions = {};
  // Every candidate's result, by rule then K in candidate order; empty when
  // no inner cross-validation ran.
  std::vector<CandidateResult> results;
};

// Chooses among the candidates for a classifier trained on trainingSamples.
// REQUIRES: as for EpClassifier; at least one rule and one K, each K
// between 1 and min(kMaxTopGeneCount, genes).
ModelSelection selectClassifier(const ExpressionMatrix& matrix, const SortedGenes& sorted,
                                std::span<const int> labels, std::span<const int> trainingSamples,
                                const ClassifierCandidates& candidates, CutCandidates cuts,
                                std::uint64_t seed);

}  // namespace geneclub

#endif  // GENECLUB_EVALUATION_MODEL_SELECTION_H_
