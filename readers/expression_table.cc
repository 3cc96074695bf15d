// Opens the input, tells native records from a delimited table by the
// first token, hands the input to the reader of its form, and finishes the
// table the same way for every form: labels from a labels file, genes with
// missing values left out.

#include "readers/expression_table.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "readers/byte_source.h"
#include "readers/decimal_number.h"
#include "readers/delimited_records.h"
#include "readers/input_buffer.h"
#include "readers/table_forms.h"
#include "readers/table_text.h"
#include "readers/token_reader.h"

namespace geneclub {
namespace {

// The UTF-8 encoding of U+FEFF, which some programs write at the start of a
// text file to mark it as UTF-8.
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// The "C" locale's blanks, which the native format skips between tokens.
bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The characters of a first token that may make it a number: the number
// characters and the word characters that could continue one.
bool isTokenCharacter(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' ||
         c == '.' || c == '+' || c == '-';
}

void dropByteOrderMark(InputBuffer& input) {
  while (input.held().size() < kByteOrderMark.size() && input.readMore()) {
  }
  if (input.held().starts_with(kByteOrderMark)) input.consume(kByteOrderMark.size());
}

std::optional<InputError> readFailure(const InputBuffer& input, const std::string& fileName) {
  if (input.source().failure().empty()) return std::nullopt;
  return InputError{InputError::kUnreadable,
                    "cannot read " + fileName + ": " + input.source().failure()};
}

// Drops a leading byte order mark and the lines of blanks that follow it,
// counting them into `line`, and tells whether the first token is a number,
// which marks native records. The first token is the run of token
// characters at the first character that is not blank.
std::variant<bool, InputError> startsWithNumber(InputBuffer& input, int& line,
                                                const std::string& fileName) {
  dropByteOrderMark(input);
  while (true) {
    std::string_view held = input.held();
    std::size_t at = 0, lineStart = 0;
    for (; at < held.size() && isBlank(held[at]); ++at) {
      if (held[at] == '\n') {
        ++line;
        lineStart = at + 1;
      }
    }
    input.consume(lineStart);
    held = input.held();
    at -= lineStart;
    std::size_t end = at;
    while (end < held.size() && isTokenCharacter(held[end])) ++end;
    if (end == held.size() && !input.atEnd()) {
      input.readMore();
      continue;
    }
    if (std::optional<InputError> failure = readFailure(input, fileName)) return *failure;
    double value = 0.0;
    return parseDecimalField(held.substr(at, end - at), value) != DecimalField::kNotANumber;
  }
}

std::optional<InputError> optionsMisfit(bool native, const TableOptions& options,
                                        const std::string& fileName) {
  std::string misfit;
  if (native) {
    const char* given = !options.labelColumn.empty()    ? "a label column"
                        : !options.sampleColumn.empty() ? "a sample column"
                        : options.genesInRows           ? "genes in rows"
                        : !options.labelsFile.empty()   ? "a labels file"
                                                        : nullptr;
    if (given == nullptr) return std::nullopt;
    misfit = std::string(given) +
             " does not fit native records (values, then a class word), which have no header "
             "and carry their own labels";
  } else if (!options.labelColumn.empty() && !options.labelsFile.empty()) {
    misfit = "a label column and a labels file both give the labels; give one of them";
  } else if (options.genesInRows && !options.sampleColumn.empty()) {
    misfit = "a sample column does not fit genes in rows, where the header names the samples";
  } else {
    return std::nullopt;
  }
  return InputError{InputError::kInvalidData, fileName + ": " + misfit};
}

// Reads the labels of a labels file: its tokens between blanks and line ends.
std::variant<std::vector<std::string>, InputError> readLabelsFile(const std::string& path) {
  std::variant<std::unique_ptr<ByteSource>, InputError> opened = openByteSource(path);
  if (InputError* error = std::get_if<InputError>(&opened)) return *error;
  InputBuffer input(std::move(std::get<std::unique_ptr<ByteSource>>(opened)));
  dropByteOrderMark(input);
  TokenReader reader(
      [&input](char* buffer, std::size_t capacity) { return input.take(buffer, capacity); });
  const std::string name = displayName(path);
  std::vector<std::string> labels;
  std::string_view label;
  while (reader.readWord(label)) {
    const std::string place = name + ": label " + std::to_string(labels.size() + 1);
    if (!isValidUtf8(label)) return InputError{InputError::kInvalidData, place + " is not UTF-8"};
    if (isMissingWord(label)) return missingLabelError(place, label);
    labels.emplace_back(label);
  }
  if (std::optional<InputError> failure = readFailure(input, name)) return *failure;
  return labels;
}

// Applies what every form shares: labels from a labels file, and the
// missing-value policy.
std::optional<InputError> finishTable(ExpressionTable& table, const TableOptions& options,
                                      std::vector<std::string> fileLabels,
                                      const std::string& fileName) {
  if (!options.labelsFile.empty()) {
    if (fileLabels.size() != table.sampleNames.size()) {
      return InputError{InputError::kInvalidData,
                        displayName(options.labelsFile) + " holds " +
                            std::to_string(fileLabels.size()) + " labels, but " + fileName +
                            " holds " + std::to_string(table.sampleNames.size()) + " samples"};
    }
    table.labels = std::move(fileLabels);
    table.labelSource = "file " + displayName(options.labelsFile);
    table.labelName = displayName(options.labelsFile);
  }
  if (options.dropGenesWithMissing && table.form != ExpressionTable::Form::kNativeRecords) {
    std::size_t kept = 0;
    for (std::size_t gene = 0; gene < table.values.size(); ++gene) {
      const std::vector<double>& values = table.values[gene];
      if (std::any_of(values.begin(), values.end(), [](double v) { return std::isnan(v); })) {
        continue;
      }
      if (kept != gene) {
        table.values[kept] = std::move(table.values[gene]);
        table.geneNames[kept] = std::move(table.geneNames[gene]);
        table.geneColumns[kept] = table.geneColumns[gene];
      }
      ++kept;
    }
    table.droppedGeneCount = static_cast<int>(table.values.size() - kept);
    table.values.resize(kept);
    table.geneNames.resize(kept);
    table.geneColumns.resize(kept);
    if (kept == 0) {
      return InputError{InputError::kInvalidData,
                        fileName + ": every gene has a missing value, so none is left"};
    }
  }
  return std::nullopt;
}

std::variant<ExpressionTable, InputError> readForm(InputBuffer& input, const std::string& fileName,
                                                   const TableOptions& options) {
  int line = 1;
  std::variant<bool, InputError> native = startsWithNumber(input, line, fileName);
  if (InputError* error = std::get_if<InputError>(&native)) return *error;
  if (std::optional<InputError> misfit = optionsMisfit(std::get<bool>(native), options, fileName)) {
    return *misfit;
  }
  // The labels file first: it is small, and an unreadable one makes reading
  // the table pointless.
  std::vector<std::string> fileLabels;
  if (!options.labelsFile.empty()) {
    std::variant<std::vector<std::string>, InputError> labels = readLabelsFile(options.labelsFile);
    if (InputError* error = std::get_if<InputError>(&labels)) return *error;
    fileLabels = std::move(std::get<std::vector<std::string>>(labels));
  }
  std::variant<ExpressionTable, InputError> result;
  if (std::get<bool>(native)) {
    result = readNativeRecords(input, fileName);
  } else {
    DelimitedRecordReader records(input, fileName, line);
    result = options.genesInRows ? readGenesInRows(records, options)
                                 : readSamplesInRows(records, options);
  }
  if (ExpressionTable* table = std::get_if<ExpressionTable>(&result)) {
    if (std::optional<InputError> error =
            finishTable(*table, options, std::move(fileLabels), fileName)) {
      return *error;
    }
  }
  return result;
}

std::variant<ExpressionTable, InputError> readFromSource(std::unique_ptr<ByteSource> source,
                                                         const std::string& fileName,
                                                         const TableOptions& options) {
  InputBuffer input(std::move(source));
  std::variant<ExpressionTable, InputError> result = readForm(input, fileName, options);
  // Corrupt compressed data may decompress into invalid text before zlib
  // notices; the corruption is the real cause, so look for it in the rest.
  const InputError* error = std::get_if<InputError>(&result);
  if (error != nullptr && error->kind == InputError::kInvalidData &&
      input.source().isCompressed()) {
    // Bytes discarded per read while the rest is checked.
    constexpr std::size_t kDrainChunk = 1 << 16;
    std::vector<char> sink(kDrainChunk);
    while (input.take(sink.data(), sink.size()) > 0) {
    }
    if (std::optional<InputError> failure = readFailure(input, fileName)) return *failure;
  }
  return result;
}

}  // namespace

std::variant<ExpressionTable, InputError> readExpressionTable(const std::string& path,
                                                              const TableOptions& options) {
  std::variant<std::unique_ptr<ByteSource>, InputError> opened = openByteSource(path);
  if (InputError* error = std::get_if<InputError>(&opened)) return *error;
  return readFromSource(std::move(std::get<std::unique_ptr<ByteSource>>(opened)), displayName(path),
                        options);
}

std::variant<ExpressionTable, InputError> readExpressionTableFromText(std::string_view text,
                                                                      const std::string& fileName,
                                                                      const TableOptions& options) {
  return readFromSource(textByteSource(text), fileName, options);
}

}  // namespace geneclub
