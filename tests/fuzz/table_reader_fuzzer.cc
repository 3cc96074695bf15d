// Fuzzes the expression-table reader: whatever the bytes, it must return a
// table or an error without a crash, a sanitizer report or a hang, and a
// table it returns must be consistent (G rows of N values, N sample names
// and labels, one name and column per gene, the names distinct and not
// empty, the per-gene lists of the forms and annotations G long). The first
// byte picks the options, so that every form and rule is reached: with a
// side file chosen, the bytes after the first NUL byte are that file (a
// labels or CLS file, or an annotation), the bytes before it the data.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <unordered_set>
#include <variant>

#include "readers/class_assignment.h"
#include "readers/expression_table.h"

namespace {

void checkConsistent(const geneclub::ExpressionTable& table) {
  const std::size_t samples = table.sampleNames.size();
  const std::size_t genes = table.values.size();
  if (samples == 0 || table.labels.size() != samples || genes == 0 ||
      table.geneNames.size() != genes || table.geneColumns.size() != genes) {
    std::abort();
  }
  for (const auto* perGene : {&table.geneDescriptions, &table.geneSymbols, &table.geneTitles}) {
    if (!perGene->empty() && perGene->size() != genes) std::abort();
  }
  if (!table.geneSymbols.empty() &&
      table.annotatedGeneCount + table.unannotatedGeneCount != static_cast<int>(genes)) {
    std::abort();
  }
  for (const auto& row : table.values) {
    if (row.size() != samples) std::abort();
  }
  for (const std::string& label : table.labels) {
    if (label.empty()) std::abort();
  }
  std::unordered_set<std::string_view> names;
  for (const std::string& name : table.geneNames) {
    if (name.empty() || !names.insert(name).second) std::abort();
  }
}

// A file of the fuzzer's own, rewritten for every input that needs it.
std::string sideFile(std::string_view text, const char* suffix) {
  static const std::string directory = [] {
    std::string pattern = "/tmp/table-reader-fuzzer-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    return pattern;
  }();
  const std::string path = directory + "/side" + suffix;
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) std::abort();
  std::fwrite(text.data(), 1, text.size(), file);
  std::fclose(file);
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint8_t choice = data[0];
  std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
  geneclub::TableOptions options;
  options.genesInRows = (choice & 1) != 0;
  options.dropGenesWithMissing = (choice & 2) != 0;
  if ((choice & 4) != 0) options.labelColumn = "2";
  if ((choice & 8) != 0) options.sampleColumn = "1";
  if ((choice & 16) != 0) options.labelField = "class";
  // Bits 5 and 6: a labels file (named .cls or .txt by bit 7), an annotation.
  if ((choice & 0x60) != 0) {
    const std::size_t split = text.find('\0');
    const std::string_view side = split == std::string_view::npos ? "" : text.substr(split + 1);
    text = text.substr(0, split);
    if ((choice & 0x20) != 0) {
      options.labelsFile = sideFile(side, (choice & 0x80) != 0 ? ".cls" : ".txt");
    } else {
      options.annotationFile = sideFile(side, ".tsv");
    }
  }
  const auto result = geneclub::readExpressionTableFromText(text, "fuzz.csv", options);
  if (const auto* table = std::get_if<geneclub::ExpressionTable>(&result)) {
    checkConsistent(*table);
    const auto classes = geneclub::assignClasses(table->labels, "");
    if (const auto* assigned = std::get_if<geneclub::ClassAssignment>(&classes)) {
      if (assigned->classLabels.size() != table->labels.size()) std::abort();
    }
  } else if (std::get<geneclub::InputError>(result).message.find('\n') != std::string::npos) {
    std::abort();  // a message is one line
  }
  return 0;
}
