// Names and numbers as the report page writes them, shared by its text and
// its charts so that both always say the same: the display names of the two
// classes, gene labels, pattern names, and rounded numbers.

#ifndef GENECLUB_REPORT_REPORT_LABELS_H_
#define GENECLUB_REPORT_REPORT_LABELS_H_

#include <array>
#include <string>

#include "report/report_input.h"

namespace geneclub {

// The display names of the classes, indexed by class label: the labels from
// the data file, "class 1" or "class 0" where a label is empty, and each
// followed by its class number when both would read the same. The two names
// always differ, so charts can colour by them.
std::array<std::string, 2> classDisplayNames(const ReportHeader& header);

// "PLACE. NAME", e.g. "3. M26383": unique even when gene names repeat.
// REQUIRES: 1 <= place <= input.ranking.size().
std::string geneLabel(const ReportInput& input, int place);

// The short name of the class's pattern at `index` (from 0) in strength
// order: "D3" for the Disease class's third strongest, "N3" for Normal's.
std::string patternName(int label, int index);

// The value with `digits` significant digits, as printf's %g writes it.
std::string formatSignificant(double value, int digits);

// The fraction (0..1) as a percentage with one decimal, e.g. "87.5%".
std::string formatPercent(double fraction);

}  // namespace geneclub

#endif  // GENECLUB_REPORT_REPORT_LABELS_H_
