#include "ranking/start_up.h"

#include "ranking/gene_ranking.h"

namespace geneclub {
namespace {

// The cleaning steps, each followed by a ranking sort.
void cleanRankedGenes(GeneClubAnalyzer& analyzer, std::ostream& console) {
  const int incomplete = analyzer.countIncompleteData();
  sortGenesByGain(analyzer);
  console << "***The total incompleted data is: " << incomplete << "\n" << std::flush;
  console << "\n***Finding and removing duplicated genes. Please Wait...\n";
  const int duplicates = analyzer.removeDuplicatedGenes();
  console << "\tThe total removed duplicated gene is: " << duplicates << "\n" << std::flush;
  // The final ranking; nothing reorders the rows after this.
  sortGenesByGain(analyzer);
}

}  // namespace

void rankAndCleanGenes(GeneClubAnalyzer& analyzer, std::ostream& console,
                       CutCandidates candidates) {
  computeSplitsAndGains(analyzer, candidates);
  cleanRankedGenes(analyzer, console);
}

void rankAndCleanGenes(GeneClubAnalyzer& analyzer, std::ostream& console, CutCandidates candidates,
                       const SortedGenes& sorted, std::span<const int> samples) {
  computeSplitsAndGains(analyzer, candidates, sorted, samples);
  cleanRankedGenes(analyzer, console);
}

}  // namespace geneclub
