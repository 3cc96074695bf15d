// std::from_chars converts the same digits as strtod with the same correct
// rounding but differs at the edges (no leading '+', out-of-range results
// for underflow), so it serves as the fast path only when it consumes the
// whole text and reports success; every other text goes through strtod,
// which is what a stream itself calls.

#include "readers/decimal_number.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <system_error>

namespace geneclub {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool isSign(char c) { return c == '+' || c == '-'; }

// Powers of ten that a double holds exactly: 10^22 is the largest, since
// 5^22 < 2^53 < 5^23.
constexpr double kExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr int kMaxExactPower = 22;

// Mantissas of at most 15 digits are below 10^15 < 2^53, so a double holds
// them exactly.
constexpr int kMaxExactDigits = 15;

// The largest exponent value worth collecting: anything beyond it is out of
// the fast path's range anyway, and stopping there keeps the sum from
// overflowing.
constexpr int kExponentCap = 100000;

}  // namespace

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

// Checks the grammar and, in the same pass, collects the digits as an
// integer mantissa and a power of ten. When both are exact in a double, one
// multiplication or division gives the correctly rounded value, which is
// what strtod returns (Clinger's fast path); every other number goes to
// strtod itself.
DecimalField parseDecimalField(std::string_view text, double& value) {
  const char* at = text.data();
  const char* const end = at + text.size();
  const bool negative = at != end && *at == '-';
  if (at != end && isSign(*at)) ++at;
  std::uint64_t mantissa = 0;
  const char* const integerStart = at;
  for (; at != end && isDigit(*at); ++at) mantissa = 10 * mantissa + (*at - '0');
  int digits = static_cast<int>(at - integerStart);
  // Most values in expression tables are integers of a few digits.
  if (at == end && digits > 0 && digits <= kMaxExactDigits) {
    const double magnitude = static_cast<double>(mantissa);
    value = negative ? -magnitude : magnitude;
    return DecimalField::kNumber;
  }
  int fractionDigits = 0;
  if (at != end && *at == '.') {
    const char* const fractionStart = ++at;
    for (; at != end && isDigit(*at); ++at) mantissa = 10 * mantissa + (*at - '0');
    fractionDigits = static_cast<int>(at - fractionStart);
    digits += fractionDigits;
  }
  if (digits == 0) return DecimalField::kNotANumber;
  int exponent = 0;
  if (at != end && (*at == 'e' || *at == 'E')) {
    ++at;
    const bool negativeExponent = at != end && *at == '-';
    if (at != end && isSign(*at)) ++at;
    const char* const exponentStart = at;
    for (; at != end && isDigit(*at); ++at) {
      if (exponent < kExponentCap) exponent = 10 * exponent + (*at - '0');
    }
    if (at == exponentStart) return DecimalField::kNotANumber;
    if (negativeExponent) exponent = -exponent;
  }
  if (at != end) return DecimalField::kNotANumber;
  const int power = exponent - fractionDigits;
  if (digits <= kMaxExactDigits && power >= -kMaxExactPower && power <= kMaxExactPower) {
    const double exact = static_cast<double>(mantissa);
    const double magnitude =
        power < 0 ? exact / kExactPowersOfTen[-power] : exact * kExactPowersOfTen[power];
    value = negative ? -magnitude : magnitude;
    return DecimalField::kNumber;
  }
  // The grammar leaves strtod nothing to reject but a magnitude too large.
  return convertLikeStream(text.data(), end, value) ? DecimalField::kNumber
                                                    : DecimalField::kOutOfRange;
}

namespace decimal_internal {

// Plain numbers of up to eight integer and eight fraction digits read two
// words at a time; anything else goes to the general parser.
DecimalField parseLongPaddedField(std::string_view text, double& value) {
  constexpr std::size_t kMaxFastField = 2 * kWordBytes + 2;  // sign, digits, point, digits
  const char* const data = text.data();
  const std::size_t size = text.size();
  if (size == 0 || size > kMaxFastField) return parseDecimalField(text, value);
  std::size_t at = isSign(data[0]) ? 1 : 0;
  std::uint64_t word;
  std::memcpy(&word, data + at, sizeof word);
  const int integerDigits = std::min(leadingDigitCount(word), static_cast<int>(size - at));
  std::uint64_t mantissa = integerDigits > 0 ? digitsValue(word, integerDigits) : 0;
  at += integerDigits;
  int fractionDigits = 0;
  if (at < size) {
    if (data[at] != '.') return parseDecimalField(text, value);
    ++at;
    std::memcpy(&word, data + at, sizeof word);
    fractionDigits = std::min(leadingDigitCount(word), static_cast<int>(size - at));
    if (at + fractionDigits != size) return parseDecimalField(text, value);
    if (fractionDigits > 0) {
      mantissa = mantissa * static_cast<std::uint64_t>(kSmallPowersOfTen[fractionDigits]) +
                 digitsValue(word, fractionDigits);
    }
  }
  const int digits = integerDigits + fractionDigits;
  if (digits == 0) return DecimalField::kNotANumber;
  if (digits > kMaxExactDigits) return parseDecimalField(text, value);
  value = exactQuotient(mantissa, fractionDigits, data[0] == '-');
  return DecimalField::kNumber;
}

}  // namespace decimal_internal
}  // namespace geneclub
