// A classifier built from the start-up analysis of some samples of a data
// set: the genes are ranked and cleaned on those samples alone, the minimal
// jumping emerging patterns (EPs) of each class are mined over the K best,
// and any sample is then scored by the EPs its discretised values contain,
// by one of the scoring rules of evaluation/scoring_rule.h. Only the
// training samples' values and labels are ever read while training.
//
// A sample's tuple: its value of each of the K genes is compared with the
// gene's training split value (strictly above = bit set).

#ifndef GENECLUB_EVALUATION_EP_CLASSIFIER_H_
#define GENECLUB_EVALUATION_EP_CLASSIFIER_H_

#include <span>
#include <vector>

#include "data/expression_data.h"
#include "evaluation/scoring_rule.h"
#include "patterns/ep_miner.h"
#include "ranking/sorted_genes.h"
#include "ranking/split_search.h"

namespace geneclub {

struct StartUpResult;

class EpClassifier {
 public:
  // Trains on the samples (columns) listed in trainingSamples, ranking the
  // genes with the given candidate cuts and mining the best
  // min(topGeneCount, genes) genes of their ranking; sorted holds the genes
  // of matrix in order, so that the ranking needs no sort.
  // REQUIRES: every row of matrix has labels.size() values; sorted is
  // SortedGenes(matrix); labels are 0 or 1; trainingSamples is ascending and
  // not empty; 1 <= topGeneCount <= kMaxTopGeneCount.
  EpClassifier(const ExpressionMatrix& matrix, const SortedGenes& sorted,
               std::span<const int> labels, std::span<const int> trainingSamples, int topGeneCount,
               ScoringRule rule, CutCandidates cuts);

  // Trains on every sample of data, which it takes over, ranking the genes
  // with their own sort (no presorted genes needed): the same classifier as
  // the constructor above given all of data's samples.
  // REQUIRES: every row of data.matrix has data.labels.size() values, at
  // least one; labels are 0 or 1; 1 <= topGeneCount <= kMaxTopGeneCount.
  EpClassifier(ExpressionData data, int topGeneCount, ScoringRule rule, CutCandidates cuts);

  // A trained classifier restored from what genes(), splitValues(),
  // patterns(), trainingTuples(), trainingLabels() and rule() of one
  // returned, so that a classifier can be saved and loaded without its
  // training data; the scorer is trained again from the tuples.
  // REQUIRES: the parts come from one trained classifier.
  EpClassifier(std::vector<int> genes, std::vector<double> splitValues, MiningResult patterns,
               std::vector<SampleTuple> trainingTuples, std::vector<int> trainingLabels,
               ScoringRule rule);

  // The tuple of sample (column) `sample` of matrix, which has the genes of
  // the training matrix in the same rows.
  SampleTuple tupleOf(const ExpressionMatrix& matrix, int sample) const;

  // The scores of sample `sample` of matrix by the classifier's rule.
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

  // The training samples' tuples, as mined, and labels, in the order of
  // trainingSamples.
  const std::vector<SampleTuple>& trainingTuples() const { return trainingTuples_; }
  const std::vector<int>& trainingLabels() const { return trainingLabels_; }
  ScoringRule rule() const { return rule_; }

 private:
  // Keeps the mined genes, cuts, tuples and patterns of a training start-up.
  void takeStartUp(const StartUpResult& startUp);

  std::vector<int> genes_;
  std::vector<double> splitValues_;
  MiningResult patterns_;
  std::vector<SampleTuple> trainingTuples_;
  std::vector<int> trainingLabels_;
  ScoringRule rule_;
  PatternScorer scorer_;
};

}  // namespace geneclub

#endif  // GENECLUB_EVALUATION_EP_CLASSIFIER_H_
