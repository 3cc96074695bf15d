// geneclub-batch: the whole analysis of a two-class expression table in one
// command (see app/batch_options.h for the command line and
// app/batch_run.h for what it writes).
//
// Exit status: 0 success; 1 a file could not be read or written (or memory
// ran out); 2 invalid data, or data that do not fit the options; 3 an invalid
// command line.

#include <iostream>
#include <variant>

#include "app/batch_options.h"
#include "app/batch_run.h"
#include "app/program_failures.h"
#include "app/worker_threads.h"

int main(int argc, char** argv) try {
  const geneclub::WorkerThreads workers;
  geneclub::installFailureHandlers();
  auto parsed = geneclub::parseBatchCommandLine(argc, argv);
  if (const auto* exit = std::get_if<geneclub::CommandLineExit>(&parsed)) {
    (exit->status == 0 ? std::cout : std::cerr) << exit->text;
    const bool consoleFailed = geneclub::standardOutputFailed();
    return exit->status == 0 && consoleFailed ? geneclub::kFailureStatus : exit->status;
  }
  int status = geneclub::runBatch(std::get<geneclub::BatchOptions>(parsed), std::cout, std::cerr);
  if (geneclub::standardOutputFailed() && status == 0) status = geneclub::kFailureStatus;
  return status;
} catch (const std::exception& error) {
  return geneclub::reportResourceFailure(error);
}
