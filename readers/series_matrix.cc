// The series matrix that GEO, the public expression archive, serves for
// every data set: tab-separated lines of quoted values, first the series'
// (!Series_...) and the samples' (!Sample_..., one value per sample), then
// the values between !series_matrix_table_begin and
// !series_matrix_table_end: a header of ID_REF and the samples' accessions,
// and one record per probe. The samples are named by their titles (by their
// accessions where titles repeat or are empty); their labels come from a
// sample characteristic or sample line chosen with --label-field, or from a
// labels file.

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "readers/delimited_records.h"
#include "readers/gene_records.h"
#include "readers/label_fields.h"
#include "readers/table_forms.h"
#include "readers/table_text.h"

namespace geneclub {
namespace {

constexpr std::string_view kTableBegin = "!series_matrix_table_begin";
constexpr std::string_view kTableEnd = "!series_matrix_table_end";
constexpr std::string_view kSamplePrefix = "!Sample_";
// The sample lines whose values are "key: value" characteristics, one line
// per key (for one channel or two).
constexpr std::string_view kCharacteristics = "characteristics_ch";

std::string_view trimmedBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

class SeriesMatrixReader {
 public:
  SeriesMatrixReader(InputBuffer& input, int firstLine, const std::string& fileName,
                     const TableOptions& options)
      : records_(input, fileName, firstLine, '\t'),
        options_(options),
        fileName_(fileName),
        fields_(options.labelField),
        genes_(records_, table_, 1, 0, options.dropGenesWithMissing) {}

  std::variant<ExpressionTable, InputError> read();

 private:
  std::optional<InputError> readSampleLine(std::string_view name);
  std::optional<InputError> readHeader(int beginLine);
  void nameSamples();

