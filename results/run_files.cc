#include "results/run_files.h"

#include <optional>
#include <span>

#include "report/report_page.h"
#include "results/ep_report.h"
#include "results/ep_sections.h"
#include "results/run_json.h"
#include "results/run_report.h"
#include "results/top_genes.h"

namespace geneclub {
namespace {

constexpr char kPatternsFile[] = "patterns.tsv";
constexpr char kEvaluationFile[] = "evaluation.tsv";
constexpr char kReportFile[] = "report.html";

// The files every run writes, in the summary's order; patterns.tsv, when
// written, stands before run.json.
constexpr const char* kResultFiles[] = {"topGenes.data", "EP.data",   "diseaseEP.data",
                                        "normalEP.data", "genes.tsv", "clubs.tsv"};
constexpr char kRunFile[] = "run.json";

}  // namespace

std::vector<std::string> resultFileNames(OptionalFiles files) {
  std::vector<std::string> names(std::begin(kResultFiles), std::end(kResultFiles));
  if (files.patternsTable) names.push_back(kPatternsFile);
  names.push_back(kRunFile);
  if (files.evaluation) names.push_back(kEvaluationFile);
  if (files.report) names.push_back(kReportFile);
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
        clubsTable_(folder.pathOf("clubs.tsv"), OutputFile::Mode::kReplace, folder.failures_) {
    writeClubsHeader(clubsTable_.stream());
    if (record.patternsKept != PatternsKept::kNone) {
      patternsTable_ = std::make_unique<OutputFile>(folder.pathOf(kPatternsFile),
                                                    OutputFile::Mode::kReplace, folder.failures_);
      patternRows_.emplace(record.ranking(), record.names, record.patternsKept);
      std::string rows;
      writePatternsHeader(rows);
      patternRows_->write("global", 0, record.startUp.global, record.startUp.topRows, rows);
      writePatternRows(rows);
    }
    writeGlobalSection(epReport_, record.startUp);
    takeStrongPatterns("global", 0);
  }

  void beginMethod(ClubMethod method) override {
    epSections_.beginMethod(method);
    method_ = methodName(method);
    clubPatternRows_.assign(record_.settings().topGeneCount, std::string());
  }

  void prepare(const ClubRun& run) override {
    epSections_.prepare(run);
    if (patternRows_) {
      patternRows_->write(method_, run.topRow + 1, run.patterns, run.club,
                          clubPatternRows_[run.topRow]);
    }
  }

  void deliver(const ClubRun& run) override {
    epSections_.deliver(run);
    takeStrongPatterns(std::string(method_), run.topRow + 1);
    writeClubRows(method_, run.topRow + 1, run.club, record_.settings().topGeneCount,
                  record_.ranking(), record_.names, clubsTable_.stream());
    writePatternRows(clubPatternRows_[run.topRow]);
    std::string().swap(clubPatternRows_[run.topRow]);
  }

  void endMethod(ClubMethod method) override { epSections_.endMethod(method); }

  // The patterns of the gene sets written to the class files, each with the
  // run that found it, in the order written.
  std::vector<ClassFilePattern>& strongPatterns() { return strongPatterns_; }

  // The bytes written to patterns.tsv; none when it is not written.
  std::optional<std::uintmax_t> patternsTableBytes() const {
    if (!patternsTable_) return std::nullopt;
    return patternsTableBytes_;
  }

 private:
  void writePatternRows(const std::string& rows) {
    if (!patternsTable_) return;
    patternsTable_->stream() << rows;
    patternsTableBytes_ += rows.size();
  }

  // Takes the gene sets the last block added to the class files, as found
  // by the given run.
  void takeStrongPatterns(const std::string& analysis, int club) {
    for (const bool disease : {true, false}) {
      const std::vector<EpBlock::StrongGeneSet>& written = epReport_.writtenGeneSets(disease);
      for (std::size_t taken = takenGeneSets_[disease]; taken < written.size(); ++taken) {
        strongPatterns_.push_back({analysis, club, written[taken]});
      }
      takenGeneSets_[disease] = written.size();
    }
  }

  const RunRecord& record_;
  EpReport epReport_;
  EpMethodSections epSections_;
  OutputFile clubsTable_;
  std::unique_ptr<OutputFile> patternsTable_;  // none when no patterns are kept
  std::optional<PatternRowWriter> patternRows_;
  std::uintmax_t patternsTableBytes_ = 0;
  std::string_view method_;
  std::vector<std::string> clubPatternRows_;  // by top row, from prepare until delivered
  std::vector<ClassFilePattern> strongPatterns_;
  std::size_t takenGeneSets_[2] = {0, 0};  // indexed by disease
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
  const std::optional<RunEvaluation>& evaluation = record.evaluation;
  if (evaluation) {
    OutputFile table(pathOf(kEvaluationFile), OutputFile::Mode::kReplace, failures_);
    writeEvaluationTable(evaluation->folds, record.ranking().classLabels(), evaluation->predictions,
                         evaluation->foldChoices, record.names, table.stream());
  }
  {
    OutputFile genesTable(pathOf("genes.tsv"), OutputFile::Mode::kReplace, failures_);
    writeGenesTable(
        record.ranking(), record.names, record.pValues,
        evaluation ? std::span<const double>(evaluation->foldFrequency) : std::span<const double>(),
        genesTable.stream());
  }
  clubFiles_ = std::make_unique<ClubFiles>(*this, record);
}

ClubSink& RunFiles::clubs() { return *clubFiles_; }

void RunFiles::closeClubFiles(RunRecord& record) {
  record.strongPatterns = std::move(clubFiles_->strongPatterns());
  record.patternsTableBytes = clubFiles_->patternsTableBytes();
  clubFiles_.reset();
}

void RunFiles::writeRunJson(const RunRecord& record) {
  OutputFile runFile(pathOf(kRunFile), OutputFile::Mode::kReplace, failures_);
  geneclub::writeRunJson(record, runFile.stream());
}

void RunFiles::writeReport(const RunRecord& record) {
  OutputFile page(pathOf(kReportFile), OutputFile::Mode::kReplace, failures_);
  page.stream() << buildReportHtml(makeReportInput(record));
}

}  // namespace geneclub
