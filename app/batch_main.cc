// geneclub-batch: the whole analysis of a two-class expression table in one
// command (see app/batch_options.h for the command line and
// app/batch_run.h for what it writes).
//
// Exit status: 0 success; 1 a file could not be read or written, memory ran
// out, or an unexpected failure; 2 invalid data, or data that do not fit the
// options; 3 an invalid command line. Every message is one line on the error
// stream starting "geneclub-batch: ".

#include <iostream>
#include <new>
#include <sstream>
#include <variant>

#include "app/batch_options.h"
#include "app/batch_run.h"
#include "app/program_failures.h"
#include "app/worker_threads.h"
#include "results/tsv_text.h"

namespace {

constexpr char kOutOfMemory[] = "geneclub-batch: out of memory\n";

// Writes the console text; its loss fails a run that otherwise succeeded.
int writeConsole(const std::string& text, int status) {
  const std::error_code failure = geneclub::writeStandardOutput(text);
  if (!failure) return status;
  std::cerr << "geneclub-batch: cannot write standard output: " << failure.message() << "\n";
  return status == 0 ? geneclub::kFailureStatus : status;
}

}  // namespace

int main(int argc, char** argv) try {
  const geneclub::WorkerThreads workers;
  geneclub::installFailureHandlers(kOutOfMemory);
  auto parsed = geneclub::parseBatchCommandLine(argc, argv);
  if (const auto* exit = std::get_if<geneclub::CommandLineExit>(&parsed)) {
    if (exit->status != 0) {
      std::cerr << exit->text;
      return exit->status;
    }
    return writeConsole(exit->text, exit->status);
  }
  std::ostringstream console;
  const int status =
      geneclub::runBatch(std::get<geneclub::BatchOptions>(parsed), console, std::cerr);
  return writeConsole(console.str(), status);
} catch (const std::bad_alloc&) {
  std::cerr << kOutOfMemory;
  return geneclub::kFailureStatus;
} catch (const std::exception& error) {
  std::cerr << "geneclub-batch: internal error: " << geneclub::tsvField(error.what()) << "\n";
  return geneclub::kFailureStatus;
}
