#include "data/delimited_records.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "data/byte_scan.h"
#include "data/table_text.h"

namespace geneclub {
namespace {

// The blanks trimmed around fields: spaces, carriage returns (so that CRLF
// line ends read as LF) and tabs, unless tab is the delimiter (0 while the
// delimiter is unknown).
bool isTrimmed(char c, char delimiter) {
  return c == ' ' || c == '\r' || (c == '\t' && delimiter != '\t');
}

std::string_view trimmed(std::string_view text, char delimiter) {
  std::size_t begin = 0, end = text.size();
  while (begin < end && isTrimmed(text[begin], delimiter)) ++begin;
  while (end > begin && isTrimmed(text[end - 1], delimiter)) --end;
  return text.substr(begin, end - begin);
}

}  // namespace

DelimitedRecordReader::DelimitedRecordReader(InputBuffer& input, std::string fileName,
                                             int firstLine)
    : input_(input), fileName_(std::move(fileName)), nextLine_(firstLine) {}

bool DelimitedRecordReader::readMoreOrFail() {
  if (input_.readMore()) return true;
  if (!input_.source().failure().empty()) {
    error_ = {InputError::kUnreadable,
              "cannot read " + fileName_ + ": " + input_.source().failure()};
  }
  return false;
}

DelimitedRecordReader::Status DelimitedRecordReader::fail(int line, int column,
                                                          const std::string& what) {
  error_ = {InputError::kInvalidData, fileName_ + ": line " + std::to_string(line) + ", column " +
                                          std::to_string(column) + ": " + what};
  return Status::kError;
}

DelimitedRecordReader::Parse DelimitedRecordReader::skipBlankLines(bool& atEnd) {
  while (true) {
    const std::string_view held = input_.held();
    std::size_t at = 0;
    while (at < held.size() && isTrimmed(held[at], delimiter_)) ++at;
    if (at < held.size() && held[at] == '\n') {
      input_.consume(at + 1);
      ++nextLine_;
      continue;
    }
    // Leading blanks of a record are trimmed anyway, so they can go too.
    input_.consume(at);
    if (at < held.size()) return Parse::kComplete;
    if (input_.atEnd()) {
      atEnd = true;
      return Parse::kComplete;
    }
    if (!readMoreOrFail() && !error_.message.empty()) return Parse::kError;
  }
}

DelimitedRecordReader::Parse DelimitedRecordReader::detectDelimiter() {
  const std::string_view held = input_.held();
  bool inQuotes = false, sawTab = false, sawComma = false, sawSemicolon = false;
  std::size_t at = 0;
  for (; at < held.size(); ++at) {
    const char c = held[at];
    if (c == '"') {
      inQuotes = !inQuotes;
    } else if (!inQuotes) {
      if (c == '\n') break;
      sawTab |= c == '\t';
      sawComma |= c == ',';
      sawSemicolon |= c == ';';
    }
  }
  if (at == held.size() && !input_.atEnd()) return Parse::kNeedMore;
  delimiter_ = sawTab ? '\t' : sawComma ? ',' : sawSemicolon ? ';' : ',';
  return Parse::kComplete;
}

DelimitedRecordReader::Parse DelimitedRecordReader::parseRecord() {
  const std::string_view held = input_.held();
  const bool atEnd = input_.atEnd();
  const char delimiter = delimiter_;  // a local, which field writes cannot change
  fields_.clear();
  unescaped_.clear();
  bool reserved = false;
  int line = nextLine_;
  // Reports the delimiters and line ends that end unquoted fields.
  ByteScanner fieldEnds(held, delimiter, '\n');
  std::size_t at = 0;
  while (true) {
    while (at < held.size() && isTrimmed(held[at], delimiter)) ++at;
    if (at == held.size() && !atEnd) return Parse::kNeedMore;
    DelimitedField field;
    field.line = line;
    const int column = static_cast<int>(fields_.size()) + 1;
    if (at < held.size() && held[at] == '"') {
      const std::size_t start = ++at;
      bool escaped = false;
      std::size_t close = 0;
      while (true) {
        const void* quote = std::memchr(held.data() + at, '"', held.size() - at);
        const std::size_t quoteAt =
            quote != nullptr ? static_cast<const char*>(quote) - held.data() : held.size();
        line += static_cast<int>(std::count(held.begin() + at, held.begin() + quoteAt, '\n'));
        if (quote == nullptr) {
          if (!atEnd) return Parse::kNeedMore;
          fail(field.line, column, "the quote that opens this field is never closed");
          return Parse::kError;
        }
        if (quoteAt + 1 == held.size() && !atEnd) return Parse::kNeedMore;
        if (quoteAt + 1 < held.size() && held[quoteAt + 1] == '"') {
          escaped = true;
          at = quoteAt + 2;
          continue;
        }
        close = quoteAt;
        at = quoteAt + 1;
        break;
      }
      std::string_view content = held.substr(start, close - start);
      if (escaped) {
        // Unescaped text is never longer than the held bytes, so one
        // reservation (padding included) keeps every earlier field's view
        // valid.
        if (!reserved) unescaped_.reserve(held.size() + InputBuffer::kPadding);
        reserved = true;
        const std::size_t from = unescaped_.size();
        for (std::size_t i = 0; i < content.size(); ++i) {
          unescaped_ += content[i];
          if (content[i] == '"') ++i;  // the second quote of a ""
        }
        content = std::string_view(unescaped_).substr(from);
      }
      field.text = trimmed(content, delimiter);
      while (at < held.size() && isTrimmed(held[at], delimiter)) ++at;
      if (at == held.size() && !atEnd) return Parse::kNeedMore;
      if (at < held.size() && held[at] != delimiter && held[at] != '\n') {
        fail(line, column, "text follows the closing quote of the field");
        return Parse::kError;
      }
      fieldEnds.skipTo(std::min(at + 1, held.size()));
    } else {
      // Leading blanks are gone already; only trailing ones remain.
      const std::size_t start = at;
      at = fieldEnds.next();
      if (at == held.size() && !atEnd) return Parse::kNeedMore;
      std::size_t end = at;
      while (end > start && isTrimmed(held[end - 1], delimiter)) --end;
      field.text = held.substr(start, end - start);
    }
    fields_.push_back(field);
    if (at == held.size()) {
      recordSize_ = at;
      break;
    }
    if (held[at] == '\n') {
      ++line;
      recordSize_ = at + 1;
      break;
    }
    ++at;  // the delimiter
  }
  // Unescaped fields are followed by padding too, within the reservation.
  if (reserved) unescaped_.append(InputBuffer::kPadding, '\0');
  recordLineEnds_ = line - nextLine_;
  return Parse::kComplete;
}

DelimitedRecordReader::Status DelimitedRecordReader::next() {
  bool atEnd = false;
  if (skipBlankLines(atEnd) == Parse::kError) return Status::kError;
  if (atEnd) return Status::kEnd;
  while (delimiter_ == 0 && detectDelimiter() == Parse::kNeedMore) {
    if (!readMoreOrFail() && !error_.message.empty()) return Status::kError;
  }
  Parse parse;
  while ((parse = parseRecord()) == Parse::kNeedMore) {
    if (!readMoreOrFail() && !error_.message.empty()) return Status::kError;
  }
  if (parse == Parse::kError) return Status::kError;
  // Every byte outside the fields is ASCII, so checking the whole record at
  // once is enough; only a record that fails is searched for its field.
  if (!isValidUtf8(input_.held().substr(0, recordSize_))) {
    for (std::size_t column = 0; column < fields_.size(); ++column) {
      if (!isValidUtf8(fields_[column].text)) {
        return fail(fields_[column].line, static_cast<int>(column) + 1, "the text is not UTF-8");
      }
    }
    return fail(nextLine_, 1, "the text is not UTF-8");
  }
  recordLine_ = nextLine_;
  nextLine_ += recordLineEnds_;
  input_.consume(recordSize_);
  return Status::kRecord;
}

}  // namespace geneclub
