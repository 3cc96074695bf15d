#include "app/gene_club_session.h"

#include <numeric>

#include "ranking/start_up.h"
#include "readers/load_data.h"
#include "results/top_genes.h"

namespace geneclub {

AnalysisSettings interactiveSettings() {
  AnalysisSettings settings;
  settings.topGeneCount = 20;
  // The 1600 best rows less the genes taken out of play: the 400
  // lowest-ranked genes still in play never join a club.
  settings.poolBase = 1600;
  // 39 of the 40 tumour samples, 21 of the 22 normal ones.
  settings.strongDiseaseSupport = 39;
  settings.strongNormalSupport = 21;
  return settings;
}

GeneClubSession::GeneClubSession(std::ostream& console, OutputFailures& failures)
    : settings_(interactiveSettings()),
      console_(console),
      failures_(failures),
      epReport_("", EpFileMode::kAppendBySection, settings_.strongDiseaseSupport,
                settings_.strongNormalSupport, failures) {}

GeneClubSession::~GeneClubSession() = default;

int GeneClubSession::loadData(const std::string& fileName) {
  switch (geneclub::loadData(fileName, kInteractiveGeneCount, kInteractiveSampleCount, analyzer_,
                             console_)) {
    case LoadStatus::kLoaded:
      return 0;
    case LoadStatus::kCannotOpen:
      console_ << "\t***can't open " << fileName << "\n\t***Check input data file\n";
      return kCannotOpenStatus;
    case LoadStatus::kWrongData:
      console_ << "\t***Wrong data\n\t***Check input data file\n";
      return kWrongDataStatus;
  }
  return kWrongDataStatus;
}

void GeneClubSession::runGlobalAnalysis() {
  rankAndCleanGenes(analyzer_, console_, CutCandidates::kEveryPosition);
  {
    OutputFile topGenes("topGenes.data", OutputFile::Mode::kReplace, failures_);
    writeTopGenes(analyzer_, settings_.topGeneCount, topGenes.stream());
  }
  // The notice has always named the file without its final "s".
  console_ << "***Top " << settings_.topGeneCount
           << " genes have been written into file topGene.data\n";

  samples_ = std::make_unique<DiscretisedSamples>(analyzer_);
  clubContext_ = std::make_unique<ClubContext>(analyzer_, *samples_, settings_);
  std::vector<int> topRows(settings_.topGeneCount);
  std::iota(topRows.begin(), topRows.end(), 0);
  epReport_.beginSection();
  epReport_.writeGlobalHeader(settings_.topGeneCount);
  epReport_.writeBlock(mineMinimalEps(samples_->positionSamples(topRows, settings_.topGeneCount),
                                      analyzer_.classLabels, settings_.topGeneCount),
                       topRows);
  epReport_.endSection();
}

void GeneClubSession::runMethod(ClubMethod method) {
  epReport_.beginSection();
  epReport_.writeMethodHeader(methodLabel(method));
  // Each club's block is formatted where it was mined, in parallel; the
  // writing, in club order, is all that is left for the writer.
  std::vector<EpBlock> blocks(settings_.topGeneCount);
  runClubMethod(
      method, *clubContext_, analyzer_.classLabels,
      [&](const ClubRun& run) {
        console_ << "Top " << run.topRow + 1 << " gene's gene club member\n";
        for (const int row : run.club) console_ << row + 1 << "\t";
        console_ << "\n" << std::flush << "\n" << std::flush;
        epReport_.writeClubHeader(run.topRow);
        epReport_.writeBlock(blocks[run.topRow]);
        blocks[run.topRow] = EpBlock();
      },
      [&](ClubRun& run) { blocks[run.topRow] = epReport_.formatBlock(run.patterns, run.club); });
  epReport_.endSection();
}

}  // namespace geneclub
