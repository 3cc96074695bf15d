// Checks that a ReportInput keeps the promises report_input.h asks of it, so
// a faulty batch result stops the page with a clear message instead of
// reading past the end of a list.

#ifndef GENECLUB_REPORT_INPUT_CHECK_H_
#define GENECLUB_REPORT_INPUT_CHECK_H_

#include "report/report_input.h"

namespace geneclub {

// Returns when the input satisfies every REQUIRES of report_input.h; throws
// std::invalid_argument naming the first fault found otherwise.
void checkReportInput(const ReportInput& input);

}  // namespace geneclub

#endif  // GENECLUB_REPORT_INPUT_CHECK_H_
