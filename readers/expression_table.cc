// Opens the input, tells its form by its start, hands the input to the
// reader of its form, and finishes the table the same way for every form:
// labels from a labels file, symbols from an annotation, every gene a name
// of its own, genes with missing values left out.

#include "readers/expression_table.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "readers/annotation.h"
#include "readers/byte_source.h"
#include "readers/decimal_number.h"
#include "readers/delimited_records.h"
#include "readers/gene_names.h"
#include "readers/input_buffer.h"
#include "readers/labels_file.h"
#include "readers/line_reader.h"
#include "readers/table_forms.h"
#include "readers/table_text.h"

namespace geneclub {
namespace {

using Form = ExpressionTable::Form;

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

// What the first line of a GCT file or a series matrix starts with.
bool startsGct(std::string_view text) {
  return (text.starts_with("#1.2") || text.starts_with("#1.3")) &&
         (text.size() == 4 || isBlank(text[4]));
}

bool startsSeriesMatrix(std::string_view text) {
  return text.starts_with("!Series_") || text.starts_with("!Sample_") ||
         text.starts_with("!series_matrix_table_begin");
}

// Drops a leading byte order mark and the lines of blanks that follow it,
// counting them into `line`, and tells the form by what follows: a GCT
// version line, a series matrix line, or a first token that is a number
// (native records); any other start is a delimited table. The first token
// is the run of token characters at the first character that is not blank.
std::optional<InputError> detectForm(InputBuffer& input, int& line, Form& form,
                                     const std::string& fileName) {
  // Enough bytes to tell the longest starting word.
  constexpr std::size_t kStartBytes = 32;
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
    if ((end == held.size() || held.size() < at + kStartBytes) && !input.atEnd()) {
      if (input.readMore()) continue;
      // Even a read that found nothing may have moved the held bytes.
      held = input.held();
    }
    // A NUL byte is left for the form's reader, which tells its place best.
    if (!input.nulByte()) {
      if (std::optional<InputError> stopped = inputStopped(input, fileName)) return stopped;
    }
    double value = 0.0;
    form = startsGct(held.substr(at))            ? Form::kGct
           : startsSeriesMatrix(held.substr(at)) ? Form::kSeriesMatrix
           : parseDecimalField(held.substr(at, end - at), value) != DecimalField::kNotANumber
               ? Form::kNativeRecords
               : Form::kTable;
    return std::nullopt;
  }
}

std::string formDescription(Form form) {
  switch (form) {
    case Form::kNativeRecords:
      return "native records (values, then a class word), which have no header and carry "
             "their own labels";
    case Form::kSeriesMatrix:
      return "a GEO series matrix, whose labels come from a label field or a labels file";
    case Form::kGct:
      return "a GCT file, whose labels come from a labels file or a label field";
    case Form::kTable:
    case Form::kGenesInRows:
      break;
  }
  return "a table";
}

std::optional<InputError> optionsMisfit(Form form, const TableOptions& options,
                                        const std::string& fileName) {
  std::string misfit;
  const bool oneGenePerRecord = form == Form::kSeriesMatrix || form == Form::kGct;
  if (form == Form::kNativeRecords || oneGenePerRecord) {
    const char* given = !options.labelColumn.empty()                       ? "a label column"
                        : !options.sampleColumn.empty()                    ? "a sample column"
                        : options.genesInRows && !oneGenePerRecord         ? "genes in rows"
                        : !options.labelsFile.empty() && !oneGenePerRecord ? "a labels file"
                        : !options.labelField.empty() && !oneGenePerRecord ? "a label field"
                                                                           : nullptr;
    if (given != nullptr) misfit = std::string(given) + " does not fit " + formDescription(form);
  } else if (!options.labelField.empty()) {
    misfit =
        "a label field names a sample field of a GEO series matrix or a column-metadata row "
        "of a GCT 1.3 file; name a table's label column instead";
  } else if (!options.labelColumn.empty() && !options.labelsFile.empty()) {
    misfit = "a label column and a labels file both give the labels; give one of them";
  } else if (options.genesInRows && !options.sampleColumn.empty()) {
    misfit = "a sample column does not fit genes in rows, where the header names the samples";
  }
  if (misfit.empty() && !options.labelField.empty() && !options.labelsFile.empty()) {
    misfit = "a label field and a labels file both give the labels; give one of them";
  }
  if (misfit.empty()) return std::nullopt;
  return InputError{InputError::kInvalidData, fileName + ": " + misfit};
}

// The CLS file beside a GCT file: its path with ".gct" (and ".gz") replaced
// by ".cls", or with ".cls" appended to a path without that extension.
std::string siblingClsPath(std::string path) {
  const auto endsWithIgnoringCase = [](const std::string& text, std::string_view lowerSuffix) {
    if (text.size() < lowerSuffix.size()) return false;
    for (std::size_t i = 0; i < lowerSuffix.size(); ++i) {
      char c = text[text.size() - lowerSuffix.size() + i];
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
      if (c != lowerSuffix[i]) return false;
    }
    return true;
  };
  if (endsWithIgnoringCase(path, ".gz")) path.resize(path.size() - 3);
  if (endsWithIgnoringCase(path, ".gct")) path.resize(path.size() - 4);
  return path + ".cls";
}

// The labels of a labels file, checked against the samples.
std::optional<InputError> takeFileLabels(ExpressionTable& table, FileLabels fileLabels,
                                         const std::string& labelsPath,
                                         const std::string& fileName) {
  if (fileLabels.labels.size() != table.sampleNames.size()) {
    std::string hint;
    if (fileLabels.firstLineWithBlank > 0) {
      hint = "; each line is one label, and line " + std::to_string(fileLabels.firstLineWithBlank) +
             " holds blanks";
    }
    return InputError{InputError::kInvalidData,
                      displayName(labelsPath) + " holds " +
                          std::to_string(fileLabels.labels.size()) + " labels, but " + fileName +
                          " holds " + std::to_string(table.sampleNames.size()) + " samples" + hint};
  }
  table.labels = std::move(fileLabels.labels);
  table.labelSource = "file " + displayName(labelsPath);
  table.labelName = displayName(labelsPath);
  return std::nullopt;
}

// Gives each gene the symbol and title the annotation has for its name as
// written.
void annotate(ExpressionTable& table, const Annotation& annotation) {
  table.geneSymbols.resize(table.geneNames.size());
  table.geneTitles.resize(table.geneNames.size());
  for (std::size_t gene = 0; gene < table.geneNames.size(); ++gene) {
    const auto found = annotation.entries.find(table.geneNames[gene]);
    if (found == annotation.entries.end()) continue;
    table.geneSymbols[gene] = found->second.symbol;
    table.geneTitles[gene] = found->second.title;
  }
}

// Leaves out the genes with a missing value, with everything kept per gene.
std::optional<InputError> leaveOutGenesWithMissing(ExpressionTable& table,
                                                   std::vector<bool>& annotated,
                                                   const std::string& fileName) {
  std::size_t kept = 0;
  const auto keep = [&kept](auto& perGene, std::size_t gene) {
    if (!perGene.empty() && kept != gene) perGene[kept] = std::move(perGene[gene]);
  };
  for (std::size_t gene = 0; gene < table.values.size(); ++gene) {
    const std::vector<double>& values = table.values[gene];
    if (std::any_of(values.begin(), values.end(), [](double v) { return std::isnan(v); })) {
      continue;
    }
    keep(table.values, gene);
    keep(table.geneNames, gene);
    keep(table.geneColumns, gene);
    keep(table.geneDescriptions, gene);
    keep(table.geneSymbols, gene);
    keep(table.geneTitles, gene);
    if (!annotated.empty()) annotated[kept] = annotated[gene];
    ++kept;
  }
  table.droppedGeneCount = static_cast<int>(table.values.size() - kept);
  const auto shrink = [kept](auto& perGene) {
    if (!perGene.empty()) perGene.resize(kept);
  };
  shrink(table.values);
  shrink(table.geneNames);
  shrink(table.geneColumns);
  shrink(table.geneDescriptions);
  shrink(table.geneSymbols);
  shrink(table.geneTitles);
  shrink(annotated);
  if (kept == 0) {
    return InputError{InputError::kInvalidData,
                      fileName + ": every gene has a missing value, so none is left"};
  }
  return std::nullopt;
}

// What the options read besides the data, before the data: small, and a
// failure there makes reading the data pointless.
struct SideFiles {
  std::string labelsPath;  // empty: no labels file
  std::optional<FileLabels> labels;
  std::optional<Annotation> annotation;
};

// Moves what a reader returned into `into`, or returns its error. (Kept out
// of line: inlined, it draws a false -Wfree-nonheap-object from GCC 12.)
template <typename T>
[[gnu::noinline]] std::optional<InputError> take(std::variant<T, InputError> result,
                                                 std::optional<T>& into) {
  if (InputError* error = std::get_if<InputError>(&result)) return std::move(*error);
  into = std::move(std::get<T>(result));
  return std::nullopt;
}

std::optional<InputError> readSideFiles(Form form, const TableOptions& options,
                                        const std::string& dataPath, SideFiles& side) {
  side.labelsPath = options.labelsFile;
  if (side.labelsPath.empty() && form == Form::kGct && options.labelField.empty() &&
      !dataPath.empty() && dataPath != "-") {
    const std::string sibling = siblingClsPath(dataPath);
    if (::access(sibling.c_str(), F_OK) == 0) side.labelsPath = sibling;
  }
  if (!side.labelsPath.empty()) {
    if (std::optional<InputError> error = take(readLabelsFile(side.labelsPath), side.labels)) {
      return error;
    }
  }
  if (!options.annotationFile.empty()) {
    if (std::optional<InputError> error =
            take(readAnnotation(options.annotationFile), side.annotation)) {
      return error;
    }
  }
  return std::nullopt;
}

// Applies what every form shares: labels from a labels file, symbols from
// an annotation, names of their own, and the missing-value policy.
std::optional<InputError> finishTable(ExpressionTable& table, const TableOptions& options,
                                      SideFiles side, const std::vector<std::string>& otherNames,
                                      const std::string& fileName) {
  if (side.labels) {
    if (std::optional<InputError> error =
            takeFileLabels(table, std::move(*side.labels), side.labelsPath, fileName)) {
      return error;
    }
  }
  std::vector<bool> annotated;
  if (side.annotation) {
    annotate(table, *side.annotation);
    annotated.resize(table.geneNames.size());
    for (std::size_t gene = 0; gene < table.geneNames.size(); ++gene) {
      annotated[gene] = side.annotation->entries.contains(table.geneNames[gene]);
    }
  }
  // "Unnamed: N" counts columns from 0, and with one gene per record the
  // records after the header from 0.
  const int firstNumber = table.form == Form::kTable ? 1 : 2;
  std::vector<int> unnamedNumbers(table.geneColumns);
  for (int& number : unnamedNumbers) number -= firstNumber;
  table.renamedGeneCount = giveGenesOwnNames(table.geneNames, unnamedNumbers, otherNames);
  if (options.dropGenesWithMissing && table.form != Form::kNativeRecords) {
    if (std::optional<InputError> error = leaveOutGenesWithMissing(table, annotated, fileName)) {
      return error;
    }
  }
  if (side.annotation) {
    table.annotatedGeneCount =
        static_cast<int>(std::count(annotated.begin(), annotated.end(), true));
    table.unannotatedGeneCount = static_cast<int>(annotated.size()) - table.annotatedGeneCount;
  }
  return std::nullopt;
}

std::variant<ExpressionTable, InputError> readForm(InputBuffer& input, const std::string& fileName,
                                                   const std::string& dataPath,
                                                   const TableOptions& options) {
  int line = 1;
  Form form = Form::kTable;
  if (std::optional<InputError> error = detectForm(input, line, form, fileName)) return *error;
  if (std::optional<InputError> misfit = optionsMisfit(form, options, fileName)) return *misfit;
  SideFiles side;
  if (std::optional<InputError> error = readSideFiles(form, options, dataPath, side)) {
    return *error;
  }
  // A GCT file's sibling CLS stands for a labels file.
  TableOptions formOptions = options;
  formOptions.labelsFile = side.labelsPath;
  std::variant<ExpressionTable, InputError> result;
  std::vector<std::string> otherNames;
  switch (form) {
    case Form::kNativeRecords:
      result = readNativeRecords(input, fileName);
      break;
    case Form::kSeriesMatrix:
      result = readSeriesMatrix(input, line, fileName, formOptions);
      break;
    case Form::kGct:
      result = readGct(input, line, fileName, formOptions);
      break;
    case Form::kTable:
    case Form::kGenesInRows: {
      DelimitedRecordReader records(input, fileName, line);
      result = options.genesInRows ? readGenesInRows(records, options)
                                   : readSamplesInRows(records, options, otherNames);
      break;
    }
  }
  if (ExpressionTable* table = std::get_if<ExpressionTable>(&result)) {
    if (std::optional<InputError> error =
            finishTable(*table, options, std::move(side), otherNames, fileName)) {
      return *error;
    }
  }
  return result;
}

std::variant<ExpressionTable, InputError> readFromSource(std::unique_ptr<ByteSource> source,
                                                         const std::string& fileName,
                                                         const std::string& dataPath,
                                                         const TableOptions& options) {
  InputBuffer input(std::move(source));
  std::variant<ExpressionTable, InputError> result = readForm(input, fileName, dataPath, options);
  // Corrupt compressed data may decompress into invalid text before zlib
  // notices; the corruption is the real cause, so look for it in what
  // follows. A corruption shows within a few blocks of compressed data, so
  // the search stops after 64 MiB of text, which takes a fraction of a
  // second even where the data decompress to gigabytes.
  constexpr std::uint64_t kCorruptionSearchBytes = 64ull << 20;
  const InputError* error = std::get_if<InputError>(&result);
  if (error != nullptr && error->kind == InputError::kInvalidData &&
      input.source().isCompressed()) {
    input.discardRest(kCorruptionSearchBytes);
    if (!input.source().failure().empty()) {
      return InputError{InputError::kUnreadable,
                        "cannot read " + fileName + ": " + input.source().failure()};
    }
  }
  return result;
}

}  // namespace

