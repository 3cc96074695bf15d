// The text format of the data file and its parser. The file holds 62 sample
// records; a record is 2000 values, each followed by one separator character
// (any non-blank character, read and dropped), then the class word
// "negative" or "positive". Blanks and line ends between tokens do not
// matter, and anything after the 62nd record is ignored.

#ifndef GENECLUB_DATA_LOAD_DATA_H_
#define GENECLUB_DATA_LOAD_DATA_H_

#include <string_view>

#include "data/gene_club_analyzer.h"
#include "data/token_reader.h"

namespace geneclub {

// Parses the 62 records of a data file from the reader: value v of record s
// goes to matrix row v, column s, and each record's class word appends 1
// ("negative") or 0 ("positive") to labels. Returns false when a value
// cannot be read as a number, the text ends before the 62nd class word, or a
// class word is neither of the two words (exactly, in lower case). Reads
// nothing after the 62nd class word.
// REQUIRES: matrix has 2000 rows of 62 values.
bool parseExpressionData(TokenReader& reader, ExpressionMatrix& matrix, ClassLabels& labels);

// The same for a text held in memory.
bool parseExpressionData(std::string_view text, ExpressionMatrix& matrix, ClassLabels& labels);

}  // namespace geneclub

#endif  // GENECLUB_DATA_LOAD_DATA_H_
