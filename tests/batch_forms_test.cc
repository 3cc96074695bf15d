// geneclub-batch as a real process on the same data in every form it
// reads: a table written here in the field's forms (GEO series matrix, GCT
// 1.2 with a CLS file beside it, GCT 1.3 with column-metadata labels, each
// also gzipped, and a series matrix with its platform's annotation, run by
// the README's command) must give the results of its CSV form, byte for
// byte (aside from the genes' column, which counts records instead of
// columns, and the symbols and descriptions the forms add). The public
// tables are written in those forms too when they are present. A table
// saved by pandas with its index, an annotation that lacks some symbols,
// and the reader's command-line options and messages are checked the same
// way.

#include <gtest/gtest.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "tests/test_support.h"

namespace geneclub::testing {
namespace {

namespace fs = std::filesystem;

// A CSV table of samples in rows, its first column the labels.
struct CsvTable {
  std::vector<std::string> genes;
  std::vector<std::string> labels;              // per sample
  std::vector<std::vector<std::string>> cells;  // [sample][gene], as written
};

std::string unquoted(const std::string& field) {
  return field.size() >= 2 && field.front() == '"' ? field.substr(1, field.size() - 2) : field;
}

std::vector<std::string> commaFields(const std::string& line) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  while (true) {
    const std::size_t comma = line.find(',', start);
    fields.push_back(unquoted(line.substr(start, comma - start)));
    if (comma == std::string::npos) return fields;
    start = comma + 1;
  }
}

CsvTable parseCsv(const std::string& text) {
  CsvTable table;
  const std::vector<std::string> lines = linesOf(text);
  std::vector<std::string> header = commaFields(lines[0]);
  table.genes.assign(header.begin() + 1, header.end());
  for (std::size_t line = 1; line < lines.size(); ++line) {
    std::vector<std::string> fields = commaFields(lines[line]);
    table.labels.push_back(fields[0]);
    table.cells.emplace_back(fields.begin() + 1, fields.end());
  }
  return table;
}

// Samples are named 1 to N in every form, as the CSV form numbers them;
// the labels are the characteristic `key`.
std::string seriesMatrixOf(const CsvTable& table, const std::string& key) {
  const std::size_t samples = table.labels.size();
  std::string text = "!Series_title\t\"A test series\"\n!Sample_title";
  for (std::size_t s = 0; s < samples; ++s) text += "\t\"" + std::to_string(s + 1) + "\"";
  std::string accessions;
  for (std::size_t s = 0; s < samples; ++s) accessions += "\t\"GSM" + std::to_string(s + 1) + "\"";
  text += "\n!Sample_geo_accession" + accessions + "\n!Sample_characteristics_ch1";
  for (const std::string& label : table.labels) text += "\t\"" + key + ": " + label + "\"";
  text += "\n!series_matrix_table_begin\n\"ID_REF\"" + accessions + "\n";
  for (std::size_t g = 0; g < table.genes.size(); ++g) {
    text += "\"" + table.genes[g] + "\"";
    for (std::size_t s = 0; s < samples; ++s) text += "\t" + table.cells[s][g];
    text += "\n";
  }
  return text + "!series_matrix_table_end\n";
}

std::string gctOf(const CsvTable& table, bool version13) {
  const std::size_t samples = table.labels.size();
  std::string text = version13 ? "#1.3\n" + std::to_string(table.genes.size()) + "\t" +
                                     std::to_string(samples) + "\t1\t1\nid\tDescription"
                               : "#1.2\n" + std::to_string(table.genes.size()) + "\t" +
                                     std::to_string(samples) + "\nName\tDescription";
  for (std::size_t s = 0; s < samples; ++s) text += "\t" + std::to_string(s + 1);
  if (version13) {
    text += "\nclass\tna";
    for (const std::string& label : table.labels) text += "\t" + label;
  }
  text += "\n";
  for (std::size_t g = 0; g < table.genes.size(); ++g) {
    text += table.genes[g] + "\tprobe " + std::to_string(g + 1);
    for (std::size_t s = 0; s < samples; ++s) text += "\t" + table.cells[s][g];
    text += "\n";
  }
  return text;
}

// Classes numbered in order of first appearance.
std::string clsOf(const CsvTable& table) {
  std::vector<std::string> classes;
  std::string numbers;
  for (const std::string& label : table.labels) {
    auto found = std::find(classes.begin(), classes.end(), label);
    if (found == classes.end()) found = classes.insert(classes.end(), label);
    numbers += (numbers.empty() ? "" : " ") + std::to_string(found - classes.begin());
  }
  std::string text =
      std::to_string(table.labels.size()) + " " + std::to_string(classes.size()) + " 1\n#";
  for (const std::string& name : classes) text += " " + name;
  return text + "\n" + numbers + "\n";
}

void writeGzip(const fs::path& path, const std::string& text) {
  gzFile file = gzopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  ASSERT_EQ(gzwrite(file, text.data(), static_cast<unsigned>(text.size())),
            static_cast<int>(text.size()));
  gzclose(file);
}

// The fields of genes.tsv and patterns.tsv by name.
constexpr std::size_t kGeneName = 1, kGeneColumn = 2, kGeneSymbol = 9, kGeneDescription = 10;
constexpr std::size_t kPattern = 6, kPatternSymbols = 8;

// The table's lines without the fields at `dropped` (ascending).
std::string withoutFields(const fs::path& file, const std::vector<std::size_t>& dropped) {
  std::string kept;
  for (const std::string& line : linesOf(readFile(file))) {
    std::vector<std::string> fields = fieldsOf(line);
    for (auto field = dropped.rbegin(); field != dropped.rend(); ++field) {
      fields.erase(fields.begin() + static_cast<std::ptrdiff_t>(*field));
    }
    for (std::size_t f = 0; f < fields.size(); ++f) kept += (f == 0 ? "" : "\t") + fields[f];
    kept += "\n";
  }
  return kept;
}

// Field `field` of every row of the table (the header left out), by the
// row's field `key`.
std::map<std::string, std::string> fieldByKey(const fs::path& file, std::size_t key,
                                              std::size_t field) {
  std::map<std::string, std::string> values;
  const std::vector<std::string> lines = linesOf(readFile(file));
  for (std::size_t line = 1; line < lines.size(); ++line) {
    const std::vector<std::string> fields = fieldsOf(lines[line]);
    values[fields.at(key)] = fields.at(field);
  }
  return values;
}

// Every result that does not depend on the form: all but the genes'
// column, symbols and descriptions, and the patterns' symbols.
void expectSameResults(const fs::path& expected, const fs::path& actual) {
  for (const char* name :
       {"topGenes.data", "EP.data", "diseaseEP.data", "normalEP.data", "clubs.tsv"}) {
    EXPECT_TRUE(readFile(expected / name) == readFile(actual / name)) << actual << " " << name;
  }
  EXPECT_TRUE(withoutFields(expected / "patterns.tsv", {kPatternSymbols}) ==
              withoutFields(actual / "patterns.tsv", {kPatternSymbols}))
      << actual;
  const std::vector<std::size_t> formFields = {kGeneColumn, kGeneSymbol, kGeneDescription};
  EXPECT_EQ(withoutFields(expected / "genes.tsv", formFields),
            withoutFields(actual / "genes.tsv", formFields))
      << actual;
}

// A platform annotation as GEO serves it for a platform (GPLnnn.annot.gz):
// a SOFT header, then the table. Every other gene has a symbol; one
// identifier is no gene of the data.
std::string platformAnnotationOf(const CsvTable& table) {
  std::string text =
      "^Annotation = GPL3\n!Annotation_date = Jan 01 2024\n!Annotation_platform = GPL3\n"
      "!platform_table_begin\nID\tGene title\tGene symbol\tGene ID\n";
  for (std::size_t g = 0; g < table.genes.size(); g += 2) {
    text += table.genes[g] + "\tprotein " + std::to_string(g) + "\tSYM" + std::to_string(g) + "\t" +
            std::to_string(1000 + g) + "\n";
  }
  return text + "AFFX-not-in-data\tnone\tNONE\t1\n!platform_table_end\n";
}

// Runs the README's command from a GEO series matrix and its platform's
// annotation to results, and checks them against the CSV's.
void expectReadmeCommandGivesTheTablesResults(const fs::path& dir, const CsvTable& table) {
  writeGzip(dir / "GSE3_series_matrix.txt.gz", seriesMatrixOf(table, "disease state"));
  writeGzip(dir / "GPL3.annot.gz", platformAnnotationOf(table));
  fs::remove_all(dir / "GSE3_series_matrix-geneclub");
  const ProcessResult result =
      runBatchProgram(dir, {"--label-field", "disease state", "--annotation", "GPL3.annot.gz",
                            "GSE3_series_matrix.txt.gz"});
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  const fs::path out = dir / "GSE3_series_matrix-geneclub";
  expectSameResults(dir / "csv", out);
  const std::size_t genes = table.genes.size();
  EXPECT_NE(result.out.find("Annotation GPL3.annot.gz: " + std::to_string((genes + 1) / 2) +
                            " of " + std::to_string(genes) + " genes found in it, " +
                            std::to_string(genes / 2) + " not\n"),
            std::string::npos)
      << result.out;
  const std::map<std::string, std::string> symbols =
      fieldByKey(out / "genes.tsv", kGeneName, kGeneSymbol);
  for (std::size_t g = 0; g < genes; ++g) {
    EXPECT_EQ(symbols.at(table.genes[g]), g % 2 == 0 ? "SYM" + std::to_string(g) : "")
        << table.genes[g];
  }
}

// Writes the CSV file's data in every other form into `dir` and checks
// that each gives the CSV's results.
void expectEveryFormGivesTheTablesResults(const fs::path& dir, const fs::path& csv) {
  const ProcessResult plain = runBatchProgram(dir, {csv.string(), "--quiet", "-o", "csv"});
  ASSERT_EQ(plain.exitStatus, 0) << plain.err;
  const CsvTable table = parseCsv(readFile(csv));
  const std::string matrix = seriesMatrixOf(table, "class");
  writeFile(dir / "GSE1_series_matrix.txt", matrix);
  writeGzip(dir / "GSE2_series_matrix.txt.gz", matrix);
  writeFile(dir / "v12.gct", gctOf(table, false));
  writeFile(dir / "v12.cls", clsOf(table));
  writeGzip(dir / "v13.gct.gz", gctOf(table, true));
  const struct {
    std::vector<std::string> arguments;
    const char* form;
    bool described;  // genes.tsv gives the GCT file's descriptions
  } runs[] = {
      {{"GSE1_series_matrix.txt", "--label-field", "class"}, "geo-series-matrix", false},
      {{"GSE2_series_matrix.txt.gz", "--label-field", "CLASS"}, "geo-series-matrix", false},
      {{"v12.gct"}, "gct", true},
      {{"v13.gct.gz", "--label-field", "class"}, "gct", true},
  };
  for (const auto& run : runs) {
    SCOPED_TRACE(run.arguments[0]);
    std::vector<std::string> arguments = run.arguments;
    for (const char* extra : {"--quiet", "-o", "form"}) arguments.push_back(extra);
    fs::remove_all(dir / "form");
    const ProcessResult result = runBatchProgram(dir, arguments);
    ASSERT_EQ(result.exitStatus, 0) << result.err;
    expectSameResults(dir / "csv", dir / "form");
    EXPECT_NE(readFile(dir / "form" / "run.json").find(std::string("\"form\": \"") + run.form),
              std::string::npos);
    const std::map<std::string, std::string> descriptions =
        fieldByKey(dir / "form" / "genes.tsv", kGeneName, kGeneDescription);
    for (std::size_t g = 0; g < table.genes.size(); ++g) {
      EXPECT_EQ(descriptions.at(table.genes[g]),
                run.described ? "probe " + std::to_string(g + 1) : "")
          << table.genes[g];
    }
  }
  expectReadmeCommandGivesTheTablesResults(dir, table);
}

class BatchFormsTest : public ::testing::Test {
 protected:
  ProcessResult run(const std::vector<std::string>& arguments) {
    return runBatchProgram(dir_.path(), arguments);
  }
  fs::path path(const std::string& name) const { return dir_.path() / name; }

