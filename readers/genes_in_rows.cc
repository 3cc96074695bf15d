// A table with one gene per record: the header holds a corner cell, then
// the sample names; each later record holds a gene's name, then its values.
// One record may hold the labels instead: the first named like a label
// column, or the one the label option names (by its exact name, else by its
// number among the records after the header), unless a labels file gives
// them.

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "readers/gene_records.h"
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
      : records_(records),
        options_(options),
        fileName_(records.fileName()),
        genes_(records, table_, 1, 0, options.dropGenesWithMissing) {}

  std::variant<ExpressionTable, InputError> read();

 private:
  bool isNamedLabelRow(std::string_view name) const;
  std::optional<InputError> takeLabels();
  std::optional<InputError> settleCandidate();

  DelimitedRecordReader& records_;
  const TableOptions& options_;
  const std::string& fileName_;
  bool haveLabelRow_ = false;
  int candidateNumber_ = 0;  // the record after the header that the option names, or 0
  NumberedCandidate candidate_;
  ExpressionTable table_;
  GeneRecords genes_;
};

bool GenesInRowsReader::isNamedLabelRow(std::string_view name) const {
  if (haveLabelRow_ || !options_.labelsFile.empty()) return false;
  return options_.labelColumn.empty() ? isLabelColumnName(name) : name == options_.labelColumn;
}

std::optional<InputError> GenesInRowsReader::takeLabels() {
  for (std::size_t column = 1; column < records_.fieldCount(); ++column) {
    const std::string_view label = records_.fieldText(column);
    if (isMissingWord(label)) {
      return missingLabelError(
          cellPlace(fileName_, records_.fieldLine(column), static_cast<int>(column) + 1), label);
    }
    table_.labels.emplace_back(label);
  }
  haveLabelRow_ = true;
  table_.labelSource = "row " + quoteForMessage(records_.fieldText(0));
  table_.labelName = records_.fieldText(0);
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
  DelimitedRecordReader::Status status = genes_.readHeader();
  if (status == DelimitedRecordReader::Status::kError) return records_.error();
  if (status == DelimitedRecordReader::Status::kEnd) {
    return InputError{InputError::kInvalidData, fileName_ + ": the file holds no table"};
  }
  if (genes_.header().size() < 2) {
    return InputError{InputError::kInvalidData,
                      fileName_ + ": the header names no sample after its corner cell"};
  }
  candidateNumber_ = smallNumber(options_.labelColumn).value_or(0);
  // Record numbers count the header as record 1.
  int record = 1;
  while ((status = records_.next()) == DelimitedRecordReader::Status::kRecord) {
    ++record;
    if (std::optional<InputError> error = genes_.checkWidth()) return *error;
    if (isNamedLabelRow(records_.fieldText(0))) {
      if (std::optional<InputError> error = takeLabels()) return *error;
      continue;
    }
    if (record - 1 == candidateNumber_ && !haveLabelRow_) {
      candidate_.seen = true;
      candidate_.name = records_.fieldText(0);
      for (std::size_t column = 1; column < records_.fieldCount(); ++column) {
        candidate_.labels.emplace_back(records_.fieldText(column));
        candidate_.labelLines.push_back(records_.fieldLine(column));
      }
      candidate_.error = genes_.addGene(record);
      if (!candidate_.error) candidate_.gene = static_cast<int>(table_.values.size()) - 1;
      continue;
    }
    if (std::optional<InputError> error = genes_.addGene(record)) return *error;
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
  genes_.takeSampleNames();
  table_.form = ExpressionTable::Form::kGenesInRows;
  return std::move(table_);
}

}  // namespace

std::variant<ExpressionTable, InputError> readGenesInRows(DelimitedRecordReader& records,
                                                          const TableOptions& options) {
  return GenesInRowsReader(records, options).read();
}

}  // namespace geneclub
