// Writes the report page of a synthetic batch run, for viewing the page and
// for the browser test. The input is reproducible: the same arguments always
// write the same bytes.
//
// Usage: make_report_demo small|largest <output.html>
//   small    300 genes, 30 samples, K = 8, two club methods, no evaluation
//            and no p-values
//   largest  12,600 genes, 102 samples, K = 32, four club methods, with
//            evaluation and p-values

#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

#include "report/report_page.h"
#include "tools/report_demo_input.h"

int main(int argc, char** argv) {
  if (argc != 3 || (std::string(argv[1]) != "small" && std::string(argv[1]) != "largest")) {
    std::cerr << "usage: make_report_demo small|largest <output.html>\n";
    return 2;
  }
  const geneclub::DemoReportShape shape =
      std::string(argv[1]) == "small" ? geneclub::DemoReportShape{} : geneclub::largestDemoShape();
  const std::string html = geneclub::buildReportHtml(geneclub::makeDemoReportInput(shape));
  std::ofstream out(argv[2], std::ios::binary);
  out << html;
  out.close();
  if (!out) {
    std::cerr << "make_report_demo: cannot write " << argv[2] << "\n";
    return 1;
  }
  std::cerr << "make_report_demo: wrote " << argv[2] << " (" << html.size() << " bytes)\n";
  return 0;
}