  ScopedWorkDir dir_;
};

TEST_F(BatchFormsTest, EveryFormOfAGeneratedTableGivesItsResults) {
  const std::string command = "'" GENECLUB_DEMO_DATA_TOOL
                              "' --table --genes 300 --samples 40 --normal-samples 15 '" +
                              path("small.csv").string() + "'";
  ASSERT_EQ(std::system(command.c_str()), 0);
  expectEveryFormGivesTheTablesResults(dir_.path(), path("small.csv"));
}

TEST_F(BatchFormsTest, EveryFormOfThePublicTablesGivesTheirResults) {
  bool any = false;
  for (const char* name : {"leukemia-golub.csv", "prostate-singh.csv"}) {
    const fs::path csv = fs::path(GENECLUB_SOURCE_DIR) / ".." / "shared" / "data" / "public" / name;
    if (!fs::exists(csv)) continue;
    any = true;
    SCOPED_TRACE(name);
    const fs::path dir = path(name);
    fs::create_directory(dir);
    expectEveryFormGivesTheTablesResults(dir, csv);
  }
  if (!any) GTEST_SKIP() << "the public tables are absent";
}

// pandas' to_csv writes the index under an empty first header cell; R's
// write.csv writes the row names under "". That column names the samples
// and is no gene: the ranking is the table's without it.
TEST_F(BatchFormsTest, IndexColumnOfPandasAndRIsNoGene) {
  const std::string command = "'" GENECLUB_DEMO_DATA_TOOL
                              "' --table --genes 200 --samples 30 --normal-samples 12 '" +
                              path("small.csv").string() + "'";
  ASSERT_EQ(std::system(command.c_str()), 0);
  // Sorted by class, as a user's data frame often is, so that the index
  // alone would separate the classes perfectly.
  std::vector<std::string> rows = linesOf(readFile(path("small.csv")));
  std::stable_sort(rows.begin() + 1, rows.end(), [](const std::string& a, const std::string& b) {
    return a.substr(0, a.find(',')) < b.substr(0, b.find(','));
  });
  std::string sorted, indexed;
  for (std::size_t row = 0; row < rows.size(); ++row) {
    sorted += rows[row] + "\n";
    indexed += (row == 0 ? "" : std::to_string(row - 1)) + "," + rows[row] + "\n";
  }
  writeFile(path("sorted.csv"), sorted);
  writeFile(path("indexed.csv"), indexed);
  ASSERT_EQ(run({"sorted.csv", "--quiet", "-o", "sorted"}).exitStatus, 0);
  const ProcessResult result = run({"indexed.csv", "-o", "indexed"});
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_NE(result.out.find("30 samples x 200 genes"), std::string::npos) << result.out;
  for (const char* name : {"topGenes.data", "EP.data", "clubs.tsv"}) {
    EXPECT_TRUE(readFile(path("sorted") / name) == readFile(path("indexed") / name)) << name;
  }
  for (const std::string& line : linesOf(readFile(path("indexed") / "genes.tsv"))) {
    EXPECT_NE(fieldsOf(line)[1], "") << line;
  }
  // The index names the samples.
  EXPECT_NE(readFile(path("indexed") / "patterns.tsv").find("\t0,"), std::string::npos);
}

// The symbol the annotation below gives the gene at ranking place `rank`:
// places 1, 4, 7, ... have one (place 4's with an escape character), places
// 2, 5, ... are named without a symbol, places 3, 6, ... are not named.
std::string symbolAtPlace(int rank, const std::string& gene) {
  if (rank % 3 != 1) return "";
  return rank == 4 ? "ESC\x1b[31m" : "S-" + gene;
}

TEST_F(BatchFormsTest, AnnotationThatLacksSomeSymbols) {
  const std::string command = "'" GENECLUB_DEMO_DATA_TOOL
                              "' --table --genes 300 --samples 40 --normal-samples 15 '" +
                              path("small.csv").string() + "'";
  ASSERT_EQ(std::system(command.c_str()), 0);
  const ProcessResult plain = run({"small.csv", "--report", "-o", "plain"});
  ASSERT_EQ(plain.exitStatus, 0) << plain.err;
  // Without an annotation: no symbols, no description, no annotation.
  for (const std::string& line : linesOf(readFile(path("plain") / "genes.tsv"))) {
    const std::vector<std::string> fields = fieldsOf(line);
    ASSERT_EQ(fields.size(), 11u) << line;
    if (fields[0] == "rank") continue;
    EXPECT_EQ(fields[kGeneSymbol] + fields[kGeneDescription], "") << line;
  }
  for (const auto& [pattern, symbols] :
       fieldByKey(path("plain") / "patterns.tsv", kPattern, kPatternSymbols)) {
    EXPECT_EQ(symbols, "") << pattern;
  }
  EXPECT_EQ(plain.out.find("Annotation"), std::string::npos);
  EXPECT_EQ(plain.out.find("Gene names"), std::string::npos);
  EXPECT_EQ(readFile(path("plain") / "run.json").find("\"annotation\""), std::string::npos);

  // The annotation, a CSV file, by the plain run's ranking.
  std::map<std::string, int> rankOf;
  std::string annotation = "probe_id,symbol,title\nnot-a-gene,NONE,none\n";
  int named = 0;
  for (const auto& [rank, gene] : fieldByKey(path("plain") / "genes.tsv", 0, kGeneName)) {
    rankOf[gene] = std::stoi(rank);
    if (std::stoi(rank) % 3 == 0) continue;
    ++named;
    const std::string symbol = symbolAtPlace(std::stoi(rank), gene);
    annotation += gene + "," + symbol + "," + (symbol.empty() ? "" : "title of " + gene) + "\n";
  }
  writeFile(path("genes.csv"), annotation);
  const ProcessResult annotated =
      run({"small.csv", "--report", "--annotation", "genes.csv", "-o", "annotated"});
  ASSERT_EQ(annotated.exitStatus, 0) << annotated.err;
  const fs::path out = path("annotated");
  // Only the new columns differ.
  expectSameResults(path("plain"), out);

  // genes.tsv: symbol and title where the annotation gives them, control
  // characters as spaces.
  const std::vector<std::string> genes = linesOf(readFile(out / "genes.tsv"));
  EXPECT_EQ(
      genes[0],
      "rank\tgene\tcolumn\tsplit\tgain\tstatus\tduplicate_of\tp_fwer\tfold_frequency\tsymbol\t"
      "description");
  for (std::size_t line = 1; line < genes.size(); ++line) {
    const std::vector<std::string> fields = fieldsOf(genes[line]);
    std::string symbol = symbolAtPlace(std::stoi(fields[0]), fields[kGeneName]);
    std::replace(symbol.begin(), symbol.end(), '\x1b', ' ');
    EXPECT_EQ(fields[kGeneSymbol], symbol) << genes[line];
    EXPECT_EQ(fields[kGeneDescription], symbol.empty() ? "" : "title of " + fields[kGeneName]);
  }

  // patterns.tsv: the pattern with each gene's symbol where known.
  const std::vector<std::string> patterns = linesOf(readFile(out / "patterns.tsv"));
  EXPECT_EQ(patterns[0],
            "analysis\tclub\tclass\tsupport\tclass_size\tsamples\tpattern\tranks\tsymbols");
  int withSymbol = 0, withName = 0;
  for (std::size_t line = 1; line < patterns.size(); ++line) {
    const std::vector<std::string> fields = fieldsOf(patterns[line]);
    std::string expected;
    std::size_t start = 0;
    while (start != std::string::npos) {
      const std::size_t end = fields[kPattern].find(" & ", start);
      const std::string condition = fields[kPattern].substr(start, end - start);
      const std::size_t space = condition.find(' ');
      const std::string gene = condition.substr(0, space);
      std::string symbol = symbolAtPlace(rankOf.at(gene), gene);
      std::replace(symbol.begin(), symbol.end(), '\x1b', ' ');
      ++(symbol.empty() ? withName : withSymbol);
      expected +=
          (start == 0 ? "" : " & ") + (symbol.empty() ? gene : symbol) + condition.substr(space);
      start = end == std::string::npos ? end : end + 3;
    }
    ASSERT_EQ(fields[kPatternSymbols], expected) << patterns[line];
  }
  EXPECT_GT(withSymbol, 0);
  EXPECT_GT(withName, 0);

  // The summary and the report: "NAME (SYMBOL)" where a symbol is known.
  const auto nameAt = [&](int rank) { return fieldsOf(genes[rank])[kGeneName]; };
  EXPECT_NE(annotated.out.find("\n    1  " + nameAt(1) + " (S-" + nameAt(1) + ")  "),
            std::string::npos)
      << annotated.out;
  EXPECT_NE(annotated.out.find("\n    2  " + nameAt(2) + "  "), std::string::npos);
  EXPECT_NE(annotated.out.find("\n    3  " + nameAt(3) + "  "), std::string::npos);
  EXPECT_NE(annotated.out.find("\n    4  " + nameAt(4) + " (ESC [31m)  "), std::string::npos);
  EXPECT_NE(annotated.out.find("\nAnnotation genes.csv: " + std::to_string(named) +
                               " of 300 genes "
                               "found in it, " +
                               std::to_string(300 - named) + " not\n"),
            std::string::npos)
      << annotated.out;
  const std::string page = readFile(out / "report.html");
  EXPECT_NE(page.find(nameAt(1) + " (S-" + nameAt(1) + ")"), std::string::npos);
  EXPECT_EQ(page.find(nameAt(2) + " ("), std::string::npos);
  EXPECT_EQ(page.find(nameAt(3) + " ("), std::string::npos);

  // run.json counts the genes the annotation names and does not name.
  const std::string runJson = readFile(out / "run.json");
  EXPECT_NE(runJson.find("\"annotation\": {\n    \"path\": \"genes.csv\",\n    \"matched\": " +
                         std::to_string(named) +
                         ",\n    \"unmatched\": " + std::to_string(300 - named) + "\n  }"),
            std::string::npos)
      << runJson;
}

// The annotation's title comes before a GCT file's own description, which
// stays where the annotation gives no title.
TEST_F(BatchFormsTest, AnnotationTitlesComeBeforeTheFilesDescriptions) {
  writeFile(path("t.gct"),
            "#1.2\n3\t4\nName\tDescription\ta\tb\tc\td\n"
            "g1\tfirst from the file\t1\t5\t2\t6\n"
            "g2\tsecond from the file\t3\t1\t4\t2\n"
            "g3\t\t1\t2\t2\t1\n");
  writeFile(path("t.cls"), "4 2 1\n# x y\n0 1 0 1\n");
  writeFile(path("ann.tsv"),
            "ID\tGene Symbol\tGene Title\ng1\tONE\tfirst from the annotation\n"
            "g2\tTWO\t\ng3\t\tthird from the annotation\n");
  const ProcessResult result =
      run({"t.gct", "--annotation", "ann.tsv", "--top", "2", "--methods", "none", "-o", "out"});
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  const std::map<std::string, std::string> descriptions =
      fieldByKey(path("out") / "genes.tsv", kGeneName, kGeneDescription);
  EXPECT_EQ(descriptions,
            (std::map<std::string, std::string>{{"g1", "first from the annotation"},
                                                {"g2", "second from the file"},
                                                {"g3", "third from the annotation"}}));
}

TEST_F(BatchFormsTest, RepeatedGeneNamesGetSuffixesInTheResults) {
  writeFile(path("twice.csv"),
            "labels,g,g,g.1\nA,1,5,3\nB,2,6,3\nA,1,5,4\nB,2,7,4\nA,1,5,3\nB,2,6,4\n");
  const ProcessResult result = run({"twice.csv", "--top", "3", "--methods", "none", "-o", "out"});
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  std::vector<std::string> names;
  for (const std::string& line : linesOf(readFile(path("out") / "genes.tsv"))) {
    names.push_back(fieldsOf(line)[1]);
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"g", "g.1", "g.2", "gene"}));
  // The second "g" alone was changed, and the summary and run.json say so.
  EXPECT_NE(result.out.find("\nGene names: 1 changed, being empty or repeated in the file"),
            std::string::npos)
      << result.out;
  EXPECT_NE(readFile(path("out") / "run.json").find("\"renamed\": 1\n"), std::string::npos);
}

