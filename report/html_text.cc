#include "report/html_text.h"

#include <cctype>

namespace geneclub {
namespace {

// True when `text` continues at `pos` with `word`, ignoring ASCII letter case.
bool startsWithIgnoringCase(std::string_view text, std::size_t pos, std::string_view word) {
  if (text.size() - pos < word.size()) return false;
  for (std::size_t i = 0; i < word.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[pos + i]);
    if (std::tolower(c) != word[i]) return false;
  }
  return true;
}

}  // namespace

std::string escapeHtml(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&#39;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string jsonForScriptElement(const nlohmann::json& value) {
  const std::string json =
      value.dump(-1, ' ', /*ensure_ascii=*/false, nlohmann::json::error_handler_t::replace);
  std::string out;
  out.reserve(json.size());
  for (char c : json) {
    switch (c) {
      case '<':
        out += "\\u003c";
        break;
      case '>':
        out += "\\u003e";
        break;
      case '&':
        out += "\\u0026";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string scriptForInlining(std::string_view source) {
  std::string out;
  out.reserve(source.size());
  for (std::size_t pos = 0; pos < source.size(); ++pos) {
    if (source[pos] == '<' && (startsWithIgnoringCase(source, pos + 1, "/script") ||
                               source.compare(pos + 1, 3, "!--") == 0)) {
      out += "\\x3C";
    } else {
      out += source[pos];
    }
  }
  return out;
}

}  // namespace geneclub
