#include "report/html_text.h"

#include <cctype>
#include <string>

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

// A control character that would reach the page's bytes unseen: the C0
// range below the space except tab, line feed and carriage return (which are
// white space in HTML), and DEL.
bool isHiddenControl(char c) {
  constexpr char kDelete = 0x7f;
  const auto byte = static_cast<unsigned char>(c);
  return (byte < 0x20 && c != '\t' && c != '\n' && c != '\r') || c == kDelete;
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
        if (isHiddenControl(c)) {
          out += "&#" + std::to_string(static_cast<int>(c)) + ";";
        } else {
          out += c;
        }
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
      case '\x7f':  // DEL, the one control character JSON lets stand raw
        out += "\\u007f";
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
