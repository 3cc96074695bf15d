// Splits a delimited text table (comma, tab or semicolon separated, with
// RFC 4180 double quotes) into records of fields, one record at a time. It
// promises fields that are unquoted and trimmed, the physical line on which
// each record and field starts, well-formed UTF-8 in every field, and an
// InputError naming file, line and column for text it cannot split.

#ifndef GENECLUB_READERS_DELIMITED_RECORDS_H_
#define GENECLUB_READERS_DELIMITED_RECORDS_H_

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "readers/input_buffer.h"
#include "readers/input_error.h"

namespace geneclub {

// A field of a record: sixteen bytes, so that the fields of a wide record
// take little cache.
class DelimitedField {
 public:
  DelimitedField() = default;
  // REQUIRES: text.size() < 2^32.
  DelimitedField(std::string_view text, int line)
      : data_(text.data()), size_(static_cast<std::uint32_t>(text.size())), line_(line) {}

  // Unquoted, without the blanks around it, and followed in memory by
  // InputBuffer::kPadding readable bytes.
  std::string_view text() const { return {data_, size_}; }

  // The 1-based physical line where the field starts.
  int line() const { return line_; }

 private:
  const char* data_ = nullptr;
  std::uint32_t size_ = 0;
  int line_ = 0;
};

// The first record that is not blank is the header; it picks the
// delimiter: tab when it holds a tab outside quotes, else a comma when it
// holds one, else a semicolon when it holds one, else a comma. Blank lines
// (only spaces, tabs and carriage returns) are skipped everywhere. Around a
// field, spaces and carriage returns are trimmed, and tabs too unless tab
// is the delimiter; a quoted field is trimmed inside its quotes as well. A
// quote opens a quoted field only as the first character of a field and is
// text anywhere else. A quoted field may hold delimiters, line ends and ""
// for a quote; only blanks may follow its closing quote.
class DelimitedRecordReader {
 public:
  // Reads `input` from its current position, which is the start of line
  // `firstLine`; `fileName` names the input in messages.
  // REQUIRES: input outlives the reader.
  DelimitedRecordReader(InputBuffer& input, std::string fileName, int firstLine);

  enum class Status { kRecord, kEnd, kError };

  // Reads the next record that is not blank: kRecord with fields() and
  // line() set, kEnd after the last one, kError with error() set (status
  // kUnreadable for a failed read, kInvalidData for an unclosed quote, text
  // after a closing quote or text that is not UTF-8). Call no more after
  // kEnd or kError.
  Status next();

  // The fields of the last record, valid until the next call of next().
  std::span<const DelimitedField> fields();

  // The same field by field, without setting up the whole span: the way
  // to read the cells of a wide record fast. Texts are as in fields().
  std::size_t fieldCount() const { return fieldCount_; }
  std::string_view fieldText(std::size_t column) const {
    return plain_ ? plainFieldText(plainLine_, boundaries_.data(), column) : fields_[column].text();
  }
  int fieldLine(std::size_t column) const { return plain_ ? recordLine_ : fields_[column].line(); }

  // A record that is one line without blanks, whose quotes each enclose a
  // whole field, is plain: its fields are read straight from the line and
  // the positions of its delimiters. plainBoundaries() is null for any
  // other record.
  const char* plainLine() const { return plainLine_; }
  const std::uint32_t* plainBoundaries() const { return plain_ ? boundaries_.data() : nullptr; }
  static std::string_view plainFieldText(const char* line, const std::uint32_t* boundaries,
                                         std::size_t column) {
    // Field i lies between boundaries i and i + 1; the first boundary is
    // -1 as an unsigned 32-bit number, so that it starts at 0.
    const std::uint32_t begin = boundaries[column] + 1;
    const std::uint32_t size = boundaries[column + 1] - begin;
    const char* text = line + begin;
    if (size >= 2 && *text == '"') return {text + 1, size - 2};
    return {text, size};
  }

  // The physical line where the last record starts.
  int line() const { return recordLine_; }

  const InputError& error() const { return error_; }

  const std::string& fileName() const { return fileName_; }

  const InputBuffer& input() const { return input_; }

 private:
  enum class Parse { kComplete, kNeedMore, kError };

  // Skips blank lines; kComplete when a record starts at the held bytes.
  Parse skipBlankLines(bool& atEnd);
  // Chooses the delimiter from the header line at the held bytes.
  Parse detectDelimiter();
  // Splits the record at the start of the held bytes into fields_.
  Parse parseRecord();
  // Splits a record that is one line and whose quotes are simple; false,
  // with fields_ unspecified, for any other line.
  bool splitLine(std::string_view line);
  // True, with boundaries_ and plainLine_ set, for a line that needs no
  // trimming and whose quotes each enclose a whole field with no delimiter.
  bool splitPlainLine(std::string_view line);
  // Gets more input for a parse that ran out of held bytes; false, with
  // error_ set or at the end, when there is none.
  bool readMoreOrFail();
  Status fail(int line, int column, const std::string& what);

  InputBuffer& input_;
  std::string fileName_;
  char delimiter_ = 0;  // 0 until the header is read
  int nextLine_;        // the line at the start of the held bytes
  int recordLine_ = 0;
  std::vector<DelimitedField> fields_;  // the first fieldCount_ are the record's
  std::size_t fieldCount_ = 0;
  std::string unescaped_;  // quoted fields that held "", with single quotes
  std::vector<std::uint32_t> delimiterPositions_;
  // A plain line's fields are read from the delimiters' positions, and
  // fields_ is filled only when fields() asks for it.
  bool plain_ = false;
  bool fieldsFilled_ = false;
  bool knownAscii_ = false;  // a plain line with no byte outside ASCII
  const char* plainLine_ = nullptr;
  std::vector<std::uint32_t> boundaries_;
  std::size_t recordSize_ = 0;
  int recordLineEnds_ = 0;
  InputError error_;
};

}  // namespace geneclub

#endif  // GENECLUB_READERS_DELIMITED_RECORDS_H_
