// The summary geneclub-batch prints on standard output at the end of a run:
// what was read, the classes, the gene counts (with the renamed genes and the
// annotation's matches where there are any), the top genes, with their
// symbols where known, the pattern counts, the evaluation and where the
// results are.

#ifndef GENECLUB_APP_BATCH_SUMMARY_H_
#define GENECLUB_APP_BATCH_SUMMARY_H_

#include <ostream>
#include <string>
#include <vector>

#include "results/run_record.h"

namespace geneclub {

// Writes the summary of the record; the last line names the results folder
// and its files.
void writeSummary(const RunRecord& record, const std::string& outFolder,
                  const std::vector<std::string>& files, std::ostream& out);

}  // namespace geneclub

#endif  // GENECLUB_APP_BATCH_SUMMARY_H_
