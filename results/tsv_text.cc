#include "results/tsv_text.h"

#include <charconv>

namespace geneclub {

std::string tsvField(std::string_view name) {
  std::string field(name);
  for (char& c : field) {
    if (c == '\t' || c == '\n' || c == '\r') c = ' ';
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
