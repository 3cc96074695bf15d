#include "app/batch_summary.h"

#include <iomanip>

#include "results/tsv_text.h"

namespace geneclub {
namespace {

std::string ruleText(ClassAssignment::Rule rule) {
  switch (rule) {
    case ClassAssignment::Rule::kNegativePositive:
      return "\"negative\" is class 1, as in the interactive program";
    case ClassAssignment::Rule::kDiseaseOption:
      return "chosen with --disease";
    case ClassAssignment::Rule::kSingleLabel:
      return "the only label";
    case ClassAssignment::Rule::kFirstSampleLabel:
      return "the first sample's label; --disease chooses another";
  }
  return "";
}

// The label of class 1 or 0.
const std::string& classLabel(const ClassAssignment& classes, int classNumber) {
  return classNumber == 1 ? classes.diseaseLabel : classes.normalLabel;
}

// Labels and paths are written with control characters as spaces.
void writeEvaluation(const RunEvaluation& evaluation, const ClassAssignment& classes,
                     const std::string& disease, const std::string& normalShown,
                     std::ostream& out) {
  const ClassificationSummary& summary = evaluation.summary;
  out << "Cross-validated classification (" << foldSchemeName(evaluation.scheme) << ", seed "
      << evaluation.seed << "): " << summary.correctCount << " of " << summary.sampleCount
      << " samples right, accuracy " << std::setprecision(4) << summary.accuracy
      << ", balanced accuracy " << summary.balancedAccuracy << "\n";
  for (const int trueClass : {1, 0}) {
    if (!summary.recall[trueClass]) continue;
    out << "  true " << tsvField(classLabel(classes, trueClass)) << ": "
        << summary.confusion[trueClass][1] << " predicted " << disease << ", "
        << summary.confusion[trueClass][0] << " predicted " << normalShown << " (recall "
        << *summary.recall[trueClass] << ")\n";
  }
}

}  // namespace

void writeSummary(const RunRecord& record, const std::string& outFolder,
                  const std::vector<std::string>& files, std::ostream& out) {
  const RunInput& input = record.input;
  const ClassAssignment& classes = record.classes;
  const RankedAnalysis& ranking = record.ranking();
  const CleaningResult& cleaning = ranking.cleaning();
  const int samples = record.sampleCount();
  const std::string disease = tsvField(classes.diseaseLabel);
  const std::string normal = tsvField(classes.normalLabel);
  const std::string normalShown = normal.empty() ? "-" : normal;
  out << "Read " << tsvField(input.path) << ": " << samples << " samples x " << input.totalGenes
      << " genes (" << input.form << ", labels from " << tsvField(input.labelSource) << ")\n";
  out << "Classes: class 1 (Disease) is " << disease << " with " << record.diseaseSize()
      << " samples (" << ruleText(classes.rule) << "); class 0 (Normal) is "
      << (normal.empty() ? "empty" : normal) << " with " << samples - record.diseaseSize()
      << " samples\n";
  out << "Genes: " << ranking.geneCount() - cleaning.removedGenes() << " in play; "
      << cleaning.incompleteGenes << " incomplete (one side of the cut), "
      << cleaning.duplicateGenes << " duplicate";
  if (input.droppedGenes > 0) out << ", " << input.droppedGenes << " left out for missing values";
  out << "\n";
  if (input.renamedGenes > 0) {
    out << "Gene names: " << input.renamedGenes
        << " changed, being empty or repeated in the file (see genes.tsv)\n";
  }
  if (const std::optional<RunAnnotation>& annotation = input.annotation) {
    out << "Annotation " << tsvField(annotation->path) << ": " << annotation->matched << " of "
        << annotation->matched + annotation->unmatched << " genes found in it, "
        << annotation->unmatched << " not\n";
  }
  const int topGenes = record.settings().topGeneCount;
  out << "Top " << topGenes << " genes by information gain (nats):\n";
  for (int row = 0; row < topGenes; ++row) {
    out << std::setw(5) << row + 1 << "  "
        << tsvField(record.names.shownName(ranking.geneNumber(row))) << "  " << std::setprecision(4)
        << ranking.gain(row) << "\n";
  }
  out << "Minimal emerging patterns (" << disease << " / " << normalShown << "):\n";
  for (const PatternCount& count : record.patternCounts) {
    out << "  " << count.analysis;
    if (count.clubs > 0) out << " (" << count.clubs << " clubs)";
    out << ": " << count.disease << " / " << count.normal << "\n";
  }
  if (record.evaluation) writeEvaluation(*record.evaluation, classes, disease, normalShown, out);
  if (!record.pValues.empty()) {
    out << "Family-wise p-values of the top genes from " << record.permutations
        << " label permutations (seed " << record.seed << "): in genes.tsv, column p_fwer\n";
  }
  out << "Results in " << tsvField(outFolder) << "/: ";
  for (std::size_t f = 0; f < files.size(); ++f) out << (f == 0 ? "" : ", ") << files[f];
  out << "\n";
}

}  // namespace geneclub
