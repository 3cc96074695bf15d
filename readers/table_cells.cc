// The cell rules and messages shared by the table forms.

#include <cmath>
#include <string>

#include "readers/decimal_number.h"
#include "readers/table_forms.h"
#include "readers/table_text.h"

namespace geneclub {

std::string cellPlace(const std::string& fileName, int line, int column) {
  return fileName + ": line " + std::to_string(line) + ", column " + std::to_string(column);
}

std::string geneCellPlace(const std::string& fileName, int line, int column,
                          std::string_view gene) {
  return cellPlace(fileName, line, column) + " (gene " + quoteForMessage(gene) + ")";
}

ValueCell readValueCell(std::string_view text, double& value) {
  static_assert(InputBuffer::kPadding >= kDecimalFieldPadding);
  switch (parsePaddedDecimalField(text, value)) {
    case DecimalField::kNumber:
      return ValueCell::kNumber;
    case DecimalField::kOutOfRange:
      return ValueCell::kOutOfRange;
    case DecimalField::kNotANumber:
      break;
  }
  return isMissingWord(text) ? ValueCell::kMissing : ValueCell::kNotANumber;
}

InputError valueCellError(ValueCell cell, const std::string& place, std::string_view text) {
  std::string what;
  switch (cell) {
    case ValueCell::kMissing:
      what = text.empty() ? "the value is missing (empty field)"
                          : "the value is missing (" + quoteForMessage(text) + ")";
      what += "; genes with missing values can be left out instead";
      break;
    case ValueCell::kOutOfRange:
      what = quoteForMessage(text) + " is beyond the range of double";
      break;
    case ValueCell::kNotANumber:
    case ValueCell::kNumber:
      what = quoteForMessage(text) + " is not a number";
      break;
  }
  return {InputError::kInvalidData, place + ": " + what};
}

std::optional<InputError> inputStopped(const InputBuffer& input, const std::string& fileName) {
  if (const std::optional<InputBuffer::Place>& nul = input.nulByte()) {
    return nulByteError(fileName, nul->line, nul->column);
  }
  if (input.source().failure().empty()) return std::nullopt;
  return InputError{InputError::kUnreadable,
                    "cannot read " + fileName + ": " + input.source().failure()};
}

InputError missingLabelError(const std::string& place, std::string_view label) {
  return {InputError::kInvalidData, place + ": the label is missing" +
                                        (label.empty() ? std::string(" (empty field)")
                                                       : " (" + quoteForMessage(label) + ")")};
}

}  // namespace geneclub
