// The readers of the forms of an expression table, and the cell rules the
// delimited forms share; used only by readExpressionTable. A form reader
// returns the table as the input holds it: gene names as written, missing
// gene values NaN when the options let them through (they are dropped
// afterwards), and the labels empty when a labels file supplies them.

#ifndef GENECLUB_READERS_TABLE_FORMS_H_
#define GENECLUB_READERS_TABLE_FORMS_H_

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "readers/delimited_records.h"
#include "readers/expression_table.h"
#include "readers/input_buffer.h"
#include "readers/input_error.h"

namespace geneclub {

// A header, then one sample per record. The header's names that are not
// genes (label and sample columns) are appended to otherNames.
std::variant<ExpressionTable, InputError> readSamplesInRows(DelimitedRecordReader& records,
                                                            const TableOptions& options,
                                                            std::vector<std::string>& otherNames);

// A header of sample names, then one gene per record.
std::variant<ExpressionTable, InputError> readGenesInRows(DelimitedRecordReader& records,
                                                          const TableOptions& options);

// Native records from the input's current position.
std::variant<ExpressionTable, InputError> readNativeRecords(InputBuffer& input,
                                                            const std::string& fileName);

// A GEO series matrix from the input's current position, line `firstLine`.
std::variant<ExpressionTable, InputError> readSeriesMatrix(InputBuffer& input, int firstLine,
                                                           const std::string& fileName,
                                                           const TableOptions& options);

// A GCT 1.2 or 1.3 file from its version line, line `firstLine`.
std::variant<ExpressionTable, InputError> readGct(InputBuffer& input, int firstLine,
                                                  const std::string& fileName,
                                                  const TableOptions& options);

// Why the input stopped before its end, if it did: a NUL byte (invalid
// data, at its line and byte) or a failed read.
std::optional<InputError> inputStopped(const InputBuffer& input, const std::string& fileName);

// "FILE: line L, column C", the start of a message on a cell.
std::string cellPlace(const std::string& fileName, int line, int column);

// The same for a gene's cell: "FILE: line L, column C (gene "NAME")".
std::string geneCellPlace(const std::string& fileName, int line, int column, std::string_view gene);

// How a gene value cell reads: a number, a missing value, or neither.
// REQUIRES: text is a DelimitedField's text (padding follows it).
enum class ValueCell { kNumber, kMissing, kNotANumber, kOutOfRange };
ValueCell readValueCell(std::string_view text, double& value);

// The message for a cell that is not kNumber.
InputError valueCellError(ValueCell cell, const std::string& place, std::string_view text);

// The message for a label that is empty or a missing-value word, which no
// table may hold.
InputError missingLabelError(const std::string& place, std::string_view label);

}  // namespace geneclub

#endif  // GENECLUB_READERS_TABLE_FORMS_H_
