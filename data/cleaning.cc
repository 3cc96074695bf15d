// The two cleaning steps of the start-up analysis. A gene is never erased:
// it is taken out of play by setting its information gain to 0.0, which
// sends it behind every gene of positive gain at the next ranking sort.

#include <algorithm>

#include "data/ranked_analysis.h"
#include "data/sample_set.h"

namespace geneclub {

void RankedAnalysis::startCleaning() {
  const int genes = geneCount();
  if (static_cast<int>(cleaning_.status.size()) != genes) {
    cleaning_.status.assign(genes, GeneStatus::kInPlay);
  }
  if (static_cast<int>(cleaning_.duplicateOf.size()) != genes) {
    cleaning_.duplicateOf.assign(genes, -1);
  }
}

int RankedAnalysis::takeOutIncompleteGenes() {
  startCleaning();
  int& incomplete = cleaning_.incompleteGenes;
  incomplete = 0;
  const int words = wordsFor(sampleCount());
  const std::vector<std::uint64_t> profiles = discretiseRows(0, geneCount());
  for (int row = 0; row < geneCount(); ++row) {
    const int samplesAbove =
        countBits(std::span(profiles).subspan(static_cast<std::size_t>(row) * words, words));
    if (samplesAbove == 0 || samplesAbove == sampleCount()) {
      gains_[row] = 0.0;
      cleaning_.status[geneNumbers_[row]] = GeneStatus::kIncomplete;
      ++incomplete;
    }
  }
  return incomplete;
}

// The earlier row of a pair, that is the gene earlier in the input, stays.
int RankedAnalysis::zeroDuplicateGenes() {
  startCleaning();
  int& duplicates = cleaning_.duplicateGenes;
  duplicates = 0;
  const int genes = geneCount();
  const int words = wordsFor(sampleCount());
  int runStart = 0;
  while (genes > 0) {
    const double runGain = gains_[runStart];
    int runEnd = runStart;
    while (runEnd < genes && gains_[runEnd] == runGain) ++runEnd;
    const int runLength = runEnd - runStart;
    if (runLength > 1) {
      const std::vector<std::uint64_t> profiles = discretiseRows(runStart, runLength);
      const auto profileOf = [&](int k) {
        return profiles.begin() + static_cast<std::ptrdiff_t>(k) * words;
      };
      for (int a = 0; a < runLength - 1; ++a) {
        if (gains_[runStart + a] == 0.0) continue;
        for (int b = a + 1; b < runLength; ++b) {
          if (!std::equal(profileOf(a), profileOf(a) + words, profileOf(b))) continue;
          ++duplicates;
          gains_[runStart + b] = 0.0;
          rows_[runStart + b].assign(sampleCount(), 0.0);
          cleaning_.status[geneNumbers_[runStart + b]] = GeneStatus::kDuplicate;
          cleaning_.duplicateOf[geneNumbers_[runStart + b]] = geneNumbers_[runStart + a];
        }
      }
    }
    runStart = runEnd;
    // A last run that starts at the final row has nothing to compare.
    if (runEnd >= genes - 1) break;
  }
  return duplicates;
}

}  // namespace geneclub
