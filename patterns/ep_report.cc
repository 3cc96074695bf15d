#include "patterns/ep_report.h"

#include <algorithm>

#include "patterns/ep_groups.h"

namespace geneclub {
namespace {

constexpr const char* kEpFileName = "EP.data";
constexpr const char* kClassFileNames[] = {"diseaseEP.data", "normalEP.data"};

// The three support counts of a class that EP.data lists.
constexpr int kReportedSupportLevels = 3;

// The file's name within the folder; the bare name for the working folder.
std::string pathIn(const std::filesystem::path& folder, const char* name) {
  return folder.empty() ? name : (folder / name).string();
}

}  // namespace

EpReport::EpReport(const std::filesystem::path& folder, EpFileMode mode, int strongDiseaseSupport,
                   int strongNormalSupport, OutputFailures& failures)
    : folder_(folder),
      mode_(mode),
      strongSupport_{strongDiseaseSupport, strongNormalSupport},
      failures_(failures) {
  if (mode_ == EpFileMode::kFresh) {
    epFile_ = std::make_unique<OutputFile>(pathIn(folder_, kEpFileName), OutputFile::Mode::kReplace,
                                           failures_);
    openClassFiles();
  }
}

EpReport::~EpReport() { finish(); }

void EpReport::openClassFiles() {
  const OutputFile::Mode mode =
      mode_ == EpFileMode::kFresh ? OutputFile::Mode::kReplace : OutputFile::Mode::kAppend;
  for (int c = 0; c < 2; ++c) {
    classFiles_[c] =
        std::make_unique<OutputFile>(pathIn(folder_, kClassFileNames[c]), mode, failures_);
  }
}

void EpReport::beginSection() {
  if (mode_ != EpFileMode::kAppendBySection) return;
  // EP.data is created here, as its header is the section's first line.
  locks_[0].emplace(pathIn(folder_, kEpFileName), true);
  for (int c = 0; c < 2; ++c) locks_[c + 1].emplace(pathIn(folder_, kClassFileNames[c]), false);
  epFile_ = std::make_unique<OutputFile>(pathIn(folder_, kEpFileName), OutputFile::Mode::kAppend,
                                         failures_);
}

void EpReport::endSection() {
  if (mode_ != EpFileMode::kAppendBySection) return;
  epFile_.reset();
  for (auto& file : classFiles_) file.reset();
  for (auto& lock : locks_) lock.reset();
}

void EpReport::finish() {
  epFile_.reset();
  for (auto& file : classFiles_) file.reset();
  for (auto& lock : locks_) lock.reset();
}

void EpReport::writeGlobalHeader(int topGeneCount) {
  epFile_->stream() << "Global top " << topGeneCount << " gene's EP patterns\n";
}

void EpReport::writeMethodHeader(std::string_view label) {
  epFile_->stream() << "\nThis is the results gotten with " << label << " method";
}

void EpReport::writeClubHeader(int topRow) {
  epFile_->stream() << "\n\nTop " << topRow + 1 << " gene's gene club's EP patterns\n";
}

void EpReport::writeBlock(const MiningResult& mining, std::span<const int> rows) {
  writeClass(mining.disease, ClassFile::kDisease, rows);
  writeClass(mining.normal, ClassFile::kNormal, rows);
}

void EpReport::writeClass(const ClassPatterns& patterns, ClassFile classFile,
                          std::span<const int> rows) {
  std::ostream& out = epFile_->stream();
  out << "Minimal EPs (grouped by equiv case groups) for "
      << (classFile == ClassFile::kDisease ? "Disease" : "Normal") << " Class ("
      << patterns.tupleCount << " tuples):\n";
  const int maxSupport = patterns.maxSupport();
  // The three highest counts, also where fewer than three are present.
  for (int support = maxSupport; support > maxSupport - kReportedSupportLevels; --support) {
    if (support <= 0) break;
    for (const TidsetGroup& group : tidsetGroups(patterns, support)) {
      out << "***Tidset with count = " << support << "\n";
      for (const int member : group.members) {
        if (classFiles_[0] == nullptr) openClassFiles();
        std::vector<int> genes;
        out << "{ ";
        for (const int item : orderedItems(group, patterns.patterns[member])) {
          const int row = rows[item / 2];
          if (row < 9) out << "0";
          out << row + 1 << (item % 2 == 0 ? "- " : "+ ");
          genes.push_back(row);
        }
        out << "}\n";
        if (support >= strongSupport_[static_cast<int>(classFile)]) {
          writeStrongGeneSet(std::move(genes), support, classFile);
        }
      }
    }
  }
}

void EpReport::writeStrongGeneSet(std::vector<int> genes, int count, ClassFile classFile) {
  std::sort(genes.begin(), genes.end());
  genes.erase(std::unique(genes.begin(), genes.end()), genes.end());
  std::vector<std::vector<int>>& recorded = recorded_[static_cast<int>(classFile)];
  for (const std::vector<int>& earlier : recorded) {
    if (std::includes(earlier.begin(), earlier.end(), genes.begin(), genes.end())) return;
  }
  std::ostream& out = classFiles_[static_cast<int>(classFile)]->stream();
  for (const int row : genes) out << row + 1 << " ";
  out << "; The count is: " << count << "\n";
  recorded.push_back(std::move(genes));
}

}  // namespace geneclub
