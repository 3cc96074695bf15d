// Conversion of decimal number text to double, shared by the readers of the
// data files. Both promise the value a C++ stream or strtod gives for the
// same digits, correctly rounded, and both reject a magnitude beyond the
// range of double while accepting one below it (it reads as zero or a
// subnormal).

#ifndef GENECLUB_READERS_DECIMAL_NUMBER_H_
#define GENECLUB_READERS_DECIMAL_NUMBER_H_

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

// The word's first `count` bytes (1 to 8).
inline std::uint64_t firstBytes(int count) { return ~0ull >> (kWordBytes * (kWordBytes - count)); }

// Bit 7 set in the bytes of the word that are not ASCII digits: adding 0x46
// sets it for a byte above '9', subtracting 0x30 for a byte below '0'. No
// carry or borrow crosses a digit byte, so the lowest byte flagged is
// exactly the first non-digit (bytes after it may be flagged wrongly).
inline std::uint64_t nonDigitBytes(std::uint64_t word) {
  return ((word + eachByte(0x46)) | (word - eachByte('0'))) & eachByte(0x80);
}

// The number of ASCII digits at the start of the word's bytes (8 when all
// are digits).
inline int leadingDigitCount(std::uint64_t word) {
  const std::uint64_t nonDigits = nonDigitBytes(word);
  return nonDigits == 0 ? kWordBytes : std::countr_zero(nonDigits) / kWordBytes;
}

// The value of eight digit values (0 to 9, one per byte, the first byte
// most significant), computed without a loop: pairs, then quads, then the
// two halves, by multiplying.
inline std::uint64_t eightDigitsValue(std::uint64_t digits) {
  digits = digits * 10 + (digits >> 8);  // each 16-bit pair: its two digits' value
  constexpr std::uint64_t kPairs = 0x000000FF000000FFull;
  constexpr std::uint64_t kHighMultipliers = 100 + (1000000ull << 32);
  constexpr std::uint64_t kLowMultipliers = 1 + (10000ull << 32);
  return (((digits & kPairs) * kHighMultipliers) + (((digits >> 16) & kPairs) * kLowMultipliers)) >>
         32;
}

// Reads the first `count` bytes of the word (1 to 8) as a decimal integer;
// false when one of them is not a digit. Subtracting '0' from digit bytes
// borrows nothing, and shifting the digits to the top of the word puts
// zeros, the leading zeros of the number, below them.
inline bool readDigits(std::uint64_t word, int count, std::uint64_t& value) {
  const int unused = kWordBytes * (kWordBytes - count);  // bits beyond the digits
  const std::uint64_t digits = word - eachByte('0');
  if ((((word + eachByte(0x46)) | digits) & eachByte(0x80) & (~0ull >> unused)) != 0) return false;
  value = eightDigitsValue(digits << unused);
  return true;
}

// The value of the first `count` digit bytes of the word (1 to 8 of them).
// REQUIRES: they are digits.
inline std::uint64_t digitsValue(std::uint64_t word, int count) {
  return eightDigitsValue((word - eachByte('0')) << (kWordBytes * (kWordBytes - count)));
}

// Powers of ten up to 10^8, all exact in a double.
inline constexpr double kSmallPowersOfTen[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8};

// The correctly rounded value of mantissa / 10^fractionDigits with the sign
// given: the mantissa (below 2^53) and the power of ten are exact, so one
// division rounds correctly, which is what strtod returns (Clinger's fast
// path); integers skip it. The sign goes in as a bit: signs vary at random
// in a table, and a branch on them would be mispredicted half the time.
inline double exactQuotient(std::uint64_t mantissa, int fractionDigits, bool negative) {
  const auto exact = static_cast<double>(static_cast<std::int64_t>(mantissa));
  const double magnitude = fractionDigits == 0 ? exact : exact / kSmallPowersOfTen[fractionDigits];
  constexpr int kSignBit = 63;
  return std::bit_cast<double>(std::bit_cast<std::uint64_t>(magnitude) |
                               (static_cast<std::uint64_t>(negative) << kSignBit));
}

// parsePaddedDecimalField for the fields longer than eight characters after
// the sign; the same REQUIRES.
DecimalField parseLongPaddedField(std::string_view text, double& value);

}  // namespace decimal_internal

inline DecimalField parsePaddedDecimalField(std::string_view text, double& value) {
  using namespace decimal_internal;
  if constexpr (std::endian::native != std::endian::little) {
    return parseDecimalField(text, value);
  }
  // Up to eight characters after the sign ("-214", "8589.42") fit one word;
  // the byte at data[0] is readable even in an empty text.
  const char* const data = text.data();
  const bool negative = data[0] == '-';
  const std::size_t signLength = negative | (data[0] == '+');
  // One unsigned comparison rules out both an empty number and a long one.
  if (text.size() - signLength - 1 >= kWordBytes) return parseLongPaddedField(text, value);
  int length = static_cast<int>(text.size() - signLength);
  std::uint64_t word;
  std::memcpy(&word, data + signLength, sizeof word);
  std::uint64_t mantissa;
  int fractionDigits = 0;
  if (!readDigits(word, length, mantissa)) {
    // One point is allowed: close the gap it leaves, then all must be digits.
    const int point = std::countr_zero(nonDigitBytes(word) & firstBytes(length)) / kWordBytes;
    if (data[signLength + point] != '.' || length == 1) return parseLongPaddedField(text, value);
    const std::uint64_t before = (1ull << (kWordBytes * point)) - 1;
    word = (word & before) | ((word >> 8) & ~before);
    --length;
    fractionDigits = length - point;
    if (!readDigits(word, length, mantissa)) return parseLongPaddedField(text, value);
  }
  value = exactQuotient(mantissa, fractionDigits, negative);
  return DecimalField::kNumber;
}

}  // namespace geneclub

#endif  // GENECLUB_READERS_DECIMAL_NUMBER_H_
