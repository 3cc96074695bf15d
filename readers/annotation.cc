#include "readers/annotation.h"

#include <initializer_list>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>

#include "readers/byte_source.h"
#include "readers/delimited_records.h"
#include "readers/input_buffer.h"
#include "readers/line_reader.h"
#include "readers/name_list.h"
#include "readers/table_text.h"

namespace geneclub {
namespace {

constexpr std::string_view kTableBegin = "!platform_table_begin";
constexpr std::string_view kTableEnd = "!platform_table_end";

// The first column named one of the words, in any case; -1 for none.
int columnNamed(const NameList& header, std::initializer_list<std::string_view> lowerWords) {
  NameList::Cursor cursor(header);
  for (std::size_t column = 0; column < header.size(); ++column) {
    const std::string_view name = cursor.next();
    for (const std::string_view word : lowerWords) {
      if (equalsIgnoringCase(name, word)) return static_cast<int>(column);
    }
  }
  return -1;
}

// Skips the lines before the table's header: blank lines, comments ("#"),
// and the lines of a SOFT file ("^", "!") up to its !platform_table_begin.
// The header's line is left held; returns its number.
std::variant<int, InputError> skipPreamble(InputBuffer& input, const std::string& fileName) {
  LineReader lines(input, fileName);
  std::string_view line;
  bool softFile = false;
  LineReader::Status status;
  while ((status = lines.next(line)) == LineReader::Status::kLine) {
    std::size_t start = 0;
    while (start < line.size() && (line[start] == ' ' || line[start] == '\t')) ++start;
    line.remove_prefix(start);
    if (equalsIgnoringCase(line.substr(0, kTableBegin.size()), kTableBegin)) {
      status = lines.next(line);
      if (status == LineReader::Status::kLine) return lines.lineNumber();
      break;
    }
    if (line.empty() || line[0] == '#') continue;
    if (line[0] == '^' || line[0] == '!') {
      softFile = true;
      continue;
    }
    if (!softFile) return lines.lineNumber();
  }
  if (status == LineReader::Status::kError) return lines.error();
  return InputError{InputError::kInvalidData,
                    fileName + (softFile ? ": the SOFT file holds no platform table (no " +
                                               std::string(kTableBegin) + " line and header)"
                                         : ": the file holds no table")};
}

}  // namespace

std::variant<Annotation, InputError> readAnnotation(const std::string& path) {
  std::variant<std::unique_ptr<ByteSource>, InputError> opened = openByteSource(path);
  if (InputError* error = std::get_if<InputError>(&opened)) return *error;
  InputBuffer input(std::move(std::get<std::unique_ptr<ByteSource>>(opened)));
  dropByteOrderMark(input);
  const std::string fileName = displayName(path);
  std::variant<int, InputError> headerLine = skipPreamble(input, fileName);
  if (InputError* error = std::get_if<InputError>(&headerLine)) return *error;
  DelimitedRecordReader records(input, fileName, std::get<int>(headerLine));
  NameList header;
  DelimitedRecordReader::Status status = records.nextNames(header);
  if (status == DelimitedRecordReader::Status::kError) return records.error();
  int idColumn = columnNamed(header, {"id", "id_ref", "probe", "probe_id"});
  if (idColumn < 0) idColumn = 0;
  const int symbolColumn = columnNamed(header, {"gene symbol", "gene_symbol", "symbol"});
  const int titleColumn = columnNamed(header, {"gene title", "gene_title", "title", "description"});
  if (symbolColumn < 0 && titleColumn < 0) {
    return InputError{InputError::kInvalidData,
                      fileName + ": line " + std::to_string(records.line()) +
                          ": no column of the header is named \"Gene Symbol\", gene_symbol or "
                          "symbol, nor \"Gene Title\", gene_title, title or description"};
  }
  Annotation annotation;
  while ((status = records.next()) == DelimitedRecordReader::Status::kRecord) {
    if (equalsIgnoringCase(records.fieldText(0), kTableEnd)) break;
    if (records.fieldCount() != header.size()) {
      return InputError{InputError::kInvalidData,
                        fileName + ": line " + std::to_string(records.line()) + " holds " +
                            std::to_string(records.fieldCount()) +
                            " fields, but the header holds " + std::to_string(header.size())};
    }
    const std::string_view id = records.fieldText(static_cast<std::size_t>(idColumn));
    if (id.empty()) continue;
    Annotation::Entry entry;
    if (symbolColumn >= 0) entry.symbol = records.fieldText(static_cast<std::size_t>(symbolColumn));
    if (titleColumn >= 0) entry.title = records.fieldText(static_cast<std::size_t>(titleColumn));
    annotation.entries.emplace(std::string(id), std::move(entry));
  }
  if (status == DelimitedRecordReader::Status::kError) return records.error();
  return annotation;
}

}  // namespace geneclub
