#include "evaluation/scoring_rule.h"

#include <algorithm>
#include <functional>

namespace geneclub {
namespace {

// The median of values (reordered), the mean of the middle two for an even
// count.
// REQUIRES: values is not empty.
double median(std::vector<double>& values) {
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  if (values.size() % 2 == 1) return values[middle];
  return (values[middle - 1] + values[middle]) * 0.5;
}

// The sum of the kTopRuleSupports largest of supports (reordered).
long largestSupportsSum(std::vector<int>& supports) {
  const auto counted =
      supports.begin() + std::min<std::ptrdiff_t>(kTopRuleSupports, std::ssize(supports));
  std::partial_sort(supports.begin(), counted, supports.end(), std::greater<>());
  long sum = 0;
  for (auto support = supports.begin(); support != counted; ++support) sum += *support;
  return sum;
}

}  // namespace

std::string_view scoringRuleName(ScoringRule rule) {
  switch (rule) {
    case ScoringRule::kSum:
      return "sum";
    case ScoringRule::kNormalised:
      return "normalised";
    case ScoringRule::kTop:
      return "top";
  }
  return "sum";
}

std::optional<ScoringRule> parseScoringRule(std::string_view name) {
  for (const ScoringRule rule : kScoringRules) {
    if (name == scoringRuleName(rule)) return rule;
  }
  return std::nullopt;
}

PatternScorer::ClassModel PatternScorer::classModel(const ClassPatterns& patterns,
                                                    int trainingSamples) {
  ClassModel model;
  model.patterns = patterns.patterns;
  model.supports = patterns.supports;
  model.trainingSamples = trainingSamples;
  std::vector<int> supports = patterns.supports;
  model.topSupports = largestSupportsSum(supports);
  return model;
}

PatternScorer::PatternScorer(const MiningResult& mined, std::span<const ItemSet> trainingItems,
                             std::span<const int> trainingLabels, ScoringRule rule)
    : rule_(rule) {
  std::array<int, 2> sizes = {};
  for (const int label : trainingLabels) ++sizes[label];
  classes_[1] = classModel(mined.disease, sizes[1]);
  classes_[0] = classModel(mined.normal, sizes[0]);
  if (rule_ != ScoringRule::kNormalised) return;
  for (const int label : {1, 0}) {
    ClassModel& model = classes_[label];
    if (model.patterns.empty()) continue;
    std::vector<double> sums;
    double total = 0.0;
    for (std::size_t t = 0; t < trainingItems.size(); ++t) {
      if (trainingLabels[t] != label) continue;
      sums.push_back(sumScore(model, trainingItems[t]));
      total += sums.back();
    }
    model.baseScore = median(sums);
    if (model.baseScore == 0.0) model.baseScore = total / static_cast<double>(sums.size());
  }
}

double PatternScorer::sumScore(const ClassModel& model, ItemSet items) {
  double score = 0.0;
  for (std::size_t p = 0; p < model.patterns.size(); ++p) {
    if (isSubset(model.patterns[p], items)) {
      score += static_cast<double>(model.supports[p]) / static_cast<double>(model.trainingSamples);
    }
  }
  return score;
}

double PatternScorer::classScore(const ClassModel& model, ItemSet items) const {
  switch (rule_) {
    case ScoringRule::kSum:
      return sumScore(model, items);
    case ScoringRule::kNormalised:
      return model.baseScore == 0.0 ? 0.0 : sumScore(model, items) / model.baseScore;
    case ScoringRule::kTop: {
      if (model.topSupports == 0) return 0.0;
      std::vector<int> held;
      for (std::size_t p = 0; p < model.patterns.size(); ++p) {
        if (isSubset(model.patterns[p], items)) held.push_back(model.supports[p]);
      }
      return static_cast<double>(largestSupportsSum(held)) / static_cast<double>(model.topSupports);
    }
  }
  return 0.0;
}

EpScores PatternScorer::score(ItemSet items) const {
  EpScores scores;
  scores.scoreClassOne = classScore(classes_[1], items);
  scores.scoreClassZero = classScore(classes_[0], items);
  for (const ClassModel& model : classes_) {
    scores.covered = scores.covered ||
                     std::any_of(model.patterns.begin(), model.patterns.end(),
                                 [items](ItemSet pattern) { return isSubset(pattern, items); });
  }
  if (scores.scoreClassOne != scores.scoreClassZero) {
    scores.predictedLabel = scores.scoreClassOne > scores.scoreClassZero ? 1 : 0;
  } else {
    scores.predictedLabel = classes_[0].trainingSamples > classes_[1].trainingSamples ? 0 : 1;
  }
  return scores;
}

}  // namespace geneclub
