#include "results/run_json.h"

#include <nlohmann/json.hpp>

namespace geneclub {
namespace {

using Json = nlohmann::ordered_json;

// The label of class 1 or 0.
const std::string& classLabel(const ClassAssignment& classes, int classNumber) {
  return classNumber == 1 ? classes.diseaseLabel : classes.normalLabel;
}

Json evaluationJson(const RunEvaluation& evaluation, const ClassAssignment& classes) {
  const ClassificationSummary& summary = evaluation.summary;
  Json recall = Json::object();
  Json confusion = Json::object();
  for (const int trueClass : {1, 0}) {
    if (!summary.recall[trueClass]) continue;
    recall[classLabel(classes, trueClass)] = *summary.recall[trueClass];
    Json row = Json::object();
    for (const int predictedClass : {1, 0}) {
      row[classLabel(classes, predictedClass)] = summary.confusion[trueClass][predictedClass];
    }
    confusion[classLabel(classes, trueClass)] = row;
  }
  Json rules = Json::array();
  for (const ScoringRule rule : evaluation.candidates.rules) rules.push_back(scoringRuleName(rule));
  Json choices = Json::array();
  for (const RunEvaluation::ChoiceCount& count : evaluation.choiceCounts()) {
    choices.push_back({{"rule", scoringRuleName(count.choice.rule)},
                       {"top", count.choice.topGeneCount},
                       {"folds", count.folds}});
  }
  return {{"method", foldSchemeName(evaluation.scheme)},
          {"classifier", evaluation.rule ? scoringRuleName(*evaluation.rule) : "auto"},
          {"candidates", {{"rules", rules}, {"top", evaluation.candidates.topGeneCounts}}},
          {"fold_choices", choices},
          {"accuracy", summary.accuracy},
          {"balanced_accuracy", summary.balancedAccuracy},
          {"recall", recall},
          {"confusion", confusion},
          {"uncovered", evaluation.uncoveredCount()}};
}

}  // namespace

void writeRunJson(const RunRecord& record, std::ostream& out) {
  const RunInput& input = record.input;
  const ClassAssignment& classes = record.classes;
  const AnalysisSettings& settings = record.settings();
  const CleaningResult& cleaning = record.ranking().cleaning();
  Json run;
  run["version"] = GENECLUB_VERSION;
  run["input"] = {{"path", input.path},
                  {"size", input.size ? Json(*input.size) : Json()},
                  {"form", input.form},
                  {"samples", record.sampleCount()},
                  {"labels_from", input.labelSource}};
  run["settings"] = {{"top", settings.topGeneCount},
                     {"seed", record.seed},
                     {"permutations", record.permutations},
                     {"pool", settings.poolBase},
                     {"methods", record.methodNames()},
                     {"missing", input.missingPolicy},
                     {"patterns", patternsKeptName(record.patternsKept)},
                     {"strong_disease_support", settings.strongDiseaseSupport},
                     {"strong_normal_support", settings.strongNormalSupport}};
  Json labels = Json::object();
  for (const auto& [label, count] : classes.labelCounts) labels[label] = count;
  run["labels"] = labels;
  run["classes"] = {
      {"disease", {{"label", classes.diseaseLabel}, {"size", record.diseaseSize()}}},
      {"normal",
       {{"label", classes.normalLabel}, {"size", record.sampleCount() - record.diseaseSize()}}}};
  run["genes"] = {{"total", input.totalGenes},
                  {"dropped", input.droppedGenes},
                  {"incomplete", cleaning.incompleteGenes},
                  {"duplicate", cleaning.duplicateGenes},
                  {"renamed", input.renamedGenes}};
  if (!record.pValues.empty()) {
    run["genes"]["p_fwer_below_0.05"] = record.significantGeneCount();
  }
  if (const std::optional<RunAnnotation>& annotation = input.annotation) {
    run["annotation"] = {{"path", annotation->path},
                         {"matched", annotation->matched},
                         {"unmatched", annotation->unmatched}};
  }
  if (record.evaluation) run["evaluation"] = evaluationJson(*record.evaluation, classes);
  Json patterns = Json::object();
  for (const PatternCount& count : record.patternCounts) {
    patterns[count.analysis] = {
        {"clubs", count.clubs}, {"disease", count.disease}, {"normal", count.normal}};
  }
  run["patterns"] = patterns;
  Json times = Json::object();
  for (const auto& [stage, seconds] : record.stageTimes) times[stage] = seconds;
  run["seconds"] = times;
  // Bytes of names and paths that are not UTF-8 become U+FFFD, so that the
  // file is always valid JSON.
  std::string text = run.dump(2, ' ', false, Json::error_handler_t::replace);
  // DEL, the one control character that JSON lets stand raw, is escaped as
  // the others are. It occurs only inside strings.
  for (std::size_t at = 0; (at = text.find('\x7f', at)) != std::string::npos;) {
    text.replace(at, 1, "\\u007f");
  }
  out << text << "\n";
}

}  // namespace geneclub
