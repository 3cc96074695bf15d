// The input of the batch program: a two-class expression table read from a
// data file into a gene x sample matrix with gene and sample names and the
// raw class labels. Five forms are read: a delimited table with a header
// and one sample per row (the usual download), the same with one gene per
// row, the interactive program's native records (values, then a class
// word), a GEO series matrix, and a GCT file. Every failure comes back as an
// InputError; nothing exits or throws on bad input, a file is read in
// chunks, never whole, and the memory reading takes is bounded by what the
// input holds: about twice its values, four times its longest line, and a
// constant, however its text is made.

#ifndef GENECLUB_READERS_EXPRESSION_TABLE_H_
#define GENECLUB_READERS_EXPRESSION_TABLE_H_

#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "readers/input_error.h"

namespace geneclub {

struct ExpressionTable {
  enum class Form { kTable, kGenesInRows, kNativeRecords, kSeriesMatrix, kGct };
  Form form = Form::kTable;
  // The G kept genes, in input order, each with a name of its own: an empty
  // name is "Unnamed: N" (N the gene's 0-based column, or with one gene per
  // record its 0-based record after the header), and a name that repeats
  // an earlier one has the first free suffix ".1", ".2", ... (free among
  // the names as written and those given before).
  std::vector<std::string> geneNames;
  // Per kept gene, where it stood: in a table, its 1-based column (label and
  // sample columns counted); with one gene per record (genes in rows, a
  // series matrix, GCT), its 1-based record number, the header being record
  // 1; in native records, its 1-based value position in a record.
  std::vector<int> geneColumns;
  std::vector<std::string> sampleNames;     // N
  std::vector<std::string> labels;          // N raw labels, unquoted and trimmed
  std::vector<std::vector<double>> values;  // G rows of N values: values[gene][sample]
  int droppedGeneCount = 0;                 // genes left out for missing values
  int renamedGeneCount = 0;                 // genes of the file whose name was empty or repeated
  // Where the labels came from, for a summary line: column "labels" (1),
  // row "class", file labels.txt, field "disease state", or native class
  // words.
  std::string labelSource;
  // The name of what held the labels: the label column's, row's or field's
  // name, the labels file's name, or "class" for native class words.
  std::string labelName;
  // Per kept gene, the description its file gives (a GCT file's
  // Description); empty when the form has none.
  std::vector<std::string> geneDescriptions;
  // With an annotation file, per kept gene, its symbol and title ("" where
  // unknown), and how many kept genes the annotation names and does not
  // name; without one, both lists are empty.
  std::vector<std::string> geneSymbols;
  std::vector<std::string> geneTitles;
  int annotatedGeneCount = 0;
  int unannotatedGeneCount = 0;
};

struct TableOptions {
  // The label column (with genes in rows, the label row): its exact name,
  // else its 1-based number. Empty: found by name, or by content.
  std::string labelColumn;
  // The sample-name column: its exact name, else its 1-based number. Empty:
  // a column named sample, id or sample_id, else samples are numbered.
  std::string sampleColumn;
  bool genesInRows = false;
  // A file of the samples' labels, in order, read instead of a label column
  // or row: one label per line, or a CLS file (see labels_file.h). Empty:
  // none (a GCT file then takes NAME.cls beside it).
  std::string labelsFile;
  // Leave out genes with a missing value instead of failing on them.
  bool dropGenesWithMissing = false;
  // The sample field that gives the labels: in a series matrix, a key of
  // the sample characteristics ("disease state") or a sample line without
  // its prefix ("source_name_ch1"); in a GCT 1.3 file, a column-metadata
  // row. Matched in any case. Empty: none.
  std::string labelField;
  // A file that gives the genes' symbols and titles (see annotation.h).
  // Empty: none.
  std::string annotationFile;
};

// Reads the data file at `path`: "-" is standard input, and a path ending in
// ".gz" is decompressed with zlib. The form is told by the file's start: a
// line "#1.2" or "#1.3" begins a GCT file, a line "!Series_..." (or
// "!Sample_...", "!series_matrix_table_begin") a series matrix, a number
// native records; any other file is a delimited table. Returns an
// InputError of kind kUnreadable when a file cannot be opened or read (or
// its gzip data are corrupt), and of kind kInvalidData when the data are
// invalid or do not fit the options; its message names the file, and the
// line and column or what is wrong.
std::variant<ExpressionTable, InputError> readExpressionTable(const std::string& path,
                                                              const TableOptions& options);

// The same for data held in memory; `fileName` names them in messages. The
// files the options name are still read from their paths; a GCT text has
// no NAME.cls beside it.
std::variant<ExpressionTable, InputError> readExpressionTableFromText(std::string_view text,
                                                                      const std::string& fileName,
                                                                      const TableOptions& options);

// Per kept gene, the description the results give it: the annotation's
// title where it gives a title, else the file's own description (a GCT
// file's Description), else "". The annotation is what the user chose for
// the run, so its title wins over the data file's text, which is often a
// placeholder such as "na" or the identifier again. An empty list when
// there is no annotation and the file's form has no descriptions.
std::vector<std::string> geneDescriptionsOf(const ExpressionTable& table);

// The name the results and the Python package give a table's form: "table",
// "genes-in-rows", "native", "geo-series-matrix" or "gct".
const char* formName(ExpressionTable::Form form);

}  // namespace geneclub

#endif  // GENECLUB_READERS_EXPRESSION_TABLE_H_
