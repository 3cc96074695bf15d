// The field's own file forms, written here from one small table: a GEO
// series matrix, GCT 1.2 and 1.3 files with CLS labels, column-metadata
// labels and annotation files. Each form of the same data must read into
// the table the CSV form gives (names, values, labels), plain and gzipped;
// every malformed file must be invalid data whose message names the line
// and what is wrong.

#include <gtest/gtest.h>
#include <zlib.h>

#include <string>
#include <variant>
#include <vector>

#include "readers/expression_table.h"
#include "tests/test_support.h"

namespace geneclub::testing {
namespace {

using Names = std::vector<std::string>;
using Form = ExpressionTable::Form;

// The table every form below holds: four samples, three genes.
constexpr char kCsv[] =
    "labels,p1_at,p2_at,p3_at\n"
    "tumour,1.5,20,-3\n"
    "normal,2.5,21,-4\n"
    "tumour,3.5,22,-5\n"
    "normal,4.5,23,-6\n";

// The same as a series matrix, with extra sample lines and characteristics.
constexpr char kSeriesMatrix[] =
    "!Series_title\t\"A study\"\n"
    "!Series_geo_accession\t\"GSE1\"\n"
    "\n"
    "!Sample_title\t\"1\"\t\"2\"\t\"3\"\t\"4\"\n"
    "!Sample_geo_accession\t\"GSM11\"\t\"GSM12\"\t\"GSM13\"\t\"GSM14\"\n"
    "!Sample_source_name_ch1\t\"colon\"\t\"colon\"\t\"colon\"\t\"colon\"\n"
    "!Sample_characteristics_ch1\t\"Disease State: tumour\"\t\"disease state: normal\"\t"
    "\"disease state: tumour\"\t\"disease state: normal\"\n"
    "!Sample_characteristics_ch1\t\"age: 61\"\t\"age: 62\"\t\"age: 63\"\t\"\"\n"
    "!Sample_characteristics_ch1\t\"sex: F\"\t\"sex: M\"\t\"sex: M\"\t\"sex: M\"\n"
    "!series_matrix_table_begin\n"
    "\"ID_REF\"\t\"GSM11\"\t\"GSM12\"\t\"GSM13\"\t\"GSM14\"\n"
    "\"p1_at\"\t1.5\t2.5\t3.5\t4.5\n"
    "\"p2_at\"\t20\t21\t22\t23\n"
    "\"p3_at\"\t-3\t-4\t-5\t-6\n"
    "!series_matrix_table_end\n";

constexpr char kGct12[] =
    "#1.2\n"
    "3\t4\n"
    "Name\tDescription\t1\t2\t3\t4\n"
    "p1_at\tfirst probe\t1.5\t2.5\t3.5\t4.5\n"
    "p2_at\tsecond probe\t20\t21\t22\t23\n"
    "p3_at\tna\t-3\t-4\t-5\t-6\n";

constexpr char kGct13[] =
    "#1.3\n"
    "3\t4\t2\t2\n"
    "id\tsymbol\tdescription\t1\t2\t3\t4\n"
    "class\tna\tna\ttumour\tnormal\ttumour\tnormal\n"
    "batch\tna\tna\tb1\tb1\tb2\tb2\n"
    "p1_at\tA1\tfirst probe\t1.5\t2.5\t3.5\t4.5\n"
    "p2_at\tA2\tsecond probe\t20\t21\t22\t23\n"
    "p3_at\tA3\tna\t-3\t-4\t-5\t-6\n";

constexpr char kClsByNumber[] = "4 2 1\n# tumour normal\n0 1 0 1\n";
constexpr char kClsByName[] = "4\t2\t1\n#\ttumour\tnormal\ntumour\tnormal\ntumour normal\n";

class FileFormsTest : public ::testing::Test {
 protected:
  std::string path(const std::string& name) const { return (dir_.path() / name).string(); }

  // Writes the text plainly and gzipped (NAME.gz).
  void writeBoth(const std::string& name, const std::string& text) {
    writeFile(path(name), text);
    gzFile file = gzopen(path(name + ".gz").c_str(), "wb");
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(gzwrite(file, text.data(), static_cast<unsigned>(text.size())),
              static_cast<int>(text.size()));
    gzclose(file);
  }

  ExpressionTable read(const std::string& name, const TableOptions& options = {}) {
    std::variant<ExpressionTable, InputError> result = readExpressionTable(path(name), options);
    if (const InputError* error = std::get_if<InputError>(&result)) {
      ADD_FAILURE() << name << ": " << error->message;
      return {};
    }
    return std::get<ExpressionTable>(std::move(result));
  }

