// A classifier built from the start-up analysis of some samples of a data
// set: the genes are ranked and cleaned on those samples alone, the minimal
// jumping emerging patterns (EPs) of each class are mined over the K best,
// and any sample is then scored by the EPs its discretised values contain.
// Only the training samples' values and labels are ever read while training.
//
// Scoring, exactly: the sample's value of each of the K genes is compared
// with the gene's training split value (strictly above = bit set) to form a
// tuple over the K positions. The score of a class c starts at 0.0 and adds,
// in the class's store order, support_c(EP) / (training samples of c) as a
// double for every minimal EP of c whose items are all items of the tuple.
// The larger score predicts; a tie (compared exactly, both 0.0 included)
// goes to the class with more training samples, then to class 1.

#ifndef GENECLUB_EVALUATION_EP_CLASSIFIER_H_
#define GENECLUB_EVALUATION_EP_CLASSIFIER_H_

#include <array>
#include <span>
#include <vector>

#include "data/gene_club_analyzer.h"
#include "patterns/ep_miner.h"

namespace geneclub {

// A sample's scores for each class and the class they predict.
struct EpScores {
  int predictedLabel = 1;
  double scoreClassOne = 0.0;
  double scoreClassZero = 0.0;
};

class EpClassifier {
 public:
  // Trains on the samples (columns) listed in trainingSamples, mining the
  // best min(topGeneCount, genes) genes of their ranking.
  // REQUIRES: every row of matrix has labels.size() values; labels are 0 or
  // 1; trainingSamples is ascending and not empty; 1 <= topGeneCount <=
  // kMaxTopGeneCount.
  EpClassifier(const ExpressionMatrix& matrix, std::span<const int> labels,
               std::span<const int> trainingSamples, int topGeneCount);

  // A trained classifier restored from what genes(), splitValues(),
  // patterns() and classSizes() of one returned, so that a classifier can be
  // saved and loaded without its training data.
  // REQUIRES: the parts come from one trained classifier.
  EpClassifier(std::vector<int> genes, std::vector<double> splitValues, MiningResult patterns,
               std::array<int, 2> classSizes);

  // The scores of sample (column) `sample` of matrix, which has the genes of
  // the training matrix in the same rows.
  EpScores classify(const ExpressionMatrix& matrix, int sample) const;

  // The scores of a sample given by its values of the mined genes alone:
  // minedValues[j] is its value of gene genes()[j].
  // REQUIRES: minedValues.size() == genes().size().
  EpScores classifyMinedValues(std::span<const double> minedValues) const;

  // The mined genes by their row in the matrix trained on, best first, their
  // training split values, and the EPs mined over them: position j of a
  // pattern is gene genes()[j].
  const std::vector<int>& genes() const { return genes_; }
  const std::vector<double>& splitValues() const { return splitValues_; }
  const MiningResult& patterns() const { return patterns_; }
  // The training samples of each class, indexed by label.
  const std::array<int, 2>& classSizes() const { return classSizes_; }

 private:
  std::vector<int> genes_;
  std::vector<double> splitValues_;
  MiningResult patterns_;
  // Training samples of each class, indexed by label.
  std::array<int, 2> classSizes_ = {};
};

}  // namespace geneclub

#endif  // GENECLUB_EVALUATION_EP_CLASSIFIER_H_
