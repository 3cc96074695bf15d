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

#ifndef GENECLUB_READERS_TOKEN_READER_H_
#define GENECLUB_READERS_TOKEN_READER_H_

#include <cstdio>
#include <functional>
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

  // Fills `buffer` with up to `capacity` bytes of the text and returns how
  // many it wrote; 0 ends the text.
  using ChunkReader = std::function<std::size_t(char* buffer, std::size_t capacity)>;

  // Reads the text that `readChunk` delivers, asking for a chunk only when
  // the tokens need it.
  explicit TokenReader(ChunkReader readChunk);

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

  // Skips blanks and shows the next character without consuming it. Fails
  // when no character is left.
  bool peekCharacter(char& c);

 private:
  // True when byte `index` of the buffer exists, reading more of the file
  // when needed; false at the end of the text.
  bool has(std::size_t index) {
    return index < buffer_.size() || (readChunk_ != nullptr && readMore(index));
  }
  bool readMore(std::size_t index);

  // Skips blanks and drops the text read so far; true when a token follows.
  bool startToken();

  ChunkReader readChunk_;
  std::string buffer_;
  std::size_t next_ = 0;  // first unread byte of buffer_
};

}  // namespace geneclub

#endif  // GENECLUB_READERS_TOKEN_READER_H_
