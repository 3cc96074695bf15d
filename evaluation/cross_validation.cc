#include "evaluation/cross_validation.h"

#include <tbb/parallel_for.h>

#include <algorithm>

#include "evaluation/ep_classifier.h"

namespace geneclub {

std::vector<HeldOutPrediction> crossValidate(const ExpressionMatrix& matrix,
                                             std::span<const int> labels,
                                             std::span<const int> foldOf, int topGeneCount) {
  const int samples = static_cast<int>(labels.size());
  const int folds = samples == 0 ? 0 : *std::max_element(foldOf.begin(), foldOf.end());
  std::vector<HeldOutPrediction> predictions(samples);
  // Each fold writes only the predictions of its own samples.
  tbb::parallel_for(1, folds + 1, [&](int fold) {
    std::vector<int> training, heldOut;
    for (int sample = 0; sample < samples; ++sample) {
      (foldOf[sample] == fold ? heldOut : training).push_back(sample);
    }
    if (heldOut.empty()) return;
    const EpClassifier classifier(matrix, labels, training, topGeneCount);
    for (const int sample : heldOut) {
      const EpScores scores = classifier.classify(matrix, sample);
      predictions[sample] = {fold, scores.predictedLabel, scores.scoreClassOne,
                             scores.scoreClassZero};
    }
  });
  return predictions;
}

}  // namespace geneclub
