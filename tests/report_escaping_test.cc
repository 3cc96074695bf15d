// The report page's escaping: text, JSON data and inlined scripts must never
// end their element early or start markup, whatever names the data carry.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "report/html_text.h"
#include "report/report_page.h"
#include "tools/report_demo_input.h"

namespace geneclub {
namespace {

// Positions of `needle` in `text`, ignoring ASCII letter case.
std::vector<std::size_t> findAllIgnoringCase(const std::string& text, std::string needle) {
  std::string lower = text;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  std::vector<std::size_t> found;
  for (std::size_t pos = lower.find(needle); pos != std::string::npos;
       pos = lower.find(needle, pos + 1)) {
    found.push_back(pos);
  }
  return found;
}

TEST(ReportEscapingTest, HtmlTextEscapesMarkupQuotesAndHiddenControlsAndKeepsEverythingElse) {
  EXPECT_EQ(escapeHtml("a<b>&\"c\"'d'"), "a&lt;b&gt;&amp;&quot;c&quot;&#39;d&#39;");
  EXPECT_EQ(escapeHtml("tab\there, Gen\xC3\xA9 \xE2\x86\x92"),
            "tab\there, Gen\xC3\xA9 \xE2\x86\x92");
  EXPECT_EQ(escapeHtml(std::string("\x1b[31m\x7f\0\r\n", 9)), "&#27;[31m&#127;&#0;\r\n");
  EXPECT_EQ(escapeHtml("&amp;"), "&amp;amp;");
  EXPECT_EQ(escapeHtml(""), "");
}

TEST(ReportEscapingTest, JsonForScriptRoundTripsWithoutMarkupCharacters) {
  const nlohmann::json value = {{"name", "</script><!-- \"q\" & 'a'\ttab \x1b \x7f"},
                                {"numbers", {0.1, -2.5e-300, 1e308, 12600}},
                                {"unicode", "Gen\xC3\xA9"}};
  const std::string text = jsonForScriptElement(value);
  EXPECT_EQ(text.find('<'), std::string::npos);
  EXPECT_EQ(text.find('>'), std::string::npos);
  EXPECT_EQ(text.find('&'), std::string::npos);
  EXPECT_EQ(text.find_first_of("\x1b\x7f"), std::string::npos);
  EXPECT_EQ(nlohmann::json::parse(text), value);
}

TEST(ReportEscapingTest, JsonForScriptReplacesInvalidUtf8InsteadOfFailing) {
  const nlohmann::json value = {{"name", std::string("bad\xFF byte")}};
  const nlohmann::json parsed = nlohmann::json::parse(jsonForScriptElement(value));
  EXPECT_EQ(parsed["name"], "bad\xEF\xBF\xBD byte");
}

TEST(ReportEscapingTest, InlinedScriptCannotCloseItsElementOrOpenAComment) {
  EXPECT_EQ(scriptForInlining("s='</script>';t=\"</SCRIPT \";u=/<\\/sCrIpT/"),
            "s='\\x3C/script>';t=\"\\x3C/SCRIPT \";u=/<\\/sCrIpT/");
  EXPECT_EQ(scriptForInlining("x='<!-- c -->'"), "x='\\x3C!-- c -->'");
  // Other uses of < stay as they are, also at the very end of the source.
  EXPECT_EQ(scriptForInlining("a<b && c</div>'<scrip' <"), "a<b && c</div>'<scrip' <");
  EXPECT_EQ(scriptForInlining("</scrip"), "</scrip");
}

TEST(ReportEscapingTest, HostileNamesNeitherAddScriptElementsNorAppearUnescaped) {
  ReportInput input = makeDemoReportInput(DemoReportShape{});
  input.ranking[1].name = "</script><script>alert(1)</script>";
  input.samples[0].name = "<!--<script>";
  input.clubRuns[0].method = "<b>m</b>";
  const std::string page = buildReportHtml(input);
  // One JSON element, the three chart libraries and the drawing script.
  constexpr std::size_t kScriptElements = 5;
  const auto opens = findAllIgnoringCase(page, "<script");
  const auto closes = findAllIgnoringCase(page, "</script");
  ASSERT_EQ(opens.size(), kScriptElements);
  ASSERT_EQ(closes.size(), kScriptElements);
  for (std::size_t i = 0; i < kScriptElements; ++i) {
    EXPECT_LT(opens[i], closes[i]);
    if (i + 1 < kScriptElements) {
      EXPECT_LT(closes[i], opens[i + 1]);
    }
  }
  EXPECT_TRUE(findAllIgnoringCase(page, "<!--").empty());
  EXPECT_EQ(page.find("<b>m</b>"), std::string::npos);
  EXPECT_NE(page.find("&lt;b&gt;m&lt;/b&gt;"), std::string::npos);
  EXPECT_NE(page.find(escapeHtml(kDemoTopGeneName)), std::string::npos);
}

}  // namespace
}  // namespace geneclub
