// The records of a table with one gene per record, shared by the forms that
// have them (genes in rows, GCT, the GEO series matrix): a header whose
// fields after the leading ones name the samples, then records of a gene's
// name, any metadata fields, and one value per sample. Each record is
// checked against the header's width and its values read by the cell rules
// of every table; the header's names are kept in one buffer until the first
// gene shows that the samples hold values.

#ifndef GENECLUB_READERS_GENE_RECORDS_H_
#define GENECLUB_READERS_GENE_RECORDS_H_

#include <cstddef>
#include <optional>
#include <string>

#include "readers/delimited_records.h"
#include "readers/expression_table.h"
#include "readers/input_error.h"
#include "readers/name_list.h"

namespace geneclub {

class GeneRecords {
 public:
  // `leadingFields` fields (the name, then metadata) come before the values;
  // field `descriptionField` of them, when not 0, is kept as the gene's
  // description. Genes are added to `table`.
  // REQUIRES: 0 <= descriptionField < leadingFields.
  GeneRecords(DelimitedRecordReader& records, ExpressionTable& table, std::size_t leadingFields,
              std::size_t descriptionField, bool dropGenesWithMissing);

  // Keeps field `field` of the leading ones (0: none) as each gene's
  // description from the next gene on.
  // REQUIRES: field < leadingFields.
  void setDescriptionField(std::size_t field) { descriptionField_ = field; }

  // Reads the header record: kRecord with the sample names kept, kEnd for
  // a file without one, kError for a failed read.
  DelimitedRecordReader::Status readHeader();

  // The header's names, its first field included.
  const NameList& header() const { return header_; }

  // The error for a record read since that is not as wide as the header.
  std::optional<InputError> checkWidth() const;

  // Adds the record read last as a gene; `number` is its 1-based record
  // number, the header being record 1. Missing values are NaN when they may
  // be dropped, else an error like any value that is not a number.
  // REQUIRES: checkWidth() found nothing wrong.
  std::optional<InputError> addGene(int number);

  // Sets the table's sample names from the header, once the genes are read.
  void takeSampleNames();

 private:
  DelimitedRecordReader& records_;
  ExpressionTable& table_;
  std::size_t leadingFields_;
  std::size_t descriptionField_;
  bool dropGenesWithMissing_;
  NameList header_;
};

}  // namespace geneclub

#endif  // GENECLUB_READERS_GENE_RECORDS_H_
