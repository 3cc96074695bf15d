#include "evaluation/classification_summary.h"

namespace geneclub {

ClassificationSummary summariseClassification(std::span<const int> labels,
                                              std::span<const HeldOutPrediction> predictions) {
  ClassificationSummary summary;
  summary.sampleCount = static_cast<int>(labels.size());
  for (std::size_t sample = 0; sample < labels.size(); ++sample) {
    ++summary.confusion[labels[sample]][predictions[sample].predictedLabel];
  }
  double recallSum = 0.0;
  int classesPresent = 0;
  for (const int label : {1, 0}) {
    const std::array<int, 2>& row = summary.confusion[label];
    summary.correctCount += row[label];
    const int classSize = row[0] + row[1];
    if (classSize == 0) continue;
    summary.recall[label] = static_cast<double>(row[label]) / classSize;
    recallSum += *summary.recall[label];
    ++classesPresent;
  }
  summary.accuracy = static_cast<double>(summary.correctCount) / summary.sampleCount;
  summary.balancedAccuracy = recallSum / classesPresent;
  return summary;
}

}  // namespace geneclub
