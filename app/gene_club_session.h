// GeneClubSession is the analysis of the interactive program: the data file
// "colonTumor.data" of 2000 genes and 62 samples in the working directory,
// the start-up analysis, and the four gene-club methods of its menu, with
// the console lines and result files users know. The console lines are made
// here from the engine's progress events and results; the engine prints
// nothing. It owns everything one analysis needs; nothing is global.

#ifndef GENECLUB_APP_GENE_CLUB_SESSION_H_
#define GENECLUB_APP_GENE_CLUB_SESSION_H_

#include <optional>
#include <ostream>
#include <string>

#include "analysis/start_up.h"
#include "clubs/club_runs.h"
#include "data/analysis_settings.h"
#include "data/expression_data.h"
#include "data/progress.h"
#include "results/ep_report.h"
#include "results/output_file.h"

namespace geneclub {

// The fixed shape and settings of the interactive program.
inline constexpr int kInteractiveGeneCount = 2000;
inline constexpr int kInteractiveSampleCount = 62;
AnalysisSettings interactiveSettings();

// Writes the console line of a loading or start-up step, as users know it:
//   "***Data preprocessing. Please Wait...\n"
//   "***The total incompleted data is: <n>\n"
//   "\n***Finding and removing duplicated genes. Please Wait...\n"
//   "\tThe total removed duplicated gene is: <n>\n"
// and nothing when the ranking stands.
void printProgress(std::ostream& console, const ProgressEvent& event);

class GeneClubSession {
 public:
  // Result files go to the working directory; their failures to failures.
  GeneClubSession(std::ostream& console, OutputFailures& failures);
  GeneClubSession(const GeneClubSession&) = delete;
  GeneClubSession& operator=(const GeneClubSession&) = delete;
  ~GeneClubSession();

  // Loads the data file, writing "***Data preprocessing. Please Wait..."
  // once it is open. On failure writes the message to the console and
  // returns the exit status (1 cannot open, 2 wrong data); returns 0 on
  // success.
  int loadData(const std::string& fileName);

  // The start-up analysis: ranking and cleaning with their console lines,
  // "topGenes.data" and its notice, then the global EP section of the K best
  // genes in EP.data (and strong gene sets in the class files).
  // REQUIRES: loadData succeeded; called once.
  void runGlobalAnalysis();

  // The gene-club method of a menu choice (1 to 4): one club around each top
  // gene, printed on the console and mined into one EP.data section.
  // REQUIRES: runGlobalAnalysis has run.
  void runMethod(ClubMethod method);

 private:
  AnalysisSettings settings_;
  std::ostream& console_;
  OutputFailures& failures_;
  EpReport epReport_;
  std::optional<ExpressionData> loaded_;  // from loadData until the start-up
  std::optional<StartUpResult> startUp_;
};

}  // namespace geneclub

#endif  // GENECLUB_APP_GENE_CLUB_SESSION_H_
