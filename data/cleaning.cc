// The two cleaning steps of the global run. A gene is never erased: it is
// taken out of play by setting its information gain to 0.0, which sends it
// behind every gene of positive gain at the next ranking sort.

#include <bit>
#include <iostream>

#include "data/dimensions.h"
#include "data/gene_club_analyzer.h"
#include "data/process_state.h"

namespace geneclub {

std::vector<GeneProfile> GeneClubAnalyzer::discretiseGenes(const ExpressionRow* rows, int firstRow,
                                                           int rowCount) const {
  std::vector<GeneProfile> profiles(rowCount, 0);
  for (int k = 0; k < rowCount; ++k) {
    const double split = splitValues[firstRow + k];
    GeneProfile profile = 0;
    for (int sample = 0; sample < kSampleCount; ++sample) {
      if (rows[k][sample] > split) profile |= GeneProfile{1} << sample;
    }
    profiles[k] = profile;
  }
  return profiles;
}

// A gene whose split value puts all samples on one side separates nothing:
// its gain becomes 0.0. The caller re-sorts the rows afterwards.
void GeneClubAnalyzer::countIncompleteData() {
  incompleteGeneCount = 0;
  const std::vector<GeneProfile> profiles = discretiseGenes(expressionMatrix.data(), 0, kGeneCount);
  for (int row = 0; row < kGeneCount; ++row) {
    const int samplesAbove = std::popcount(profiles[row]);
    if (samplesAbove == 0 || samplesAbove == kSampleCount) {
      informationGains[row] = 0.0;
      ++incompleteGeneCount;
    }
  }
  std::cout << "***The total incompleted data is: " << incompleteGeneCount << "\n" << std::flush;
}

// Within each run of rows of exactly equal, non-zero gain (the rows are
// sorted by gain), a row whose profile equals that of an earlier row still in
// play is a duplicate: its gain and all its values become 0.0. The earlier
// row, that is the gene earlier in the file, stays.
void GeneClubAnalyzer::removeDuplicatedGenes() {
  duplicateGeneCount = 0;
  std::cout << "\n***Finding and removing duplicated genes. Please Wait...\n";
  int runStart = 0;
  double runGain = informationGains[0];
  while (true) {
    int runEnd = runStart;
    while (runEnd < kGeneCount && informationGains[runEnd] == runGain) ++runEnd;
    if (runEnd < kGeneCount) runGain = informationGains[runEnd];
    const int runLength = runEnd - runStart;
    if (runLength > 1) {
      const std::vector<GeneProfile> profiles =
          discretiseGenes(&expressionMatrix[runStart], runStart, runLength);
      for (int a = 0; a < runLength - 1; ++a) {
        if (informationGains[runStart + a] == 0.0) continue;
        for (int b = a + 1; b < runLength; ++b) {
          if (profiles[a] != profiles[b]) continue;
          ++duplicateGeneCount;
          informationGains[runStart + b] = 0.0;
          expressionMatrix[runStart + b].assign(kSampleCount, 0.0);
        }
      }
    }
    runStart = runEnd;
    // A last run that starts at the final row has nothing to compare.
    if (runEnd >= kGeneCount - 1) break;
  }
  std::cout << "\tThe total removed duplicated gene is: " << duplicateGeneCount << "\n"
            << std::flush;
}

}  // namespace geneclub
