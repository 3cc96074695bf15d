// The charts drawn per sample: the top genes' dot plots and heatmap, and the
// coverage matrix of the strongest patterns.

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "report/chart_style.h"
#include "report/charts.h"
#include "report/report_labels.h"

namespace geneclub {
namespace {

using nlohmann::json;

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
// cut line is heavier than grid lines.
constexpr int kDotArea = 26;
constexpr double kDotOpacity = 0.75;
constexpr double kCutLineWidth = 1.5;

// The value axis of a 270 px dot plot has room for about four labels such as
// "12,000" or "0.0025" (up to six characters of 11 px type); neighbouring
// labels keep at least 6 px apart, or every other one is dropped, and the
// end labels stay within the plot.
constexpr int kValueTickCount = 4;
constexpr int kLabelSeparation = 6;

// Skewness above 1 is "highly skewed" in the rule of thumb of Bulmer
// (Principles of Statistics, 1979): a long tail of large values that a
// linear axis would leave the bulk of the dots crowded at its left end.
// Expression intensities (MAS5, RMA before the log) are typically so.
constexpr double kStrongSkewness = 1.0;

// Sample columns of the coverage matrix and the heatmap: the samples share
// 620 px, but a column is never narrower than 5 px (a wider matrix then)
// nor wider than 14 px (a narrower one). Pattern and gene rows get 13 px,
// room for their 11 px labels; the heatmap's class strip is 8 px high and
// 2 px above the genes.
constexpr int kCoverageWidth = 620;
constexpr int kMinSampleColumnWidth = 5;
constexpr int kMaxSampleColumnWidth = 14;
constexpr int kPatternRowHeight = 13;
constexpr int kClassStripHeight = 8;
constexpr int kClassStripGap = 2;

// The heatmap's colours run from -2.5 to 2.5 standard deviations about the
// gene's mean and saturate beyond: a normal spread puts about one value in a
// hundred outside, so the scale is used in full without a few outliers
// washing out the rest. A diverging purple-orange scheme keeps clear of the
// class colours (vermilion and blue).
constexpr double kHeatmapSpread = 2.5;

// The width of each sample column for `samples` samples.
int sampleColumnWidth(std::size_t samples) {
  return std::clamp(kCoverageWidth / std::max<int>(1, static_cast<int>(samples)),
                    kMinSampleColumnWidth, kMaxSampleColumnWidth);
}

// Sample g1 = m3 / m2^(3/2), with m2 and m3 the second and third central
// moments (the Fisher-Pearson coefficient); 0 for values without spread.
double skewness(const std::vector<double>& values) {
  const double n = static_cast<double>(values.size());
  double sum = 0.0;
  for (const double value : values) sum += value;
  const double mean = sum / n;
  double m2 = 0.0;
  double m3 = 0.0;
  for (const double value : values) {
    const double deviation = value - mean;
    m2 += deviation * deviation;
    m3 += deviation * deviation * deviation;
  }
  m2 /= n;
  m3 /= n;
  return m2 > 0.0 ? m3 / std::pow(m2, 1.5) : 0.0;
}

// The values scaled to their own spread: each minus the mean, divided by the
// standard deviation (of the n values); all 0 for values without spread.
std::vector<double> standardised(std::vector<double> values) {
  const double n = static_cast<double>(values.size());
  double sum = 0.0;
  for (const double value : values) sum += value;
  const double mean = sum / n;
  double squares = 0.0;
  for (const double value : values) squares += (value - mean) * (value - mean);
  const double deviation = std::sqrt(squares / n);
  for (double& value : values) value = deviation > 0.0 ? (value - mean) / deviation : 0.0;
  return values;
}

// A sample-column axis over the given column domain without labels or ticks.
json sampleColumnAxis(const json& columns, const std::string& title) {
  return {{"field", "column"},
          {"type", "ordinal"},
          {"scale", {{"domain", columns}}},
          {"axis", {{"labels", false}, {"ticks", false}}},
          {"title", title}};
}

// The class colours under the samples' names, for a legend below the chart.
json classColour(const std::array<std::string, 2>& classNames) {
  return {{"field", "class"},
          {"type", "nominal"},
          {"scale", classColourScale(classNames)},
          {"legend", {{"orient", "bottom"}, {"direction", "horizontal"}, {"title", nullptr}}}};
}

}  // namespace

bool drawnOnLogScale(const TopGeneValues& top) {
  const bool positive =
      std::all_of(top.values.begin(), top.values.end(), [](double value) { return value > 0.0; });
  return positive && !top.values.empty() && skewness(top.values) > kStrongSkewness;
}

json topGeneChart(const ReportInput& input, std::size_t topIndex) {
  const TopGeneValues& top = input.topGenes[topIndex];
  const auto classNames = classDisplayNames(input.header);
  json dots = json::array();
  for (std::size_t i = 0; i < input.samples.size(); ++i) {
    const ReportSample& sample = input.samples[i];
    dots.push_back({{"sample", sample.name},
                    {"class", classNames[sample.classLabel]},
                    {"value", top.values[i]},
                    {"jitter", bandJitter(i)}});
  }
  const double split = input.ranking[top.place - 1].split;
  const bool logScale = drawnOnLogScale(top);
  const json valueAxis = {{"field", "value"},
                          {"type", "quantitative"},
                          {"title", logScale ? "value (log scale)" : "value"},
                          {"scale", logScale ? json{{"type", "log"}} : json{{"zero", false}}},
                          {"axis",
                           {{"tickCount", kValueTickCount},
                            {"labelOverlap", logScale ? json("greedy") : json(true)},
                            {"labelSeparation", kLabelSeparation},
                            {"labelFlush", true}}}};
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
        {"yOffset", bandJitterOffset("jitter")},
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

json topGeneHeatmap(const ReportInput& input) {
  const auto classNames = classDisplayNames(input.header);
  const std::vector<int> order = samplesByClass(input);
  json columns = json::array();
  json strip = json::array();
  for (int position = 0; position < static_cast<int>(order.size()); ++position) {
    const ReportSample& sample = input.samples[order[position]];
    columns.push_back(position);
    strip.push_back(
        {{"column", position}, {"sample", sample.name}, {"class", classNames[sample.classLabel]}});
  }
  json genes = json::array();
  json cells = json::array();
  for (const TopGeneValues& top : input.topGenes) {
    const std::string gene = geneLabel(input, top.place);
    genes.push_back(gene);
    std::vector<double> drawn = top.values;
    if (drawnOnLogScale(top)) {
      for (double& value : drawn) value = std::log(value);
    }
    const std::vector<double> scaled = standardised(std::move(drawn));
    for (int position = 0; position < static_cast<int>(order.size()); ++position) {
      const int s = order[position];
      cells.push_back({{"gene", gene},
                       {"column", position},
                       {"sample", input.samples[s].name},
                       {"class", classNames[input.samples[s].classLabel]},
                       {"value", top.values[s]},
                       {"scaled", scaled[s]}});
    }
  }
  const int width = sampleColumnWidth(order.size()) * static_cast<int>(order.size());
  json classStrip = {{"data", {{"values", strip}}},
                     {"width", width},
                     {"height", kClassStripHeight},
                     {"mark", {{"type", "rect"}}},
                     {"encoding",
                      {{"x", sampleColumnAxis(columns, "")},
                       {"color", classColour(classNames)},
                       {"tooltip", {{{"field", "sample"}}, {{"field", "class"}}}}}}};
  // The caption names the class colours; a legend would stand between the
  // strip and the rows.
  classStrip["encoding"]["x"]["axis"] = nullptr;
  classStrip["encoding"]["color"]["legend"] = nullptr;
  json matrix = {{"data", {{"values", cells}}},
                 {"width", width},
                 {"height", {{"step", kPatternRowHeight}}},
                 {"mark", {{"type", "rect"}}},
                 {"encoding",
                  {{"x", sampleColumnAxis(columns, "samples (class 1 first, in sample order)")},
                   {"y",
                    {{"field", "gene"},
                     {"type", "nominal"},
                     {"scale", {{"domain", genes}}},
                     {"title", nullptr}}},
                   {"color",
                    {{"field", "scaled"},
                     {"type", "quantitative"},
                     {"title", "scaled value"},
                     {"scale",
                      {{"scheme", "purpleorange"},
                       {"domain", {-kHeatmapSpread, kHeatmapSpread}},
                       {"clamp", true}}},
                     {"legend", {{"orient", "right"}}}}},
                   {"tooltip",
                    {{{"field", "gene"}},
                     {{"field", "sample"}},
                     {{"field", "class"}},
                     {{"field", "value"}, {"format", ".5g"}},
                     {{"field", "scaled"}, {"title", "scaled value"}, {"format", ".2f"}}}}}}};
  return vegaLiteChart({{"spacing", kClassStripGap},
                        {"resolve", {{"scale", {{"color", "independent"}, {"x", "shared"}}}}},
                        {"vconcat", {classStrip, matrix}}});
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
  json columns = json::array();
  for (int position = 0; position < static_cast<int>(order.size()); ++position) {
    columns.push_back(position);
  }
  return vegaLiteChart(
      {{"data", {{"values", cells}}},
       {"width", sampleColumnWidth(order.size()) * static_cast<int>(order.size())},
       {"height", {{"step", kPatternRowHeight}}},
       {"view", {{"fill", "#f3f3f3"}}},
       {"mark", {{"type", "rect"}, {"stroke", "white"}, {"strokeWidth", 0.5}}},
       {"encoding",
        {{"x", sampleColumnAxis(columns, "samples (class 1 first, in sample order)")},
         {"y",
          {{"field", "row"},
           {"type", "nominal"},
           {"scale", {{"domain", rowNames}}},
           {"title", nullptr}}},
         {"color", classColour(classNames)},
         {"tooltip",
          {{{"field", "row"}, {"title", "pattern"}},
           {{"field", "sample"}},
           {{"field", "class"}}}}}}});
}

}  // namespace geneclub
