// The whole analysis of geneclub-batch for parsed options: read the data,
// assign the classes, rank and clean the genes, mine the global patterns and
// run the chosen gene-club methods, writing every result file into the
// results folder and a short summary to out. Diagnostics go to errors, each
// one line with the program's prefix.

#ifndef GENECLUB_APP_BATCH_RUN_H_
#define GENECLUB_APP_BATCH_RUN_H_

#include <ostream>

#include "app/batch_options.h"

namespace geneclub {

// Exit statuses: 0 success; 1 a file could not be read or written; 2 the
// data are invalid or do not fit the options.
inline constexpr int kFileStatus = 1;
inline constexpr int kDataStatus = 2;

int runBatch(const BatchOptions& options, std::ostream& out, std::ostream& errors);

}  // namespace geneclub

#endif  // GENECLUB_APP_BATCH_RUN_H_
