// Number extraction follows the grammar of the standard library's num_get
// for floating-point values: the characters a stream takes into a number are
// collected first, then converted as a whole as strtod converts them (see
// data/decimal_number.h), and the read fails when strtod cannot use every
// collected character or overflows to infinity.

#include "readers/token_reader.h"

#include <string>
#include <utility>

#include "readers/decimal_number.h"

namespace geneclub {
namespace {

// The "C" locale's blanks: the characters isspace accepts.
bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool isSign(char c) { return c == '+' || c == '-'; }

// Bytes read from a file at a time.
constexpr std::size_t kChunkSize = 1 << 16;

// No number or word of a data file comes near this length (1 MiB); a longer
// token is wrong data, and refusing it bounds the reader's memory.
constexpr std::size_t kMaxTokenLength = 1 << 20;

}  // namespace

TokenReader::TokenReader(std::string_view text) : buffer_(text) {}

TokenReader::TokenReader(std::FILE* file)
    : readChunk_([file](char* buffer, std::size_t capacity) {
        return std::fread(buffer, 1, capacity, file);
      }) {}

TokenReader::TokenReader(ChunkReader readChunk) : readChunk_(std::move(readChunk)) {}

bool TokenReader::readMore(std::size_t index) {
  while (index >= buffer_.size()) {
    const std::size_t size = buffer_.size();
    buffer_.resize(size + kChunkSize);
    const std::size_t got = readChunk_(buffer_.data() + size, kChunkSize);
    buffer_.resize(size + got);
    if (got == 0) {
      readChunk_ = nullptr;
      return false;
    }
  }
  return true;
}

bool TokenReader::startToken() {
  while (true) {
    while (next_ < buffer_.size() && isBlank(buffer_[next_])) ++next_;
    if (next_ < buffer_.size()) break;
    // All that was read is blank: drop it before reading on, so that a run
    // of blanks of any length takes no memory.
    buffer_.clear();
    next_ = 0;
    if (!has(0)) return false;
  }
  // Drop what has been read once it is most of the buffer, so that the
  // buffer stays about one chunk long however long the file is.
  if (next_ > kChunkSize && 2 * next_ > buffer_.size()) {
    buffer_.erase(0, next_);
    next_ = 0;
  }
  return true;
}

bool TokenReader::readDouble(double& value) {
  if (!startToken()) return false;
  // Collect the characters a stream would take into the number.
  const std::size_t begin = next_;
  std::size_t end = begin;
  if (has(end) && isSign(buffer_[end])) ++end;
  bool foundMantissa = false, foundPoint = false, foundExponent = false;
  while (has(end)) {
    if (end - begin > kMaxTokenLength) return false;
    const char c = buffer_[end];
    if (isDigit(c)) {
      foundMantissa = true;
    } else if (c == '.' && !foundPoint && !foundExponent) {
      foundPoint = true;
    } else if ((c == 'e' || c == 'E') && !foundExponent && foundMantissa) {
      foundExponent = true;
      ++end;
      if (has(end) && isSign(buffer_[end])) ++end;
      continue;
    } else {
      break;
    }
    ++end;
  }
  next_ = end;
  return convertLikeStream(buffer_.data() + begin, buffer_.data() + end, value);
}

bool TokenReader::readCharacter() {
  if (!startToken()) return false;
  ++next_;
  return true;
}

bool TokenReader::peekCharacter(char& c) {
  if (!startToken()) return false;
  c = buffer_[next_];
  return true;
}

bool TokenReader::readWord(std::string_view& word) {
  if (!startToken()) return false;
  const std::size_t begin = next_;
  while (has(next_) && !isBlank(buffer_[next_])) {
    if (++next_ - begin > kMaxTokenLength) return false;
  }
  word = std::string_view(buffer_).substr(begin, next_ - begin);
  return true;
}

}  // namespace geneclub
