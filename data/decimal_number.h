// Conversion of decimal number text to double, shared by the readers of the
// data files. Both promise the value a C++ stream or strtod gives for the
// same digits, correctly rounded, and both reject a magnitude beyond the
// range of double while accepting one below it (it reads as zero or a
// subnormal).

#ifndef GENECLUB_DATA_DECIMAL_NUMBER_H_
#define GENECLUB_DATA_DECIMAL_NUMBER_H_

#include <cstddef>
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
// "8589.42"): it reads their digits eight at a time.
// REQUIRES: kDecimalFieldPadding readable bytes follow the text in memory.
DecimalField parsePaddedDecimalField(std::string_view text, double& value);

}  // namespace geneclub

#endif  // GENECLUB_DATA_DECIMAL_NUMBER_H_
