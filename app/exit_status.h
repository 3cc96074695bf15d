// The exit statuses of both programs, and the one place where the kind of a
// failed input becomes a status.

#ifndef GENECLUB_APP_EXIT_STATUS_H_
#define GENECLUB_APP_EXIT_STATUS_H_

#include "readers/input_error.h"

namespace geneclub {

// A file could not be read or written, output was lost, or memory ran out.
inline constexpr int kFailureStatus = 1;
// The data are invalid, or do not fit the options.
inline constexpr int kDataStatus = 2;
// The command line cannot be run.
inline constexpr int kCommandLineStatus = 3;

inline int exitStatusOf(const InputError& error) {
  return error.kind == InputError::kUnreadable ? kFailureStatus : kDataStatus;
}

}  // namespace geneclub

#endif  // GENECLUB_APP_EXIT_STATUS_H_
