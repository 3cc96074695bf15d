// The analysis made once at start-up, between loading and the method menu.

#include "data/dimensions.h"
#include "data/gene_club_analyzer.h"
#include "data/output_file.h"
#include "data/process_state.h"
#include "patterns/ep_result_files.h"
#include "ranking/discretised_samples.h"

namespace geneclub {

// Ranks the genes, takes incomplete and duplicated genes out of play, writes
// the ranking, then mines the patterns of the 20 best genes into EP.data,
// naming them by their ranking place.
void GeneClubAnalyzer::runGlobalAnalysis() {
  computeSplitsAndGains();
  countIncompleteData();
  sortGenesByGain();
  removeDuplicatedGenes();
  sortGenesByGain();  // the final ranking; nothing reorders the rows after this
  writeTopGenes();

  const DiscretisedSamples samples = discretiseSamples();
  geneIndexList.clear();
  for (int row = 0; row < kGeneCount; ++row) geneIndexList.push_back(row);
  const EpSectionLock section;
  {
    OutputFile epFile("EP.data", OutputFile::Mode::kAppend);
    epFile.stream() << "Global top " << kTopGeneCount << " gene's EP patterns\n";
  }
  mineMinimalEps(samples.positionSamples(geneIndexList));
}

}  // namespace geneclub
