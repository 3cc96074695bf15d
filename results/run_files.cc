#include "results/run_files.h"

#include "report/report_page.h"
#include "results/ep_report.h"
#include "results/ep_sections.h"
#include "results/run_json.h"
#include "results/run_report.h"
#include "results/top_genes.h"

namespace geneclub {
namespace {

constexpr char kEvaluationFile[] = "evaluation.tsv";
constexpr char kReportFile[] = "report.html";

// The files every run writes.
constexpr const char* kResultFiles[] = {"topGenes.data", "EP.data",   "diseaseEP.data",
                                        "normalEP.data", "genes.tsv", "clubs.tsv",
                                        "patterns.tsv",  "run.json"};

}  // namespace

std::vector<std::string> resultFileNames(bool evaluation, bool report) {
  std::vector<std::string> names(std::begin(kResultFiles), std::end(kResultFiles));
  if (evaluation) names.push_back(kEvaluationFile);
  if (report) names.push_back(kReportFile);
  return names;
}

// The files the clubs are written to: the EP files by section, and the rows
// of clubs.tsv and patterns.tsv. Each club's pattern rows are formatted
// where it was mined, in parallel; the writing, in club order, is all that
// is left.
class RunFiles::ClubFiles : public ClubSink {
 public:
  ClubFiles(const RunFiles& folder, const RunRecord& record)
      : record_(record),
        epReport_(folder.folder_, EpFileMode::kFresh, record.settings().strongDiseaseSupport,
                  record.settings().strongNormalSupport, folder.failures_),
        epSections_(epReport_, record.settings().topGeneCount),
        clubsTable_(folder.pathOf("clubs.tsv"), OutputFile::Mode::kReplace, folder.failures_),
        patternsTable_(folder.pathOf("patterns.tsv"), OutputFile::Mode::kReplace, folder.failures_),
        patternRows_(record.ranking(), record.names) {
    writeClubsHeader(clubsTable_.stream());
    writePatternsHeader(patternsTable_.stream());
    writeGlobalSection(epReport_, record.startUp);
    std::string rows;
    patternRows_.write("global", 0, record.startUp.global, record.startUp.topRows, rows);
    patternsTable_.stream() << rows;
  }

  void beginMethod(ClubMethod method) override {
    epSections_.beginMethod(method);
    method_ = methodName(method);
    clubPatternRows_.assign(record_.settings().topGeneCount, std::string());
  }

  void prepare(const ClubRun& run) override {
    epSections_.prepare(run);
    patternRows_.write(method_, run.topRow + 1, run.patterns, run.club,
                       clubPatternRows_[run.topRow]);
  }

  void deliver(const ClubRun& run) override {
    epSections_.deliver(run);
    writeClubRows(method_, run.topRow + 1, run.club, record_.settings().topGeneCount,
                  record_.ranking(), record_.names, clubsTable_.stream());
    patternsTable_.stream() << clubPatternRows_[run.topRow];
    std::string().swap(clubPatternRows_[run.topRow]);
  }

  void endMethod(ClubMethod method) override { epSections_.endMethod(method); }

 private:
  const RunRecord& record_;
  EpReport epReport_;
  EpMethodSections epSections_;
  OutputFile clubsTable_;
  OutputFile patternsTable_;
  PatternRowWriter patternRows_;
  std::string_view method_;
  std::vector<std::string> clubPatternRows_;  // by top row, from prepare until delivered
};

RunFiles::RunFiles(std::filesystem::path folder, OutputFailures& failures)
    : folder_(std::move(folder)), failures_(failures) {}

RunFiles::~RunFiles() = default;

std::string RunFiles::pathOf(const char* name) const { return (folder_ / name).string(); }

void RunFiles::writeStartUp(const RunRecord& record) {
  {
    OutputFile topGenes(pathOf("topGenes.data"), OutputFile::Mode::kReplace, failures_);
    writeTopGenes(record.ranking(), record.settings().topGeneCount, topGenes.stream());
  }
  if (const std::optional<RunEvaluation>& evaluation = record.evaluation) {
    OutputFile table(pathOf(kEvaluationFile), OutputFile::Mode::kReplace, failures_);
    writeEvaluationTable(evaluation->folds, record.ranking().classLabels(), evaluation->predictions,
                         record.names, table.stream());
  }
  {
    OutputFile genesTable(pathOf("genes.tsv"), OutputFile::Mode::kReplace, failures_);
    writeGenesTable(record.ranking(), record.names, record.pValues, genesTable.stream());
  }
  clubFiles_ = std::make_unique<ClubFiles>(*this, record);
}

ClubSink& RunFiles::clubs() { return *clubFiles_; }

void RunFiles::closeClubFiles() { clubFiles_.reset(); }

void RunFiles::writeRunJson(const RunRecord& record) {
  OutputFile runFile(pathOf("run.json"), OutputFile::Mode::kReplace, failures_);
  geneclub::writeRunJson(record, runFile.stream());
}

void RunFiles::writeReport(const RunRecord& record) {
  OutputFile page(pathOf(kReportFile), OutputFile::Mode::kReplace, failures_);
  page.stream() << buildReportHtml(makeReportInput(record));
}

}  // namespace geneclub
