// The data of one analysis as loaded: a value for every gene and sample, and
// the class of every sample. Readers produce it; the start-up analysis takes
// it over and ranks it.

#ifndef GENECLUB_DATA_EXPRESSION_DATA_H_
#define GENECLUB_DATA_EXPRESSION_DATA_H_

#include <vector>

namespace geneclub {

// One gene's expression values, entry s = sample s of the input.
using ExpressionRow = std::vector<double>;

// One row per gene, in input order.
using ExpressionMatrix = std::vector<ExpressionRow>;

// One entry per sample in input order: 1 for the class called Disease (the
// class word "negative"), 0 for the class called Normal ("positive").
using ClassLabels = std::vector<int>;

struct ExpressionData {
  // REQUIRES: every row has labels.size() values.
  ExpressionMatrix matrix;
  ClassLabels labels;
};

}  // namespace geneclub

#endif  // GENECLUB_DATA_EXPRESSION_DATA_H_
