// The automatic choice of an EP classifier's scoring rule and number of mined
// genes K from its training samples alone: a repeated inner stratified
// cross-validation on those samples measures every candidate (rule, K), and
// a reference candidate is kept unless another does measurably better on the
// same samples. Nothing outside the training samples is read, so a choice
// made inside an outer fold never sees the samples that fold holds out. The
// inner folds run in parallel; the choice is the same for every number of
// threads.
//
// Exactly: with n1 and n0 training samples of class 1 and 0, the inner
// cross-validation has F = min(kInnerFoldCount, n1, n0) stratified folds of
// the training samples, assigned R = kInnerRepetitions times: repetition r
// assigns them with assignFolds of evaluation/fold_assignment.h over the
// training labels (in training order) and the seed randomStream(seed, r)()
// of evaluation/random_streams.h. For each inner fold one classifier is
// trained on the rest of the training samples over the largest candidate K,
// and for every smaller K its patterns are restricted to the first K
// positions (patterns/position_restriction.h): the same patterns and
// supports as mining K positions, though the sum rule may add them in
// another order than a direct mining would, which can move a score by a
// rounding step. Every candidate then classifies every held-out sample of
// the inner fold, so each training sample t is predicted R times by each
// candidate c, c_t of them right.
//
// The criterion is a paired comparison with the reference candidate ref
// (by default the sum rule with K = 20; see classifierCandidates in
// evaluation/cross_validation.h). For each training sample,
// d_t = (c_t - ref_t) / R; a candidate's advantage is the difference of the
// two inner balanced accuracies, A = (mean of d over class 1 + mean of d
// over class 0) / 2, and its standard error is
// SE = sqrt(s1^2 / n1 + s0^2 / n0) / 2, s_k^2 the sample variance (divisor
// n_k - 1) of d over class k. A candidate is measurably better when
// A > kSelectionStandardErrors * SE; the chosen candidate is the measurably
// better one of the largest A (equal A: the earlier rule of the candidates,
// then the smaller K), or the reference when none is.
//
// Why: comparing by sample removes what the candidates share, which samples
// are hard and the draw of the inner folds (every candidate is measured on
// the same folds), so a difference of a few samples is seen against the
// noise of the differences rather than of each accuracy, whose standard
// error (about 0.05 for 60 samples) is larger than most differences between
// the candidates. The threshold keeps the choice from chasing the luck of the
// folds among a dozen candidates: on small data sets the candidate with the
// best inner accuracy is often no better than the others on new samples (the
// selection bias of Cawley and Talbot, 2010), while a reference that is
// clearly worse, such as a rule that collapses when one class has many more
// patterns, is left. The inner folds are repeated (repeated
// cross-validation, Kohavi 1995) to steady each sample's count. When the
// smaller class has fewer than two training samples no inner
// cross-validation is possible and the reference is chosen.

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

// How many standard errors of the paired differences a candidate's
// advantage over the reference must exceed: two, the usual margin of a
// difference that is not noise (a normal difference exceeds it by chance
// about once in 44). The samples' differences are not independent (the
// inner training sets overlap, and the largest of several advantages is the
// one that counts), so the true error is larger than SE, and a smaller
// margin would move on noise.
inline constexpr double kSelectionStandardErrors = 2.0;

// A classifier's scoring rule and number of mined genes.
struct ClassifierChoice {
  ScoringRule rule = ScoringRule::kSum;
  int topGeneCount = 0;

  friend bool operator==(const ClassifierChoice&, const ClassifierChoice&) = default;
};

// What a choice is made from: rules in order of preference on a tie, the
// numbers of mined genes ascending and without repeats, and the candidate
// kept unless another is measurably better.
struct ClassifierCandidates {
  std::vector<ScoringRule> rules;
  std::vector<int> topGeneCounts;
  ClassifierChoice reference;
};

// How one candidate did in the inner cross-validation.
struct CandidateResult {
  ClassifierChoice candidate;
  // Correct inner predictions per true label, over all repetitions.
  std::array<int, 2> correct = {};
  // Per training sample, in training order: in how many repetitions it was
  // predicted right (c_t above).
  std::vector<int> correctBySample;
  // A and SE above; both 0.0 for the reference itself.
  double advantage = 0.0;
  double advantageError = 0.0;
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
// between 1 and min(kMaxTopGeneCount, genes); the reference's rule and K
// are among the candidates.
ModelSelection selectClassifier(const ExpressionMatrix& matrix, const SortedGenes& sorted,
                                std::span<const int> labels, std::span<const int> trainingSamples,
                                const ClassifierCandidates& candidates, CutCandidates cuts,
                                std::uint64_t seed);

// A and SE above.
struct PairedAdvantage {
  double advantage = 0.0;
  double standardError = 0.0;
};

// A candidate's advantage over the reference from their correct counts per
// training sample, each out of `repetitions`.
// REQUIRES: the three spans have one entry per training sample; at least
// two samples of each label (0 or 1); repetitions >= 1.
PairedAdvantage pairedAdvantage(std::span<const int> candidateCorrect,
                                std::span<const int> referenceCorrect,
                                std::span<const int> trainingLabels, int repetitions);

}  // namespace geneclub

#endif  // GENECLUB_EVALUATION_MODEL_SELECTION_H_
