// The command line of geneclub-batch: what to analyse, how, and where the
// results go. Parsing follows the GNU rules (options anywhere, --opt=VALUE,
// -oDIR, "--" ends the options) and catches everything the command line
// alone shows to be wrong; what depends on the data is checked later.

#ifndef GENECLUB_APP_BATCH_OPTIONS_H_
#define GENECLUB_APP_BATCH_OPTIONS_H_

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "app/exit_status.h"
#include "clubs/club_runs.h"
#include "evaluation/fold_assignment.h"
#include "ranking/split_search.h"
#include "readers/expression_table.h"

namespace geneclub {

struct BatchOptions {
  std::string dataPath;   // "-" for standard input
  std::string outFolder;  // the results folder; never empty after parsing
  // The gene-club methods to run, each once, in menu order.
  std::vector<ClubMethod> methods;
  std::optional<int> topGeneCount;  // K; default min(20, genes)
  std::optional<int> poolBase;      // P; default four fifths of the genes
  std::string diseaseLabel;         // empty: the classes follow the labels
  TableOptions table;
  int threads = 0;  // 0: one per core
  bool force = false;
  bool quiet = false;
  bool report = false;  // also write report.html
  // Cross-validated classification: leave-one-out or stratified k-fold.
  std::optional<FoldScheme> evaluation;
  int permutations = 0;  // label permutations for the genes' p-values
  std::uint64_t seed = 1;
  // Cuts only between different values, or (--split-ties) at every position
  // as the interactive program makes them.
  CutCandidates cuts = CutCandidates::kDistinctValues;
};

// What parsing ends with instead of options: a text for standard output
// (help, version; status 0) or an error line for the error stream (status
// kCommandLineStatus), the usage line included.
struct CommandLineExit {
  int status;
  std::string text;
};

std::variant<BatchOptions, CommandLineExit> parseBatchCommandLine(int argc,
                                                                  const char* const* argv);

// The results folder when none is given: the data file's base name up to its
// first dot after the first character, plus "-geneclub", in the current
// folder ("stdin-geneclub" for standard input).
std::string defaultOutFolder(const std::string& dataPath);

}  // namespace geneclub

#endif  // GENECLUB_APP_BATCH_OPTIONS_H_
