// The whole analysis of geneclub-batch for parsed options: read the data,
// assign the classes, run the start-up analysis and the chosen gene-club
// methods, writing every result file into the results folder and a short
// summary to out. Diagnostics go to errors, each one line with the
// program's prefix.

#ifndef GENECLUB_APP_BATCH_RUN_H_
#define GENECLUB_APP_BATCH_RUN_H_

#include <ostream>

#include "app/batch_options.h"

namespace geneclub {

// Returns the exit status (app/exit_status.h): 0 on success.
int runBatch(const BatchOptions& options, std::ostream& out, std::ostream& errors);

}  // namespace geneclub

#endif  // GENECLUB_APP_BATCH_RUN_H_
