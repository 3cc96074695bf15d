// The expression-table reader on tables built here: every layout of the
// delimited forms reads into the same matrix, the label and sample columns
// are found by the stated rules, native records and gzip files read as
// plain tables do, and every kind of bad input gives its status and a
// message that names the line, column and gene.

#include "readers/expression_table.h"

#include <gtest/gtest.h>
#include <unistd.h>
#include <zlib.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <variant>
#include <vector>

#include "app/exit_status.h"
#include "readers/delimited_records.h"
#include "tests/test_support.h"

namespace geneclub::testing {
namespace {

using Form = ExpressionTable::Form;

// Options written as a chain, e.g. Options().label("x").genesInRows().
struct Options : TableOptions {
  Options& label(const std::string& column) {
    labelColumn = column;
    return *this;
  }
  Options& sample(const std::string& column) {
    sampleColumn = column;
    return *this;
  }
  Options& genesInRows() {
    TableOptions::genesInRows = true;
    return *this;
  }
  Options& labels(const std::string& file) {
    labelsFile = file;
    return *this;
  }
  Options& dropMissing() {
    dropGenesWithMissing = true;
    return *this;
  }
};

std::variant<ExpressionTable, InputError> readText(const std::string& text,
                                                   const TableOptions& options = {}) {
  return readExpressionTableFromText(text, "t.csv", options);
}

ExpressionTable tableOf(const std::variant<ExpressionTable, InputError>& result) {
  if (const InputError* error = std::get_if<InputError>(&result)) {
    ADD_FAILURE() << "unexpected error: " << error->message;
    return {};
  }
  return std::get<ExpressionTable>(result);
}

InputError errorOf(const std::variant<ExpressionTable, InputError>& result) {
  if (!std::holds_alternative<InputError>(result)) {
    ADD_FAILURE() << "read succeeded where an error was expected";
    return {};
  }
  return std::get<InputError>(result);
}

// The error of a kind, or of the kind that gives the program's exit status.
void expectError(const std::variant<ExpressionTable, InputError>& result, InputError::Kind kind,
                 const std::string& message) {
  const InputError error = errorOf(result);
  EXPECT_EQ(error.kind, kind);
  EXPECT_EQ(error.message, message);
}
void expectError(const std::variant<ExpressionTable, InputError>& result, int status,
                 const std::string& message) {
  const InputError error = errorOf(result);
  EXPECT_EQ(exitStatusOf(error), status);
  EXPECT_EQ(error.message, message);
}

using Values = std::vector<std::vector<double>>;
using Names = std::vector<std::string>;

// The table that every layout below holds: two samples, two genes.
void expectReferenceTable(const ExpressionTable& table) {
  EXPECT_EQ(table.form, Form::kTable);
  EXPECT_EQ(table.geneNames, (Names{"g1", "g2"}));
  EXPECT_EQ(table.geneColumns, (std::vector<int>{3, 4}));
  EXPECT_EQ(table.sampleNames, (Names{"s1", "s2"}));
  EXPECT_EQ(table.labels, (Names{"Tumor", "Normal"}));
  EXPECT_EQ(table.values, (Values{{1.5, -2}, {0.5, 300}}));
  EXPECT_EQ(table.labelSource, "column \"labels\" (1)");
  EXPECT_EQ(table.labelName, "labels");
  EXPECT_EQ(table.droppedGeneCount, 0);
}

TEST(ExpressionTableTest, EveryLayoutOfATableReadsTheSame) {
  const std::string layouts[] = {
      "labels,id,g1,g2\nTumor,s1,1.5,.5\nNormal,s2,-2,3e2\n",
      "labels,id,g1,g2\r\nTumor,s1,1.5,.5\r\nNormal,s2,-2,3e2\r\n",
      "\xEF\xBB\xBFlabels,id,g1,g2\nTumor,s1,1.5,.5\nNormal,s2,-2,3e2",
      "labels\tid\tg1\tg2\nTumor\ts1\t1.5\t.5\nNormal\ts2\t-2\t3e2\n",
      "labels;id;g1;g2\nTumor;s1;1.5;.5\nNormal;s2;-2;3e2\n",
      "\n  \n\"labels\",\"id\",\"g1\",\"g2\"\n\"Tumor\",\"s1\",\"1.5\",\"0.5\"\n\n"
      "\"Normal\",\"s2\",\"-2\",\"300\"\n\n",
      " labels , id ,g1, g2 \n Tumor ,\t s1\t,+1.5 , 5e-1\nNormal,s2, -2.0,300.\n",
  };
  for (const std::string& text : layouts) {
    SCOPED_TRACE(text);
    expectReferenceTable(tableOf(readText(text)));
  }
}

TEST(ExpressionTableTest, QuotedFieldsHoldDelimitersQuotesAndLineEnds) {
  const ExpressionTable table = tableOf(readText(
      "sample,labels,\"g,1\"\n\"a \"\"b\"\"\",\"x\ny\",7\n\"s\t2\",z,\"8\"\nplain\"quote,z,9\n"));
  EXPECT_EQ(table.geneNames, (Names{"g,1"}));
  EXPECT_EQ(table.sampleNames, (Names{"a \"b\"", "s\t2", "plain\"quote"}));
  EXPECT_EQ(table.labels, (Names{"x\ny", "z", "z"}));
  EXPECT_EQ(table.values, (Values{{7, 8, 9}}));
  // Quoted empty fields and quoted numbers, with and without blanks.
  expectError(readText("labels,g1,g2\r\n\"A\",\"1\",\"\"\r\n"), 2,
              "t.csv: line 2, column 3 (gene \"g2\"): the value is missing (empty field); genes "
              "with missing values can be left out instead");
  EXPECT_EQ(tableOf(readText("labels,g1,g2\n\"A\" , \" 1\",\"2\"\n\"B\",\"3\",4\r\n")).values,
            (Values{{1, 3}, {2, 4}}));
  // A line end inside quotes counts as a line: the bad value is on line 4.
  expectError(readText("labels,g1\n\"a\nb\",1\nc,x\n"), InputError::kInvalidData,
              "t.csv: line 4, column 2 (gene \"g1\"): \"x\" is not a number");
}

TEST(ExpressionTableTest, DelimiterIsTabThenCommaThenSemicolonOutsideQuotes) {
  EXPECT_EQ(tableOf(readText("labels\tg,1\na\t2\n")).geneNames, (Names{"g,1"}));
  EXPECT_EQ(tableOf(readText("labels;\"g,1\"\na;2\n")).geneNames, (Names{"g,1"}));
  EXPECT_EQ(tableOf(readText("\"labels\tx\",g;1\na,2\n")).geneNames, (Names{"g;1"}));
}

TEST(ExpressionTableTest, LabelAndSampleColumnsAreFoundByNameOptionOrContent) {
  // The leftmost column with a label name, in any case; sample names the same.
  ExpressionTable table = tableOf(readText("ID,g1,Diagnosis,class\ns1,1,A,5\ns2,2,C,6\n"));
  EXPECT_EQ(table.labels, (Names{"A", "C"}));
  EXPECT_EQ(table.sampleNames, (Names{"s1", "s2"}));
  EXPECT_EQ(table.geneNames, (Names{"g1", "class"}));
  EXPECT_EQ(table.geneColumns, (std::vector<int>{2, 4}));

  // Options: an exact name first, else a 1-based number.
  const std::string numbered = "a,x,name\n1,A,s1\n2,B,s2\n";
  table = tableOf(readText(numbered, Options().label("x").sample("3")));
  EXPECT_EQ(table.labels, (Names{"A", "B"}));
  EXPECT_EQ(table.sampleNames, (Names{"s1", "s2"}));
  EXPECT_EQ(table.labelSource, "column \"x\" (2)");
  EXPECT_EQ(table.labelName, "x");
  table = tableOf(readText("x,2,g\n5,B,1\n", Options().label("2")));
  EXPECT_EQ(table.labels, (Names{"B"}));  // the column named "2", not column 2
  EXPECT_EQ(table.geneNames, (Names{"x", "g"}));

  // Without a name or option: the only column holding text (missing words
  // and the sample column aside); its numbers read as their shortest text.
  table =
      tableOf(readText("sample,g1,grp,g2\nx,1,tumor,NA\ny,2,1.50,3\n", Options().dropMissing()));
  EXPECT_EQ(table.labels, (Names{"tumor", "1.5"}));
  EXPECT_EQ(table.geneNames, (Names{"g1"}));
  EXPECT_EQ(table.labelSource, "column \"grp\" (3)");
  EXPECT_EQ(table.labelName, "grp");
  EXPECT_EQ(table.sampleNames, (Names{"x", "y"}));
  // Labels and names may be any UTF-8 text.
  EXPECT_EQ(tableOf(readText("labels,g\xC2\xB5\nT\xC3\xBCmor,1\n")).labels,
            (Names{"T\xC3\xBCmor"}));
  // Without a sample column, samples are numbered.
  EXPECT_EQ(tableOf(readText("labels,g\na,1\nb,2\n")).sampleNames, (Names{"1", "2"}));
}

TEST(ExpressionTableTest, UnclearOrWrongColumnsAreErrors) {
  const std::string ask = "; name the label column with --label-column";
  expectError(readText("g0,g1\n1,2\n"), 2,
              "t.csv: no column is named labels, label, class, y, target or diagnosis, and no "
              "column holds text to take as labels" +
                  ask);
  expectError(readText("g0,g1,g2\nA,1,2\n3,B,4\n"), 2,
              "t.csv: no column is named labels, label, class, y, target or diagnosis, and two "
              "columns hold text, column \"g0\" (1) and column \"g1\" (2) (line 3: \"B\")" +
                  ask);
  // Content detection defers missing values until it knows which column
  // holds genes, then reports the first one.
  expectError(readText("g0,g1,g2\nA,1,2\nB,2,NA\nC,?,4\n"), 2,
              "t.csv: line 3, column 3 (gene \"g2\"): the value is missing (\"NA\"); genes with "
              "missing values can be left out instead");
  expectError(readText("g0,g1\nA,1\nNA,2\n"), 2,
              "t.csv: line 3, column 1: the label is missing (\"NA\")");
  expectError(readText("a,b\nA,1\n", Options().label("c")), 2,
              "t.csv: the label column \"c\" names no column: no column has that name, and it is "
              "no column number from 1 to 2");
  expectError(readText("a,b\nA,1\n", Options().sample("0")), 2,
              "t.csv: the sample column \"0\" names no column: no column has that name, and it is "
              "no column number from 1 to 2");
  expectError(readText("a,b,c\nA,1,2\n", Options().label("1").sample("a")), 2,
              "t.csv: column \"a\" (1) cannot be both the label column and the sample column");
  expectError(readText("labels,id\nA,s\n"), 2,
              "t.csv: no column is left for genes besides the label and sample columns");
  expectError(readText("g0,g1\nA,\"x\"\n"), 2,
              "t.csv: no column is named labels, label, class, y, target or diagnosis, and two "
              "columns hold text, column \"g0\" (1) and column \"g1\" (2) (line 2: \"x\")" +
                  ask);
}

TEST(ExpressionTableTest, BadCellsAndRowsAreErrorsThatNameTheirPlace) {
  const struct {
    std::string text;
    std::string message;
  } cases[] = {
      {"labels,g1,g2\nA,1,x\n", "line 2, column 3 (gene \"g2\"): \"x\" is not a number"},
      {"labels,g1,g2\nA,1,inf\n", "line 2, column 3 (gene \"g2\"): \"inf\" is not a number"},
      {"labels,g1,g2\nA,1,0x10\n", "line 2, column 3 (gene \"g2\"): \"0x10\" is not a number"},
      {"labels,g1,g2\nA,1,1e999\n",
       "line 2, column 3 (gene \"g2\"): \"1e999\" is beyond the range of double"},
      {"labels,g1,g2\nA,1,-1e309\n",
       "line 2, column 3 (gene \"g2\"): \"-1e309\" is beyond the range of double"},
      {"labels,g1,g2\nA,1,2\nB,N/a,3\n",
       "line 3, column 2 (gene \"g1\"): the value is missing (\"N/a\"); genes with missing "
       "values can be left out instead"},
      {"labels,g1,g2\nA,1,\n",
       "line 2, column 3 (gene \"g2\"): the value is missing (empty field); genes with missing "
       "values can be left out instead"},
      {"labels,g1,g2\n\nA,1\n", "line 3 holds 2 fields, but the header holds 3"},
      {"labels,g1,g2\nA,1,2,3\n", "line 2 holds 4 fields, but the header holds 3"},
      {"labels,g1\n ,1\n", "line 2, column 1: the label is missing (empty field)"},
      {"labels,g1\nnull,1\n", "line 2, column 1: the label is missing (\"null\")"},
      {"labels,g1\nA,\"1\n", "line 2, column 2: the quote that opens this field is never closed"},
      {"labels,g1\n\"A\" B,1\n", "line 2, column 1: text follows the closing quote of the field"},
      {"labels,g1\nA\xC3,1\n", "line 2, column 1: the text is not UTF-8"},
      {"labels,g\xED\xA0\x80\nA,1\n", "line 1, column 2: the text is not UTF-8"},
      {"labels,g1\n", "the table holds a header but no sample rows"},
      {" \n\n", "the file holds no table"},
  };
  for (const auto& bad : cases) {
    expectError(readText(bad.text), InputError::kInvalidData, "t.csv: " + bad.message);
  }
}

TEST(ExpressionTableTest, NumbersReadAsStrtodReadsThem) {
  const ExpressionTable table =
      tableOf(readText("labels,a,b,c,d,e,f\nA,+7,-0,1e-400,4.9e-324,\"12345678901234567890\","
                       "0.1000000000000000055511151231257827\n"));
  ASSERT_EQ(table.values.size(), 6u);
  EXPECT_EQ(table.values[0][0], 7.0);
  EXPECT_TRUE(std::signbit(table.values[1][0]));
  EXPECT_EQ(table.values[2][0], 0.0);  // underflow reads as zero
  EXPECT_EQ(table.values[3][0], std::strtod("4.9e-324", nullptr));
  EXPECT_EQ(table.values[4][0], 12345678901234567890.0);
  EXPECT_EQ(table.values[5][0], 0.1);
}

TEST(ExpressionTableTest, MissingValuesDropWholeGenesWhenAsked) {
  const std::string text = "labels,g1,g2,g3,g4\nA,1,na,3,4\nB,5,6,,NaN\nC,9,10,11,12\n";
  const ExpressionTable table = tableOf(readText(text, Options().dropMissing()));
  EXPECT_EQ(table.geneNames, (Names{"g1"}));
  EXPECT_EQ(table.geneColumns, (std::vector<int>{2}));
  EXPECT_EQ(table.values, (Values{{1, 5, 9}}));
  EXPECT_EQ(table.droppedGeneCount, 3);
  expectError(readText("labels,g1\nA,?\n", Options().dropMissing()), 2,
              "t.csv: every gene has a missing value, so none is left");
  // A missing label is never a missing value.
  expectError(readText("labels,g1\nNA,1\n", Options().dropMissing()), 2,
              "t.csv: line 2, column 1: the label is missing (\"NA\")");
}

TEST(ExpressionTableTest, GenesInRowsTakeTheLabelRowByNameOrOption) {
  const std::string text = "gene,s1,s2,s3\ng1,1,2,3\nClass,A,B,A\ng2,4,5,6\n";
  ExpressionTable table = tableOf(readText(text, Options().genesInRows()));
  EXPECT_EQ(table.form, Form::kGenesInRows);
  EXPECT_EQ(table.geneNames, (Names{"g1", "g2"}));
  EXPECT_EQ(table.geneColumns, (std::vector<int>{2, 4}));
  EXPECT_EQ(table.sampleNames, (Names{"s1", "s2", "s3"}));
  EXPECT_EQ(table.labels, (Names{"A", "B", "A"}));
  EXPECT_EQ(table.values, (Values{{1, 2, 3}, {4, 5, 6}}));
  EXPECT_EQ(table.labelSource, "row \"Class\"");
  EXPECT_EQ(table.labelName, "Class");

  // By exact name, and by number among the rows after the header.
  EXPECT_EQ(
      tableOf(readText("x,s1,s2\ng1,1,2\ngroup,P,Q\n", Options().label("group").genesInRows()))
          .labels,
      (Names{"P", "Q"}));
  table = tableOf(readText("x,s1,s2\ng1,1,2\ng3,5,6\n2,3,4\n", Options().label("2").genesInRows()));
  EXPECT_EQ(table.labels, (Names{"3", "4"}));  // the row named "2" wins over row 2
  EXPECT_EQ(table.geneNames, (Names{"g1", "g3"}));
  table = tableOf(readText("x,s1,s2\ng1,1,2\ngroup,P,Q\n", Options().label("2").genesInRows()));
  EXPECT_EQ(table.labels, (Names{"P", "Q"}));
  EXPECT_EQ(table.geneNames, (Names{"g1"}));
  EXPECT_EQ(table.labelSource, "row \"group\" (row 2 after the header)");
  EXPECT_EQ(table.labelName, "group");

  expectError(readText("x,s1\ng1,1\n", Options().genesInRows()), 2,
              "t.csv: no row is named labels, label, class, y, target or diagnosis; name the "
              "label row with --label-column or give a labels file");
  expectError(readText("x,s1\ng1,1\n", Options().label("9").genesInRows()), 2,
              "t.csv: the label row \"9\" names no row: no row has that name, and there is no "
              "row of that number after the header");
  expectError(readText("x,s1,s2\nlabels,A,B\ng1,1,oops\n", Options().genesInRows()), 2,
              "t.csv: line 3, column 3 (gene \"g1\"): \"oops\" is not a number");
  expectError(readText("x,s1,s2\nlabels,A,\ng1,1,2\n", Options().genesInRows()), 2,
              "t.csv: line 2, column 3: the label is missing (empty field)");
  expectError(readText("x\nlabels\n", Options().genesInRows()), 2,
              "t.csv: the header names no sample after its corner cell");
  expectError(readText("x,s1\nlabels,A\n", Options().genesInRows()), 2,
              "t.csv: the table holds no gene rows");
  table = tableOf(
      readText("x,s1,s2\nlabels,A,B\ng1,NA,1\ng2,1,2\n", Options().genesInRows().dropMissing()));
  EXPECT_EQ(table.geneNames, (Names{"g2"}));
  EXPECT_EQ(table.geneColumns, (std::vector<int>{4}));
  EXPECT_EQ(table.droppedGeneCount, 1);
}

TEST(ExpressionTableTest, NativeRecordsReadAnyShapeAndAnyTwoClassWords) {
  const ExpressionTable table =
      tableOf(readText("\xEF\xBB\xBF\n  1.5,2;-3,ALL\n4,5e1,+6,\nAML\n\n.5|7|8|ALL"));
  EXPECT_EQ(table.form, Form::kNativeRecords);
  EXPECT_EQ(table.geneNames, (Names{"1", "2", "3"}));
  EXPECT_EQ(table.geneColumns, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(table.sampleNames, (Names{"1", "2", "3"}));
  EXPECT_EQ(table.labels, (Names{"ALL", "AML", "ALL"}));
  EXPECT_EQ(table.values, (Values{{1.5, 4, 0.5}, {2, 50, 7}, {-3, 6, 8}}));
  EXPECT_EQ(table.labelSource, "native class words");
  EXPECT_EQ(table.labelName, "class");

  const std::string place = "t.csv: record 2 (sample 2): ";
  expectError(readText("1,2,a\n3,b\n"), 2,
              place +
                  "the record holds 1 value before its class word \"b\", but the first "
                  "record holds 2");
  expectError(readText("1,2,a\n3,4,5,b\n"), 2,
              place + "the record holds more values than the first record's 2");
  expectError(readText("1,2,a\n3,4,"), 2,
              place + "the file ends after value 2, before the record's class word");
  expectError(readText("1,2,a\n3,1e999,b\n"), 2,
              place + "value 2 is not a number, or is beyond the range of double");
  // A short file after blank lines: its form is told by its first token.
  EXPECT_EQ(tableOf(readText("\n\n12,A\n34,B\n")).form, Form::kNativeRecords);
  // Options that belong to tables do not fit.
  expectError(readText("1,a\n", Options().genesInRows()), 2,
              "t.csv: genes in rows does not fit native records (values, then a class word), "
              "which have no header and carry their own labels");
  EXPECT_EQ(tableOf(readText("1,a\n", Options().dropMissing())).labels, (Names{"a"}));
}

TEST(ExpressionTableTest, WideRowsRead) {
  constexpr int kGenes = 20000;
  std::string text = "labels";
  for (int gene = 0; gene < kGenes; ++gene) text.append(",g").append(std::to_string(gene));
  for (const char* label : {"\nA", "\nB"}) {
    text += label;
    for (int gene = 0; gene < kGenes; ++gene) text.append(",").append(std::to_string(gene));
  }
  const ExpressionTable table = tableOf(readText(text));
  ASSERT_EQ(table.values.size(), static_cast<std::size_t>(kGenes));
  EXPECT_EQ(table.values[kGenes - 1], (std::vector<double>{kGenes - 1, kGenes - 1}));
}

// A NUL byte is invalid data wherever it stands, reported where it stands:
// the field in a table, the byte of the line in native records.
TEST(ExpressionTableTest, NulByteIsInvalidDataAtItsLineAndColumn) {
  const std::string nul(1, '\0');
  const struct {
    std::string text;
    bool genesInRows;
    std::string place;
  } cases[] = {
      {nul + "labels,g\nA,1\n", false, "line 1, column 1"},
      {"labels,g" + nul + "\nA,1\n", false, "line 1, column 2"},
      {"labels,g\nA,1\nB,\"2\n3" + nul + "\"\n", false, "line 4, column 2"},
      {"labels\tg1\tg2\nA\t1\t" + nul, false, "line 2, column 3"},
      {"x,s1,s2\nlabels,A,B\ng1,1," + nul + "2\n", true, "line 3, column 3"},
      {"1.5,2,A\n3,4" + nul + ",B\n", false, "line 2, column 4"},
  };
  for (const auto& bad : cases) {
    SCOPED_TRACE(bad.place);
    TableOptions options;
    options.genesInRows = bad.genesInRows;
    expectError(readText(bad.text, options), InputError::kInvalidData,
                "t.csv: " + bad.place + ": the text holds a NUL byte, which no text file holds");
  }
}

// No field may be longer than 1 MiB, whether the rest of its record is in
// the input yet or not; a record of long fields is fine.
TEST(ExpressionTableTest, FieldOverOneMebibyteIsInvalidData) {
  const std::string limit(DelimitedRecordReader::kMaxFieldBytes, '7');
  const std::string message = ": the field is longer than 1 MiB";
  EXPECT_EQ(tableOf(readText("labels,g\n" + limit + ",1\n")).labels, (Names{limit}));
  expectError(readText("labels,g\nA," + limit + "7\n"), 2, "t.csv: line 2, column 2" + message);
  expectError(readText("labels,\"" + limit + "\"\"\"\nA,1\n"), 2,
              "t.csv: line 1, column 2" + message);
  // A field that never ends fails once it is surely too long, before the
  // rest of the input is read.
  expectError(readText("labels,g\nA,1\nB, " + std::string(3 << 20, 'x')), 2,
              "t.csv: line 3, column 2" + message);
  expectError(readText("labels;g" + std::string(3 << 20, 'x')), 2,
              "t.csv: line 1, column 2" + message);
  // Blanks around a field are no part of it.
  EXPECT_EQ(tableOf(readText("labels,g\nA," + std::string(3 << 20, ' ') + "1\n")).values,
            (Values{{1}}));
  expectError(readText("1,2,x" + limit + "\n"), 2,
              "t.csv: record 1 (sample 1): the class word is longer than 1 MiB");
}

// Names as users write them: the row names that pandas and R write under an
// empty first header cell are the sample names, never a gene; other empty
// names are "Unnamed: N" as pandas reads them, and repeated names get the
// first free suffix.
TEST(ExpressionTableTest, GenesGetNamesOfTheirOwn) {
  ExpressionTable table = tableOf(readText(",labels,g1,g2\n0,A,1,2\n1,B,3,4\n"));
  EXPECT_EQ(table.sampleNames, (Names{"0", "1"}));
  EXPECT_EQ(table.geneNames, (Names{"g1", "g2"}));
  EXPECT_EQ(table.renamedGeneCount, 0);
  // R quotes it; the labels may then be found by content.
  table = tableOf(readText("\"\",\"g1\",\"grp\"\n\"r1\",1,\"A\"\n\"r2\",3,\"B\"\n"));
  EXPECT_EQ(table.sampleNames, (Names{"r1", "r2"}));
  EXPECT_EQ(table.labels, (Names{"A", "B"}));
  EXPECT_EQ(table.geneNames, (Names{"g1"}));
  // A sample column named otherwise leaves the row names out altogether.
  table = tableOf(readText(",id,labels,g1\n0,s1,A,1\n1,s2,B,3\n", Options().sample("id")));
  EXPECT_EQ(table.sampleNames, (Names{"s1", "s2"}));
  EXPECT_EQ(table.geneNames, (Names{"g1"}));
  EXPECT_EQ(table.geneColumns, (std::vector<int>{4}));

  table = tableOf(readText("labels,g,,g,g.1,g,,Unnamed: 2\nA,1,2,3,4,5,6,7\n"));
  EXPECT_EQ(table.geneNames,
            (Names{"g", "Unnamed: 2", "g.2", "g.1", "g.3", "Unnamed: 6", "Unnamed: 2.1"}));
  EXPECT_EQ(table.renamedGeneCount, 5);
  // The same names, whichever genes are then left out for missing values.
  table = tableOf(readText("labels,g,g,g\nA,1,NA,3\n", Options().dropMissing()));
  EXPECT_EQ(table.geneNames, (Names{"g", "g.2"}));
  EXPECT_EQ(table.renamedGeneCount, 2);
  // One gene per record: the record after the header counts from 0.
  table = tableOf(readText("x,s1\nlabels,A\n,1\ng,2\ng,3\n", Options().genesInRows()));
  EXPECT_EQ(table.geneNames, (Names{"Unnamed: 1", "g", "g.1"}));
  EXPECT_EQ(table.renamedGeneCount, 2);
}

// Files: plain, gzip written here with zlib, standard input, labels files.
class ExpressionTableFileTest : public ::testing::Test {
 protected:
  void writeGzip(const std::string& name, const std::string& text) {
    gzFile file = gzopen((dir_.path() / name).c_str(), "wb");
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(gzwrite(file, text.data(), static_cast<unsigned>(text.size())),
              static_cast<int>(text.size()));
    gzclose(file);
  }
  std::string path(const std::string& name) const { return (dir_.path() / name).string(); }

  ScopedWorkDir dir_;
};

TEST_F(ExpressionTableFileTest, GzipAndPlainFilesReadTheSame) {
  std::string text = "labels,id,g1,g2\n";
  for (int row = 0; row < 30000; ++row) {  // several chunks of compressed data
    text += "A,s" + std::to_string(row) + "," + std::to_string(row) + ",0.25\n";
  }
  writeFile(path("t.csv"), text);
  writeGzip("t.csv.gz", text);
  const ExpressionTable plain = tableOf(readExpressionTable(path("t.csv"), {}));
  const ExpressionTable packed = tableOf(readExpressionTable(path("t.csv.gz"), {}));
  ASSERT_EQ(plain.sampleNames.size(), 30000u);
  EXPECT_EQ(plain.values, packed.values);
  EXPECT_EQ(plain.sampleNames, packed.sampleNames);

  const std::string compressed = readFile(path("t.csv.gz"));
  writeFile(path("cut.csv.gz"), compressed.substr(0, compressed.size() / 2));
  expectError(readExpressionTable(path("cut.csv.gz"), {}), InputError::kUnreadable,
              "cannot read " + path("cut.csv.gz") + ": unexpected end of file");
  writeFile(path("plain.gz"), "labels,g\nA,1\n");
  expectError(readExpressionTable(path("plain.gz"), {}), InputError::kUnreadable,
              "cannot read " + path("plain.gz") + ": not gzip data");
  std::string corrupt = compressed;
  corrupt.replace(100, 8, "\xff\xff\xff\xff\xff\xff\xff\xff");
  writeFile(path("bad.csv.gz"), corrupt);
  EXPECT_EQ(errorOf(readExpressionTable(path("bad.csv.gz"), {})).kind, InputError::kUnreadable);
}

TEST_F(ExpressionTableFileTest, UnreadableFilesHaveStatusOne) {
  expectError(readExpressionTable(path("none.csv"), {}), InputError::kUnreadable,
              "cannot open " + path("none.csv") + ": No such file or directory");
  expectError(readExpressionTable(path("none.gz"), {}), InputError::kUnreadable,
              "cannot open " + path("none.gz") + ": No such file or directory");
  expectError(readExpressionTable(dir_.path().string(), {}), InputError::kUnreadable,
              "cannot read " + dir_.path().string() + ": Is a directory");
  writeFile(path("t.csv"), "labels,g\nA,1\n");
  expectError(readExpressionTable(path("t.csv"), Options().labels(path("none.txt"))),
              InputError::kUnreadable,
              "cannot open " + path("none.txt") + ": No such file or directory");
  expectError(readExpressionTable(path("t.csv"), Options().labels(dir_.path().string())),
              InputError::kUnreadable, "cannot read " + dir_.path().string() + ": Is a directory");
}

TEST_F(ExpressionTableFileTest, DashReadsStandardInput) {
  writeFile(path("t.csv"), "labels,g\nA,1\nB,2\n");
  const int saved = dup(STDIN_FILENO);
  ASSERT_NE(std::freopen(path("t.csv").c_str(), "r", stdin), nullptr);
  const std::variant<ExpressionTable, InputError> result = readExpressionTable("-", {});
  dup2(saved, STDIN_FILENO);
  close(saved);
  clearerr(stdin);
  EXPECT_EQ(tableOf(result).labels, (Names{"A", "B"}));
}

TEST_F(ExpressionTableFileTest, LabelsFilesGiveTheLabelsOfEitherTableForm) {
  // One label per line, blanks around it dropped, blank lines skipped.
  writeFile(path("labels.txt"), "\xEF\xBB\xBFTumor\n\n  \tNormal \r\nTumor");
  const TableOptions options = Options().labels(path("labels.txt"));
  // Every column but the sample column is a gene, "labels" included.
  ExpressionTable table = tableOf(readText("labels,sample,g\n1,a,2\n3,b,4\n5,c,6\n", options));
  EXPECT_EQ(table.labels, (Names{"Tumor", "Normal", "Tumor"}));
  EXPECT_EQ(table.geneNames, (Names{"labels", "g"}));
  EXPECT_EQ(table.labelSource, "file " + path("labels.txt"));
  EXPECT_EQ(table.labelName, path("labels.txt"));
  TableOptions rows = options;
  rows.genesInRows = true;
  table = tableOf(readText("x,s1,s2,s3\nlabels,1,2,3\n", rows));
  EXPECT_EQ(table.labels, (Names{"Tumor", "Normal", "Tumor"}));
  EXPECT_EQ(table.geneNames, (Names{"labels"}));

  expectError(readText("g\n1\n2\n", options), InputError::kInvalidData,
              path("labels.txt") + " holds 3 labels, but t.csv holds 2 samples");
  // A label is a whole line: labels between blanks on one line are one
  // label, and the message says so.
  writeFile(path("spaced.txt"), "A B\nB A\n");
  EXPECT_EQ(tableOf(readText("g\n1\n2\n", Options().labels(path("spaced.txt")))).labels,
            (Names{"A B", "B A"}));
  expectError(readText("g\n1\n2\n3\n4\n", Options().labels(path("spaced.txt"))),
              InputError::kInvalidData,
              path("spaced.txt") +
                  " holds 2 labels, but t.csv holds 4 samples; each line is one label, and line 1 "
                  "holds blanks");
  writeFile(path("bad.txt"), "A\nNA\nB");
  expectError(readText("g\n1\n2\n3\n", Options().labels(path("bad.txt"))), InputError::kInvalidData,
              path("bad.txt") + ": line 2: the label is missing (\"NA\")");
  writeFile(path("nul.txt"), std::string("A\nB\0\nA\n", 7));
  expectError(readText("g\n1\n2\n3\n", Options().labels(path("nul.txt"))), InputError::kInvalidData,
              path("nul.txt") +
                  ": line 2, column 2: the text holds a NUL byte, which no text file "
                  "holds");
  expectError(readText("labels,g\nA,1\n", Options().label("labels").labels(path("bad.txt"))),
              InputError::kInvalidData,
              "t.csv: a label column and a labels file both give the labels; give one of them");
  expectError(readText("1,2,a\n", options), InputError::kInvalidData,
              "t.csv: a labels file does not fit native records (values, then a class word), "
              "which have no header and carry their own labels");
}

}  // namespace
}  // namespace geneclub::testing
