// The ranking section's charts: the best genes' gains and the all-genes
// gain curve.

#include <algorithm>
#include <vector>

#include "report/chart_style.h"
#include "report/charts.h"
#include "report/curve_sampling.h"
#include "report/report_labels.h"

namespace geneclub {
namespace {

using nlohmann::json;

const char* statusName(RankedGeneStatus status) {
  switch (status) {
    case RankedGeneStatus::kInPlay:
      return "in play";
    case RankedGeneStatus::kIncomplete:
      return "incomplete";
    case RankedGeneStatus::kDuplicate:
      return "duplicate";
  }
  return "in play";
}

// Bar and text rows share one band per gene: 16 px fits the 11 px labels.
constexpr int kGeneRowHeight = 16;
constexpr int kGainBarWidth = 460;
constexpr int kPValueColumnWidth = 70;
// The p_fwer column's heading is set like an axis label; its values stand
// 4 px right of their band's start, and the two panels 4 px apart.
constexpr int kLabelFontSize = 11;
constexpr int kTextOffset = 4;
constexpr int kPanelSpacing = 4;
// The gain curve is 560 x 200 px: wide enough to see where the gain
// flattens. Its limit labels stand 8 px and 22 px below the top edge, one
// above the other so that close limits do not print over each other.
constexpr int kCurveWidth = 560;
constexpr int kCurveHeight = 200;
constexpr int kTopKLabelTop = 8;
constexpr int kPoolLabelTop = 22;
// Dashes of 4 px with 3 px gaps mark guide lines in every chart.
const nlohmann::json kGuideDash = {4, 3};

// The gene axis both panels of the best-genes chart share: genes in ranking
// order, named by their labels.
json geneAxis(bool showLabels) {
  json y = {{"field", "gene"},
            {"type", "nominal"},
            {"sort", {{"field", "place"}, {"op", "min"}}},
            {"title", nullptr}};
  if (!showLabels) y["axis"] = nullptr;
  return y;
}

}  // namespace

json bestGenesChart(const ReportInput& input) {
  const int shown = std::min<int>(kBestGenesShown, static_cast<int>(input.ranking.size()));
  json rows = json::array();
  bool anyPValue = false;
  for (int place = 1; place <= shown; ++place) {
    const RankedGene& gene = input.ranking[place - 1];
    json row = {{"place", place},
                {"gene", geneLabel(input, place)},
                {"gain", gene.gain},
                {"split", gene.split},
                {"status", statusName(gene.status)}};
    if (gene.pFwer) {
      row["pFwer"] = *gene.pFwer;
      anyPValue = true;
    }
    rows.push_back(row);
  }
  json tooltip = {{{"field", "gene"}, {"title", "gene"}},
                  {{"field", "gain"}, {"format", ".4g"}, {"title", "gain (nats)"}},
                  {{"field", "split"}, {"format", ".4g"}},
                  {{"field", "status"}}};
  if (anyPValue) tooltip.push_back({{"field", "pFwer"}, {"format", ".3g"}, {"title", "p_fwer"}});
  json bars = {
      {"width", kGainBarWidth},
      {"height", {{"step", kGeneRowHeight}}},
      {"mark", {{"type", "bar"}, {"tooltip", true}}},
      {"encoding",
       {{"y", geneAxis(true)},
        {"x", {{"field", "gain"}, {"type", "quantitative"}, {"title", "information gain (nats)"}}},
        {"color",
         {{"field", "status"},
          {"type", "nominal"},
          {"title", "gene status"},
          {"scale",
           {{"domain", {"in play", "incomplete", "duplicate"}},
            {"range", {"#4e79a7", "#bab0ac", "#f28e2b"}}}},
          {"legend", {{"orient", "bottom"}, {"direction", "horizontal"}}}}},
        {"tooltip", tooltip}}}};
  if (!anyPValue) {
    bars["data"] = {{"values", rows}};
    return vegaLiteChart(bars);
  }
  json pValues = {
      {"width", kPValueColumnWidth},
      {"height", {{"step", kGeneRowHeight}}},
      {"title", {{"text", "p_fwer"}, {"fontSize", kLabelFontSize}, {"fontWeight", "normal"}}},
      {"transform", {{{"filter", "isValid(datum.pFwer)"}}}},
      {"mark", {{"type", "text"}, {"align", "left"}, {"dx", kTextOffset}}},
      {"encoding",
       {{"y", geneAxis(false)},
        {"text", {{"field", "pFwer"}, {"type", "quantitative"}, {"format", ".3g"}}},
        {"color",
         {{"condition", {{"test", "datum.pFwer < 0.05"}, {"value", "#000000"}}},
          {"value", "#8c8c8c"}}},
        {"tooltip", tooltip}}}};
  return vegaLiteChart({{"data", {{"values", rows}}},
                        {"spacing", kPanelSpacing},
                        {"resolve", {{"scale", {{"y", "shared"}}}}},
                        {"hconcat", {bars, pValues}}});
}

json gainCurveChart(const ReportInput& input) {
  std::vector<double> gains;
  gains.reserve(input.ranking.size());
  for (const RankedGene& gene : input.ranking) gains.push_back(gene.gain);
  json points = json::array();
  for (const CurvePoint& point : thinCurve(gains, kGainCurvePoints)) {
    points.push_back({{"place", point.rank}, {"gain", point.value}});
  }
  const ReportSettings& settings = input.header.settings;
  json limits = json::array();
  limits.push_back({{"place", settings.topK},
                    {"limit", "top K = " + std::to_string(settings.topK)},
                    {"labelTop", kTopKLabelTop}});
  limits.push_back({{"place", settings.pool},
                    {"limit", "pool P = " + std::to_string(settings.pool)},
                    {"labelTop", kPoolLabelTop}});
  const json placeAxis = {{"field", "place"}, {"type", "quantitative"}, {"title", "ranking place"}};
  json curve = {
      {"data", {{"values", points}}},
      {"mark", {{"type", "line"}, {"color", "#4e79a7"}, {"interpolate", "step-after"}}},
      {"encoding",
       {{"x", placeAxis},
        {"y", {{"field", "gain"}, {"type", "quantitative"}, {"title", "information gain (nats)"}}},
        {"tooltip",
         {{{"field", "place"}, {"title", "place"}}, {{"field", "gain"}, {"format", ".4g"}}}}}}};
  json rules = {{"data", {{"values", limits}}},
                {"mark", {{"type", "rule"}, {"strokeDash", kGuideDash}, {"color", "#555555"}}},
                {"encoding", {{"x", placeAxis}}}};
  json labels = {
      {"data", {{"values", limits}}},
      {"mark", {{"type", "text"}, {"align", "left"}, {"dx", kTextOffset}, {"color", "#333333"}}},
      {"encoding",
       {{"x", placeAxis},
        {"y", {{"field", "labelTop"}, {"type", "quantitative"}, {"scale", nullptr}}},
        {"text", {{"field", "limit"}}}}}};
  return vegaLiteChart(
      {{"width", kCurveWidth}, {"height", kCurveHeight}, {"layer", {curve, rules, labels}}});
}

}  // namespace geneclub
