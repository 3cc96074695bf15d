// The GCT expression files of the GenePattern and GSEA tools, tab-separated
// with one gene per record. Version 1.2: "#1.2", then the numbers of genes
// and of samples, then a header "Name", "Description" and the sample names.
// Version 1.3: "#1.3", then the numbers of genes, samples, row-metadata
// fields and column-metadata rows, a header "id", the row-metadata fields
// and the sample names, then the column-metadata rows (a name, a cell per
// row-metadata field, a value per sample), then the genes. A row-metadata
// field named "Description" gives the genes' descriptions; a
// column-metadata row chosen with --label-field may give the labels.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "readers/delimited_records.h"
#include "readers/gene_records.h"
#include "readers/label_fields.h"
#include "readers/table_forms.h"
#include "readers/table_text.h"

namespace geneclub {
namespace {

class GctReader {
 public:
  GctReader(InputBuffer& input, int firstLine, const std::string& fileName,
            const TableOptions& options)
      : records_(input, fileName, firstLine, '\t'),
        options_(options),
        fileName_(fileName),
        fields_(options.labelField) {}

  std::variant<ExpressionTable, InputError> read();

 private:
  std::optional<InputError> readCounts();
  std::optional<InputError> readColumnMetadata(GeneRecords& genes, std::size_t leading);
  InputError lineError(const std::string& what) const {
    return {InputError::kInvalidData,
            fileName_ + ": line " + std::to_string(records_.line()) + ": " + what};
  }

