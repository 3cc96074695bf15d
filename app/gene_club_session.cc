#include "app/gene_club_session.h"

#include <variant>

#include "analysis/club_methods.h"
#include "app/exit_status.h"
#include "readers/load_data.h"
#include "results/ep_sections.h"
#include "results/top_genes.h"

namespace geneclub {
namespace {

// Prints each club's rows by ranking place, the top gene first.
class ConsoleClubs : public ClubSink {
 public:
  explicit ConsoleClubs(std::ostream& console) : console_(console) {}

  void deliver(const ClubRun& run) override {
    console_ << "Top " << run.topRow + 1 << " gene's gene club member\n";
    for (const int row : run.club) console_ << row + 1 << "\t";
    console_ << "\n" << std::flush << "\n" << std::flush;
  }

 private:
  std::ostream& console_;
};

}  // namespace

void printProgress(std::ostream& console, const ProgressEvent& event) {
  switch (event.step) {
    case ProgressEvent::Step::kDataOpened:
      console << "***Data preprocessing. Please Wait...\n";
      break;
    case ProgressEvent::Step::kIncompleteGenesTakenOut:
      console << "***The total incompleted data is: " << event.count << "\n" << std::flush;
      break;
    case ProgressEvent::Step::kDuplicateSearchStarted:
      console << "\n***Finding and removing duplicated genes. Please Wait...\n";
      break;
    case ProgressEvent::Step::kDuplicateGenesZeroed:
      console << "\tThe total removed duplicated gene is: " << event.count << "\n" << std::flush;
      break;
    case ProgressEvent::Step::kGenesRanked:
      break;
  }
}

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
  auto loaded =
      geneclub::loadData(fileName, kInteractiveGeneCount, kInteractiveSampleCount,
                         [this](const ProgressEvent& event) { printProgress(console_, event); });
  if (const InputError* error = std::get_if<InputError>(&loaded)) {
    if (error->kind == InputError::kUnreadable) {
      console_ << "\t***can't open " << fileName << "\n\t***Check input data file\n";
    } else {
      console_ << "\t***Wrong data\n\t***Check input data file\n";
    }
    return exitStatusOf(*error);
  }
  loaded_ = std::move(std::get<ExpressionData>(loaded));
  return 0;
}

void GeneClubSession::runGlobalAnalysis() {
  startUp_ = runStartUp(std::move(*loaded_), settings_,
                        [this](const ProgressEvent& event) { printProgress(console_, event); });
  loaded_.reset();
  {
    OutputFile topGenes("topGenes.data", OutputFile::Mode::kReplace, failures_);
    writeTopGenes(startUp_->ranking, settings_.topGeneCount, topGenes.stream());
  }
  // The notice has always named the file without its final "s".
  console_ << "***Top " << settings_.topGeneCount
           << " genes have been written into file topGene.data\n";
  writeGlobalSection(epReport_, *startUp_);
}

void GeneClubSession::runMethod(ClubMethod method) {
  ConsoleClubs console(console_);
  EpMethodSections sections(epReport_, settings_.topGeneCount);
  ClubSink* const sinks[] = {&console, &sections};
  runClubMethods(*startUp_, std::span(&method, 1), sinks);
}

}  // namespace geneclub