std::variant<ExpressionTable, InputError> readExpressionTable(const std::string& path,
                                                              const TableOptions& options) {
  std::variant<std::unique_ptr<ByteSource>, InputError> opened = openByteSource(path);
  if (InputError* error = std::get_if<InputError>(&opened)) return *error;
  return readFromSource(std::move(std::get<std::unique_ptr<ByteSource>>(opened)), displayName(path),
                        path, options);
}

std::variant<ExpressionTable, InputError> readExpressionTableFromText(std::string_view text,
                                                                      const std::string& fileName,
                                                                      const TableOptions& options) {
  return readFromSource(textByteSource(text), fileName, "", options);
}

std::vector<std::string> geneDescriptionsOf(const ExpressionTable& table) {
  std::vector<std::string> descriptions = table.geneDescriptions;
  if (table.geneTitles.empty()) return descriptions;
  descriptions.resize(table.geneTitles.size());
  for (std::size_t gene = 0; gene < table.geneTitles.size(); ++gene) {
    if (!table.geneTitles[gene].empty()) descriptions[gene] = table.geneTitles[gene];
  }
  return descriptions;
}

const char* formName(ExpressionTable::Form form) {
  switch (form) {
    case Form::kTable:
      return "table";
    case Form::kGenesInRows:
      return "genes-in-rows";
    case Form::kNativeRecords:
      return "native";
    case Form::kSeriesMatrix:
      return "geo-series-matrix";
    case Form::kGct:
      return "gct";
  }
  return "";
}

}  // namespace geneclub
