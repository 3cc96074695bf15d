// The figures of merit of a cross-validated classification: accuracy,
// balanced accuracy, each class's recall and the confusion matrix, from the
// true labels and the predictions.

#ifndef GENECLUB_EVALUATION_CLASSIFICATION_SUMMARY_H_
#define GENECLUB_EVALUATION_CLASSIFICATION_SUMMARY_H_

#include <array>
#include <optional>
#include <span>

#include "evaluation/cross_validation.h"

namespace geneclub {

struct ClassificationSummary {
  int sampleCount = 0;
  int correctCount = 0;
  // correctCount / sampleCount.
  double accuracy = 0.0;
  // Per class, indexed by label: the share of its samples predicted as
  // their class; nullopt for a class without samples.
  std::array<std::optional<double>, 2> recall;
  // The mean of the recalls that exist.
  double balancedAccuracy = 0.0;
  // confusion[trueLabel][predictedLabel]: sample counts.
  std::array<std::array<int, 2>, 2> confusion = {};
};

// REQUIRES: labels and predictions have one entry per sample, at least one;
// labels and predicted labels are 0 or 1.
ClassificationSummary summariseClassification(std::span<const int> labels,
                                              std::span<const HeldOutPrediction> predictions);

}  // namespace geneclub

#endif  // GENECLUB_EVALUATION_CLASSIFICATION_SUMMARY_H_
