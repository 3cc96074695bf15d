#include "report/input_check.h"

#include <stdexcept>
#include <string>

namespace geneclub {
namespace {

void require(bool holds, const std::string& fault) {
  if (!holds) throw std::invalid_argument("report input: " + fault);
}

void checkPlace(const ReportInput& input, int place, const std::string& where) {
  require(place >= 1 && static_cast<std::size_t>(place) <= input.ranking.size(),
          where + " names ranking place " + std::to_string(place) + ", outside 1.." +
              std::to_string(input.ranking.size()));
}

void checkSample(const ReportInput& input, int sample, const std::string& where) {
  require(sample >= 0 && static_cast<std::size_t>(sample) < input.samples.size(),
          where + " names sample " + std::to_string(sample) + ", outside 0.." +
              std::to_string(static_cast<long>(input.samples.size()) - 1));
}

bool isClassLabel(int label) { return label == kClassOne || label == kClassZero; }

}  // namespace

void checkReportInput(const ReportInput& input) {
  for (std::size_t i = 0; i < input.samples.size(); ++i) {
    require(isClassLabel(input.samples[i].classLabel),
            "sample " + std::to_string(i) + " has a class label other than 1 or 0");
  }
  for (std::size_t t = 0; t < input.topGenes.size(); ++t) {
    const std::string where = "top gene " + std::to_string(t + 1);
    checkPlace(input, input.topGenes[t].place, where);
    require(input.topGenes[t].values.size() == input.samples.size(),
            where + " does not have one value per sample");
  }
  for (int label : {kClassOne, kClassZero}) {
    const auto& patterns = input.classPatterns[label];
    for (std::size_t p = 0; p < patterns.size(); ++p) {
      const std::string where =
          "pattern " + std::to_string(p + 1) + " of class " + std::to_string(label);
      for (const PatternCondition& condition : patterns[p].conditions) {
        checkPlace(input, condition.place, where);
      }
      for (int sample : patterns[p].samples) checkSample(input, sample, where);
    }
  }
  for (const ClubMethodRun& run : input.clubRuns) {
    require(run.patternCounts.size() == run.clubs.size(),
            "method run " + run.method + " does not have one pattern count per club");
    for (std::size_t c = 0; c < run.clubs.size(); ++c) {
      for (int place : run.clubs[c]) {
        checkPlace(input, place, "club " + std::to_string(c + 1) + " of " + run.method);
      }
    }
  }
  for (int label : {kClassOne, kClassZero}) {
    const auto& patterns = input.strongPatterns[label];
    for (std::size_t p = 0; p < patterns.size(); ++p) {
      const std::string where =
          "strong pattern " + std::to_string(p + 1) + " of class " + std::to_string(label);
      for (const PatternCondition& condition : patterns[p].conditions) {
        checkPlace(input, condition.place, where);
      }
      if (patterns[p].clubPlace != 0) checkPlace(input, patterns[p].clubPlace, where);
    }
  }
  if (input.evaluation) {
    const ReportEvaluation& evaluation = *input.evaluation;
    require(evaluation.predictions.size() == input.samples.size(),
            "the evaluation does not have one prediction per sample");
    for (std::size_t i = 0; i < evaluation.predictions.size(); ++i) {
      require(isClassLabel(evaluation.predictions[i].trueLabel) &&
                  isClassLabel(evaluation.predictions[i].predictedLabel),
              "the prediction of sample " + std::to_string(i) + " has a label other than 1 or 0");
    }
  }
}

}  // namespace geneclub
