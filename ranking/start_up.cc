#include "ranking/start_up.h"

#include "ranking/gene_ranking.h"

namespace geneclub {

void rankAndCleanGenes(GeneClubAnalyzer& analyzer, std::ostream& console,
                       CutCandidates candidates) {
  computeSplitsAndGains(analyzer, candidates);
  const int incomplete = analyzer.countIncompleteData();
  sortGenesByGain(analyzer);
  console << "***The total incompleted data is: " << incomplete << "\n" << std::flush;
  console << "\n***Finding and removing duplicated genes. Please Wait...\n";
  const int duplicates = analyzer.removeDuplicatedGenes();
  console << "\tThe total removed duplicated gene is: " << duplicates << "\n" << std::flush;
  // The final ranking; nothing reorders the rows after this.
  sortGenesByGain(analyzer);
}

}  // namespace geneclub
