// geneclub: entropy-based gene ranking, minimal emerging patterns and gene
// clubs for the two-class data set in "colonTumor.data".
//
// Exit status: 0 on success; 1 when the data file cannot be opened, a result
// file or standard output could not be written, or memory ran out; 2 when
// the data file holds wrong data.

#include "app/method_menu.h"
#include "app/program_failures.h"
#include "data/gene_club_analyzer.h"
#include "data/output_file.h"

int main() {
  geneclub::installFailureHandlers();
  geneclub::GeneClubAnalyzer analyzer;
  analyzer.loadData("colonTumor.data");
  analyzer.runGlobalAnalysis();
  geneclub::printMethodMenu();
  geneclub::runMethodDialogue(analyzer);
  const bool consoleFailed = geneclub::standardOutputFailed();
  return geneclub::outputWasLost() || consoleFailed ? geneclub::kFailureStatus : 0;
}