  InputError readError(const std::string& name, const TableOptions& options = {}) {
    std::variant<ExpressionTable, InputError> result = readExpressionTable(path(name), options);
    if (!std::holds_alternative<InputError>(result)) {
      ADD_FAILURE() << name << " read where an error was expected";
      return {};
    }
    return std::get<InputError>(result);
  }

  void expectError(const std::string& name, const std::string& text, const std::string& message,
                   const TableOptions& options = {}) {
    writeFile(path(name), text);
    const InputError error = readError(name, options);
    EXPECT_EQ(error.kind, InputError::kInvalidData) << name;
    EXPECT_EQ(error.message, path(name) + ": " + message) << name;
  }

  // The table as the CSV form gives it; the genes stand in the given
  // records.
  void expectSameTable(const ExpressionTable& table, Form form,
                       const std::vector<int>& records = {2, 3, 4}) {
    writeFile(path("same.csv"), kCsv);
    const ExpressionTable csv = read("same.csv");
    EXPECT_EQ(table.form, form);
    EXPECT_EQ(table.geneNames, csv.geneNames);
    EXPECT_EQ(table.values, csv.values);
    EXPECT_EQ(table.labels, csv.labels);
    EXPECT_EQ(table.sampleNames, csv.sampleNames);
    EXPECT_EQ(table.geneColumns, records);
  }

  static TableOptions field(const std::string& name) {
    TableOptions options;
    options.labelField = name;
    return options;
  }
  TableOptions labelsFile(const std::string& name) const {
    TableOptions options;
    options.labelsFile = path(name);
    return options;
  }