TEST_F(BatchFormsTest, ReaderOptionsOnTheCommandLine) {
  writeFile(path("t.csv"), "labels,g1,g2\nA,1,2\nB,3,4\nA,1,3\nB,3,5\n");
  ProcessResult result = run({"t.csv", "--label-field", "x", "--labels", "l.txt"});
  EXPECT_EQ(result.exitStatus, 3);
  EXPECT_EQ(result.err,
            "geneclub-batch: --label-field cannot be used with --labels or --label-column\n"
            "Usage: geneclub-batch [options] DATA (see --help)\n");
  result = run({"t.csv", "--label-field", "disease state"});
  EXPECT_EQ(result.exitStatus, 2);
  EXPECT_EQ(result.err,
            "geneclub-batch: t.csv: a label field names a sample field of a GEO series matrix or "
            "a column-metadata row of a GCT 1.3 file; name a table's label column instead\n");
  result = run({"t.csv", "--annotation", "none.tsv"});
  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_EQ(result.err, "geneclub-batch: cannot open none.tsv: No such file or directory\n");
  EXPECT_FALSE(fs::exists(path("t-geneclub")));
  writeFile(path("symbols.tsv"), "ID\tGene Symbol\ng1\tSYM1\n");
  result = run({"t.csv", "--annotation", "symbols.tsv", "--top", "2", "-o", "annotated"});
  EXPECT_EQ(result.exitStatus, 0) << result.err;
}

