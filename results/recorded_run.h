// The analysis of a run, done once for every caller that keeps a RunRecord
// (the batch program and the Python package): the labels permuted for the
// genes' family-wise p-values, the start-up, and the club methods with
// their counts recorded. Callers add what is theirs around it: the
// cross-validation, the files, a console or data frames.

#ifndef GENECLUB_RESULTS_RECORDED_RUN_H_
#define GENECLUB_RESULTS_RECORDED_RUN_H_

#include <functional>
#include <span>

#include "analysis/club_methods.h"
#include "data/analysis_settings.h"
#include "data/expression_data.h"
#include "results/run_record.h"

namespace geneclub {

// The stages of recordStartUp, each announced as it begins.
enum class RunStage { kPermutations, kRanking, kGlobalMining };
using StageListener = std::function<void(RunStage)>;

// Permutes the labels record.permutations times with record.seed (none when
// 0), runs the start-up on data with settings into record.startUp, and
// gives record.pValues from the permutations. Announces kPermutations (only
// with permutations), kRanking and kGlobalMining to stages, if given.
// REQUIRES: as runStartUp.
void recordStartUp(RunRecord& record, ExpressionData data, const AnalysisSettings& settings,
                   const StageListener& stages = {});

// Runs record.methods over record.startUp, recording each club's counts in
// the record, then passing it to the sinks in their order.
// REQUIRES: recordStartUp ran on the record.
void recordClubMethods(RunRecord& record, std::span<ClubSink* const> sinks);

}  // namespace geneclub

#endif  // GENECLUB_RESULTS_RECORDED_RUN_H_
