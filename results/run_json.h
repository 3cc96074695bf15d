// run.json: the facts of a run for programs to read: version, input, settings,
// label counts, classes, gene counts (renamed ones among them), the
// annotation's matched and unmatched genes, the evaluation, pattern counts
// and the stages' times.

#ifndef GENECLUB_RESULTS_RUN_JSON_H_
#define GENECLUB_RESULTS_RUN_JSON_H_

#include <ostream>

#include "results/run_record.h"

namespace geneclub {

// Writes the record as one JSON object, indented by two spaces, with a line
// end.
void writeRunJson(const RunRecord& record, std::ostream& out);

}  // namespace geneclub

#endif  // GENECLUB_RESULTS_RUN_JSON_H_
