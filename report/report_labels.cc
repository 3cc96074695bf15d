#include "report/report_labels.h"

#include <cstdio>

namespace geneclub {
namespace {

// Room for any double printed with %g or %.1f at the precisions used here.
constexpr int kNumberTextSize = 64;

}  // namespace

std::array<std::string, 2> classDisplayNames(const ReportHeader& header) {
  std::array<std::string, 2> names = {header.classZeroLabel, header.classOneLabel};
  for (int label : {kClassZero, kClassOne}) {
    if (names[label].empty()) names[label] = "class " + std::to_string(label);
  }
  if (names[kClassZero] == names[kClassOne]) {
    for (int label : {kClassZero, kClassOne}) names[label] += " (" + std::to_string(label) + ")";
  }
  return names;
}

std::string geneLabel(const ReportInput& input, int place) {
  return std::to_string(place) + ". " + input.ranking[place - 1].name;
}

std::string patternName(int label, int index) {
  std::string name = label == kClassOne ? "D" : "N";
  name += std::to_string(index + 1);
  return name;
}

std::string formatSignificant(double value, int digits) {
  char text[kNumberTextSize];
  std::snprintf(text, sizeof text, "%.*g", digits, value);
  return text;
}

std::string formatPercent(double fraction) {
  char text[kNumberTextSize];
  std::snprintf(text, sizeof text, "%.1f%%", 100.0 * fraction);
  return text;
}

}  // namespace geneclub
