// The gene symbols and titles of a platform's probe identifiers, read from
// an annotation file: a platform table (tab-separated, "#" comment lines,
// then a header), the !platform_table_begin ... !platform_table_end section
// of a GEO platform SOFT file, or any CSV or TSV table with an identifier
// column and a symbol or title column. The identifier column is the one
// named ID, ID_REF, probe or probe_id (in any case), else the first; the
// symbol column is named "Gene Symbol", gene_symbol or symbol, the title
// column "Gene Title", gene_title, title or description.

#ifndef GENECLUB_READERS_ANNOTATION_H_
#define GENECLUB_READERS_ANNOTATION_H_

#include <string>
#include <unordered_map>
#include <variant>

#include "readers/input_error.h"

namespace geneclub {

struct Annotation {
  struct Entry {
    std::string symbol;  // empty where the file gives none
    std::string title;
  };
  // By identifier; the first row of an identifier counts.
  std::unordered_map<std::string, Entry> entries;
};

// Reads the annotation file at `path` ("-" is standard input, .gz is
// decompressed). Errors: kUnreadable when it cannot be read; kInvalidData
// with the line and what is wrong for a file with neither a symbol nor a
// title column, a SOFT file without its table, a row of the wrong width, a
// NUL byte or text that is not UTF-8.
std::variant<Annotation, InputError> readAnnotation(const std::string& path);

}  // namespace geneclub

#endif  // GENECLUB_READERS_ANNOTATION_H_
