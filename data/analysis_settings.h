// The settings of one analysis: how many top genes it mines and builds clubs
// around, how large the clubs' candidate pool is, what a club step does when
// no candidate gains anything, and from which support a strong pattern's
// genes go to the class files. The interactive program
// passes its fixed numbers; the batch program derives them from its options
// and the data.

#ifndef GENECLUB_DATA_ANALYSIS_SETTINGS_H_
#define GENECLUB_DATA_ANALYSIS_SETTINGS_H_

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

struct AnalysisSettings {
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

// The pool base for a data set of geneCount genes when none is chosen:
// four fifths of the genes, 1600 for 2000.
inline int defaultPoolBase(int geneCount) { return 4 * geneCount / 5; }

// The number of Division members taken from each division before free
// choice: 5 for clubs of 20.
inline int divisionQuota(int topGeneCount) { return (topGeneCount + 2) / 4; }

}  // namespace geneclub

#endif  // GENECLUB_DATA_ANALYSIS_SETTINGS_H_
