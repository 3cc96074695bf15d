// The evaluation section's charts: the confusion matrix and the per-sample
// scores of the cross-validated classification.

#include <algorithm>
#include <limits>

#include "report/chart_style.h"
#include "report/charts.h"
#include "report/report_labels.h"

namespace geneclub {
namespace {

using nlohmann::json;

// The 2 x 2 matrix gets 110 px wide cells, room for counts and class names
// (longer names end in an ellipsis 6 px before the next), 80 px high; the
// score plot is square, so its diagonal of equal scores runs at 45 degrees.
constexpr int kConfusionCellWidth = 110;
constexpr int kConfusionCellHeight = 80;
constexpr int kConfusionLabelLimit = kConfusionCellWidth - 6;
constexpr int kScorePlotSize = 320;
// Counts are set large (18 px) in their cells; sample dots are 50 px^2
// (about 8 px across) and slightly see-through where they overlap.
constexpr int kCountFontSize = 18;
constexpr int kDotArea = 50;
constexpr double kDotOpacity = 0.8;
// Dashes of 4 px with 3 px gaps mark guide lines in every chart.
const nlohmann::json kGuideDash = {4, 3};

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
  double lowest = std::numeric_limits<double>::infinity();
  double highest = -lowest;
  for (std::size_t i = 0; i < evaluation.predictions.size(); ++i) {
    const SamplePrediction& prediction = evaluation.predictions[i];
    points.push_back(
        {{"sample", input.samples[i].name},
         {"fold", prediction.fold},
         {"true", classNames[prediction.trueLabel]},
         {"predicted", classNames[prediction.predictedLabel]},
         {"outcome", prediction.trueLabel == prediction.predictedLabel ? "correct" : "wrong"},
         {"scoreOne", prediction.scoreClassOne},
         {"scoreZero", prediction.scoreClassZero}});
    lowest = std::min({lowest, prediction.scoreClassOne, prediction.scoreClassZero});
    highest = std::max({highest, prediction.scoreClassOne, prediction.scoreClassZero});
  }
  if (points.empty()) lowest = highest = 0.0;
  const std::string oneTitle = "score for " + classNames[kClassOne];
  const std::string zeroTitle = "score for " + classNames[kClassZero];
  json diagonal = {{"data",
                    {{"values",
                      {{{"scoreOne", lowest}, {"scoreZero", lowest}},
                       {{"scoreOne", highest}, {"scoreZero", highest}}}}}},
                   {"mark", {{"type", "line"}, {"color", "#999999"}, {"strokeDash", kGuideDash}}},
                   {"encoding",
                    {{"x", {{"field", "scoreOne"}, {"type", "quantitative"}}},
                     {"y", {{"field", "scoreZero"}, {"type", "quantitative"}}}}}};
  json dots = {
      {"data", {{"values", points}}},
      {"mark", {{"type", "point"}, {"filled", true}, {"size", kDotArea}, {"opacity", kDotOpacity}}},
      {"encoding",
       {{"x", {{"field", "scoreOne"}, {"type", "quantitative"}, {"title", oneTitle}}},
        {"y", {{"field", "scoreZero"}, {"type", "quantitative"}, {"title", zeroTitle}}},
        {"color",
         {{"field", "true"},
          {"type", "nominal"},
          {"title", "true class"},
          {"scale", classColourScale(classNames)}}},
        {"shape",
         {{"field", "outcome"},
          {"type", "nominal"},
          {"title", "classified"},
          {"scale", {{"domain", {"correct", "wrong"}}, {"range", {"circle", "cross"}}}}}},
        {"tooltip",
         {{{"field", "sample"}},
          {{"field", "fold"}},
          {{"field", "true"}, {"title", "true class"}},
          {{"field", "predicted"}, {"title", "predicted class"}},
          {{"field", "scoreOne"}, {"title", oneTitle}, {"format", ".4g"}},
          {{"field", "scoreZero"}, {"title", zeroTitle}, {"format", ".4g"}}}}}}};
  return vegaLiteChart(
      {{"width", kScorePlotSize}, {"height", kScorePlotSize}, {"layer", {diagonal, dots}}});
}

}  // namespace geneclub
