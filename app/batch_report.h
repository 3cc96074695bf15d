// The report page of a batch run (report/report_page.h), filled from the
// run's results: what the page needs is gathered here as the run goes, then
// turned into DIR/report.html at its end.

#ifndef GENECLUB_APP_BATCH_REPORT_H_
#define GENECLUB_APP_BATCH_REPORT_H_

#include <span>
#include <string>
#include <vector>

#include "data/analysis_settings.h"
#include "data/gene_club_analyzer.h"
#include "evaluation/classification_summary.h"
#include "patterns/ep_miner.h"
#include "report/report_input.h"
#include "results/result_tables.h"

namespace geneclub {

// The settings and counts of the page's header.
struct ReportRunFacts {
  std::string dataPath;
  int totalGenes = 0;
  int droppedGenes = 0;
  std::vector<std::string> methods;
  std::string missingPolicy;
};

// The page's input: header, ranking, samples, the top genes' values and the
// global patterns (strongest first), from a ranked analysis.
// REQUIRES: the analysis is ranked and cleaned; global is the mining of its
// top settings.topGeneCount rows.
ReportInput makeReportInput(const ReportRunFacts& facts, const AnalysisSettings& settings,
                            const GeneClubAnalyzer& analyzer, const DataNames& names,
                            const MiningResult& global);

// Adds one club of a method run: its rows (top gene first) and the number of
// patterns mined in it. Clubs come in order; a new method starts a new run.
void addReportClub(ReportInput& input, std::string_view method, std::span<const int> club,
                   const MiningResult& patterns);

// Adds the cross-validated classification: its scheme's name, summary, each
// sample's fold, true class and prediction.
void addReportEvaluation(ReportInput& input, const std::string& method,
                         const ClassificationSummary& summary, std::span<const int> folds,
                         std::span<const int> trueClasses,
                         std::span<const HeldOutPrediction> predictions);

}  // namespace geneclub

#endif  // GENECLUB_APP_BATCH_REPORT_H_
