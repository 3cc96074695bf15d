// RunFiles writes every result file of a run on a table into one folder
// (the partial folder of results/results_folder.h, in the batch program),
// each whole and new (results/output_file.h): topGenes.data, EP.data,
// diseaseEP.data, normalEP.data, genes.tsv, clubs.tsv, patterns.tsv and
// run.json, with evaluation.tsv when the run has an evaluation and
// report.html when asked for. The club methods' results are written as each
// club arrives, so memory does not grow with the patterns.
//
// Use: writeStartUp, then run the club methods into clubs(), then
// closeClubFiles, writeRunJson and, if wanted, writeReport.

#ifndef GENECLUB_RESULTS_RUN_FILES_H_
#define GENECLUB_RESULTS_RUN_FILES_H_

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "analysis/club_methods.h"
#include "results/output_file.h"
#include "results/run_record.h"

namespace geneclub {

// The files of a run, in the order a summary names them.
std::vector<std::string> resultFileNames(bool evaluation, bool report);

class RunFiles {
 public:
  // The files go to `folder`, which must exist; failures to `failures`.
  RunFiles(std::filesystem::path folder, OutputFailures& failures);
  RunFiles(const RunFiles&) = delete;
  RunFiles& operator=(const RunFiles&) = delete;
  ~RunFiles();

  // Writes topGenes.data, evaluation.tsv (with an evaluation) and genes.tsv,
  // then opens the files the clubs add to and writes the global run's part.
  // The record must outlive the club files.
  void writeStartUp(const RunRecord& record);

  // Writes each club of the methods run after writeStartUp.
  ClubSink& clubs();

  // Closes EP.data, the class files, clubs.tsv and patterns.tsv.
  void closeClubFiles();

  void writeRunJson(const RunRecord& record);
  void writeReport(const RunRecord& record);

 private:
  class ClubFiles;

  std::string pathOf(const char* name) const;

  std::filesystem::path folder_;
  OutputFailures& failures_;
  std::unique_ptr<ClubFiles> clubFiles_;
};

}  // namespace geneclub

#endif  // GENECLUB_RESULTS_RUN_FILES_H_
