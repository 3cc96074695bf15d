// Cross-validated classification by emerging patterns: for each fold, an
// EpClassifier is trained on the samples outside the fold (the whole
// start-up analysis and the global mining run over the K best genes, on those
// samples alone) and classifies each sample of the fold. Folds run in
// parallel; the results are the same for every number of threads.

#ifndef GENECLUB_EVALUATION_CROSS_VALIDATION_H_
#define GENECLUB_EVALUATION_CROSS_VALIDATION_H_

#include <span>
#include <vector>

#include "data/expression_data.h"

namespace geneclub {

// How one held-out sample was classified in its fold.
struct HeldOutPrediction {
  int fold = 0;  // from 1
  int predictedLabel = 1;
  double scoreClassOne = 0.0;
  double scoreClassZero = 0.0;
};

// One prediction per sample, in sample order. foldOf[s] is the fold that
// holds out sample s (assignFolds in evaluation/fold_assignment.h makes
// one); folds are trained with min(topGeneCount, genes) genes.
// REQUIRES: matrix holds the data as loaded, not a ranked analysis's rows
// (the cleaning zeroes the values of duplicates); every row has
// labels.size() values; labels are 0 or 1; foldOf has one entry per sample,
// each >= 1; no fold holds every sample; 1 <= topGeneCount <=
// kMaxTopGeneCount.
std::vector<HeldOutPrediction> crossValidate(const ExpressionMatrix& matrix,
                                             std::span<const int> labels,
                                             std::span<const int> foldOf, int topGeneCount);

}  // namespace geneclub

#endif  // GENECLUB_EVALUATION_CROSS_VALIDATION_H_