  ScopedWorkDir dir_;
};

TEST_F(FileFormsTest, SeriesMatrixReadsAsTheTableDoes) {
  writeBoth("GSE1_series_matrix.txt", kSeriesMatrix);
  for (const char* name : {"GSE1_series_matrix.txt", "GSE1_series_matrix.txt.gz"}) {
    SCOPED_TRACE(name);
    const ExpressionTable table = read(name, field("disease state"));
    expectSameTable(table, Form::kSeriesMatrix);
    EXPECT_EQ(table.labelSource, "field \"disease state\"");
    EXPECT_TRUE(table.geneDescriptions.empty());
  }
  // A sample line by its name without the prefix, in any case.
  EXPECT_EQ(read("GSE1_series_matrix.txt", field("Source_Name_ch1")).labels,
            (Names{"colon", "colon", "colon", "colon"}));
  // Labels from a labels file instead.
  writeFile(path("labels.txt"), "a\nb\na\nb\n");
  EXPECT_EQ(read("GSE1_series_matrix.txt", labelsFile("labels.txt")).labels,
            (Names{"a", "b", "a", "b"}));
}

TEST_F(FileFormsTest, SeriesMatrixNamesSamplesByTitleElseAccession) {
  std::string text = kSeriesMatrix;
  text.replace(text.find("\"1\"\t\"2\"\t\"3\"\t\"4\""), 15, "\"a\"\t\"b\"\t\"a\"\t\"\"");
  writeFile(path("m.txt"), text);
  EXPECT_EQ(read("m.txt", field("disease state")).sampleNames,
            (Names{"GSM11", "b", "GSM13", "GSM14"}));
}

TEST_F(FileFormsTest, SeriesMatrixWithoutALabelFieldListsTheCandidates) {
  writeFile(path("m.txt"), kSeriesMatrix);
  expectError("m.txt", kSeriesMatrix,
              "choose the field that gives the labels with --label-field, or give a labels file "
              "with --labels; fields with 2 to 10 distinct values: \"title\" (\"1\" 1, \"2\" 1, "
              "\"3\" 1, \"4\" 1); \"geo_accession\" (\"GSM11\" 1, \"GSM12\" 1, \"GSM13\" 1, "
              "\"GSM14\" 1); \"Disease State\" (\"tumour\" 2, \"normal\" 2); \"age\" (\"61\" 1, "
              "\"62\" 1, \"63\" 1); \"sex\" (\"F\" 1, \"M\" 3)");
  expectError("m.txt", kSeriesMatrix,
              "no field is named \"stage\"; the fields are \"title\", \"geo_accession\", "
              "\"source_name_ch1\", \"Disease State\", \"age\", \"sex\"",
              field("stage"));
  expectError("m.txt", kSeriesMatrix, "the field \"age\" gives sample 4 (\"4\") no label",
              field("age"));
}

TEST_F(FileFormsTest, MalformedSeriesMatricesAreInvalidData) {
  const std::string text = kSeriesMatrix;
  const auto without = [&text](const std::string& part) {
    std::string changed = text;
    changed.erase(changed.find(part), part.size());
    return changed;
  };
  const auto replaced = [&text](const std::string& part, const std::string& by) {
    std::string changed = text;
    changed.replace(changed.find(part), part.size(), by);
    return changed;
  };
  const TableOptions options = field("disease state");
  expectError("m.txt", without("!series_matrix_table_begin\n"),
              "line 10: a series matrix holds only lines that start with \"!\" before its table, "
              "not \"ID_REF\"",
              options);
  expectError("m.txt", text.substr(0, text.find("!series_matrix_table_begin")),
              "a series matrix holds its values between a !series_matrix_table_begin line and a "
              "!series_matrix_table_end line, and this file has neither",
              options);
  expectError("m.txt", without("!series_matrix_table_end\n"),
              "the table that begins on line 10 has no !series_matrix_table_end line; the file "
              "may be cut short",
              options);
  expectError("m.txt", replaced("\"sex: M\"\t\"sex: M\"\n", "\"sex: M\"\n"),
              "line 9 holds 3 sample values, but line 4 holds 4", options);
  expectError("m.txt",
              replaced("\"GSM13\"\t\"GSM14\"\n\"p1_at\"", "\"GSM31\"\t\"GSM14\"\n\"p1_at\""),
              "column 4 of the table's header is \"GSM31\", but !Sample_geo_accession gives "
              "sample 3 as \"GSM13\"",
              options);
  expectError("m.txt", replaced("\t22\t23\n", "\t22\n"),
              "line 13 holds 4 fields, but the header holds 5", options);
  expectError("m.txt", replaced("\t22\t23\n", "\t22\tnull\n"),
              "line 13, column 5 (gene \"p2_at\"): the value is missing (\"null\"); genes with "
              "missing values can be left out instead",
              options);
  TableOptions dropping = options;
  dropping.dropGenesWithMissing = true;
  writeFile(path("gaps.txt"), replaced("\t22\t23\n", "\t22\t\n"));
  const ExpressionTable table = read("gaps.txt", dropping);
  EXPECT_EQ(table.geneNames, (Names{"p1_at", "p3_at"}));
  EXPECT_EQ(table.droppedGeneCount, 1);
  // Options that belong to other forms do not fit.
  TableOptions column = options;
  column.labelField.clear();
  column.labelColumn = "labels";
  expectError("m.txt", text,
              "a label column does not fit a GEO series matrix, whose labels come from a label "
              "field or a labels file",
              column);
}

TEST_F(FileFormsTest, GctFilesReadAsTheTableDoes) {
  writeBoth("t.gct", kGct12);
  writeBoth("numbers.cls", kClsByNumber);
  for (const char* name : {"t.gct", "t.gct.gz"}) {
    SCOPED_TRACE(name);
    const ExpressionTable table = read(name, labelsFile("numbers.cls"));
    expectSameTable(table, Form::kGct);
    EXPECT_EQ(table.geneDescriptions, (Names{"first probe", "second probe", "na"}));
    EXPECT_EQ(table.labelSource, "file " + path("numbers.cls"));
  }
  // Class names in the CLS file, tabs between them, over two lines; gzipped.
  writeBoth("names.cls", kClsByName);
  EXPECT_EQ(read("t.gct", labelsFile("names.cls.gz")).labels,
            (Names{"tumour", "normal", "tumour", "normal"}));
  // Version 1.3: the column metadata give the labels, the row metadata the
  // descriptions.
  writeBoth("v13.gct", kGct13);
  for (const char* name : {"v13.gct", "v13.gct.gz"}) {
    SCOPED_TRACE(name);
    const ExpressionTable table = read(name, field("Class"));
    expectSameTable(table, Form::kGct, {4, 5, 6});
    EXPECT_EQ(table.geneDescriptions, (Names{"first probe", "second probe", "na"}));
  }
}

TEST_F(FileFormsTest, GctFileTakesTheClsFileBesideIt) {
  writeBoth("study.gct", kGct12);
  const InputError none = readError("study.gct");
  EXPECT_EQ(none.message,
            path("study.gct") +
                ": a GCT file's labels come from a labels file given with --labels (a CLS file or "
                "one label per line), or from a CLS file of the same name beside it, and there is "
                "none");
  writeFile(path("study.cls"), kClsByNumber);
  for (const char* name : {"study.gct", "study.gct.gz"}) {
    const ExpressionTable table = read(name);
    EXPECT_EQ(table.labels, (Names{"tumour", "normal", "tumour", "normal"})) << name;
    EXPECT_EQ(table.labelSource, "file " + path("study.cls")) << name;
  }
  // A labels file given wins over the one beside it.
  writeFile(path("other.txt"), "x\ny\nx\ny\n");
  EXPECT_EQ(read("study.gct", labelsFile("other.txt")).labels, (Names{"x", "y", "x", "y"}));
  // Without a label field, a 1.3 file lists its column-metadata rows.
  writeFile(path("v13.gct"), kGct13);
  EXPECT_EQ(readError("v13.gct").message,
            path("v13.gct") +
                ": choose the field that gives the labels with --label-field, or give a labels "
                "file with --labels; fields with 2 to 10 distinct values: \"class\" (\"tumour\" 2, "
                "\"normal\" 2); \"batch\" (\"b1\" 2, \"b2\" 2)");
}

TEST_F(FileFormsTest, MalformedGctAndClsFilesAreInvalidData) {
  const std::string text = kGct12;
  const auto replaced = [](std::string changed, const std::string& part, const std::string& by) {
    changed.replace(changed.find(part), part.size(), by);
    return changed;
  };
  writeFile(path("ok.cls"), kClsByNumber);
  const TableOptions cls = labelsFile("ok.cls");
  expectError("g.gct", replaced(text, "3\t4\n", "3\n"),
              "line 2: a GCT file's second line is the numbers of genes and samples", cls);
  expectError("g.gct", replaced(text, "3\t4\n", "4\t4\n"),
              "line 2 gives 4 genes, but the file holds 3", cls);
  expectError("g.gct", replaced(text, "3\t4\n", "3\t5\n"),
              "line 3: the header holds 6 fields, but line 2 gives 5 samples, which with Name and "
              "Description make 7",
              cls);
  expectError("g.gct", replaced(kGct13, "3\t4\t2\t2\n", "3\t4\t1\t2\n"),
              "line 3: the header holds 7 fields, but line 2 gives 4 samples and 1 row-metadata "
              "fields, which make 6",
              field("class"));
  expectError("g.gct", replaced(kGct13, "3\t4\t2\t2\n", "3\t4\t2\t3\n"),
              "line 2 gives 3 genes, but the file holds 2", field("class"));
  expectError("g.gct", replaced(kGct13, "\tb2\tb2\n", "\tb2\n"),
              "line 5 holds 6 fields, but the header holds 7", field("class"));
  expectError("g.gct", text,
              "a GCT 1.2 file has no column metadata for a label field to name; give its labels "
              "with --labels (a CLS file or one label per line)",
              field("class"));

  writeFile(path("g.gct"), text);
  const struct {
    std::string cls;
    std::string message;
  } badCls[] = {
      {"4 2\n# a b\n0 1 0 1\n",
       "line 1: a CLS file's first line is the numbers of samples and of classes, then 1 (such "
       "as \"72 2 1\")"},
      {"4 2 1\na b\n0 1 0 1\n",
       "line 2: a CLS file's second line is \"#\" and the class names, between blanks"},
      {"4 2 1\n# a b c\n0 1 0 1\n", "line 2: the line names 3 classes, but line 1 gives 2"},
      {"4 2 1\n# a b\n0 1 0\n", "line 1 gives 4 samples, but the file holds 3 labels"},
      {"4 2 1\n# a b\n0 1\n0 c\n",
       "line 4: \"c\" is neither a class named on line 2 nor a class number from 0 to 1"},
      {"4 2 1\n# a b\n0 1\na b\n",
       "line 3: \"0\" is a class number, but other labels are class names; give all labels one "
       "way"},
      {"4 2 1\n# a b\n0 1 0 2\n",
       "line 3: \"2\" is neither a class named on line 2 nor a class number from 0 to 1"},
  };
  for (const auto& bad : badCls) {
    writeFile(path("bad.cls"), bad.cls);
    const InputError error = readError("g.gct", labelsFile("bad.cls"));
    EXPECT_EQ(error.kind, InputError::kInvalidData);
    EXPECT_EQ(error.message, path("bad.cls") + ": " + bad.message);
  }
  // A CLS file whose count disagrees with the data's samples.
  writeFile(path("five.cls"), "5 2 1\n# a b\n0 1 0 1 1\n");
  EXPECT_EQ(readError("g.gct", labelsFile("five.cls")).message,
            path("five.cls") + " holds 5 labels, but " + path("g.gct") + " holds 4 samples");
}

TEST_F(FileFormsTest, AnnotationGivesSymbolsAndTitles) {
  writeFile(path("t.csv"), kCsv);
  const struct {
    const char* name;
    std::string text;
  } annotations[] = {
      {"platform.txt",
       "# a platform table\n#ID = probe identifier\nID\tGB_ACC\tGene Title\tGene Symbol\n"
       "p1_at\tX1\tfirst gene\tGENE1\np2_at\tX2\t\t\nother_at\tX3\tunused\tOTHER\n"},
      {"GPL1.soft",
       "^PLATFORM = GPL1\n!Platform_title = An array\n!platform_table_begin\n"
       "ID\tGene Title\tGene Symbol\np1_at\tfirst gene\tGENE1\np2_at\t\t\n"
       "!platform_table_end\n"},
      {"symbols.csv", "probe_id,symbol,description\np2_at,,\np1_at,GENE1,first gene\n"},
  };
  for (const auto& annotation : annotations) {
    SCOPED_TRACE(annotation.name);
    writeBoth(annotation.name, annotation.text);
    TableOptions options;
    options.annotationFile = path(std::string(annotation.name) + ".gz");
    const ExpressionTable table = read("t.csv", options);
    EXPECT_EQ(table.geneSymbols, (Names{"GENE1", "", ""}));
    EXPECT_EQ(table.geneTitles, (Names{"first gene", "", ""}));
    EXPECT_EQ(table.annotatedGeneCount, 2);
    EXPECT_EQ(table.unannotatedGeneCount, 1);
  }
  // The identifier column is the first when none has an identifier's name;
  // a title alone is enough.
  writeFile(path("titles.tsv"), "probe name\ttitle\np3_at\tthird\n");
  TableOptions options;
  options.annotationFile = path("titles.tsv");
  ExpressionTable table = read("t.csv", options);
  EXPECT_EQ(table.geneTitles, (Names{"", "", "third"}));
  EXPECT_EQ(table.geneSymbols, (Names{"", "", ""}));
  // Genes named twice both take the symbol of the name as written.
  writeFile(path("twice.csv"), "labels,p1_at,p1_at\nA,1,2\nB,3,4\n");
  options.annotationFile = path("symbols.csv");
  table = read("twice.csv", options);
  EXPECT_EQ(table.geneNames, (Names{"p1_at", "p1_at.1"}));
  EXPECT_EQ(table.geneSymbols, (Names{"GENE1", "GENE1"}));
  // Without an annotation, nothing.
  EXPECT_TRUE(read("t.csv").geneSymbols.empty());

  options.annotationFile = path("nothing.tsv");
  writeFile(path("nothing.tsv"), "ID\tGB_ACC\np1_at\tX1\n");
  EXPECT_EQ(readError("t.csv", options).message,
            path("nothing.tsv") +
                ": line 1: no column of the header is named \"Gene Symbol\", gene_symbol or "
                "symbol, nor \"Gene Title\", gene_title, title or description");
  writeFile(path("nothing.tsv"), "^PLATFORM = GPL1\n!Platform_title = x\n");
  EXPECT_EQ(readError("t.csv", options).message,
            path("nothing.tsv") +
                ": the SOFT file holds no platform table (no !platform_table_begin line and "
                "header)");
  writeFile(path("nothing.tsv"), "ID\tsymbol\np1_at\n");
  EXPECT_EQ(readError("t.csv", options).message,
            path("nothing.tsv") + ": line 2 holds 1 fields, but the header holds 2");
  options.annotationFile = path("none.tsv");
  const InputError missing = readError("t.csv", options);
  EXPECT_EQ(missing.kind, InputError::kUnreadable);
  EXPECT_EQ(missing.message, "cannot open " + path("none.tsv") + ": No such file or directory");
}

TEST_F(FileFormsTest, LabelFieldFitsOnlyFormsWithSampleFields) {
  writeFile(path("t.csv"), kCsv);
  EXPECT_EQ(readError("t.csv", field("labels")).message,
            path("t.csv") +
                ": a label field names a sample field of a GEO series matrix or a "
                "column-metadata row of a GCT 1.3 file; name a table's label column instead");
  TableOptions both = field("class");
  both.labelsFile = path("x.cls");
  writeFile(path("v13.gct"), kGct13);
  EXPECT_EQ(
      readError("v13.gct", both).message,
      path("v13.gct") + ": a label field and a labels file both give the labels; give one of them");
}

}  // namespace
}  // namespace geneclub::testing
