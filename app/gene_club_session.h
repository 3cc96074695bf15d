// GeneClubSession is the analysis of the interactive program: the data file
// "colonTumor.data" of 2000 genes and 62 samples in the working directory,
// the start-up analysis, and the four gene-club methods of its menu, with
// the console lines and result files users know. It owns everything one
// analysis needs; nothing is global.

#ifndef GENECLUB_APP_GENE_CLUB_SESSION_H_
#define GENECLUB_APP_GENE_CLUB_SESSION_H_

#include <memory>
#include <ostream>
#include <string>

#include "clubs/club_runs.h"
#include "data/analysis_settings.h"
#include "data/gene_club_analyzer.h"
#include "ranking/discretised_samples.h"
#include "results/ep_report.h"
#include "results/output_file.h"

namespace geneclub {

// The fixed shape and settings of the interactive program.
inline constexpr int kInteractiveGeneCount = 2000;
inline constexpr int kInteractiveSampleCount = 62;
AnalysisSettings interactiveSettings();

// Exit statuses of a failed load.
inline constexpr int kCannotOpenStatus = 1;
inline constexpr int kWrongDataStatus = 2;

class GeneClubSession {
 public:
  // Result files go to the working directory; their failures to failures.
  GeneClubSession(std::ostream& console, OutputFailures& failures);
  GeneClubSession(const GeneClubSession&) = delete;
  GeneClubSession& operator=(const GeneClubSession&) = delete;
  ~GeneClubSession();

  // Loads the data file. On failure writes the message to the console and
  // returns the exit status (kCannotOpenStatus or kWrongDataStatus); returns
  // 0 on success.
  int loadData(const std::string& fileName);

  // The start-up analysis: ranking and cleaning with their console lines,
  // "topGenes.data" and its notice, then the global EP section of the K best
  // genes in EP.data (and strong gene sets in the class files).
  // REQUIRES: loadData succeeded.
  void runGlobalAnalysis();

  // The gene-club methods of menu choices 1 to 4: one club around each top
  // gene, printed on the console and mined into one EP.data section.
  // REQUIRES: runGlobalAnalysis has run.
  void runIndependentMethod() { runMethod(ClubMethod::kIndependent); }
  void runDivisionMethod() { runMethod(ClubMethod::kDivision); }
  void runIndependentIterativeMethod() { runMethod(ClubMethod::kIndependentIterative); }
  void runDivisionIterativeMethod() { runMethod(ClubMethod::kDivisionIterative); }
  void runMethod(ClubMethod method);

 private:
  AnalysisSettings settings_;
  std::ostream& console_;
  OutputFailures& failures_;
  GeneClubAnalyzer analyzer_;
  EpReport epReport_;
  std::unique_ptr<DiscretisedSamples> samples_;
  std::unique_ptr<ClubContext> clubContext_;
};

}  // namespace geneclub

#endif  // GENECLUB_APP_GENE_CLUB_SESSION_H_
