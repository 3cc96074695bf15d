// The native record format of a data file and its parser. The file holds a
// fixed number of sample records; a record is a fixed number of values, each
// followed by one separator character (any non-blank character, read and
// dropped), then the class word "negative" or "positive". Blanks and line
// ends between tokens do not matter, and anything after the last record is
// never read.

#ifndef GENECLUB_READERS_LOAD_DATA_H_
#define GENECLUB_READERS_LOAD_DATA_H_

#include <string>
#include <string_view>
#include <variant>

#include "data/expression_data.h"
#include "data/progress.h"
#include "readers/input_error.h"
#include "readers/token_reader.h"

namespace geneclub {

// Parses one record per sample (as many as labels will hold: the matrix's
// row length) of one value per matrix row: value v of record s goes to row
// v, column s, and each record's class word appends 1 ("negative") or 0
// ("positive") to labels. Returns false when a value cannot be read as a
// number, the text ends before the last class word, or a class word is
// neither of the two words (exactly, in lower case). Reads nothing after the
// last class word.
// REQUIRES: every row of matrix has the same number of values.
bool parseExpressionData(TokenReader& reader, ExpressionMatrix& matrix, ClassLabels& labels);

// The same for a text held in memory.
bool parseExpressionData(std::string_view text, ExpressionMatrix& matrix, ClassLabels& labels);

// Reads a data file of `sampleCount` records of `geneCount` values each,
// reporting kDataOpened to progress once the file is open. Fails with
// kUnreadable when the file cannot be opened and with kInvalidData when it
// holds wrong data; the message names the file.
std::variant<ExpressionData, InputError> loadData(const std::string& fileName, int geneCount,
                                                  int sampleCount,
                                                  const ProgressListener& progress = {});

}  // namespace geneclub

#endif  // GENECLUB_READERS_LOAD_DATA_H_
