// Fuzzes the expression-table reader: whatever the bytes, it must return a
// table or an error without a crash, a sanitizer report or a hang, and a
// table it returns must be consistent (G rows of N values, N sample names
// and labels, one name and column per gene). The first byte picks the
// options, so that every form and rule is reached.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <variant>

#include "readers/class_assignment.h"
#include "readers/expression_table.h"

namespace {

void checkConsistent(const geneclub::ExpressionTable& table) {
  const std::size_t samples = table.sampleNames.size();
  if (samples == 0 || table.labels.size() != samples || table.values.empty() ||
      table.geneNames.size() != table.values.size() ||
      table.geneColumns.size() != table.values.size()) {
    std::abort();
  }
  for (const auto& row : table.values) {
    if (row.size() != samples) std::abort();
  }
  for (const std::string& label : table.labels) {
    if (label.empty()) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint8_t choice = data[0];
  geneclub::TableOptions options;
  options.genesInRows = (choice & 1) != 0;
  options.dropGenesWithMissing = (choice & 2) != 0;
  if ((choice & 4) != 0) options.labelColumn = "2";
  if ((choice & 8) != 0) options.sampleColumn = "1";
  const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
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
