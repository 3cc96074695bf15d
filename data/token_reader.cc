// Number extraction follows the grammar of the standard library's num_get
// for floating-point values: the characters a stream takes into a number are
// collected first, then converted as a whole with strtod, and the read fails
// when strtod cannot use every collected character or overflows to infinity.
//
// std::from_chars converts the same digits with the same correct rounding but
// differs at the edges (no leading '+', out-of-range results for underflow),
// so it serves as the fast path only when it consumes the whole token and
// reports success; every other token goes through strtod, which is what the
// stream itself calls.

#include "data/token_reader.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>
#include <system_error>

namespace geneclub {
namespace {

// The "C" locale's blanks: the characters isspace accepts.
bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Returns the end of the number token that starts at `begin`: the characters
// a stream would collect before converting them.
const char* scanNumberToken(const char* begin, const char* end) {
  const char* p = begin;
  if (p != end && (*p == '+' || *p == '-')) ++p;
  bool foundMantissa = false;
  bool foundPoint = false;
  bool foundExponent = false;
  while (p != end) {
    const char c = *p;
    if (isDigit(c)) {
      foundMantissa = true;
    } else if (c == '.' && !foundPoint && !foundExponent) {
      foundPoint = true;
    } else if ((c == 'e' || c == 'E') && !foundExponent && foundMantissa) {
      foundExponent = true;
      ++p;
      if (p != end && (*p == '+' || *p == '-')) ++p;
      continue;
    } else {
      break;
    }
    ++p;
  }
  return p;
}

// Converts a collected token the way the stream does: strtod on the whole
// token; failure unless every character is used and the result is finite.
bool convertLikeStream(const char* begin, const char* end, double& value) {
  const char* digits = (begin != end && *begin == '+') ? begin + 1 : begin;
  double fast = 0.0;
  const std::from_chars_result result = std::from_chars(digits, end, fast);
  if (result.ec == std::errc() && result.ptr == end) {
    value = fast;
    return true;
  }
  const std::string token(begin, end);
  char* stop = nullptr;
  const double slow = std::strtod(token.c_str(), &stop);
  if (token.empty() || stop != token.c_str() + token.size() || std::isinf(slow)) return false;
  value = slow;
  return true;
}

}  // namespace

void TokenReader::skipBlanks() {
  while (next_ != end_ && isBlank(*next_)) ++next_;
}

bool TokenReader::readDouble(double& value) {
  skipBlanks();
  if (next_ == end_) return false;
  const char* begin = next_;
  next_ = scanNumberToken(begin, end_);
  return convertLikeStream(begin, next_, value);
}

bool TokenReader::readCharacter() {
  skipBlanks();
  if (next_ == end_) return false;
  ++next_;
  return true;
}

bool TokenReader::readWord(std::string_view& word) {
  skipBlanks();
  if (next_ == end_) return false;
  const char* begin = next_;
  while (next_ != end_ && !isBlank(*next_)) ++next_;
  word = std::string_view(begin, static_cast<std::size_t>(next_ - begin));
  return true;
}

}  // namespace geneclub
