// What went wrong, as a value: the one way the readers and the analysis
// report a failure of their input. Nothing below the programs exits or
// throws on bad input; a program decides what to print and maps the kind to
// its exit status.

#ifndef GENECLUB_READERS_INPUT_ERROR_H_
#define GENECLUB_READERS_INPUT_ERROR_H_

#include <string>

namespace geneclub {

struct InputError {
  enum Kind {
    // A file could not be opened or read, or its compressed data are corrupt.
    kUnreadable,
    // The data are invalid, or do not fit the options given.
    kInvalidData,
  };

  Kind kind = kInvalidData;
  // One line that a person understands without the source: it names the
  // file and, where they matter, the line, column, gene and offending text.
  // No trailing newline.
  std::string message;
};

}  // namespace geneclub

#endif  // GENECLUB_READERS_INPUT_ERROR_H_
