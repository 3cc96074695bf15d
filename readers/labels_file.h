// The samples' labels given in a file of their own, in either of two forms:
// one label per line (a label is the whole line, blanks inside it included,
// without the blanks around it; blank lines are skipped), or a CLS file of
// the GenePattern tools ("N K 1", then "# " and the K class names, then the
// N labels as class names or 0-based class numbers, between blanks). A file
// is read as CLS when its name ends in .cls (or .cls.gz, in any case) or its
// first line is three whole numbers.

#ifndef GENECLUB_READERS_LABELS_FILE_H_
#define GENECLUB_READERS_LABELS_FILE_H_

#include <string>
#include <variant>
#include <vector>

#include "readers/input_error.h"

namespace geneclub {

struct FileLabels {
  std::vector<std::string> labels;  // one per sample, in order
  bool isCls = false;
  // In a file of one label per line, the first line whose label holds a
  // blank (0: none), which a message on the label count may point to.
  int firstLineWithBlank = 0;
};

// Reads the labels file at `path` ("-" is standard input, .gz is
// decompressed). Errors: kUnreadable when it cannot be read, kInvalidData
// (with the line and what is wrong) for a missing label, text that is not
// UTF-8, a NUL byte, or a CLS file that contradicts itself.
std::variant<FileLabels, InputError> readLabelsFile(const std::string& path);

}  // namespace geneclub

#endif  // GENECLUB_READERS_LABELS_FILE_H_
