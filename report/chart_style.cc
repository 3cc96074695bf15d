#include "report/chart_style.h"

#include <cmath>

#include "report/report_input.h"

namespace geneclub {
namespace {

// Colour-blind-safe pair from the Tableau palette: vermilion for class 1,
// blue for class 0.
constexpr const char* kClassOneColour = "#e15759";
constexpr const char* kClassZeroColour = "#4e79a7";

// Pixel sizes of chart text: labels as small print, titles a step larger,
// both readable next to the page's 15 px body text.
constexpr int kLabelFontSize = 11;
constexpr int kTitleFontSize = 12;

// Axis labels (gene and club names) longer than this many pixels end in an
// ellipsis; the full name is in each mark's tooltip.
constexpr int kLabelLimit = 220;

// The share of a band kept free of dots above and below them.
constexpr double kJitterMargin = 0.2;

}  // namespace

nlohmann::json vegaLiteChart(nlohmann::json body) {
  nlohmann::json chart = {{"$schema", "https://vega.github.io/schema/vega-lite/v6.json"},
                          {"background", "white"},
                          {"config",
                           {{"font", "system-ui, -apple-system, 'Segoe UI', Roboto, sans-serif"},
                            {"view", {{"stroke", nullptr}}},
                            {"axis",
                             {{"labelFontSize", kLabelFontSize},
                              {"titleFontSize", kTitleFontSize},
                              {"titleFontWeight", "normal"},
                              {"labelLimit", kLabelLimit}}},
                            {"legend",
                             {{"labelFontSize", kLabelFontSize},
                              {"titleFontSize", kTitleFontSize},
                              {"titleFontWeight", "normal"}}}}}};
  chart.update(body);
  return chart;
}

nlohmann::json classColourScale(const std::array<std::string, 2>& classNames) {
  return {{"domain", {classNames[kClassOne], classNames[kClassZero]}},
          {"range", {kClassOneColour, kClassZeroColour}}};
}

nlohmann::json bandJitterOffset(const std::string& field) {
  return {{"field", field},
          {"type", "quantitative"},
          {"scale", {{"domain", {-kJitterMargin, 1.0 + kJitterMargin}}}}};
}

double bandJitter(std::size_t sampleIndex) {
  constexpr double kGoldenFraction = 0.6180339887498949;
  const double spread = static_cast<double>(sampleIndex) * kGoldenFraction;
  return spread - std::floor(spread);
}

}  // namespace geneclub
