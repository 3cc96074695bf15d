// The automatic choice of an EP classifier's scoring rule and number of mined
// genes K from its training samples alone: an inner stratified
// cross-validation on those samples scores every candidate (rule, K), and
// the candidate with the best inner balanced accuracy is chosen. Nothing
// outside the training samples is read, so a choice made inside an outer
// fold never sees the samples that fold holds out. The inner folds run in
// parallel; the choice is the same for every number of threads.
//
// Exactly: with n1 and n0 training samples of class 1 and 0, the inner
// folds are F = min(kInnerFoldCount, n1, n0) stratified folds of the
// training samples (assignFolds of evaluation/fold_assignment.h over their
// labels, in training order, with the given seed). For each inner fold one
// classifier is trained on the other inner folds over the largest candidate
// K, and for every smaller K its patterns are restricted to the first K
// positions (patterns/position_restriction.h): the same patterns and
// supports as mining K positions, though the sum rule may add them in
// another order than a direct mining would, which can move a score by a
// rounding step. Every candidate then classifies every held-out sample of
// the inner fold. A candidate's criterion is the balanced accuracy of its
// predictions pooled over the inner folds, (c1/n1 + c0/n0) / 2 with c1 and
// c0 the correct predictions per class, compared exactly as c1*n0 + c0*n1.
// Ties go to the earlier rule of the candidates (the simpler one), then to
// the smaller K. When the smaller class has fewer than two training samples
// no inner cross-validation is possible and every candidate counts as tied:
// the first rule and the smallest K are chosen.

#ifndef GENECLUB_EVALUATION_MODEL_SELECTION_H_
#define GENECLUB_EVALUATION_MODEL_SELECTION_H_

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "data/gene_club_analyzer.h"
#include "evaluation/scoring_rule.h"
#include "ranking/split_search.h"

namespace geneclub {

// The most inner folds.
inline constexpr int kInnerFoldCount = 5;

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

// How one candidate did: its correct inner predictions per true label.
struct CandidateResult {
  ClassifierChoice candidate;
  std::array<int, 2> correct = {};
};

struct ModelSelection {
  ClassifierChoice choice;
  // F, or 0 when no inner cross-validation ran (a single candidate, or a
  // class of fewer than two training samples).
  int innerFoldCount = 0;
  // Every candidate's result, by rule then K in candidate order; empty when
  // no inner cross-validation ran.
  std::vector<CandidateResult> results;
};

// Chooses among the candidates for a classifier trained on trainingSamples.
// REQUIRES: as for EpClassifier; at least one rule and one K, each K
// between 1 and min(kMaxTopGeneCount, genes).
ModelSelection selectClassifier(const ExpressionMatrix& matrix, std::span<const int> labels,
                                std::span<const int> trainingSamples,
                                const ClassifierCandidates& candidates, CutCandidates cuts,
                                std::uint64_t seed);

}  // namespace geneclub

#endif  // GENECLUB_EVALUATION_MODEL_SELECTION_H_
