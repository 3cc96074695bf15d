// Reads an input a line at a time, for the files whose unit is a line: a
// labels file, the head of a GCT file, the preamble of an annotation file.
// A line is held in the input's window until the next one is asked for,
// however long it is, so that no line is ever cut short; a NUL byte or a
// failed read ends the reading with an error that names the file.

#ifndef GENECLUB_READERS_LINE_READER_H_
#define GENECLUB_READERS_LINE_READER_H_

#include <string>
#include <string_view>

#include "readers/input_buffer.h"
#include "readers/input_error.h"

namespace geneclub {

class LineReader {
 public:
  // Reads `input` from its current position, the start of line `firstLine`.
  // REQUIRES: input outlives the reader.
  LineReader(InputBuffer& input, std::string fileName, int firstLine = 1);

  enum class Status { kLine, kEnd, kError };

  // Drops the line returned last and reads the next: kLine with `line` set
  // to its text without the line end (or a carriage return before it),
  // valid until the next call; kEnd after the last line; kError with
  // error() set.
  Status next(std::string_view& line);

  // The 1-based number of the line returned last. Until the next call, the
  // input's held bytes start with that line, so that another reader can
  // take over from it.
  int lineNumber() const { return lineNumber_; }

  const InputError& error() const { return error_; }

 private:
  InputBuffer& input_;
  std::string fileName_;
  int lineNumber_;
  std::size_t heldLine_ = 0;  // bytes of the line returned last, its line end included
  InputError error_;
};

// Drops the UTF-8 encoding of U+FEFF at the input's position, which some
// programs write at the start of a text file to mark it as UTF-8.
void dropByteOrderMark(InputBuffer& input);

}  // namespace geneclub

#endif  // GENECLUB_READERS_LINE_READER_H_
