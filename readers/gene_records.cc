#include "readers/gene_records.h"

#include <limits>
#include <utility>
#include <vector>

#include "readers/table_forms.h"

namespace geneclub {

GeneRecords::GeneRecords(DelimitedRecordReader& records, ExpressionTable& table,
                         std::size_t leadingFields, std::size_t descriptionField,
                         bool dropGenesWithMissing)
    : records_(records),
      table_(table),
      leadingFields_(leadingFields),
      descriptionField_(descriptionField),
      dropGenesWithMissing_(dropGenesWithMissing) {}

DelimitedRecordReader::Status GeneRecords::readHeader() { return records_.nextNames(header_); }

std::optional<InputError> GeneRecords::checkWidth() const {
  if (records_.fieldCount() == header_.size()) return std::nullopt;
  return InputError{InputError::kInvalidData,
                    records_.fileName() + ": line " + std::to_string(records_.line()) + " holds " +
                        std::to_string(records_.fieldCount()) + " fields, but the header holds " +
                        std::to_string(header_.size())};
}

std::optional<InputError> GeneRecords::addGene(int number) {
  const std::size_t fieldCount = records_.fieldCount();
  const std::string_view name = records_.fieldText(0);
  std::vector<double> values(fieldCount - leadingFields_);
  for (std::size_t column = leadingFields_; column < fieldCount; ++column) {
    const std::string_view text = records_.fieldText(column);
    double& value = values[column - leadingFields_];
    const ValueCell cell = readValueCell(text, value);
    if (cell == ValueCell::kNumber) continue;
    if (cell == ValueCell::kMissing && dropGenesWithMissing_) {
      value = std::numeric_limits<double>::quiet_NaN();
      continue;
    }
    return valueCellError(cell,
                          geneCellPlace(records_.fileName(), records_.fieldLine(column),
                                        static_cast<int>(column) + 1, name),
                          text);
  }
  table_.geneNames.emplace_back(name);
  table_.geneColumns.push_back(number);
  if (descriptionField_ > 0)
    table_.geneDescriptions.emplace_back(records_.fieldText(descriptionField_));
  table_.values.push_back(std::move(values));
  return std::nullopt;
}

void GeneRecords::takeSampleNames() {
  NameList::Cursor cursor(header_);
  table_.sampleNames.reserve(header_.size() - leadingFields_);
  for (std::size_t column = 0; column < header_.size(); ++column) {
    const std::string_view name = cursor.next();
    if (column >= leadingFields_) table_.sampleNames.emplace_back(name);
  }
}

}  // namespace geneclub
