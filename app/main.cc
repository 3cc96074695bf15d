// geneclub: entropy-based gene ranking, minimal emerging patterns and gene
// clubs for the two-class data set in "colonTumor.data", driven by a menu on
// the console.
//
// Exit status: 0 on success; 1 when the data file cannot be opened, a result
// file or standard output could not be written, or memory ran out; 2 when
// the data file holds wrong data.

#include <iostream>

#include "app/gene_club_session.h"
#include "app/method_menu.h"
#include "app/program_failures.h"
#include "app/worker_threads.h"
#include "results/output_file.h"

int main() try {
  const geneclub::WorkerThreads workers;
  geneclub::installFailureHandlers();
  geneclub::OutputFailures failures(std::cerr);
  int status = 0;
  {
    geneclub::GeneClubSession session(std::cout, failures);
    status = session.loadData("colonTumor.data");
    if (status == 0) {
      session.runGlobalAnalysis();
      geneclub::printMethodMenu(std::cout);
      geneclub::runMethodDialogue(session, std::cin, std::cout);
    }
  }
  const bool consoleFailed = geneclub::standardOutputFailed();
  if (status == 0 && (failures.any() || consoleFailed)) status = geneclub::kFailureStatus;
  return status;
} catch (const std::exception& error) {
  return geneclub::reportResourceFailure(error);
}
