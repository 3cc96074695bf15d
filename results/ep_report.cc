#include "results/ep_report.h"

#include <algorithm>

#include "patterns/ep_groups.h"

namespace geneclub {
namespace {

constexpr const char* kEpFileName = "EP.data";
constexpr const char* kClassFileNames[] = {"diseaseEP.data", "normalEP.data"};

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
  if (mode_ == EpFileMode::kAppendBySection) finish();
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

EpBlock EpReport::formatBlock(const MiningResult& mining, std::span<const int> rows) const {
  EpBlock block;
  formatClass(mining.disease, ClassFile::kDisease, rows, block);
  formatClass(mining.normal, ClassFile::kNormal, rows, block);
  return block;
}

void EpReport::writeBlock(const EpBlock& block) {
  if (block.hasPatternLines && classFiles_[0] == nullptr) openClassFiles();
  epFile_->stream() << block.text;
  for (const EpBlock::StrongGeneSet& geneSet : block.strongGeneSets) writeStrongGeneSet(geneSet);
}

void EpReport::formatClass(const ClassPatterns& patterns, ClassFile classFile,
                           std::span<const int> rows, EpBlock& block) const {
  std::string& out = block.text;
  out += "Minimal EPs (grouped by equiv case groups) for ";
  out += classFile == ClassFile::kDisease ? "Disease" : "Normal";
  out += " Class (" + std::to_string(patterns.tupleCount) + " tuples):\n";
  // The three highest counts, also where fewer than three are present.
  for (const std::vector<TidsetGroup>& groups :
       groupsBySupport(patterns, patterns.maxSupport() - kEpDataSupportLevels + 1)) {
    for (const TidsetGroup& group : groups) {
      out += "***Tidset with count = " + std::to_string(group.support) + "\n";
      for (const int member : group.members) {
        block.hasPatternLines = true;
        std::vector<EpBlock::Condition> conditions;
        out += "{ ";
        for (const int item : orderedItems(group, patterns.patterns[member])) {
          const int row = rows[item / 2];
          if (row < 9) out += '0';
          out += std::to_string(row + 1);
          out += item % 2 == 0 ? "- " : "+ ";
          conditions.push_back({row, item % 2 == 1});
        }
        out += "}\n";
        if (group.support >= strongSupport_[static_cast<int>(classFile)]) {
          std::vector<int> genes;
          for (const EpBlock::Condition& condition : conditions) genes.push_back(condition.row);
          std::sort(genes.begin(), genes.end());
          genes.erase(std::unique(genes.begin(), genes.end()), genes.end());
          block.strongGeneSets.push_back({classFile == ClassFile::kDisease, std::move(genes),
                                          group.support, std::move(conditions)});
        }
      }
    }
  }
}

void EpReport::writeStrongGeneSet(const EpBlock::StrongGeneSet& geneSet) {
  const int classFile = geneSet.disease ? 0 : 1;
  std::vector<EpBlock::StrongGeneSet>& written = written_[classFile];
  for (const EpBlock::StrongGeneSet& earlier : written) {
    if (std::includes(earlier.rows.begin(), earlier.rows.end(), geneSet.rows.begin(),
                      geneSet.rows.end())) {
      return;
    }
  }
  std::ostream& out = classFiles_[classFile]->stream();
  for (const int row : geneSet.rows) out << row + 1 << " ";
  out << "; The count is: " << geneSet.support << "\n";
  written.push_back(geneSet);
}

}  // namespace geneclub
