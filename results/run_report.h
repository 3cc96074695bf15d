// The report page's input (report/report_input.h) made from the record of a
// run: header, ranking, samples, the top genes' values, the global patterns
// (strongest first), the clubs of each method and the evaluation. Genes are
// named "NAME (SYMBOL)" where their symbol is known.

#ifndef GENECLUB_RESULTS_RUN_REPORT_H_
#define GENECLUB_RESULTS_RUN_REPORT_H_

#include "report/report_input.h"
#include "results/run_record.h"

namespace geneclub {

// The date of the run is today's, in local time.
ReportInput makeReportInput(const RunRecord& record);

}  // namespace geneclub

#endif  // GENECLUB_RESULTS_RUN_REPORT_H_
