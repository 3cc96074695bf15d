#include "patterns/ep_result_files.h"

#include "data/process_state.h"

namespace geneclub {

std::vector<GeneSet> RecordedDiseaseGeneSets;
std::vector<GeneSet> RecordedNormalGeneSets;

namespace {

// Support counts from which a pattern's genes go to the class files. They
// are fixed: 39 of the 40 tumour samples, 21 of the 22 normal ones.
constexpr int kStrongDiseaseSupport = 39;
constexpr int kStrongNormalSupport = 21;

// Writes the gene set to the class file unless an equal set or a superset
// was recorded before; the set is recorded when written.
void writeIfNew(const GeneSet& genes, int count, std::vector<GeneSet>& recorded,
                std::ostream& out) {
  for (const GeneSet& earlier : recorded) {
    if ((earlier & genes) == genes) return;
  }
  recorded.push_back(genes);
  for (int row = 0; row < kGeneCount; ++row) {
    if (genes.test(row)) out << row + 1 << " ";
  }
  out << "; The count is: " << count << "\n";
}

}  // namespace

EpSectionLock::EpSectionLock()
    : epLock_("EP.data", true),
      diseaseLock_("diseaseEP.data", false),
      normalLock_("normalEP.data", false) {}

EpBlockWriter::EpBlockWriter() : epFile_("EP.data", OutputFile::Mode::kAppend) {}

void EpBlockWriter::startClass(EpClass epClass, int tupleCount) {
  currentClass_ = epClass;
  epFile_.stream() << "Minimal EPs (grouped by equiv case groups) for "
                   << (epClass == EpClass::kDisease ? "Disease" : "Normal") << " Class ("
                   << tupleCount << " tuples):\n";
}

void EpBlockWriter::writeGroupLine(int count) {
  epFile_.stream() << "***Tidset with count = " << count << "\n";
}

void EpBlockWriter::writePatternLine(const std::array<int, kItemCount>& itemOrder, int itemCount,
                                     ItemSet pattern, int count) {
  if (!normalFile_) {
    normalFile_.emplace("normalEP.data", OutputFile::Mode::kAppend);
    diseaseFile_.emplace("diseaseEP.data", OutputFile::Mode::kAppend);
  }
  std::ostream& out = epFile_.stream();
  GeneSet genes;
  out << "{ ";
  for (int rank = 0; rank < itemCount; ++rank) {
    const int item = itemOrder[rank];
    if (((pattern >> item) & 1) == 0) continue;
    const int row = geneIndexList[item / 2];
    if (row < 9) out << "0";
    out << row + 1 << (item % 2 == 0 ? "- " : "+ ");
    genes.set(row);
  }
  out << "}\n";

  if (currentClass_ == EpClass::kDisease && count >= kStrongDiseaseSupport) {
    writeIfNew(genes, count, RecordedDiseaseGeneSets, diseaseFile_->stream());
  } else if (currentClass_ == EpClass::kNormal && count >= kStrongNormalSupport) {
    writeIfNew(genes, count, RecordedNormalGeneSets, normalFile_->stream());
  }
}

}  // namespace geneclub
