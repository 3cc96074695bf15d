#include "analysis/start_up.h"

#include <numeric>

#include "ranking/gene_ranking.h"

namespace geneclub {
namespace {

using Step = ProgressEvent::Step;

// The ranking with both cleaning steps, each followed by a sort.
RankedAnalysis rankAndClean(ExpressionData data, const ProgressListener& progress) {
  RankedAnalysis ranking = rankGenes(std::move(data));
  const int incomplete = ranking.takeOutIncompleteGenes();
  ranking.sortByGain();
  notify(progress, {Step::kIncompleteGenesTakenOut, incomplete});
  notify(progress, {Step::kDuplicateSearchStarted});
  const int duplicates = ranking.zeroDuplicateGenes();
  notify(progress, {Step::kDuplicateGenesZeroed, duplicates});
  // The final ranking; nothing reorders the rows after this.
  ranking.sortByGain();
  notify(progress, {Step::kGenesRanked});
  return ranking;
}

}  // namespace

StartUpResult runStartUp(ExpressionData data, const AnalysisSettings& settings,
                         const ProgressListener& progress) {
  RankedAnalysis ranking = rankAndClean(std::move(data), progress);
  DiscretisedSamples samples(ranking);
  std::vector<int> topRows(settings.topGeneCount);
  std::iota(topRows.begin(), topRows.end(), 0);
  MiningResult global = mineMinimalEps(samples.positionSamples(topRows, settings.topGeneCount),
                                       ranking.classLabels(), settings.topGeneCount);
  return {settings, std::move(ranking), std::move(samples), std::move(topRows), std::move(global)};
}

}  // namespace geneclub
