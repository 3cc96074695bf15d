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

// A patterns.tsv beyond this many bytes (100 MB) is large enough to ask
// for a word: spreadsheets and editors struggle with it, and most of its
// rows are weak patterns that EP.data leaves out.
constexpr std::uintmax_t kLargePatternsTable = 100'000'000;
constexpr double kBytesPerMegabyte = 1e6;

// The items joined by ", ".
template <typename Items, typename Text>
std::string joined(const Items& items, Text text) {
  std::string out;
  for (const auto& item : items) out += (out.empty() ? "" : ", ") + text(item);
  return out;
}

// Which patterns the classifier scored by which rule: the one rule and K,
// or what the training sets chose among.
std::string classifierText(const RunEvaluation& evaluation) {
  const ClassifierCandidates& candidates = evaluation.candidates;
  const auto ruleName = [](ScoringRule rule) { return std::string(scoringRuleName(rule)); };
  if (candidates.rules.size() == 1 && candidates.topGeneCounts.size() == 1) {
    return "the " + ruleName(candidates.rules[0]) + " rule over the minimal EPs of the " +
           std::to_string(candidates.topGeneCounts[0]) + " best genes of each training set";
  }
  std::string text = "chosen in each training set by an inner cross-validation among ";
  text += candidates.rules.size() == 1 ? "the " + ruleName(candidates.rules[0]) + " rule"
                                       : "the rules " + joined(candidates.rules, ruleName);
  text += " with K = " + joined(candidates.topGeneCounts, [](int k) { return std::to_string(k); });
  text += ", keeping " + ruleName(candidates.reference.rule) +
          " with K = " + std::to_string(candidates.reference.topGeneCount) +
          " unless another does measurably better";
  text +=
      "; chosen: " + joined(evaluation.choiceCounts(), [&](const RunEvaluation::ChoiceCount& c) {
        return ruleName(c.choice.rule) + " with K = " + std::to_string(c.choice.topGeneCount) +
               " in " + std::to_string(c.folds) + (c.folds == 1 ? " fold" : " folds");
      });
  return text;
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
  out << "  classifier: " << classifierText(evaluation) << "\n";
  const int uncovered = evaluation.uncoveredCount();
  if (uncovered == 0) {
    out << "  uncovered: none; every held-out sample holds a pattern\n";
  } else {
    out << "  uncovered: " << uncovered
        << (uncovered == 1 ? " held-out sample holds" : " held-out samples hold")
        << " no pattern of either class and went by the tie rule (covered = no in "
           "evaluation.tsv)\n";
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
    out << "Family-wise p-values from " << record.permutations << " label permutations (seed "
        << record.seed << "): " << record.significantGeneCount() << " genes with p_fwer below "
        << kSignificanceLevel;
    if (const int duplicates = record.significantDuplicateCount(); duplicates > 0) {
      out << " (" << duplicates << " of them duplicates)";
    }
    out << "; genes.tsv, column p_fwer\n";
  }
  if (record.patternsTableBytes && *record.patternsTableBytes > kLargePatternsTable) {
    out << "Note: patterns.tsv holds " << std::fixed << std::setprecision(0)
        << static_cast<double>(*record.patternsTableBytes) / kBytesPerMegabyte << std::defaultfloat
        << " MB; --patterns ep-data keeps only the support levels EP.data lists, --patterns "
           "none writes no patterns.tsv\n";
  }
  out << "Results in " << tsvField(outFolder) << "/: ";
  for (std::size_t f = 0; f < files.size(); ++f) out << (f == 0 ? "" : ", ") << files[f];
  out << "\n";
}

}  // namespace geneclub
