// EpReport owns the three EP result files of one program run. EP.data
// receives every analysis section: a header, then mining blocks, each a class
// header per class followed by the class's equiv case groups of the highest,
// second and third highest support count (a group line, then one pattern
// line per member). diseaseEP.data and normalEP.data receive the gene set of
// each strong pattern, each set at most once per program run: a set that
// equals or lies inside a set recorded earlier is not written again.
//
// Genes are named by their 1-based matrix row, that is their ranking place.

#ifndef GENECLUB_RESULTS_EP_REPORT_H_
#define GENECLUB_RESULTS_EP_REPORT_H_

#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "patterns/ep_miner.h"
#include "results/file_lock.h"
#include "results/output_file.h"

namespace geneclub {

// The support counts of a class that EP.data lists: the highest and the two
// below it.
inline constexpr int kEpDataSupportLevels = 3;

enum class EpFileMode {
  // The files are appended to, section by section, each section under an
  // exclusive lock (EP.data first, then the class files that exist), so that
  // runs in one folder at the same time append whole sections. The class
  // files are created at a section's first pattern line.
  kAppendBySection,
  // The files are written whole and new: created at construction, replacing
  // any earlier files when finished.
  kFresh,
};

// A mining block formatted for EP.data, with the gene sets of its strong
// patterns in order, ready to be written. Formatting may run on any thread;
// writing, which filters the gene sets against those recorded before, runs
// in block order.
struct EpBlock {
  // One condition of a pattern: the gene in matrix row `row` above its split
  // value, or at or below it.
  struct Condition {
    int row;
    bool above;
  };
  struct StrongGeneSet {
    bool disease;           // of the Disease class, else of the Normal class
    std::vector<int> rows;  // ascending, no repeats
    int support;
    // The pattern whose gene set it is, in the order of its EP.data line.
    std::vector<Condition> conditions;
  };
  std::string text;
  bool hasPatternLines = false;
  std::vector<StrongGeneSet> strongGeneSets;
};

class EpReport {
 public:
  // The files EP.data, diseaseEP.data and normalEP.data in `folder` (the
  // working folder when it is empty), named in messages as they are opened. A
  // pattern of the Disease class supported by at least strongDiseaseSupport
  // tuples is strong, as is one of the Normal class with strongNormalSupport.
  EpReport(const std::filesystem::path& folder, EpFileMode mode, int strongDiseaseSupport,
           int strongNormalSupport, OutputFailures& failures);
  EpReport(const EpReport&) = delete;
  EpReport& operator=(const EpReport&) = delete;
  ~EpReport();

  // An analysis section: what is written between begin and end stays
  // together. Sections do not nest.
  void beginSection();
  void endSection();

  // "Global top <K> gene's EP patterns\n".
  void writeGlobalHeader(int topGeneCount);
  // "\nThis is the results gotten with <label> method", without a line end:
  // the first club header ends the line.
  void writeMethodHeader(std::string_view label);
  // "\n\nTop <topRow + 1> gene's gene club's EP patterns\n".
  void writeClubHeader(int topRow);

  // Formats one mining block. Position j of the run is the gene in matrix
  // row rows[j]. Reads nothing but its arguments and the thresholds.
  // REQUIRES: every position a pattern holds has a row.
  EpBlock formatBlock(const MiningResult& mining, std::span<const int> rows) const;

  // Writes a formatted block, and the strong gene sets not recorded yet.
  // REQUIRES: within a section.
  void writeBlock(const EpBlock& block);

  // Formats and writes one mining block.
  void writeBlock(const MiningResult& mining, std::span<const int> rows) {
    writeBlock(formatBlock(mining, rows));
  }

  // Flushes and closes the files; kFresh files take their place now.
  void finish();

  // The strong gene sets written to diseaseEP.data (disease) or
  // normalEP.data so far, in the order written.
  const std::vector<EpBlock::StrongGeneSet>& writtenGeneSets(bool disease) const {
    return written_[disease ? 0 : 1];
  }

 private:
  enum class ClassFile { kDisease, kNormal };

  void openClassFiles();
  void formatClass(const ClassPatterns& patterns, ClassFile classFile, std::span<const int> rows,
                   EpBlock& block) const;
  void writeStrongGeneSet(const EpBlock::StrongGeneSet& geneSet);

  std::filesystem::path folder_;
  EpFileMode mode_;
  int strongSupport_[2];
  OutputFailures& failures_;
  std::optional<FileLock> locks_[3];
  std::unique_ptr<OutputFile> epFile_;
  std::unique_ptr<OutputFile> classFiles_[2];
  // The gene sets written to each class file so far.
  std::vector<EpBlock::StrongGeneSet> written_[2];
};

}  // namespace geneclub

#endif  // GENECLUB_RESULTS_EP_REPORT_H_
