// TokenReader reads the tokens of a text held in memory exactly as a C++
// formatted input stream reads them from a file: operator>> into a double, a
// char and a std::string, in the "C" locale. Reading the whole file into
// memory first and parsing it here is several times faster than stream
// extraction, and gives the same values and the same failures.
//
// Unlike a stream, a reader does not go on after a failure: every read
// reports whether it succeeded, and the caller is expected to stop at the
// first one that did not.

#ifndef GENECLUB_DATA_TOKEN_READER_H_
#define GENECLUB_DATA_TOKEN_READER_H_

#include <string_view>

namespace geneclub {

class TokenReader {
 public:
  explicit TokenReader(std::string_view text)
      : next_(text.data()), end_(text.data() + text.size()) {}

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
  // Fails when no character is left.
  bool readWord(std::string_view& word);

 private:
  void skipBlanks();

  const char* next_;
  const char* end_;
};

}  // namespace geneclub

#endif  // GENECLUB_DATA_TOKEN_READER_H_
