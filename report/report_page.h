// The report page of a batch run: one self-contained HTML file that shows
// the run's data set, settings, gene ranking, top genes, emerging patterns,
// gene clubs and evaluation in charts with short captions on how to read
// them. Scripts, styles and data are all inline, so the page opens in any
// current browser without a network, and it prints on paper as it shows.

#ifndef GENECLUB_REPORT_REPORT_PAGE_H_
#define GENECLUB_REPORT_REPORT_PAGE_H_

#include <string>

#include "report/report_input.h"

namespace geneclub {

// The whole page as UTF-8 HTML. Text from the input (gene and sample names,
// labels, paths) is escaped wherever it is written, so it cannot change the
// page's markup or scripts. The same input always gives the same bytes.
// Throws std::invalid_argument, naming the fault, when the input breaks a
// REQUIRES of report_input.h.
std::string buildReportHtml(const ReportInput& input);

}  // namespace geneclub

#endif  // GENECLUB_REPORT_REPORT_PAGE_H_
