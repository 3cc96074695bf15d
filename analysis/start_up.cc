#include "analysis/start_up.h"

#include <algorithm>
#include <numeric>

#include "ranking/gene_ranking.h"

namespace geneclub {
namespace {

using Step = ProgressEvent::Step;

// Both cleaning steps of the ranking, each followed by a sort, then the
// discretisation and the global mining run.
StartUpResult cleanAndMine(RankedAnalysis ranking, const AnalysisSettings& settings,
                           const ProgressListener& progress) {
  const int incomplete = ranking.takeOutIncompleteGenes();
  ranking.sortByGain();
  notify(progress, {Step::kIncompleteGenesTakenOut, incomplete});
  notify(progress, {Step::kDuplicateSearchStarted});
  const int duplicates = ranking.zeroDuplicateGenes();
  notify(progress, {Step::kDuplicateGenesZeroed, duplicates});
  // The final ranking; nothing reorders the rows after this.
  ranking.sortByGain();
  notify(progress, {Step::kGenesRanked});
  // The rows that the global run and the club methods read.
  const int readRows = std::max(
      settings.topGeneCount,
      clubCandidateCount(settings, ranking.cleaning().removedGenes(), ranking.geneCount()));
  DiscretisedSamples samples(ranking, readRows);
  std::vector<int> topRows(settings.topGeneCount);
  std::iota(topRows.begin(), topRows.end(), 0);
  MiningResult global = mineMinimalEps(samples.positionSamples(topRows, settings.topGeneCount),
                                       ranking.classLabels(), settings.topGeneCount);
  return {settings, std::move(ranking), std::move(samples), std::move(topRows), std::move(global)};
}

}  // namespace

StartUpResult runStartUp(ExpressionData data, const AnalysisSettings& settings,
                         const ProgressListener& progress) {
  return cleanAndMine(rankGenes(std::move(data), settings.cuts), settings, progress);
}

StartUpResult runStartUp(ExpressionData data, const AnalysisSettings& settings,
                         const PresortedGenes& presorted) {
  return cleanAndMine(
      rankGenes(std::move(data), settings.cuts, presorted.sorted, presorted.samples), settings, {});
}

}  // namespace geneclub