  DelimitedRecordReader records_;
  const TableOptions& options_;
  const std::string& fileName_;
  LabelFields fields_;
  ExpressionTable table_;
  GeneRecords genes_;
  std::vector<std::string> titles_;
  std::vector<std::string> accessions_;
  std::unordered_set<std::string> sampleLinesSeen_;
  std::size_t sampleValueCount_ = 0;  // values on each sample line
  int firstSampleLine_ = 0;           // 0 until a sample line is read
};

std::optional<InputError> SeriesMatrixReader::readSampleLine(std::string_view name) {
  const std::size_t count = records_.fieldCount() - 1;
  if (firstSampleLine_ == 0) {
    firstSampleLine_ = records_.line();
    sampleValueCount_ = count;
  } else if (count != sampleValueCount_) {
    return InputError{InputError::kInvalidData,
                      fileName_ + ": line " + std::to_string(records_.line()) + " holds " +
                          std::to_string(count) + " sample values, but line " +
                          std::to_string(firstSampleLine_) + " holds " +
                          std::to_string(sampleValueCount_)};
  }
  if (name.starts_with(kCharacteristics)) {
    for (std::size_t sample = 0; sample < count; ++sample) {
      const std::string_view cell = records_.fieldText(sample + 1);
      const std::size_t colon = cell.find(':');
      if (colon == std::string_view::npos) continue;
      fields_.offer(LabelFields::Kind::kKey, trimmedBlanks(cell.substr(0, colon)), sample,
                    trimmedBlanks(cell.substr(colon + 1)));
    }
    return std::nullopt;
  }
  // Only the first line of a name counts, as a field and as the names.
  if (!sampleLinesSeen_.emplace(name).second) return std::nullopt;
  std::vector<std::string>* kept = name == "title"           ? &titles_
                                   : name == "geo_accession" ? &accessions_
                                                             : nullptr;
  for (std::size_t sample = 0; sample < count; ++sample) {
    const std::string_view value = records_.fieldText(sample + 1);
    fields_.offer(LabelFields::Kind::kLine, name, sample, value);
    if (kept != nullptr) kept->emplace_back(value);
  }
  return std::nullopt;
}

// Titles name the samples where they are given and unique, else the
// accessions do (from their line, else from the table's header).
void SeriesMatrixReader::nameSamples() {
  genes_.takeSampleNames();
  std::unordered_map<std::string_view, int> titleCounts;
  for (const std::string& title : titles_) ++titleCounts[title];
  for (std::size_t sample = 0; sample < table_.sampleNames.size(); ++sample) {
    if (sample < titles_.size() && !titles_[sample].empty() && titleCounts[titles_[sample]] == 1) {
      table_.sampleNames[sample] = titles_[sample];
    } else if (sample < accessions_.size() && !accessions_[sample].empty()) {
      table_.sampleNames[sample] = accessions_[sample];
    }
  }
}

// Reads the table's header, checks it against the sample lines, and settles
// the labels before any value is read.
std::optional<InputError> SeriesMatrixReader::readHeader(int beginLine) {
  const DelimitedRecordReader::Status status = genes_.readHeader();
  if (status == DelimitedRecordReader::Status::kError) return records_.error();
  const NameList& header = genes_.header();
  if (status == DelimitedRecordReader::Status::kEnd || header.size() < 2) {
    return InputError{InputError::kInvalidData,
                      fileName_ + ": line " + std::to_string(beginLine) +
                          " begins the table, but no header of ID_REF and sample accessions "
                          "follows it"};
  }
  const std::size_t samples = header.size() - 1;
  if (firstSampleLine_ != 0 && sampleValueCount_ != samples) {
    return InputError{InputError::kInvalidData,
                      fileName_ + ": the table's header on line " +
                          std::to_string(records_.line()) + " names " + std::to_string(samples) +
                          " samples, but line " + std::to_string(firstSampleLine_) + " holds " +
                          std::to_string(sampleValueCount_) + " sample values"};
  }
  NameList::Cursor cursor(header);
  cursor.next();
  for (std::size_t sample = 0; sample < accessions_.size(); ++sample) {
    const std::string_view column = cursor.next();
    if (column != accessions_[sample]) {
      return InputError{
          InputError::kInvalidData,
          fileName_ + ": column " + std::to_string(sample + 2) + " of the table's header is " +
              quoteForMessage(column) + ", but !Sample_geo_accession gives sample " +
              std::to_string(sample + 1) + " as " + quoteForMessage(accessions_[sample])};
    }
  }
  nameSamples();
  if (!options_.labelsFile.empty()) return std::nullopt;
  if (options_.labelField.empty()) return fields_.choiceNeeded(fileName_);
  std::variant<std::vector<std::string>, InputError> labels =
      fields_.labels(table_.sampleNames, fileName_);
  if (InputError* error = std::get_if<InputError>(&labels)) return *error;
  table_.labels = std::move(std::get<std::vector<std::string>>(labels));
  table_.labelSource = "field " + quoteForMessage(options_.labelField);
  table_.labelName = options_.labelField;
  return std::nullopt;
}

std::variant<ExpressionTable, InputError> SeriesMatrixReader::read() {
  DelimitedRecordReader::Status status;
  int beginLine = 0;
  while ((status = records_.next()) == DelimitedRecordReader::Status::kRecord) {
    const std::string_view key = records_.fieldText(0);
    if (key == kTableBegin) {
      beginLine = records_.line();
      break;
    }
    if (key.starts_with(kSamplePrefix)) {
      if (std::optional<InputError> error = readSampleLine(key.substr(kSamplePrefix.size()))) {
        return *error;
      }
    } else if (!key.starts_with("!")) {
      return InputError{InputError::kInvalidData,
                        fileName_ + ": line " + std::to_string(records_.line()) +
                            ": a series matrix holds only lines that start with \"!\" before "
                            "its table, not " +
                            quoteForMessage(key)};
    }
  }
  if (status == DelimitedRecordReader::Status::kError) return records_.error();
  if (beginLine == 0) {
    return InputError{InputError::kInvalidData,
                      fileName_ +
                          ": a series matrix holds its values between a "
                          "!series_matrix_table_begin line and a !series_matrix_table_end line, "
                          "and this file has neither"};
  }
  if (std::optional<InputError> error = readHeader(beginLine)) return *error;
  // Record numbers count the header as record 1.
  int record = 1;
  bool ended = false;
  while ((status = records_.next()) == DelimitedRecordReader::Status::kRecord) {
    if (records_.fieldText(0) == kTableEnd) {
      ended = true;
      break;
    }
    ++record;
    if (std::optional<InputError> error = genes_.checkWidth()) return *error;
    if (std::optional<InputError> error = genes_.addGene(record)) return *error;
  }
  if (status == DelimitedRecordReader::Status::kError) return records_.error();
  if (!ended) {
    return InputError{InputError::kInvalidData,
                      fileName_ + ": the table that begins on line " + std::to_string(beginLine) +
                          " has no !series_matrix_table_end line; the file may be cut short"};
  }
  if (table_.values.empty()) {
    return InputError{InputError::kInvalidData, fileName_ + ": the table holds no probe rows"};
  }
  table_.form = ExpressionTable::Form::kSeriesMatrix;
  return std::move(table_);
}

}  // namespace

std::variant<ExpressionTable, InputError> readSeriesMatrix(InputBuffer& input, int firstLine,
                                                           const std::string& fileName,
                                                           const TableOptions& options) {
  return SeriesMatrixReader(input, firstLine, fileName, options).read();
}

}  // namespace geneclub
