// The start-up analysis, the first of the two entry points of an analysis:
// loaded data in, the ranked and cleaned genes, their discretised samples
// and the minimal emerging patterns of the K best genes out. Every caller
// that analyses data (both programs, each cross-validation fold, the
// benchmarks and the tests) starts here; the club methods
// (analysis/club_methods.h) continue from its result.
//
// The steps, exactly: split values and gains, the rows sorted by gain; genes
// whose cut separates nothing taken out, the rows sorted again; duplicated
// genes zeroed, the rows sorted a last time, so that row r holds the gene in
// ranking place r + 1 and the genes taken out stand at the end; the rows
// that the global run and the club methods read discretised; the K best
// rows mined. Nothing is printed: each step is
// reported to the progress listener.

#ifndef GENECLUB_ANALYSIS_START_UP_H_
#define GENECLUB_ANALYSIS_START_UP_H_

#include <span>
#include <vector>

#include "data/analysis_settings.h"
#include "data/expression_data.h"
#include "data/progress.h"
#include "data/ranked_analysis.h"
#include "patterns/ep_miner.h"
#include "ranking/discretised_samples.h"
#include "ranking/sorted_genes.h"

namespace geneclub {

struct StartUpResult {
  AnalysisSettings settings;
  RankedAnalysis ranking;  // ranked and cleaned
  // The ranked rows discretised: the K top rows and the clubs' candidates.
  DiscretisedSamples samples;
  // The rows of the global mining run, 0..K-1: position j is row topRows[j].
  std::vector<int> topRows;
  MiningResult global;  // the minimal EPs of the K best genes
};

// Runs the start-up on the data, reporting kIncompleteGenesTakenOut,
// kDuplicateSearchStarted, kDuplicateGenesZeroed and kGenesRanked in that
// order. Genes are ranked and discretised in parallel; the result does not
// depend on the number of threads.
// REQUIRES: every row of data.matrix has data.labels.size() values; labels
// are 0 or 1; 1 <= settings.topGeneCount <= min(kMaxTopGeneCount, genes).
StartUpResult runStartUp(ExpressionData data, const AnalysisSettings& settings,
                         const ProgressListener& progress = {});

// Data that are some samples of a larger data set whose genes are sorted
// already (ranking/sorted_genes.h): column c of the data is sample
// samples[c] of that data set. Both must outlive the start-up.
struct PresortedGenes {
  const SortedGenes& sorted;
  std::span<const int> samples;
};

// The same start-up for such data, ranking each gene from its order in
// `presorted` instead of sorting it again (cross-validation folds use it);
// the result is the same bit for bit. Reports nothing.
// REQUIRES: as above; row r of data holds gene r of presorted.sorted at
// presorted.samples, which is ascending.
StartUpResult runStartUp(ExpressionData data, const AnalysisSettings& settings,
                         const PresortedGenes& presorted);

}  // namespace geneclub

#endif  // GENECLUB_ANALYSIS_START_UP_H_
