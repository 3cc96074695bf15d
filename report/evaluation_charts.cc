// The evaluation section's charts: the confusion matrix and the per-sample
// scores of the cross-validated classification.

#include <string>

#include "report/chart_style.h"
#include "report/charts.h"
#include "report/report_labels.h"

namespace geneclub {
namespace {

using nlohmann::json;

// The 2 x 2 matrix gets 110 px wide cells, room for counts and class names
// (longer names end in an ellipsis 6 px before the next), 80 px high. The
// score plot is 300 px wide with a 60 px band per true class.
constexpr int kConfusionCellWidth = 110;
constexpr int kConfusionCellHeight = 80;
constexpr int kConfusionLabelLimit = kConfusionCellWidth - 6;
constexpr int kScorePlotWidth = 300;
constexpr int kScoreBandHeight = 60;
// Counts are set large (18 px) in their cells; sample dots are 50 px^2
// (about 8 px across) and slightly see-through where they overlap.
constexpr int kCountFontSize = 18;
constexpr int kDotArea = 50;
constexpr double kDotOpacity = 0.8;
// Dashes of 4 px with 3 px gaps mark guide lines in every chart.
const nlohmann::json kGuideDash = {4, 3};
// Equal scores give each class half of their sum; a sample without patterns
// (both scores 0) stands there too.
constexpr double kEqualShare = 0.5;

}  // namespace

json confusionChart(const ReportInput& input) {
  const ReportEvaluation& evaluation = *input.evaluation;
  const auto classNames = classDisplayNames(input.header);
  json cells = json::array();
  for (int truth : {kClassOne, kClassZero}) {
    for (int predicted : {kClassOne, kClassZero}) {
      cells.push_back({{"true", classNames[truth]},
                       {"predicted", classNames[predicted]},
                       {"count", evaluation.confusion[truth][predicted]},
                       {"correct", truth == predicted}});
    }
  }
  const json order = {classNames[kClassOne], classNames[kClassZero]};
  const json encoding = {
      {"y",
       {{"field", "true"},
        {"type", "nominal"},
        {"scale", {{"domain", order}}},
        {"title", "true class"}}},
      {"x",
       {{"field", "predicted"},
        {"type", "nominal"},
        {"scale", {{"domain", order}}},
        {"title", "predicted class"},
        {"axis", {{"orient", "top"}, {"labelAngle", 0}, {"labelLimit", kConfusionLabelLimit}}}}}};
  json rects = {{"mark", {{"type", "rect"}, {"stroke", "white"}}},
                {"encoding",
                 {{"color",
                   {{"field", "correct"},
                    {"type", "nominal"},
                    {"scale", {{"domain", {true, false}}, {"range", {"#cfe3c9", "#f6c9c3"}}}},
                    {"legend", nullptr}}},
                  {"tooltip",
                   {{{"field", "true"}, {"title", "true class"}},
                    {{"field", "predicted"}, {"title", "predicted class"}},
                    {{"field", "count"}, {"title", "samples"}}}}}}};
  json counts = {{"mark", {{"type", "text"}, {"fontSize", kCountFontSize}}},
                 {"encoding", {{"text", {{"field", "count"}, {"type", "quantitative"}}}}}};
  return vegaLiteChart({{"data", {{"values", cells}}},
                        {"width", {{"step", kConfusionCellWidth}}},
                        {"height", {{"step", kConfusionCellHeight}}},
                        {"encoding", encoding},
                        {"layer", {rects, counts}}});
}

json sampleScoreChart(const ReportInput& input) {
  const ReportEvaluation& evaluation = *input.evaluation;
  const auto classNames = classDisplayNames(input.header);
  json points = json::array();
  for (std::size_t i = 0; i < evaluation.predictions.size(); ++i) {
    const SamplePrediction& prediction = evaluation.predictions[i];
    const double total = prediction.scoreClassOne + prediction.scoreClassZero;
    const bool correct = prediction.trueLabel == prediction.predictedLabel;
    std::string outcome = correct ? "correct" : "wrong";
    if (!prediction.covered) outcome = "no pattern, " + outcome;
    points.push_back({{"sample", input.samples[i].name},
                      {"fold", prediction.fold},
                      {"true", classNames[prediction.trueLabel]},
                      {"predicted", classNames[prediction.predictedLabel]},
                      {"outcome", outcome},
                      {"share", total > 0.0 ? prediction.scoreClassOne / total : kEqualShare},
                      {"jitter", bandJitter(i)},
                      {"scoreOne", prediction.scoreClassOne},
                      {"scoreZero", prediction.scoreClassZero}});
  }
  const std::string shareTitle = "share of the scores that is " + classNames[kClassOne] + "'s";
  const json shareAxis = {{"field", "share"},
                          {"type", "quantitative"},
                          {"title", shareTitle},
                          {"scale", {{"domain", {0.0, 1.0}}}},
                          {"axis", {{"format", ".1~f"}}}};
  json equal = {{"data", {{"values", {{{"share", kEqualShare}}}}}},
                {"mark", {{"type", "rule"}, {"color", "#999999"}, {"strokeDash", kGuideDash}}},
                {"encoding", {{"x", shareAxis}}}};
  json dots = {
      {"data", {{"values", points}}},
      {"mark", {{"type", "point"}, {"filled", true}, {"size", kDotArea}, {"opacity", kDotOpacity}}},
      {"encoding",
       {{"x", shareAxis},
        {"y",
         {{"field", "true"},
          {"type", "nominal"},
          {"title", "true class"},
          {"scale", {{"domain", {classNames[kClassOne], classNames[kClassZero]}}}}}},
        {"yOffset", bandJitterOffset("jitter")},
        {"color",
         {{"field", "true"},
          {"type", "nominal"},
          {"title", "true class"},
          {"scale", classColourScale(classNames)},
          // The rows name the true class already.
          {"legend", nullptr}}},
        {"shape",
         {{"field", "outcome"},
          {"type", "nominal"},
          {"title", "classified"},
          {"scale",
           {{"domain", {"correct", "wrong", "no pattern, correct", "no pattern, wrong"}},
            {"range", {"circle", "cross", "square", "triangle-up"}}}},
          {"legend", {{"orient", "bottom"}, {"columns", 2}}}}},
        {"tooltip",
         {{{"field", "sample"}},
          {{"field", "fold"}},
          {{"field", "true"}, {"title", "true class"}},
          {{"field", "predicted"}, {"title", "predicted class"}},
          {{"field", "outcome"}, {"title", "classified"}},
          {{"field", "scoreOne"},
           {"title", "score for " + classNames[kClassOne]},
           {"format", ".4g"}},
          {{"field", "scoreZero"},
           {"title", "score for " + classNames[kClassZero]},
           {"format", ".4g"}}}}}}};
  return vegaLiteChart({{"width", kScorePlotWidth},
                        {"height", {{"step", kScoreBandHeight}}},
                        {"layer", {equal, dots}}});
}

}  // namespace geneclub
