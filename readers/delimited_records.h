// Splits a delimited text table (comma, tab or semicolon separated, with
// RFC 4180 double quotes) into records of fields, one record at a time. It
// promises fields that are unquoted and trimmed, the physical line on which
// each record and field starts, well-formed UTF-8 in every field, and an
// InputError naming file, line and column for text it cannot split or must
// not hold.

#ifndef GENECLUB_READERS_DELIMITED_RECORDS_H_
#define GENECLUB_READERS_DELIMITED_RECORDS_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "readers/input_buffer.h"
#include "readers/input_error.h"
#include "readers/name_list.h"

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

// The first record that is not blank is the header; unless the caller
// fixes the delimiter, it picks it: tab when it holds a tab outside quotes,
// else a comma when it holds one, else a semicolon when it holds one, else a
// comma. Blank lines (only spaces, tabs and carriage returns) are skipped
// everywhere. Around a field, spaces and carriage returns are trimmed, and
// tabs too unless tab is the delimiter; a quoted field is trimmed inside its
// quotes as well. A quote opens a quoted field only as the first character
// of a field and is text anywhere else. A quoted field may hold delimiters,
// line ends and "" for a quote; only blanks may follow its closing quote.
// A field longer than kMaxFieldBytes, and a NUL byte anywhere, are invalid
// data; a record's memory is bounded by its text, whatever it holds.
class DelimitedRecordReader {
 public:
  // Reads `input` from its current position, which is the start of line
  // `firstLine`; `fileName` names the input in messages. `delimiter` is the
  // delimiter, or 0 to choose it from the header.
  // REQUIRES: input outlives the reader.
  DelimitedRecordReader(InputBuffer& input, std::string fileName, int firstLine,
                        char delimiter = 0);

  // The longest field, in bytes (1 MiB): no name, label or value comes near
  // it, and refusing longer ones bounds what a record may hold.
  static constexpr std::size_t kMaxFieldBytes = 1 << 20;

  enum class Status { kRecord, kEnd, kError };

  // Reads the next record that is not blank: kRecord with its fields and
  // line() set, kEnd after the last one, kError with error() set (kind
  // kUnreadable for a failed read, kInvalidData for an unclosed quote, text
  // after a closing quote, a field over the limit, a NUL byte or text that
  // is not UTF-8). Call no more after kEnd or kError.
  Status next();

  // The same for a record whose fields are kept as names (a header): they
  // are appended to `names` one by one, never held as fields, so that a
  // record of millions of fields costs no more than its text. The field
  // accessors below are not set.
  Status nextNames(NameList& names);

  // The fields of the last record read by next(), valid until the next
  // call. Texts are unquoted, trimmed, and followed in memory by
  // InputBuffer::kPadding readable bytes.
  std::size_t fieldCount() const { return fieldCount_; }
  std::string_view fieldText(std::size_t column) const {
    return plain_ ? plainFieldText(plainLine_, boundaries_.data(), column) : fields_[column].text();
  }
  // The 1-based physical line where the field starts.
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

  // The delimiter, once the header is read.
  char delimiter() const { return delimiter_; }

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
  // Splits the record at the start of the held bytes field by field, the
  // general way, handing each field's text and line to addField. With
  // keepTexts, every text stays valid until the next record; else only
  // until addField returns.
  template <typename AddField>
  Parse parseFields(bool keepTexts, AddField addField);
  // Splits a record that is one line and whose quotes are simple; false,
  // with fields_ unspecified, for any other line.
  bool splitLine(std::string_view line);
  // True, with boundaries_ and plainLine_ set, for a line that needs no
  // trimming and whose quotes each enclose a whole field with no delimiter.
  bool splitPlainLine(std::string_view line);
  // Reads up to the start of the next record and the delimiter: kComplete
  // with a record at the held bytes, else kEnd or kError as next() returns.
  Status startRecord();
  // Reads more for a record that needs it: true when more was read or the
  // input ended, false with error_ set when it failed, stopped at a NUL
  // byte, or ends in a field that is surely over the limit.
  bool readMoreOfRecord();
  // Finishes a parsed record: UTF-8 and field length checks, then consumes it.
  Status finishRecord();
  // Where the field that the held bytes end in starts, when it is over the
  // limit however it ends.
  std::optional<std::size_t> overlongFieldAtEnd() const;
  // Gets more input for a parse that ran out of held bytes: true when more
  // was read or the input ended, false with error_ set when it failed or
  // stopped at a NUL byte.
  bool readMoreOrFail();
  // The 1-based field of the record at the start of the held bytes in which
  // the held bytes end.
  int columnAtEnd() const;
  Status fail(int line, int column, const std::string& what);

  InputBuffer& input_;
  std::string fileName_;
  char delimiter_ = 0;  // 0 until the header is read
  int nextLine_;        // the line at the start of the held bytes
  int recordLine_ = 0;
  std::vector<DelimitedField> fields_;  // the first fieldCount_ are the record's
  std::size_t fieldCount_ = 0;
  std::string unescaped_;  // quoted fields that held "", with single quotes
  // A plain line's fields are read from the delimiters' positions.
  bool plain_ = false;
  bool knownAscii_ = false;  // a plain line with no byte outside ASCII
  const char* plainLine_ = nullptr;
  std::vector<std::uint32_t> boundaries_;
  std::size_t recordSize_ = 0;
  int recordLineEnds_ = 0;
  InputError error_;
};

}  // namespace geneclub

#endif  // GENECLUB_READERS_DELIMITED_RECORDS_H_
