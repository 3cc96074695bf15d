// How a program of this project meets failures that no single operation can
// handle: running out of memory, a file-size limit, and standard output that
// cannot be written. Each becomes a one-line message on the error stream and
// a failure exit status, never an abort or a silent success.

#ifndef GENECLUB_APP_PROGRAM_FAILURES_H_
#define GENECLUB_APP_PROGRAM_FAILURES_H_

#include <exception>
#include <string_view>
#include <system_error>

#include "app/exit_status.h"

namespace geneclub {

// The interactive program's report of memory running out.
inline constexpr char kOutOfMemoryMessage[] = "\t***Out of memory\n";

// A closed standard descriptor is filled, so that no file takes its place.
// From now on, an allocation that fails ends the process at once with
// `outOfMemoryMessage` on the error stream and kFailureStatus; and a write
// beyond the file-size limit fails as a write (and is reported by the file's
// writer) instead of killing the process.
// REQUIRES: outOfMemoryMessage lives as long as the process.
void installFailureHandlers(std::string_view outOfMemoryMessage = kOutOfMemoryMessage);

// Reports an exception that escaped the analysis: only a lack of resources
// (memory, threads) gets that far, so it is reported as running out of
// memory. Returns kFailureStatus.
int reportResourceFailure(const std::exception& error);

// Flushes standard output and returns true when anything written to it was
// lost (a closed descriptor, a full device), after writing
// "\t***can't write standard output\n" on the error stream.
bool standardOutputFailed();

// Writes the text whole to standard output (descriptor 1, bypassing the
// streams' buffers) and returns the system's reason when it could not.
std::error_code writeStandardOutput(std::string_view text);

}  // namespace geneclub

#endif  // GENECLUB_APP_PROGRAM_FAILURES_H_
