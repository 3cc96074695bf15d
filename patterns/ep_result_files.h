// The EP result files. EP.data receives every mining block: a class header
// per class, then the class's equiv case groups, each a group line followed
// by one pattern line per member. diseaseEP.data and normalEP.data receive
// the gene set of each strong pattern (support of at least 39 Disease or 21
// Normal tuples), each set at most once per program run: a set that equals
// or lies inside a set recorded earlier is not written again.
//
// All three files are only ever appended to.

#ifndef GENECLUB_PATTERNS_EP_RESULT_FILES_H_
#define GENECLUB_PATTERNS_EP_RESULT_FILES_H_

#include <array>
#include <optional>
#include <vector>

#include "data/file_lock.h"
#include "data/output_file.h"
#include "patterns/bit_sets.h"

namespace geneclub {

// "Disease" is the class of label 1 ("negative"), "Normal" that of label 0.
enum class EpClass { kDisease, kNormal };

// The gene sets already written to diseaseEP.data and normalEP.data in this
// program run, as matrix rows. Only ever appended to.
extern std::vector<GeneSet> RecordedDiseaseGeneSets;
extern std::vector<GeneSet> RecordedNormalGeneSets;

// Holds the three files locked for one analysis section (the global section,
// or one method's section), so that runs in the same folder at the same time
// append whole sections: EP.data first (created if missing), then the class
// files that exist, always in that order. Every section of every run takes
// the EP.data lock first, so class files created within a section are
// guarded by it.
class EpSectionLock {
 public:
  EpSectionLock();

 private:
  FileLock epLock_;
  FileLock diseaseLock_;
  FileLock normalLock_;
};

// Writes one mining block. EP.data is opened for appending when the writer
// is made; the two class files are opened (and so created) at the block's
// first pattern line. Everything is flushed when the writer is destroyed.
class EpBlockWriter {
 public:
  EpBlockWriter();

  // Writes the class header line for `tupleCount` tuples and makes the class
  // the current one, whose thresholds apply to the pattern lines that follow.
  void startClass(EpClass epClass, int tupleCount);

  // "***Tidset with count = K".
  void writeGroupLine(int count);

  // Writes the pattern's items in the order of the first itemCount entries
  // of itemOrder, each as its gene number (geneIndexList entry of its
  // position, plus one; a leading 0 below 10) and "-" (at or below the
  // split) or "+" (above). When the current class's threshold is met and no
  // recorded set contains the pattern's gene set, records the set and writes
  // its gene numbers in ascending order with the count to the class file.
  // REQUIRES: every item of the pattern names a position with a
  // geneIndexList entry.
  void writePatternLine(const std::array<int, kItemCount>& itemOrder, int itemCount,
                        ItemSet pattern, int count);

 private:
  OutputFile epFile_;
  std::optional<OutputFile> normalFile_;
  std::optional<OutputFile> diseaseFile_;
  EpClass currentClass_ = EpClass::kDisease;
};

}  // namespace geneclub

#endif  // GENECLUB_PATTERNS_EP_RESULT_FILES_H_
