// Synthetic report inputs for trying and testing the report page without a
// batch run: every field of a ReportInput filled with plausible, reproducible
// numbers of any shape, up to the largest data sets the page is built for,
// with names that need escaping (quotes, <, &, a tab) in the places a page
// writes them.

#ifndef GENECLUB_TOOLS_REPORT_DEMO_INPUT_H_
#define GENECLUB_TOOLS_REPORT_DEMO_INPUT_H_

#include "report/report_input.h"

namespace geneclub {

struct DemoReportShape {
  int genes = 300;
  int samples = 30;
  int topK = 8;
  int pool = 200;
  int methods = 2;  // club method runs, 0..4
  bool withEvaluation = false;
  bool withPValues = false;
};

// The shape of the largest data sets: 12,600 genes, 102 samples, K = 32,
// all four methods, with evaluation and p-values.
DemoReportShape largestDemoShape();

// The best-ranked gene's name and the class labels of every demo input, each
// holding characters that HTML or JSON must escape.
inline constexpr const char* kDemoTopGeneName = "GENE<1> \"A&B\"";
inline constexpr const char* kDemoClassOneLabel = "tumour </script><b>";
inline constexpr const char* kDemoClassZeroLabel = "normal 'tissue' & more";

// A demo input of the given shape; the same shape always gives the same input.
// REQUIRES: genes >= topK >= 1, samples >= 2, 1 <= pool <= genes, methods <= 4.
ReportInput makeDemoReportInput(const DemoReportShape& shape);

}  // namespace geneclub

#endif  // GENECLUB_TOOLS_REPORT_DEMO_INPUT_H_
