// The input of the batch program: a two-class expression table read from a
// data file into a gene x sample matrix with gene and sample names and the
// raw class labels. Three forms are read: a delimited table with a header
// and one sample per row (the usual download), the same with one gene per
// row, and the interactive program's native records (values, then a class
// word). Every failure comes back as an InputError; nothing exits or throws
// on bad input, and a file is read in chunks, never whole.

#ifndef GENECLUB_READERS_EXPRESSION_TABLE_H_
#define GENECLUB_READERS_EXPRESSION_TABLE_H_

#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "readers/input_error.h"

namespace geneclub {

struct ExpressionTable {
  enum class Form { kTable, kGenesInRows, kNativeRecords };
  Form form = Form::kTable;
  std::vector<std::string> geneNames;  // the G kept genes, in input order
  // Per kept gene, where it stood: in a table, its 1-based column (label and
  // sample columns counted); with genes in rows, its 1-based record number,
  // the header being record 1; in native records, its 1-based value
  // position in a record.
  std::vector<int> geneColumns;
  std::vector<std::string> sampleNames;     // N
  std::vector<std::string> labels;          // N raw labels, unquoted and trimmed
  std::vector<std::vector<double>> values;  // G rows of N values: values[gene][sample]
  int droppedGeneCount = 0;                 // genes left out for missing values
  // Where the labels came from, for a summary line: column "labels" (1),
  // row "class", file labels.txt, or native class words.
  std::string labelSource;
  // The name of what held the labels: the label column's or row's name, the
  // labels file's name, or "class" for native class words.
  std::string labelName;
};

struct TableOptions {
  // The label column (with genes in rows, the label row): its exact name,
  // else its 1-based number. Empty: found by name, or by content.
  std::string labelColumn;
  // The sample-name column: its exact name, else its 1-based number. Empty:
  // a column named sample, id or sample_id, else samples are numbered.
  std::string sampleColumn;
  bool genesInRows = false;
  // A file of one label per sample, in order, separated by blanks or line
  // ends, read instead of a label column or row. Empty: none.
  std::string labelsFile;
  // Leave out genes with a missing value instead of failing on them.
  bool dropGenesWithMissing = false;
};

// Reads the data file at `path`: "-" is standard input, and a path ending in
// ".gz" is decompressed with zlib. A file whose first token is a number
// holds native records; any other is a delimited table. Returns an
// InputError of kind kUnreadable when a file cannot be opened or read (or
// its gzip data are corrupt), and of kind kInvalidData when the data are
// invalid or do not fit the options.
std::variant<ExpressionTable, InputError> readExpressionTable(const std::string& path,
                                                              const TableOptions& options);

// The same for data held in memory; `fileName` names them in messages. A
// labels file in the options is still read from its path.
std::variant<ExpressionTable, InputError> readExpressionTableFromText(std::string_view text,
                                                                      const std::string& fileName,
                                                                      const TableOptions& options);

}  // namespace geneclub

#endif  // GENECLUB_READERS_EXPRESSION_TABLE_H_