  DelimitedRecordReader records_;
  const TableOptions& options_;
  const std::string& fileName_;
  LabelFields fields_;
  ExpressionTable table_;
  bool version13_ = false;
  // The numbers the second line gives.
  std::size_t geneCount_ = 0, sampleCount_ = 0, rowMetadataCount_ = 0, columnMetadataCount_ = 0;
};

std::optional<InputError> GctReader::readCounts() {
  if (records_.next() != DelimitedRecordReader::Status::kRecord) {
    if (!records_.error().message.empty()) return records_.error();
    return InputError{InputError::kInvalidData,
                      fileName_ + ": the file ends after its version line"};
  }
  const std::size_t expected = version13_ ? 4 : 2;
  std::vector<std::size_t> numbers;
  bool valid = true;
  for (std::size_t field = 0; field < records_.fieldCount(); ++field) {
    const std::string_view text = records_.fieldText(field);
    if (text.empty() && field >= expected) continue;  // tabs some writers leave at the end
    const std::optional<int> number = smallNumber(text);
    valid &= number.has_value();
    if (number) numbers.push_back(static_cast<std::size_t>(*number));
  }
  if (!valid || numbers.size() != expected || numbers[0] == 0 || numbers[1] == 0) {
    return lineError(version13_ ? "a GCT 1.3 file's second line is the numbers of genes, samples, "
                                  "row-metadata fields and column-metadata rows"
                                : "a GCT file's second line is the numbers of genes and samples");
  }
  geneCount_ = numbers[0];
  sampleCount_ = numbers[1];
  if (version13_) {
    rowMetadataCount_ = numbers[2];
    columnMetadataCount_ = numbers[3];
  }
  return std::nullopt;
}

std::optional<InputError> GctReader::readColumnMetadata(GeneRecords& genes, std::size_t leading) {
  for (std::size_t row = 0; row < columnMetadataCount_; ++row) {
    const DelimitedRecordReader::Status status = records_.next();
    if (status == DelimitedRecordReader::Status::kError) return records_.error();
    if (status == DelimitedRecordReader::Status::kEnd) {
      return InputError{InputError::kInvalidData,
                        fileName_ + ": line 2 gives " + std::to_string(columnMetadataCount_) +
                            " column-metadata rows, but the file ends after " +
                            std::to_string(row)};
    }
    if (std::optional<InputError> error = genes.checkWidth()) return error;
    const std::string_view name = records_.fieldText(0);
    for (std::size_t sample = 0; sample < sampleCount_; ++sample) {
      fields_.offer(LabelFields::Kind::kLine, name, sample, records_.fieldText(leading + sample));
    }
  }
  return std::nullopt;
}

std::variant<ExpressionTable, InputError> GctReader::read() {
  DelimitedRecordReader::Status status = records_.next();
  if (status == DelimitedRecordReader::Status::kError) return records_.error();
  version13_ = records_.fieldText(0) == "#1.3";
  if (std::optional<InputError> error = readCounts()) return *error;
  if (!options_.labelField.empty() && !version13_) {
    return InputError{InputError::kInvalidData,
                      fileName_ +
                          ": a GCT 1.2 file has no column metadata for a label field to name; "
                          "give its labels with --labels (a CLS file or one label per line)"};
  }
  const std::size_t leading = version13_ ? 1 + rowMetadataCount_ : 2;
  std::size_t description = version13_ ? 0 : 1;
  GeneRecords genes(records_, table_, leading, 0, options_.dropGenesWithMissing);
  status = genes.readHeader();
  if (status == DelimitedRecordReader::Status::kError) return records_.error();
  if (status == DelimitedRecordReader::Status::kEnd) {
    return InputError{InputError::kInvalidData, fileName_ + ": the file ends before its header"};
  }
  const NameList& header = genes.header();
  if (header.size() != leading + sampleCount_) {
    return lineError(
        "the header holds " + std::to_string(header.size()) + " fields, but line 2 gives " +
        std::to_string(sampleCount_) + " samples" +
        (version13_
             ? " and " + std::to_string(rowMetadataCount_) + " row-metadata fields, which make " +
                   std::to_string(leading + sampleCount_)
             : ", which with Name and Description make " + std::to_string(leading + sampleCount_)));
  }
  for (std::size_t field = 1; version13_ && field < leading && description == 0; ++field) {
    if (equalsIgnoringCase(header[field], "description")) description = field;
  }
  genes.setDescriptionField(description);
  if (std::optional<InputError> error = readColumnMetadata(genes, leading)) return *error;
  genes.takeSampleNames();
  if (options_.labelsFile.empty()) {
    if (options_.labelField.empty()) {
      if (version13_ && columnMetadataCount_ > 0) return fields_.choiceNeeded(fileName_);
      return InputError{InputError::kInvalidData,
                        fileName_ +
                            ": a GCT file's labels come from a labels file given with --labels "
                            "(a CLS file or one label per line), or from a CLS file of the same "
                            "name beside it, and there is none"};
    }
    std::variant<std::vector<std::string>, InputError> labels =
        fields_.labels(table_.sampleNames, fileName_);
    if (InputError* error = std::get_if<InputError>(&labels)) return *error;
    table_.labels = std::move(std::get<std::vector<std::string>>(labels));
    table_.labelSource = "field " + quoteForMessage(options_.labelField);
    table_.labelName = options_.labelField;
  }
  // Record numbers count the header as record 1.
  int record = 1 + static_cast<int>(columnMetadataCount_);
  std::size_t genesRead = 0;
  while ((status = records_.next()) == DelimitedRecordReader::Status::kRecord) {
    ++record;
    ++genesRead;
    if (std::optional<InputError> error = genes.checkWidth()) return *error;
    if (std::optional<InputError> error = genes.addGene(record)) return *error;
  }
  if (status == DelimitedRecordReader::Status::kError) return records_.error();
  if (genesRead != geneCount_) {
    return InputError{InputError::kInvalidData,
                      fileName_ + ": line 2 gives " + std::to_string(geneCount_) +
                          " genes, but the file holds " + std::to_string(genesRead)};
  }
  table_.form = ExpressionTable::Form::kGct;
  return std::move(table_);
}

}  // namespace

std::variant<ExpressionTable, InputError> readGct(InputBuffer& input, int firstLine,
                                                  const std::string& fileName,
                                                  const TableOptions& options) {
  return GctReader(input, firstLine, fileName, options).read();
}

}  // namespace geneclub
