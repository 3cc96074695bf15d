// TokenReader reads the tokens of a data file exactly as a C++ formatted
// input stream reads them: operator>> into a double, a char and a
// std::string, in the "C" locale. Parsing from its own buffer is several
// times faster than stream extraction, and gives the same values and the
// same failures.
//
// A reader over a file reads it in chunks as the tokens need them, so what
// follows the last token read is never read, however large (or endless) it
// is. Its memory stays bounded whatever the file holds: runs of blanks are
// skipped without being kept, and a token longer than 1 MiB fails the read. Unlike a stream, a
// reader does not go on after a failure: every read reports whether it succeeded, and the caller
// stops at the first that did not.

#ifndef GENECLUB_DATA_TOKEN_READER_H_
#define GENECLUB_DATA_TOKEN_READER_H_

#include <cstdio>
#include <string>
#include <string_view>

namespace geneclub {

class TokenReader {
 public:
  // Reads the given text.
  explicit TokenReader(std::string_view text);

  // Reads the open file from its current position; the caller keeps
  // ownership. A read error ends the text.
  explicit TokenReader(std::FILE* file);

  // Skips blanks, then reads the longest prefix that a stream's number
  // grammar accepts (optional sign, digits with an optional fraction,
  // optional exponent with optional sign) and converts it as the stream
  // would. Fails on an empty or incomplete number ("-", ".", "1e", "1e+"),
  // on text such as "nan" or "inf", and on a magnitude beyond the range of
  // double ("1e999"); a magnitude below it ("1e-400") reads as zero or a
  // subnormal, as the stream reads it.
  bool readDouble(double& value);

  // Skips blanks, then consumes any one character. Fails at the end.
  bool readCharacter();

  // Skips blanks, then reads the run of non-blank characters that follows.
  // Fails when no character is left. The word stays valid until the next
  // read.
  bool readWord(std::string_view& word);

 private:
  // True when byte `index` of the buffer exists, reading more of the file
  // when needed; false at the end of the text.
  bool has(std::size_t index) {
    return index < buffer_.size() || (file_ != nullptr && readMore(index));
  }
  bool readMore(std::size_t index);

  // Skips blanks and drops the text read so far; true when a token follows.
  bool startToken();

  std::FILE* file_ = nullptr;
  std::string buffer_;
  std::size_t next_ = 0;  // first unread byte of buffer_
};

}  // namespace geneclub

#endif  // GENECLUB_DATA_TOKEN_READER_H_
