#include "readers/table_text.h"

#include <cstdint>
#include <cstring>
#include <initializer_list>

namespace geneclub {
namespace {

char lowerCase(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool isOneOf(std::string_view text, std::initializer_list<std::string_view> lowerWords) {
  for (std::string_view word : lowerWords) {
    if (equalsIgnoringCase(text, word)) return true;
  }
  return false;
}

bool isContinuationByte(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// The longest quoted text, in bytes, before a message cuts it: long enough
// for any gene name or label seen in practice, short enough for one line.
constexpr std::size_t kMaxQuotedBytes = 40;

}  // namespace

bool equalsIgnoringCase(std::string_view text, std::string_view lowerWord) {
  if (text.size() != lowerWord.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (lowerCase(text[i]) != lowerWord[i]) return false;
  }
  return true;
}

bool isMissingWord(std::string_view text) {
  return text.empty() || isOneOf(text, {"na", "nan", "n/a", "?", "null"});
}

bool isLabelColumnName(std::string_view name) {
  return isOneOf(name, {"labels", "label", "class", "y", "target", "diagnosis"});
}

bool isSampleColumnName(std::string_view name) {
  return isOneOf(name, {"sample", "id", "sample_id"});
}

std::optional<int> smallNumber(std::string_view text) {
  constexpr std::size_t kMaxDigits = 9;  // below 10^9 < 2^31
  if (text.empty() || text.size() > kMaxDigits) return std::nullopt;
  int number = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    number = 10 * number + (c - '0');
  }
  return number;
}

bool isValidUtf8(std::string_view text) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t size = text.size();
  std::size_t i = 0;
  while (i < size) {
    // Eight ASCII bytes at a time: no byte has its high bit set.
    constexpr std::uint64_t kHighBits = 0x8080808080808080ull;
    if (size - i >= sizeof(std::uint64_t)) {
      std::uint64_t word;
      std::memcpy(&word, bytes + i, sizeof word);
      if ((word & kHighBits) == 0) {
        i += sizeof word;
        continue;
      }
    }
    const unsigned char lead = bytes[i];
    if (lead < 0x80) {
      ++i;
      continue;
    }
    // The sequence length and the allowed range of the second byte, which
    // excludes overlong forms (after 0xE0, 0xF0), surrogates (after 0xED)
    // and code points above U+10FFFF (after 0xF4).
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      if (lead == 0xE0) low = 0xA0;
      if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      if (lead == 0xF0) low = 0x90;
      if (lead == 0xF4) high = 0x8F;
    } else {
      return false;
    }
    if (size - i < length || bytes[i + 1] < low || bytes[i + 1] > high) return false;
    for (std::size_t k = 2; k < length; ++k) {
      if (!isContinuationByte(bytes[i + k])) return false;
    }
    i += length;
  }
  return true;
}

std::string quoteForMessage(std::string_view text) {
  std::size_t shown = text.size();
  if (shown > kMaxQuotedBytes) {
    shown = kMaxQuotedBytes;
    while (shown > 0 && isContinuationByte(static_cast<unsigned char>(text[shown]))) --shown;
  }
  std::string quoted = "\"";
  for (const char c : text.substr(0, shown)) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\n') {
      quoted += "\\n";
    } else if (c == '\t') {
      quoted += "\\t";
    } else if (byte < 0x20 || byte == 0x7F) {
      static constexpr char kHexDigits[] = "0123456789abcdef";
      quoted += "\\x";
      quoted += kHexDigits[byte >> 4];
      quoted += kHexDigits[byte & 0xF];
    } else {
      quoted += c;
    }
  }
  quoted += shown < text.size() ? "\"..." : "\"";
  return quoted;
}

InputError nulByteError(const std::string& fileName, std::uint64_t line, std::uint64_t column) {
  return {InputError::kInvalidData, fileName + ": line " + std::to_string(line) + ", column " +
                                        std::to_string(column) +
                                        ": the text holds a NUL byte, which no text file holds"};
}

}  // namespace geneclub
