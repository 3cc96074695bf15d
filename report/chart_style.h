// The look shared by every chart of the report page: the Vega-Lite schema
// and configuration each chart definition starts from, and the class colours,
// so that a class has the same colour in every chart.

#ifndef GENECLUB_REPORT_CHART_STYLE_H_
#define GENECLUB_REPORT_CHART_STYLE_H_

#include <array>
#include <cstddef>
#include <nlohmann/json.hpp>
#include <string>

namespace geneclub {

// A Vega-Lite chart definition of `body` with the page's schema and
// configuration added: fonts and sizes matching the page's text, and no
// frame around single views.
nlohmann::json vegaLiteChart(nlohmann::json body);

// A colour scale mapping the class display names (indexed by label) to the
// class colours: Disease (class 1) warm, Normal (class 0) cool.
nlohmann::json classColourScale(const std::array<std::string, 2>& classNames);

// Dots in a band per class are spread up and down to keep them apart: the
// yOffset encoding of a field holding bandJitter of each dot's sample index.
// Its domain leaves a fifth of the band free above and below, so that the
// dots of neighbouring bands never touch.
nlohmann::json bandJitterOffset(const std::string& field);

// A dot's offset within its band, in 0..1: the fractional digits of index *
// (golden ratio - 1), which spreads consecutive samples evenly and is the
// same on every run, unlike a random jitter.
double bandJitter(std::size_t sampleIndex);

}  // namespace geneclub

#endif  // GENECLUB_REPORT_CHART_STYLE_H_
