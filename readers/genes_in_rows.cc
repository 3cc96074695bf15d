// A table with one gene per record: the header holds a corner cell, then
// the sample names; each later record holds a gene's name, then its values.
// One record may hold the labels instead: the first named like a label
// column, or the one the label option names (by its exact name, else by its
// number among the records after the header), unless a labels file gives
// them.

#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "readers/table_forms.h"
#include "readers/table_text.h"

namespace geneclub {
namespace {

// The record that a numeric label option names by number. Whether it is the
// label row is known only at the end, when no record turned out to carry
// the option as its exact name; until then it is read both ways.
struct NumberedCandidate {
  bool seen = false;
  std::string name;
  std::vector<std::string> labels;
  std::vector<int> labelLines;
  int gene = -1;                    // its index among the genes, if it read as one
  std::optional<InputError> error;  // why it did not read as a gene
};

class GenesInRowsReader {
 public:
  GenesInRowsReader(DelimitedRecordReader& records, const TableOptions& options)
      : records_(records), options_(options), fileName_(records.fileName()) {}

  std::variant<ExpressionTable, InputError> read();

 private:
  bool isNamedLabelRow(std::string_view name) const;
  std::optional<InputError> takeLabels(std::span<const DelimitedField> fields);
  std::optional<InputError> readGene(std::span<const DelimitedField> fields, int record);
  std::optional<InputError> settleCandidate();

