// The settings of one analysis: how many top genes it mines and builds clubs
// around, which cuts the ranking considers, how large the clubs' candidate
// pool is, what a club step does when
// no candidate gains anything, and from which support a strong pattern's
// genes go to the class files. The interactive program passes its fixed
// numbers; every other caller derives them from the data with
// settingsForData.

#ifndef GENECLUB_DATA_ANALYSIS_SETTINGS_H_
#define GENECLUB_DATA_ANALYSIS_SETTINGS_H_

#include <algorithm>
#include <optional>
#include <span>

namespace geneclub {

// K: bits of a gene mask, so at most 32 genes take part in a mining run.
inline constexpr int kMaxTopGeneCount = 32;

// What a club method's step does when no candidate has a gain above 0.0.
enum class GainlessClubStep {
  // Adds the top-ranked gene (row 0), even when the club already holds it:
  // the interactive program's clubs, kept as its users know them.
  kAddTopRankedGene,
  // Adds nothing. Independent, Division and Independent Iterative end the
  // club there, shorter; in Division Iterative only that division adds
  // nothing. A club's genes are then always distinct.
  kAddNothing,
};

// Which positions of a gene's sorted values are candidate cuts
// (ranking/split_search.h).
enum class CutCandidates {
  // Every position, between equal values too: the interactive program's.
  kEveryPosition,
  // Only positions between two different values, and the cut above the
  // largest value.
  kDistinctValues,
};

struct AnalysisSettings {
  // The candidate cuts of the ranking.
  CutCandidates cuts = CutCandidates::kEveryPosition;

  // K: the best-ranked genes mined by the global run, the number of clubs a
  // method builds (one around each of them) and the size of a club.
  // REQUIRES: 1 <= topGeneCount <= kMaxTopGeneCount and <= the gene count.
  int topGeneCount = 20;

  // P: the clubs' candidates are the best min(P - incomplete - duplicate, G)
  // rows. It may exceed the gene count or be negative.
  int poolBase = 1600;

  GainlessClubStep gainlessClubStep = GainlessClubStep::kAddTopRankedGene;

  // A pattern of the class of label 1 (Disease) supported by at least this
  // many samples, or of the class of label 0 (Normal) by at least the other
  // number, is strong: its genes go to diseaseEP.data or normalEP.data.
  int strongDiseaseSupport = 39;
  int strongNormalSupport = 21;
};

// What a caller may choose; the rest follows from the data.
struct SettingsChoice {
  std::optional<int> topGeneCount;  // default: 20, or the gene count when smaller
  std::optional<int> poolBase;      // default: defaultPoolBase(geneCount)
};

// The settings for a data set of geneCount genes and these class labels: K
// and P as chosen or by default, cuts only between different values, clubs
// of distinct genes (a gainless step adds nothing), and a pattern strong when
// all samples of its class but one support it.
// REQUIRES: a chosen K lies in 1..min(kMaxTopGeneCount, geneCount); with no
// K chosen, geneCount >= 1.
AnalysisSettings settingsForData(int geneCount, std::span<const int> classLabels,
                                 const SettingsChoice& choice = {});

// The pool base for a data set of geneCount genes when none is chosen:
// four fifths of the genes, 1600 for 2000.
inline int defaultPoolBase(int geneCount) { return 4 * geneCount / 5; }

// The number of the clubs' candidates, the best-ranked rows, when the
// cleaning took removedGenes genes out of play: P - removed, at most the gene
// count. The removed genes stand at the end of the ranking, so the pool
// leaves them out, and also the lowest-ranked genes still in play.
inline int clubCandidateCount(const AnalysisSettings& settings, int removedGenes, int geneCount) {
  return std::min(settings.poolBase - removedGenes, geneCount);
}

// The number of Division members taken from each division before free
// choice: 5 for clubs of 20.
inline int divisionQuota(int topGeneCount) { return (topGeneCount + 2) / 4; }

}  // namespace geneclub

#endif  // GENECLUB_DATA_ANALYSIS_SETTINGS_H_