// A file that cannot be read is named with the system's reason.
TEST_F(BatchFormsTest, UnreadableFileIsNamedWithTheSystemsReason) {
  writeFile(path("t.csv"), "labels,g1\nA,1\nB,2\n");
  fs::permissions(path("t.csv"), fs::perms::none);
  fs::permissions(dir_.path(), fs::perms::owner_all | fs::perms::others_read |
                                   fs::perms::others_exec | fs::perms::group_read |
                                   fs::perms::group_exec);
  // The results go where anyone may write, so that only the reading fails.
  fs::create_directory(path("open"));
  fs::permissions(path("open"), fs::perms::all);
  // Permissions do not stop the superuser: the program then runs as nobody.
  std::string prefix;
  if (::geteuid() == 0) {
    if (std::system("setpriv --version > /dev/null 2>&1") != 0) {
      GTEST_SKIP() << "running as root without setpriv to drop the privilege";
    }
    prefix = "setpriv --reuid=65534 --regid=65534 --clear-groups ";
  }
  for (const char* option : {"", "--labels", "--annotation"}) {
    SCOPED_TRACE(option);
    writeFile(path("ok.csv"), "labels,g1\nA,1\nB,2\n");
    const std::string arguments =
        *option == '\0' ? "t.csv" : std::string("ok.csv ") + option + " t.csv";
    const std::string command = "cd '" + dir_.path().string() + "' && " + prefix +
                                "'" GENECLUB_BATCH_BINARY "' " + arguments + " -o '" +
                                path("open/out").string() + "' 2> '" + path("err").string() + "'";
    const int status = std::system(command.c_str());
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_EQ(readFile(path("err")), "geneclub-batch: cannot open t.csv: Permission denied\n");
  }
}

}  // namespace
}  // namespace geneclub::testing
