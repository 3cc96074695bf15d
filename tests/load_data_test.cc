// The data file parser on texts built here: where values and class words
// go, which separators and blanks are accepted, and which texts are wrong
// data. The last tests run the program itself on a missing or wrong data
// file and check its message and exit status.

#include "readers/load_data.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>

#include "app/gene_club_session.h"
#include "tests/test_support.h"

namespace geneclub::testing {
namespace {

// The interactive program's fixed shape.
constexpr int kGeneCount = kInteractiveGeneCount;
constexpr int kSampleCount = kInteractiveSampleCount;

// Records 0 to 39 are "negative", the rest "positive", as in the real set.
constexpr int kNegativeRecordCount = 40;

// Gene g of sample s holds 100 * g + s, so every value is a distinct integer
// that tells where it belongs, and "," + that number + "," occurs once.
int cellValue(int gene, int sample) { return 100 * gene + sample; }

std::string dataText(const std::string& separator = ",", const std::string& recordEnd = "\n") {
  std::string text;
  for (int sample = 0; sample < kSampleCount; ++sample) {
    for (int gene = 0; gene < kGeneCount; ++gene) {
      text += std::to_string(cellValue(gene, sample)) + separator;
    }
    text += (sample < kNegativeRecordCount ? "negative" : "positive") + recordEnd;
  }
  return text;
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

struct Parsed {
  bool ok = false;
  ExpressionMatrix matrix = ExpressionMatrix(kGeneCount, ExpressionRow(kSampleCount, 0.0));
  ClassLabels labels;
};

Parsed parse(const std::string& text) {
  Parsed parsed;
  parsed.ok = parseExpressionData(text, parsed.matrix, parsed.labels);
  return parsed;
}

void expectCellsAndLabelsOfDataText(const Parsed& parsed) {
  ASSERT_TRUE(parsed.ok);
  ASSERT_EQ(parsed.labels.size(), static_cast<std::size_t>(kSampleCount));
  for (int sample = 0; sample < kSampleCount; ++sample) {
    EXPECT_EQ(parsed.labels[sample], sample < kNegativeRecordCount ? 1 : 0) << sample;
    for (int gene = 0; gene < kGeneCount; ++gene) {
      ASSERT_EQ(parsed.matrix[gene][sample], cellValue(gene, sample)) << gene << " " << sample;
    }
  }
}

// The separator is any non-blank character, blanks and line ends between
// tokens do not count, and nothing after the last record is read.
TEST(LoadDataTest, EveryLayoutLoadsValueOfGeneInSampleIntoRowGeneColumnSample) {
  for (const std::string& text :
       {dataText(), dataText(";"), dataText("|", "\r\n"), dataText(" ,\t"), dataText("\n;\n"),
        dataText(",", " "), dataText() + "? nan, Negative\n1,2,3"}) {
    expectCellsAndLabelsOfDataText(parse(text));
  }
}

TEST(LoadDataTest, AllPositiveRecordsGiveAllZeroLabels) {
  const std::string negative = "negative";
  std::string allPositive = dataText();
  for (std::size_t at; (at = allPositive.find(negative)) != std::string::npos;) {
    allPositive.replace(at, negative.size(), "positive");
  }
  const Parsed parsed = parse(allPositive);
  ASSERT_TRUE(parsed.ok);
  EXPECT_EQ(parsed.labels, ClassLabels(kSampleCount, 0));
}

TEST(LoadDataTest, NumbersInEveryFormOfTheGrammarAreRead) {
  // Gene 12 of sample 34 is the only cell written as ",1234,".
  const std::pair<const char*, double> forms[] = {
      {"+5", 5.0}, {".5", 0.5}, {"5.", 5.0}, {"1E+03", 1000.0}, {"-2.5e-1", -0.25}, {"007", 7.0}};
  for (const auto& [textValue, value] : forms) {
    const Parsed parsed =
        parse(replaced(dataText(), ",1234,", std::string(",").append(textValue).append(",")));
    ASSERT_TRUE(parsed.ok) << textValue;
    EXPECT_EQ(parsed.matrix[12][34], value) << textValue;
  }
}

TEST(LoadDataTest, WrongDataIsRejected) {
  const std::string text = dataText();
  const std::string lastClassWord = "positive\n";
  const struct {
    const char* what;
    std::string text;
  } cases[] = {
      {"empty text", ""},
      {"blanks only", " \n\t\n"},
      {"cut off mid-record", text.substr(0, text.size() / 2)},
      {"cut off before the last class word", text.substr(0, text.size() - lastClassWord.size())},
      {"capitalised class word", replaced(text, "negative", "Negative")},
      {"upper-case class word", replaced(text, "positive", "POSITIVE")},
      {"full stop after the class word", replaced(text, "positive", "positive.")},
      {"full stop after the other class word", replaced(text, "negative", "negative.")},
      {"letter after the class word", replaced(text, "negative", "negatives")},
      {"other class word", replaced(text, "negative", "tumour")},
      {"2001 values in a record", replaced(text, ",negative", ",7,negative")},
      {"question mark", replaced(text, ",1234,", ",?,")},
      {"nan", replaced(text, ",1234,", ",nan,")},
      {"inf", replaced(text, ",1234,", ",inf,")},
      {"beyond the range of double", replaced(text, ",1234,", ",1e999,")},
      {"sign without digits", replaced(text, ",1234,", ",-,")}};
  for (const auto& wrong : cases) EXPECT_FALSE(parse(wrong.text).ok) << wrong.what;
}

TEST(LoadDataTest, MissingDataFileEndsWithCannotOpen) {
  ScopedWorkDir dir;
  const ProcessResult result = runProgram(dir.path(), "0\n");
  EXPECT_EQ(result.out, "\t***can't open colonTumor.data\n\t***Check input data file\n");
  EXPECT_EQ(result.exitStatus, 1);
}

TEST(LoadDataTest, WrongDataFileEndsWithWrongData) {
  ScopedWorkDir dir;
  for (const std::string& text :
       {replaced(dataText(), "negative", "Negative"), replaced(dataText(), ",1234,", ",?,")}) {
    writeFile(dir.path() / "colonTumor.data", text);
    const ProcessResult result = runProgram(dir.path(), "0\n");
    EXPECT_EQ(
        result.out,
        "***Data preprocessing. Please Wait...\n\t***Wrong data\n\t***Check input data file\n");
    EXPECT_EQ(result.exitStatus, 2);
  }
  // An endless file is read only as far as its first token: no hang, no
  // memory exhaustion.
  std::filesystem::remove(dir.path() / "colonTumor.data");
  std::filesystem::create_symlink("/dev/zero", dir.path() / "colonTumor.data");
  EXPECT_EQ(runProgram(dir.path(), "0\n").exitStatus, 2);
}

}  // namespace
}  // namespace geneclub::testing
