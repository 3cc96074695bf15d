// How an emerging-pattern classifier turns the minimal jumping EPs a sample
// holds into one score per class, and the score into a prediction. A
// PatternScorer is trained on the tuples the patterns were mined from and
// then scores any sample's items; it keeps no reference to its inputs.
//
// The rules, for a class c with n_c training samples and the patterns P_c
// mined for it, of which the sample holds H_c (all items in the sample's):
//   sum         sum over p in H_c, in the store order of P_c, of
//               support(p) / n_c as a double: how much of the class the held
//               patterns describe.
//   normalised  the sample's sum divided by the median sum of the class's own
//               training samples, so that a class with many more patterns
//               than the other does not win by their number. The median of
//               an even count is the mean of the middle two. When
//               the median is 0.0 (most training samples of c hold none of
//               its patterns) the mean sum of the class's training samples
//               divides instead; when that is 0.0 too, the class has no
//               patterns and its score is 0.0.
//   top         the sum of the kTopRuleSupports largest supports in H_c
//               divided by the sum of the kTopRuleSupports largest supports
//               in P_c, both summed as integers: 1.0 for a sample that holds
//               the class's strongest patterns, less when it holds fewer or
//               weaker ones. A class with fewer patterns uses all of them; a
//               class without patterns scores 0.0.
// The larger score predicts; equal scores (compared exactly, both 0.0
// included) go to the class with more training samples, then to class 1. A
// sample is covered when it holds at least one pattern of either class; an
// uncovered sample scores 0.0 for both and is decided by the tie rule.

#ifndef GENECLUB_EVALUATION_SCORING_RULE_H_
#define GENECLUB_EVALUATION_SCORING_RULE_H_

#include <array>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "patterns/ep_miner.h"

namespace geneclub {

enum class ScoringRule { kSum, kNormalised, kTop };

// The rules from the simplest: the order in which a choice between rules
// that do equally well prefers them.
inline constexpr std::array<ScoringRule, 3> kScoringRules = {
    ScoringRule::kSum, ScoringRule::kNormalised, ScoringRule::kTop};

// k of the top rule: how many of the largest supports it adds.
inline constexpr int kTopRuleSupports = 10;

// "sum", "normalised" or "top".
std::string_view scoringRuleName(ScoringRule rule);

// The rule of that name, if any.
std::optional<ScoringRule> parseScoringRule(std::string_view name);

// A sample's scores for each class, the class they predict, and whether any
// pattern of either class holds in it.
struct EpScores {
  int predictedLabel = 1;
  double scoreClassOne = 0.0;
  double scoreClassZero = 0.0;
  bool covered = false;
};

class PatternScorer {
 public:
  // A scorer without patterns: every sample scores 0.0 for both classes.
  PatternScorer() = default;

  // A scorer by `rule` of the patterns of `mined`, whose training samples
  // have the given items and labels (0 or 1).
  // REQUIRES: trainingItems and trainingLabels have one entry per training
  // sample; mined's patterns were mined from these samples (over their first
  // mined.positions positions or more) and name no position beyond them.
  PatternScorer(const MiningResult& mined, std::span<const ItemSet> trainingItems,
                std::span<const int> trainingLabels, ScoringRule rule);

  // The scores of a sample whose tuple has these items.
  EpScores score(ItemSet items) const;

 private:
  // What one class's score needs.
  struct ClassModel {
    std::vector<ItemSet> patterns;
    std::vector<int> supports;
    int trainingSamples = 0;
    // The normalised rule's divisor; 0.0 when the class has no patterns.
    double baseScore = 0.0;
    // The top rule's divisor: the sum of the class's largest supports.
    long topSupports = 0;
  };

  static ClassModel classModel(const ClassPatterns& patterns, int trainingSamples);
  static double sumScore(const ClassModel& model, ItemSet items);
  double classScore(const ClassModel& model, ItemSet items) const;

  ScoringRule rule_ = ScoringRule::kSum;
  // Indexed by label.
  std::array<ClassModel, 2> classes_;
};

}  // namespace geneclub

#endif  // GENECLUB_EVALUATION_SCORING_RULE_H_
