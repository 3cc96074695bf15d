#include "results/ep_sections.h"

namespace geneclub {

void writeGlobalSection(EpReport& report, const StartUpResult& startUp) {
  report.beginSection();
  report.writeGlobalHeader(startUp.settings.topGeneCount);
  report.writeBlock(startUp.global, startUp.topRows);
  report.endSection();
}

void EpMethodSections::beginMethod(ClubMethod method) {
  report_.beginSection();
  report_.writeMethodHeader(methodLabel(method));
  blocks_.assign(topGeneCount_, EpBlock());
}

void EpMethodSections::prepare(const ClubRun& run) {
  blocks_[run.topRow] = report_.formatBlock(run.patterns, run.club);
}

void EpMethodSections::deliver(const ClubRun& run) {
  report_.writeClubHeader(run.topRow);
  report_.writeBlock(blocks_[run.topRow]);
  blocks_[run.topRow] = EpBlock();
}

void EpMethodSections::endMethod(ClubMethod) { report_.endSection(); }

}  // namespace geneclub
