// The charts drawn per sample: the top genes' dot plots and the coverage
// matrix of the strongest patterns.

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "report/chart_style.h"
#include "report/charts.h"
#include "report/report_labels.h"

namespace geneclub {
namespace {

using nlohmann::json;

// A dot's vertical offset within its class's band, in 0..1: the fractional
// digits of index * (golden ratio - 1), which spreads consecutive samples
// evenly and is the same on every run, unlike a random jitter.
double jitter(std::size_t sampleIndex) {
  constexpr double kGoldenFraction = 0.6180339887498949;
  const double spread = static_cast<double>(sampleIndex) * kGoldenFraction;
  return spread - std::floor(spread);
}

// The samples in page order: class 1 first, each class in sample order.
std::vector<int> samplesByClass(const ReportInput& input) {
  std::vector<int> order;
  for (int label : {kClassOne, kClassZero}) {
    for (std::size_t i = 0; i < input.samples.size(); ++i) {
      if (input.samples[i].classLabel == label) order.push_back(static_cast<int>(i));
    }
  }
  return order;
}

// Top-gene dot plots are small multiples: 270 x 2 * 34 px each, so three
// fit side by side on a wide screen and on a printed page. Their class rows
// are told apart by colour and order alone (class 1 on top): class labels
// can be long, and repeating them in every plot would crowd the grid.
constexpr int kDotPlotWidth = 270;
constexpr int kClassBandHeight = 34;
// Dots of 26 px^2 (about 6 px across), seen through where they overlap; the
// jitter domain leaves a fifth of a band free above and below them so that
// the two classes' dots never touch; the cut line is heavier than grid lines.
constexpr int kDotArea = 26;
constexpr double kDotOpacity = 0.75;
constexpr double kJitterMargin = 0.2;
constexpr double kCutLineWidth = 1.5;

// Coverage matrix cells: the samples share 620 px, but a column is never
// narrower than 5 px (a wider matrix then) nor wider than 14 px (a narrower
// one). Pattern rows get 13 px, room for their 11 px labels.
constexpr int kCoverageWidth = 620;
constexpr int kMinSampleColumnWidth = 5;
constexpr int kMaxSampleColumnWidth = 14;
constexpr int kPatternRowHeight = 13;

}  // namespace

json topGeneChart(const ReportInput& input, std::size_t topIndex) {
  const TopGeneValues& top = input.topGenes[topIndex];
  const auto classNames = classDisplayNames(input.header);
  json dots = json::array();
  for (std::size_t i = 0; i < input.samples.size(); ++i) {
    const ReportSample& sample = input.samples[i];
    dots.push_back({{"sample", sample.name},
                    {"class", classNames[sample.classLabel]},
                    {"value", top.values[i]},
                    {"jitter", jitter(i)}});
  }
  const double split = input.ranking[top.place - 1].split;
  const json valueAxis = {{"field", "value"},
                          {"type", "quantitative"},
                          {"title", "expression"},
                          {"scale", {{"zero", false}}}};
  json points = {
      {"data", {{"values", dots}}},
      {"mark", {{"type", "circle"}, {"size", kDotArea}, {"opacity", kDotOpacity}}},
      {"encoding",
       {{"x", valueAxis},
        {"y",
         {{"field", "class"},
          {"type", "nominal"},
          {"title", nullptr},
          {"axis", nullptr},
          {"scale", {{"domain", {classNames[kClassOne], classNames[kClassZero]}}}}}},
        {"yOffset",
         {{"field", "jitter"},
          {"type", "quantitative"},
          {"scale", {{"domain", {-kJitterMargin, 1.0 + kJitterMargin}}}}}},
        {"color",
         {{"field", "class"},
          {"type", "nominal"},
          {"scale", classColourScale(classNames)},
          {"legend", nullptr}}},
        {"tooltip",
         {{{"field", "sample"}}, {{"field", "class"}}, {{"field", "value"}, {"format", ".5g"}}}}}}};
  json cut = {{"data", {{"values", {{{"split", split}}}}}},
              {"mark", {{"type", "rule"}, {"color", "#222222"}, {"strokeWidth", kCutLineWidth}}},
              {"encoding",
               {{"x", {{"field", "split"}, {"type", "quantitative"}}},
                {"tooltip", {{{"field", "split"}, {"title", "split"}, {"format", ".4g"}}}}}}};
  return vegaLiteChart({{"width", kDotPlotWidth},
                        {"height", {{"step", kClassBandHeight}}},
                        {"layer", {points, cut}}});
}

json patternCoverageChart(const ReportInput& input) {
  const auto classNames = classDisplayNames(input.header);
  const std::vector<int> order = samplesByClass(input);
  std::vector<int> column(input.samples.size());
  for (std::size_t position = 0; position < order.size(); ++position) {
    column[order[position]] = static_cast<int>(position);
  }
  // The first row shows every sample's class; pattern rows follow.
  const std::string classRow = "class";
  json rowNames = {classRow};
  json cells = json::array();
  for (int position = 0; position < static_cast<int>(order.size()); ++position) {
    const ReportSample& sample = input.samples[order[position]];
    cells.push_back({{"row", classRow},
                     {"column", position},
                     {"sample", sample.name},
                     {"class", classNames[sample.classLabel]}});
  }
  for (int label : {kClassOne, kClassZero}) {
    const auto& patterns = input.classPatterns[label];
    const int shown = std::min<int>(kPatternsShown, static_cast<int>(patterns.size()));
    for (int p = 0; p < shown; ++p) {
      const std::string row = patternName(label, p);
      rowNames.push_back(row);
      for (int s : patterns[p].samples) {
        cells.push_back({{"row", row},
                         {"column", column[s]},
                         {"sample", input.samples[s].name},
                         {"class", classNames[input.samples[s].classLabel]}});
      }
    }
  }
  const int columnWidth =
      std::clamp(kCoverageWidth / std::max<int>(1, static_cast<int>(order.size())),
                 kMinSampleColumnWidth, kMaxSampleColumnWidth);
  json columns = json::array();
  for (int position = 0; position < static_cast<int>(order.size()); ++position) {
    columns.push_back(position);
  }
  return vegaLiteChart(
      {{"data", {{"values", cells}}},
       {"width", columnWidth * static_cast<int>(order.size())},
       {"height", {{"step", kPatternRowHeight}}},
       {"view", {{"fill", "#f3f3f3"}}},
       {"mark", {{"type", "rect"}, {"stroke", "white"}, {"strokeWidth", 0.5}}},
       {"encoding",
        {{"x",
          {{"field", "column"},
           {"type", "ordinal"},
           {"scale", {{"domain", columns}}},
           {"axis", {{"labels", false}, {"ticks", false}}},
           {"title", "samples (class 1 first, in sample order)"}}},
         {"y",
          {{"field", "row"},
           {"type", "nominal"},
           {"scale", {{"domain", rowNames}}},
           {"title", nullptr}}},
         {"color",
          {{"field", "class"},
           {"type", "nominal"},
           {"scale", classColourScale(classNames)},
           {"legend", {{"orient", "bottom"}, {"direction", "horizontal"}, {"title", nullptr}}}}},
         {"tooltip",
          {{{"field", "row"}, {"title", "pattern"}},
           {{"field", "sample"}},
           {{"field", "class"}}}}}}});
}

}  // namespace geneclub
