// Why an input file could not be turned into data. The readers of the batch
// program's input report every failure as a value of this type, never by
// exiting or throwing, so that the program decides what to print and which
// status to exit with.

#ifndef GENECLUB_READERS_INPUT_ERROR_H_
#define GENECLUB_READERS_INPUT_ERROR_H_

#include <string>

namespace geneclub {

struct InputError {
  // A file could not be opened or read, or its compressed data are corrupt.
  static constexpr int kUnreadable = 1;
  // The data are invalid, or do not fit the options given.
  static constexpr int kInvalidData = 2;

  int status = kInvalidData;  // kUnreadable or kInvalidData
  // One line that a person understands without the source: it names the
  // file and, where they matter, the line, column, gene and offending text.
  // No trailing newline.
  std::string message;
};

}  // namespace geneclub

#endif  // GENECLUB_READERS_INPUT_ERROR_H_
