// Conversion of decimal number text to double, shared by the readers of the
// data files. Both promise the value a C++ stream or strtod gives for the
// same digits, correctly rounded, and both reject a magnitude beyond the
// range of double while accepting one below it (it reads as zero or a
// subnormal).

#ifndef GENECLUB_DATA_DECIMAL_NUMBER_H_
#define GENECLUB_DATA_DECIMAL_NUMBER_H_

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace geneclub {

// Converts [begin, end) as strtod would convert the whole of it; false
// unless strtod uses every character and the result is finite. The text is
// expected to be what a stream collects for a number, but any text is safe.
bool convertLikeStream(const char* begin, const char* end, double& value);

enum class DecimalField { kNumber, kNotANumber, kOutOfRange };

// Reads a whole table field as a number: optional sign, digits with an
// optional fraction (".5" and "5." are numbers), optional exponent with
// optional sign and at least one digit, and nothing else. Sets `value` only
// for kNumber; kOutOfRange is a well-formed number beyond the range of
// double.
DecimalField parseDecimalField(std::string_view text, double& value);

// Readable bytes that parsePaddedDecimalField may read past its text.
inline constexpr std::size_t kDecimalFieldPadding = 8;

// The same as parseDecimalField, with the same results, but several times
// faster on the short plain numbers that fill expression tables ("-214",
// "8589.42"): it reads their digits eight at a time. Inline, because it is
// the innermost step of reading a table.
// REQUIRES: kDecimalFieldPadding readable bytes follow the text in memory.
inline DecimalField parsePaddedDecimalField(std::string_view text, double& value);

// Implementation details of parsePaddedDecimalField.
namespace decimal_internal {

constexpr int kWordBytes = 8;

// A byte repeated in each of a word's eight bytes. A text loaded with
// memcpy has its first character in the word's lowest byte.
constexpr std::uint64_t eachByte(std::uint8_t byte) { return 0x0101010101010101ull * byte; }

// The number of ASCII digits at the start of the word's bytes (8 when all
// are digits). Adding 0x46 sets bit 7 of a byte above '9', subtracting 0x30
// sets it for a byte below '0'; no carry or borrow crosses a digit byte, so
// the lowest byte flagged is exactly the first non-digit.
inline int leadingDigitCount(std::uint64_t word) {
  const std::uint64_t nonDigits =
      ((word + eachByte(0x46)) | (word - eachByte('0'))) & eachByte(0x80);
  return nonDigits == 0 ? kWordBytes : std::countr_zero(nonDigits) / kWordBytes;
}

// The value of the first `count` digit bytes of the word (1 to 8 of them),
// computed without a loop: the digits are shifted to the top with '0's
// below, then pairs, quads and the two halves are combined by multiplying.
inline std::uint64_t digitsValue(std::uint64_t word, int count) {
  if (count < kWordBytes) {
    word = (word << (kWordBytes * (kWordBytes - count))) | (eachByte('0') >> (kWordBytes * count));
  }
  word -= eachByte('0');
  word = word * 10 + (word >> 8);  // each 16-bit pair: its two digits' value
  constexpr std::uint64_t kPairs = 0x000000FF000000FFull;
  constexpr std::uint64_t kHighMultipliers = 100 + (1000000ull << 32);
  constexpr std::uint64_t kLowMultipliers = 1 + (10000ull << 32);
  return (((word & kPairs) * kHighMultipliers) + (((word >> 16) & kPairs) * kLowMultipliers)) >> 32;
}

inline constexpr std::uint64_t kIntegerPowersOfTen[] = {1,      10,      100,      1000,     10000,
                                                        100000, 1000000, 10000000, 100000000};

// Powers of ten up to 10^8, all exact in a double.
inline constexpr double kSmallPowersOfTen[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8};

// Mantissas of at most 15 digits are below 10^15 < 2^53, exact in a double.
constexpr int kMaxExactDigits = 15;

}  // namespace decimal_internal

inline DecimalField parsePaddedDecimalField(std::string_view text, double& value) {
  using namespace decimal_internal;
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
  std::size_t at = (data[0] == '-' || data[0] == '+') ? 1 : 0;
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
  // As in parseDecimalField: an exact mantissa, an exact power of ten and
  // one correctly rounded division, which integers (most values) skip.
  const double exact = static_cast<double>(mantissa);
  const double magnitude = fractionDigits == 0 ? exact : exact / kSmallPowersOfTen[fractionDigits];
  // The sign goes in as a bit: signs vary at random in a table, and a branch
  // on them would be mispredicted half the time.
  constexpr int kSignBit = 63;
  value = std::bit_cast<double>(std::bit_cast<std::uint64_t>(magnitude) |
                                (static_cast<std::uint64_t>(negative) << kSignBit));
  return DecimalField::kNumber;
}

}  // namespace geneclub

#endif  // GENECLUB_DATA_DECIMAL_NUMBER_H_
