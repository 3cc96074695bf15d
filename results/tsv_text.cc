#include "results/tsv_text.h"

#include <charconv>

namespace geneclub {

std::string tsvField(std::string_view name) {
  std::string field(name);
  // DEL, the one control character above the C0 range.
  constexpr unsigned char kDelete = 0x7f;
  for (char& c : field) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == kDelete) c = ' ';
  }
  return field;
}

std::string shortestDouble(double value) {
  // 32 characters hold any double's shortest form (at most 24).
  char text[32];
  const std::to_chars_result result = std::to_chars(text, text + sizeof text, value);
  return std::string(text, result.ptr);
}

}  // namespace geneclub
