// std::from_chars converts the same digits as strtod with the same correct
// rounding but differs at the edges (no leading '+', out-of-range results
// for underflow), so it serves as the fast path only when it consumes the
// whole text and reports success; every other text goes through strtod,
// which is what a stream itself calls.

#include "data/decimal_number.h"

#include <algorithm>
#include <bit>
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

// Eight ASCII bytes at once, least significant byte first: the first
// character of a text loaded with memcpy is the word's lowest byte.
constexpr std::uint64_t kEachByte(std::uint8_t byte) { return 0x0101010101010101ull * byte; }
constexpr int kWordBytes = 8;

// The number of ASCII digits at the start of the word's bytes (8 when all
// are digits). Adding 0x46 sets bit 7 of a byte above '9', subtracting 0x30
// sets it for a byte below '0'; no carry or borrow crosses a digit byte, so
// the lowest byte flagged is exactly the first non-digit.
int leadingDigitCount(std::uint64_t word) {
  const std::uint64_t nonDigits =
      ((word + kEachByte(0x46)) | (word - kEachByte('0'))) & kEachByte(0x80);
  return nonDigits == 0 ? kWordBytes : __builtin_ctzll(nonDigits) / kWordBytes;
}

// The value of the first `count` digit bytes of the word (1 to 8 of them),
// computed without a loop: the digits are shifted to the top with '0's
// below, then pairs, quads and the two halves are combined by multiplying.
std::uint64_t digitsValue(std::uint64_t word, int count) {
  if (count < kWordBytes) {
    word = (word << (kWordBytes * (kWordBytes - count))) | (kEachByte('0') >> (kWordBytes * count));
  }
  word -= kEachByte('0');
  word = word * 10 + (word >> 8);  // each 16-bit pair: its two digits' value
  constexpr std::uint64_t kPairs = 0x000000FF000000FFull;
  constexpr std::uint64_t kHighMultipliers = 100 + (1000000ull << 32);
  constexpr std::uint64_t kLowMultipliers = 1 + (10000ull << 32);
  return (((word & kPairs) * kHighMultipliers) + (((word >> 16) & kPairs) * kLowMultipliers)) >> 32;
}

constexpr std::uint64_t kIntegerPowersOfTen[] = {1,      10,      100,      1000,     10000,
                                                 100000, 1000000, 10000000, 100000000};

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

DecimalField parsePaddedDecimalField(std::string_view text, double& value) {
  // Plain numbers of up to eight integer and eight fraction digits; all
  // others, and big-endian processors, take the general parser.
  constexpr std::size_t kMaxFastField = 2 * kWordBytes + 2;
  if constexpr (std::endian::native != std::endian::little) {
    return parseDecimalField(text, value);
  }
  const char* const data = text.data();
  const std::size_t size = text.size();
  if (size == 0 || size > kMaxFastField) return parseDecimalField(text, value);
  const bool negative = data[0] == '-';
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
      mantissa = mantissa * kIntegerPowersOfTen[fractionDigits] + digitsValue(word, fractionDigits);
    }
  }
  const int digits = integerDigits + fractionDigits;
  if (digits == 0) return DecimalField::kNotANumber;
  if (digits > kMaxExactDigits) return parseDecimalField(text, value);
  // As in parseDecimalField: exact mantissa, exact power of ten, one
  // correctly rounded division.
  const double magnitude = static_cast<double>(mantissa) / kExactPowersOfTen[fractionDigits];
  value = negative ? -magnitude : magnitude;
  return DecimalField::kNumber;
}

}  // namespace geneclub
