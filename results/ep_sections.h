// The sections of EP.data (and the strong gene sets of the class files)
// written from the two entry points' results: the global section of a
// start-up, and a section per gene-club method as its clubs arrive.

#ifndef GENECLUB_RESULTS_EP_SECTIONS_H_
#define GENECLUB_RESULTS_EP_SECTIONS_H_

#include <vector>

#include "analysis/club_methods.h"
#include "analysis/start_up.h"
#include "results/ep_report.h"

namespace geneclub {

// Writes the section "Global top <K> gene's EP patterns" with the block of
// the start-up's global mining run.
void writeGlobalSection(EpReport& report, const StartUpResult& startUp);

// Writes a section per method: its header, then each club's header and
// block in club order. Each block is formatted where its club was mined, in
// parallel, so that the writing in club order is all that is left.
class EpMethodSections : public ClubSink {
 public:
  // REQUIRES: the report outlives this object.
  EpMethodSections(EpReport& report, int topGeneCount)
      : report_(report), topGeneCount_(topGeneCount) {}

  void beginMethod(ClubMethod method) override;
  void prepare(const ClubRun& run) override;
  void deliver(const ClubRun& run) override;
  void endMethod(ClubMethod method) override;

 private:
  EpReport& report_;
  int topGeneCount_;
  std::vector<EpBlock> blocks_;  // by top row, from prepare until delivered
};

}  // namespace geneclub

#endif  // GENECLUB_RESULTS_EP_SECTIONS_H_
