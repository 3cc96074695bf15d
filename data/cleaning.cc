// The two cleaning steps of the start-up analysis. A gene is never erased:
// it is taken out of play by setting its information gain to 0.0, which
// sends it behind every gene of positive gain at the next ranking sort.

#include <algorithm>

#include "data/gene_club_analyzer.h"
#include "data/sample_set.h"

namespace geneclub {
namespace {

// Sizes the per-gene verdicts at the first cleaning step.
void initialiseStatus(std::vector<GeneStatus>& status, std::vector<int>& duplicateOf, int genes) {
  if (static_cast<int>(status.size()) != genes) status.assign(genes, GeneStatus::kInPlay);
  if (static_cast<int>(duplicateOf.size()) != genes) duplicateOf.assign(genes, -1);
}

}  // namespace

std::vector<std::uint64_t> GeneClubAnalyzer::discretiseGenes(int firstRow, int rowCount) const {
  const int words = wordsFor(sampleCount());
  std::vector<std::uint64_t> profiles(static_cast<std::size_t>(rowCount) * words, 0);
  for (int k = 0; k < rowCount; ++k) {
    const double split = splitValues[firstRow + k];
    const ExpressionRow& values = expressionMatrix[firstRow + k];
    std::uint64_t* profile = &profiles[static_cast<std::size_t>(k) * words];
    // A word at a time, in a register, without branches: whether a value
    // lies above its split is as good as random, which a branch predictor
    // cannot learn.
    for (int word = 0; word < words; ++word) {
      const int first = word * kWordBits;
      const int count = std::min(kWordBits, sampleCount() - first);
      std::uint64_t bits = 0;
      for (int bit = 0; bit < count; ++bit) {
        bits |= static_cast<std::uint64_t>(values[first + bit] > split) << bit;
      }
      profile[word] = bits;
    }
  }
  return profiles;
}

// A gene whose split value puts all samples on one side separates nothing:
// its gain becomes 0.0. The caller re-sorts the rows afterwards.
int GeneClubAnalyzer::countIncompleteData() {
  initialiseStatus(geneStatus, duplicateOf, geneCount());
  incompleteGeneCount = 0;
  const int words = wordsFor(sampleCount());
  const std::vector<std::uint64_t> profiles = discretiseGenes(0, geneCount());
  for (int row = 0; row < geneCount(); ++row) {
    const int samplesAbove =
        countBits(std::span(profiles).subspan(static_cast<std::size_t>(row) * words, words));
    if (samplesAbove == 0 || samplesAbove == sampleCount()) {
      informationGains[row] = 0.0;
      geneStatus[geneNumbers[row]] = GeneStatus::kIncomplete;
      ++incompleteGeneCount;
    }
  }
  return incompleteGeneCount;
}

// Within each run of rows of exactly equal, non-zero gain (the rows are
// sorted by gain), a row whose profile equals that of an earlier row still in
// play is a duplicate: its gain and all its values become 0.0. The earlier
// row, that is the gene earlier in the input, stays.
int GeneClubAnalyzer::removeDuplicatedGenes() {
  initialiseStatus(geneStatus, duplicateOf, geneCount());
  duplicateGeneCount = 0;
  const int genes = geneCount();
  const int words = wordsFor(sampleCount());
  int runStart = 0;
  while (genes > 0) {
    const double runGain = informationGains[runStart];
    int runEnd = runStart;
    while (runEnd < genes && informationGains[runEnd] == runGain) ++runEnd;
    const int runLength = runEnd - runStart;
    if (runLength > 1) {
      const std::vector<std::uint64_t> profiles = discretiseGenes(runStart, runLength);
      const auto profileOf = [&](int k) {
        return profiles.begin() + static_cast<std::ptrdiff_t>(k) * words;
      };
      for (int a = 0; a < runLength - 1; ++a) {
        if (informationGains[runStart + a] == 0.0) continue;
        for (int b = a + 1; b < runLength; ++b) {
          if (!std::equal(profileOf(a), profileOf(a) + words, profileOf(b))) continue;
          ++duplicateGeneCount;
          informationGains[runStart + b] = 0.0;
          expressionMatrix[runStart + b].assign(sampleCount(), 0.0);
          geneStatus[geneNumbers[runStart + b]] = GeneStatus::kDuplicate;
          duplicateOf[geneNumbers[runStart + b]] = geneNumbers[runStart + a];
        }
      }
    }
    runStart = runEnd;
    // A last run that starts at the final row has nothing to compare.
    if (runEnd >= genes - 1) break;
  }
  return duplicateGeneCount;
}

}  // namespace geneclub
