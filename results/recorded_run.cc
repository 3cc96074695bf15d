#include "results/recorded_run.h"

#include <utility>
#include <vector>

#include "evaluation/permutation_test.h"

namespace geneclub {

void recordStartUp(RunRecord& record, ExpressionData data, const AnalysisSettings& settings,
                   const StageListener& stages) {
  const auto announce = [&stages](RunStage stage) {
    if (stages) stages(stage);
  };
  // The permutations read the data as loaded, before the ranking reorders
  // its rows.
  std::vector<double> permutationMaxima;
  if (record.permutations > 0) {
    announce(RunStage::kPermutations);
    permutationMaxima = permutationMaxGains(data.matrix, data.labels, record.permutations,
                                            record.seed, settings.cuts);
  }
  announce(RunStage::kRanking);
  record.startUp = runStartUp(std::move(data), settings, [&announce](const ProgressEvent& event) {
    if (event.step == ProgressEvent::Step::kGenesRanked) announce(RunStage::kGlobalMining);
  });
  if (!permutationMaxima.empty()) {
    record.pValues = familywisePValues(permutationMaxima, tableGains(record.ranking()));
  }
}

void recordClubMethods(RunRecord& record, std::span<ClubSink* const> sinks) {
  RunRecorder recorder(record);
  std::vector<ClubSink*> all = {&recorder};
  all.insert(all.end(), sinks.begin(), sinks.end());
  runClubMethods(record.startUp, record.methods, all);
}

}  // namespace geneclub