  DelimitedRecordReader& records_;
  const TableOptions& options_;
  const std::string& fileName_;
  std::size_t fieldCount_ = 0;
  bool haveLabelRow_ = false;
  int candidateNumber_ = 0;  // the record after the header that the option names, or 0
  NumberedCandidate candidate_;
  ExpressionTable table_;
};

bool GenesInRowsReader::isNamedLabelRow(std::string_view name) const {
  if (haveLabelRow_ || !options_.labelsFile.empty()) return false;
  return options_.labelColumn.empty() ? isLabelColumnName(name) : name == options_.labelColumn;
}

std::optional<InputError> GenesInRowsReader::takeLabels(std::span<const DelimitedField> fields) {
  for (std::size_t column = 1; column < fields.size(); ++column) {
    if (isMissingWord(fields[column].text())) {
      return missingLabelError(
          cellPlace(fileName_, fields[column].line(), static_cast<int>(column) + 1),
          fields[column].text());
    }
    table_.labels.emplace_back(fields[column].text());
  }
  haveLabelRow_ = true;
  table_.labelSource = "row " + quoteForMessage(fields[0].text());
  table_.labelName = fields[0].text();
  return std::nullopt;
}

std::optional<InputError> GenesInRowsReader::readGene(std::span<const DelimitedField> fields,
                                                      int record) {
  const std::string_view name = fields[0].text();
  std::vector<double> values(fields.size() - 1);
  for (std::size_t column = 1; column < fields.size(); ++column) {
    const ValueCell cell = readValueCell(fields[column].text(), values[column - 1]);
    if (cell == ValueCell::kNumber) continue;
    if (cell == ValueCell::kMissing && options_.dropGenesWithMissing) {
      values[column - 1] = std::numeric_limits<double>::quiet_NaN();
      continue;
    }
    return valueCellError(
        cell, geneCellPlace(fileName_, fields[column].line(), static_cast<int>(column) + 1, name),
        fields[column].text());
  }
  table_.geneNames.emplace_back(name);
  table_.geneColumns.push_back(record);
  table_.values.push_back(std::move(values));
  return std::nullopt;
}

// Decides the numbered candidate once every record is read: the label row
// unless a record carried the option as its name, else an ordinary gene.
std::optional<InputError> GenesInRowsReader::settleCandidate() {
  if (!candidate_.seen) return std::nullopt;
  if (haveLabelRow_) return candidate_.error;
  for (std::size_t sample = 0; sample < candidate_.labels.size(); ++sample) {
    if (isMissingWord(candidate_.labels[sample])) {
      return missingLabelError(
          cellPlace(fileName_, candidate_.labelLines[sample], static_cast<int>(sample) + 2),
          candidate_.labels[sample]);
    }
  }
  if (candidate_.gene >= 0) {
    table_.geneNames.erase(table_.geneNames.begin() + candidate_.gene);
    table_.geneColumns.erase(table_.geneColumns.begin() + candidate_.gene);
    table_.values.erase(table_.values.begin() + candidate_.gene);
  }
  table_.labels = std::move(candidate_.labels);
  haveLabelRow_ = true;
  table_.labelSource = "row " + quoteForMessage(candidate_.name) + " (row " +
                       std::to_string(candidateNumber_) + " after the header)";
  table_.labelName = candidate_.name;
  return std::nullopt;
}

std::variant<ExpressionTable, InputError> GenesInRowsReader::read() {
  DelimitedRecordReader::Status status = records_.next();
  if (status == DelimitedRecordReader::Status::kError) return records_.error();
  if (status == DelimitedRecordReader::Status::kEnd) {
    return InputError{InputError::kInvalidData, fileName_ + ": the file holds no table"};
  }
  fieldCount_ = records_.fields().size();
  if (fieldCount_ < 2) {
    return InputError{InputError::kInvalidData,
                      fileName_ + ": the header names no sample after its corner cell"};
  }
  for (std::size_t column = 1; column < fieldCount_; ++column) {
    table_.sampleNames.emplace_back(records_.fields()[column].text());
  }
  candidateNumber_ = smallNumber(options_.labelColumn).value_or(0);
  // Record numbers count the header as record 1.
  int record = 1;
  while ((status = records_.next()) == DelimitedRecordReader::Status::kRecord) {
    ++record;
    std::span<const DelimitedField> fields = records_.fields();
    if (fields.size() != fieldCount_) {
      return InputError{InputError::kInvalidData,
                        fileName_ + ": line " + std::to_string(records_.line()) + " holds " +
                            std::to_string(fields.size()) + " fields, but the header holds " +
                            std::to_string(fieldCount_)};
    }
    if (isNamedLabelRow(fields[0].text())) {
      if (std::optional<InputError> error = takeLabels(fields)) return *error;
      continue;
    }
    if (record - 1 == candidateNumber_ && !haveLabelRow_) {
      candidate_.seen = true;
      candidate_.name = fields[0].text();
      for (std::size_t column = 1; column < fields.size(); ++column) {
        candidate_.labels.emplace_back(fields[column].text());
        candidate_.labelLines.push_back(fields[column].line());
      }
      candidate_.error = readGene(fields, record);
      if (!candidate_.error) candidate_.gene = static_cast<int>(table_.values.size()) - 1;
      continue;
    }
    if (std::optional<InputError> error = readGene(fields, record)) return *error;
  }
  if (status == DelimitedRecordReader::Status::kError) return records_.error();
  if (std::optional<InputError> error = settleCandidate()) return *error;
  if (!haveLabelRow_ && options_.labelsFile.empty()) {
    return InputError{
        InputError::kInvalidData,
        options_.labelColumn.empty()
            ? fileName_ +
                  ": no row is named labels, label, class, y, target or diagnosis; name "
                  "the label row with --label-column or give a labels file"
            : fileName_ + ": the label row " + quoteForMessage(options_.labelColumn) +
                  " names no row: no row has that name, and there is no row of that number "
                  "after the header"};
  }
  if (table_.values.empty()) {
    return InputError{InputError::kInvalidData, fileName_ + ": the table holds no gene rows"};
  }
  table_.form = ExpressionTable::Form::kGenesInRows;
  return std::move(table_);
}

}  // namespace

std::variant<ExpressionTable, InputError> readGenesInRows(DelimitedRecordReader& records,
                                                          const TableOptions& options) {
  return GenesInRowsReader(records, options).read();
}

}  // namespace geneclub
