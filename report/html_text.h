// Escaping for the three kinds of text the report page writes: HTML text and
// attribute values, JSON data inside a <script> element, and whole scripts
// inlined into the page. Each function promises that its output, placed where
// it is meant to go, cannot end the surrounding element or start markup, so
// arbitrary gene names, labels and bundled code cannot fool the HTML parser.

#ifndef GENECLUB_REPORT_HTML_TEXT_H_
#define GENECLUB_REPORT_HTML_TEXT_H_

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

namespace geneclub {

// The text with &, <, >, " and ' written as character references: safe as
// element content and as a quoted attribute value. Control characters other
// than tab, line feed and carriage return (an escape, say) are written as
// numeric references too; other bytes, UTF-8 included, are kept.
std::string escapeHtml(std::string_view text);

// The value serialised as compact JSON for a <script type="application/json">
// element: every <, > and & is written as a \u escape (they can only occur
// inside JSON strings, where the escape means the same character), so no
// "</script" or "<!--" can appear; so is DEL, as every other control
// character already is. Bytes that are not valid UTF-8 become U+FFFD instead
// of failing the whole page.
std::string jsonForScriptElement(const nlohmann::json& value);

// The script source made safe to inline between <script> and </script>: each
// "</script" (in any letter case) and each "<!--" has its "<" written as the
// escape \x3C. That changes nothing where such text can occur in working code,
// inside string, template and regular expression literals, and in comments.
std::string scriptForInlining(std::string_view source);

}  // namespace geneclub

#endif  // GENECLUB_REPORT_HTML_TEXT_H_
