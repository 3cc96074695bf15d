#include "report/chart_style.h"

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

}  // namespace geneclub
