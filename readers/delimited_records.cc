#include "readers/delimited_records.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <utility>

#include "readers/byte_scan.h"
#include "readers/table_text.h"

namespace geneclub {
namespace {

// The blanks trimmed around fields: spaces, carriage returns (so that CRLF
// line ends read as LF) and tabs, unless tab is the delimiter (0 while the
// delimiter is unknown).
bool isTrimmed(char c, char delimiter) {
  // The three blanks all sort before '!', so one comparison rules out
  // nearly every character of a table.
  return static_cast<unsigned char>(c) <= ' ' &&
         (c == ' ' || c == '\r' || (c == '\t' && delimiter != '\t'));
}

constexpr char kFieldTooLong[] = "the field is longer than 1 MiB";

std::string_view trimmed(std::string_view text, char delimiter) {
  std::size_t begin = 0, end = text.size();
  while (begin < end && isTrimmed(text[begin], delimiter)) ++begin;
  while (end > begin && isTrimmed(text[end - 1], delimiter)) --end;
  return text.substr(begin, end - begin);
}

}  // namespace

DelimitedRecordReader::DelimitedRecordReader(InputBuffer& input, std::string fileName,
                                             int firstLine, char delimiter)
    : input_(input), fileName_(std::move(fileName)), delimiter_(delimiter), nextLine_(firstLine) {}

bool DelimitedRecordReader::readMoreOrFail() {
  if (input_.readMore()) return true;
  if (const std::optional<InputBuffer::Place>& nul = input_.nulByte()) {
    error_ = nulByteError(fileName_, nul->line, static_cast<std::uint64_t>(columnAtEnd()));
    return false;
  }
  if (!input_.source().failure().empty()) {
    error_ = {InputError::kUnreadable,
              "cannot read " + fileName_ + ": " + input_.source().failure()};
    return false;
  }
  return true;
}

int DelimitedRecordReader::columnAtEnd() const {
  const std::string_view held = input_.held();
  char delimiter = delimiter_;
  if (delimiter == 0) {
    // The header so far chooses, as it will when it is whole.
    bool inQuotes = false, sawComma = false, sawSemicolon = false;
    for (const char c : held) {
      if (c == '"') inQuotes = !inQuotes;
      if (inQuotes) continue;
      if (c == '\t') {
        delimiter = '\t';
        break;
      }
      sawComma |= c == ',';
      sawSemicolon |= c == ';';
    }
    if (delimiter == 0) delimiter = sawComma ? ',' : sawSemicolon ? ';' : ',';
  }
  int column = 1;
  bool fieldStart = true, inQuotes = false;
  for (std::size_t at = 0; at < held.size(); ++at) {
    const char c = held[at];
    if (inQuotes) {
      if (c == '"' && at + 1 < held.size() && held[at + 1] == '"') {
        ++at;
      } else if (c == '"') {
        inQuotes = false;
      }
    } else if (c == delimiter) {
      ++column;
      fieldStart = true;
    } else if (fieldStart && c == '"') {
      inQuotes = true;
      fieldStart = false;
    } else if (!isTrimmed(c, delimiter)) {
      fieldStart = false;
    }
  }
  return column;
}

std::optional<std::size_t> DelimitedRecordReader::overlongFieldAtEnd() const {
  // The text of a field may be half its bytes ("" stands for one quote),
  // and its quotes are not text.
  constexpr std::size_t kSurelyOverlong = 2 * kMaxFieldBytes + 2;
  const std::string_view held = input_.held();
  if (held.size() <= kSurelyOverlong) return std::nullopt;
  // Before the header has chosen the delimiter, any of the three may end
  // the field.
  const auto endsField = [this](char c) {
    return c == '\n' || (delimiter_ == 0 ? c == '\t' || c == ',' || c == ';' : c == delimiter_);
  };
  std::size_t end = held.size();
  while (end > 0 && isTrimmed(held[end - 1], delimiter_)) --end;
  std::size_t begin = end;
  while (begin > 0 && !endsField(held[begin - 1])) --begin;
  while (begin < end && isTrimmed(held[begin], delimiter_)) ++begin;
  if (end - begin <= kSurelyOverlong) return std::nullopt;
  return begin;
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
    if (!readMoreOrFail()) return Parse::kError;
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

bool DelimitedRecordReader::splitLine(std::string_view line) {
  if (line.size() >= UINT32_MAX) return false;  // positions are 32-bit
  const char delimiter = delimiter_;
  // The delimiters' positions go where a plain line's go: this line is not
  // plain, so they are free.
  const std::size_t delimiterCount = findAllBytes(line, delimiter, boundaries_, 0);
  // The line's end closes the last field as a delimiter would; the vector
  // has room for it.
  std::uint32_t* const ends = boundaries_.data();
  ends[delimiterCount] = static_cast<std::uint32_t>(line.size());
  if (fields_.size() <= delimiterCount) fields_.resize(delimiterCount + 1);
  DelimitedField* const out = fields_.data();
  std::size_t count = 0;
  std::size_t begin = 0;
  for (std::size_t next = 0; next <= delimiterCount; ++next) {
    std::size_t end = ends[next];
    // Most fields neither start with a blank or a quote (all sort before
    // '#') nor end with a blank. The byte at `begin` is readable even at
    // the end of the line: padding follows it.
    if (static_cast<unsigned char>(line[begin]) > '"' &&
        (end == begin || static_cast<unsigned char>(line[end - 1]) > ' ')) [[likely]] {
      out[count++] = DelimitedField(line.substr(begin, end - begin), nextLine_);
      begin = end + 1;
      continue;
    }
    while (begin < end && isTrimmed(line[begin], delimiter)) ++begin;
    if (begin < end && line[begin] == '"') {
      // A quoted field without "" that closes on this line; anything else
      // is left to the general parser.
      const std::size_t close = line.find('"', begin + 1);
      if (close == std::string_view::npos || (close + 1 < line.size() && line[close + 1] == '"')) {
        return false;
      }
      std::size_t after = close + 1;
      while (after < line.size() && isTrimmed(line[after], delimiter)) ++after;
      if (after < line.size() && line[after] != delimiter) return false;
      // Skip the delimiters inside the quotes.
      while (end < after) end = ends[++next];
      out[count++] =
          DelimitedField(trimmed(line.substr(begin + 1, close - begin - 1), delimiter), nextLine_);
    } else {
      std::size_t last = end;
      while (last > begin && isTrimmed(line[last - 1], delimiter)) --last;
      out[count++] = DelimitedField(line.substr(begin, last - begin), nextLine_);
    }
    begin = end + 1;
  }
  fieldCount_ = count;
  return true;
}

bool DelimitedRecordReader::splitPlainLine(std::string_view line) {
  // A carriage return before the line end is trimmed from the last field.
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  if (line.size() >= UINT32_MAX) return false;  // boundaries are 32-bit
  const char delimiter = delimiter_;
  // No blank anywhere: a tab counts only when it is not the delimiter.
  const ByteScan scan = scanBytes(line, ' ', '\r', delimiter == '\t' ? ' ' : '\t');
  if (scan.holdsChosenByte) return false;
  for (std::size_t quote = line.find('"'); quote != std::string_view::npos;) {
    const std::size_t close = line.find('"', quote + 1);
    if ((quote > 0 && line[quote - 1] != delimiter) || close == std::string_view::npos ||
        (close + 1 < line.size() && line[close + 1] != delimiter) ||
        line.substr(quote + 1, close - quote - 1).find(delimiter) != std::string_view::npos) {
      return false;
    }
    quote = line.find('"', close + 1);
  }
  const std::size_t delimiterCount = findAllBytes(line, delimiter, boundaries_, 1);
  boundaries_[0] = UINT32_MAX;
  boundaries_[delimiterCount + 1] = static_cast<std::uint32_t>(line.size());
  fieldCount_ = delimiterCount + 1;
  plainLine_ = line.data();
  plain_ = true;
  knownAscii_ = !scan.holdsNonAscii;
  return true;
}

DelimitedRecordReader::Parse DelimitedRecordReader::parseRecord() {
  const std::string_view held = input_.held();
  // Most records are one line whose quotes, if any, hold whole fields
  // without line ends or "": those are split from the delimiters' positions.
  const void* lineEnd = std::memchr(held.data(), '\n', held.size());
  if (lineEnd == nullptr && !input_.atEnd()) return Parse::kNeedMore;
  const std::size_t lineSize =
      lineEnd == nullptr ? held.size() : static_cast<const char*>(lineEnd) - held.data();
  recordSize_ = lineEnd == nullptr ? lineSize : lineSize + 1;
  recordLineEnds_ = lineEnd == nullptr ? 0 : 1;
  if (splitPlainLine(held.substr(0, lineSize))) return Parse::kComplete;
  plain_ = false;
  if (splitLine(held.substr(0, lineSize))) return Parse::kComplete;
  fieldCount_ = 0;
  return parseFields(true, [this](std::string_view text, int line) {
    if (fieldCount_ == fields_.size()) fields_.emplace_back();
    fields_[fieldCount_++] = DelimitedField(text, line);
  });
}

template <typename AddField>
DelimitedRecordReader::Parse DelimitedRecordReader::parseFields(bool keepTexts, AddField addField) {
  const std::string_view held = input_.held();
  const bool atEnd = input_.atEnd();
  const char delimiter = delimiter_;  // a local, which field writes cannot change
  unescaped_.clear();
  bool reserved = false;
  int line = nextLine_;
  int column = 0;
  std::size_t at = 0;
  while (true) {
    while (at < held.size() && isTrimmed(held[at], delimiter)) ++at;
    if (at == held.size() && !atEnd) return Parse::kNeedMore;
    const int fieldLine = line;
    std::string_view text;
    ++column;
    if (at < held.size() && held[at] == '"') {
      const std::size_t start = ++at;
      bool escaped = false;
      std::size_t close = 0;
      while (true) {
        const void* quote = std::memchr(held.data() + at, '"', held.size() - at);
        const std::size_t quoteAt =
            quote != nullptr ? static_cast<const char*>(quote) - held.data() : held.size();
        line += static_cast<int>(countByte(held.substr(at, quoteAt - at), '\n'));
        if (quote == nullptr) {
          if (!atEnd) return Parse::kNeedMore;
          fail(fieldLine, column, "the quote that opens this field is never closed");
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
        // Texts kept until the next record share one buffer: unescaped text
        // is never longer than the held bytes, so one reservation (padding
        // included) keeps every earlier field's view valid. A text that is
        // only lent to addField reuses the buffer.
        if (!keepTexts) {
          unescaped_.clear();
        } else if (!reserved) {
          unescaped_.reserve(held.size() + InputBuffer::kPadding);
          reserved = true;
        }
        const std::size_t from = unescaped_.size();
        for (std::size_t i = 0; i < content.size(); ++i) {
          unescaped_ += content[i];
          if (content[i] == '"') ++i;  // the second quote of a ""
        }
        content = std::string_view(unescaped_).substr(from);
      }
      text = trimmed(content, delimiter);
      while (at < held.size() && isTrimmed(held[at], delimiter)) ++at;
      if (at == held.size() && !atEnd) return Parse::kNeedMore;
      if (at < held.size() && held[at] != delimiter && held[at] != '\n') {
        fail(line, column, "text follows the closing quote of the field");
        return Parse::kError;
      }
    } else {
      // Leading blanks are gone already; only trailing ones remain.
      const std::size_t start = at;
      while (at < held.size() && held[at] != delimiter && held[at] != '\n') ++at;
      if (at == held.size() && !atEnd) return Parse::kNeedMore;
      std::size_t end = at;
      while (end > start && isTrimmed(held[end - 1], delimiter)) --end;
      text = held.substr(start, end - start);
    }
    if (text.size() > kMaxFieldBytes) {
      fail(fieldLine, column, kFieldTooLong);
      return Parse::kError;
    }
    addField(text, fieldLine);
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

DelimitedRecordReader::Status DelimitedRecordReader::startRecord() {
  bool atEnd = false;
  if (skipBlankLines(atEnd) == Parse::kError) return Status::kError;
  if (atEnd) return Status::kEnd;
  while (delimiter_ == 0 && detectDelimiter() == Parse::kNeedMore) {
    if (!readMoreOfRecord()) return Status::kError;
  }
  return Status::kRecord;
}

bool DelimitedRecordReader::readMoreOfRecord() {
  if (const std::optional<std::size_t> start = overlongFieldAtEnd()) {
    const auto lineEnds = countByte(input_.held().substr(0, *start), '\n');
    fail(nextLine_ + static_cast<int>(lineEnds), columnAtEnd(), kFieldTooLong);
    return false;
  }
  return readMoreOrFail();
}

DelimitedRecordReader::Status DelimitedRecordReader::finishRecord() {
  recordLine_ = nextLine_;
  // Every byte outside the fields is ASCII, so checking the whole record at
  // once is enough; only a record that fails is searched for its field.
  // (A plain line was found to be all ASCII, or not, as it was split.)
  const std::string_view record = input_.held().substr(0, recordSize_);
  if (!(plain_ && knownAscii_) && !isValidUtf8(record)) {
    for (std::size_t column = 0; column < fieldCount_; ++column) {
      if (!isValidUtf8(fieldText(column))) {
        return fail(fieldLine(column), static_cast<int>(column) + 1, "the text is not UTF-8");
      }
    }
    return fail(nextLine_, 1, "the text is not UTF-8");
  }
  // No field of a shorter record can be over the limit.
  if (record.size() > kMaxFieldBytes) {
    for (std::size_t column = 0; column < fieldCount_; ++column) {
      if (fieldText(column).size() > kMaxFieldBytes) {
        return fail(fieldLine(column), static_cast<int>(column) + 1, kFieldTooLong);
      }
    }
  }
  nextLine_ += recordLineEnds_;
  input_.consume(recordSize_);
  return Status::kRecord;
}

DelimitedRecordReader::Status DelimitedRecordReader::next() {
  if (const Status start = startRecord(); start != Status::kRecord) return start;
  Parse parse;
  while ((parse = parseRecord()) == Parse::kNeedMore) {
    if (!readMoreOfRecord()) return Status::kError;
  }
  if (parse == Parse::kError) return Status::kError;
  return finishRecord();
}

DelimitedRecordReader::Status DelimitedRecordReader::nextNames(NameList& names) {
  if (const Status start = startRecord(); start != Status::kRecord) return start;
  const std::size_t before = names.size();
  Parse parse;
  bool valid = true;
  int invalidLine = 0, invalidColumn = 0;
  while (true) {
    names.truncate(before);
    valid = true;
    int column = 0;
    parse = parseFields(false, [&](std::string_view text, int line) {
      ++column;
      if (valid && !isValidUtf8(text)) {
        valid = false;
        invalidLine = line;
        invalidColumn = column;
      }
      names.add(text);
    });
    if (parse != Parse::kNeedMore) break;
    if (!readMoreOfRecord()) return Status::kError;
  }
  if (parse == Parse::kError) return Status::kError;
  if (!valid) return fail(invalidLine, invalidColumn, "the text is not UTF-8");
  plain_ = false;
  fieldCount_ = 0;
  recordLine_ = nextLine_;
  nextLine_ += recordLineEnds_;
  input_.consume(recordSize_);
  return Status::kRecord;
}

}  // namespace geneclub
