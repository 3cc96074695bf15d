// The words and text checks that the readers of expression tables share:
// which texts stand for a missing value, which column names mark the label
// and sample columns, UTF-8 validity, how a piece of input is quoted in an
// error message, and the message for a NUL byte.

#ifndef GENECLUB_READERS_TABLE_TEXT_H_
#define GENECLUB_READERS_TABLE_TEXT_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "readers/input_error.h"

namespace geneclub {

// True when text equals lowerWord with ASCII letters in any case.
// REQUIRES: lowerWord has no upper-case ASCII letter.
bool equalsIgnoringCase(std::string_view text, std::string_view lowerWord);

// Empty, or NA, NaN, N/A, ?, null in any case.
bool isMissingWord(std::string_view text);

// labels, label, class, y, target or diagnosis, in any case.
bool isLabelColumnName(std::string_view name);

// sample, id or sample_id, in any case.
bool isSampleColumnName(std::string_view name);

// The value of a text of 1 to 9 decimal digits (any such number fits an
// int), as an option that names a column or row by number; nullopt for any
// other text.
std::optional<int> smallNumber(std::string_view text);

// True when the bytes are well-formed UTF-8: no stray continuation byte, no
// truncated or overlong sequence, no surrogate, nothing above U+10FFFF.
bool isValidUtf8(std::string_view text);

// The text in double quotes for a message on one line: control characters
// are written as \n, \t or \xNN, and a long text is cut after its first 40
// bytes (at a character boundary) and marked with "...".
// REQUIRES: text is valid UTF-8.
std::string quoteForMessage(std::string_view text);

// The error for input that holds a NUL byte at the given 1-based line and
// column: invalid data, since no text file holds one.
InputError nulByteError(const std::string& fileName, std::uint64_t line, std::uint64_t column);

}  // namespace geneclub

#endif  // GENECLUB_READERS_TABLE_TEXT_H_
