// The gene-club section's chart: one membership matrix per method run.

#include <algorithm>
#include <set>
#include <string>

#include "report/chart_style.h"
#include "report/charts.h"
#include "report/report_labels.h"

namespace geneclub {
namespace {

using nlohmann::json;

// Club rows get 14 px, room for their 11 px labels. Member columns get 10 px
// each until the matrix reaches 720 px; wider runs share those 720 px, which
// still shows where in the ranking the members come from.
constexpr int kClubRowHeight = 14;
constexpr int kPlaceColumnWidth = 10;
constexpr int kMaxMatrixWidth = 720;
constexpr int kPatternCountWidth = 140;
// Place labels stand upright (-90 degrees) so that neighbours do not
// collide, and where columns are narrower than a label's 11 px type every
// label closer than 3 px to the one before is left out; 12 px separate the
// matrix from the pattern-count bars.
constexpr int kPlaceLabelAngle = -90;
constexpr int kPlaceLabelSeparation = 3;
constexpr int kPanelSpacing = 12;

}  // namespace

json clubMembershipChart(const ReportInput& input, const ClubMethodRun& run) {
  json members = json::array();
  json counts = json::array();
  json clubNames = json::array();
  std::set<int> places;
  for (std::size_t c = 0; c < run.clubs.size(); ++c) {
    const auto& club = run.clubs[c];
    const std::string name =
        club.empty() ? "club " + std::to_string(c + 1) : geneLabel(input, club.front());
    clubNames.push_back(name);
    for (std::size_t m = 0; m < club.size(); ++m) {
      places.insert(club[m]);
      members.push_back({{"club", name},
                         {"place", club[m]},
                         {"gene", geneLabel(input, club[m])},
                         {"role", m == 0 ? "top gene" : "member"}});
    }
    counts.push_back({{"club", name}, {"patterns", run.patternCounts[c]}});
  }
  const json clubAxis = {{"field", "club"},
                         {"type", "nominal"},
                         {"scale", {{"domain", clubNames}}},
                         {"title", nullptr}};
  const int width = std::min(kMaxMatrixWidth,
                             kPlaceColumnWidth * std::max<int>(1, static_cast<int>(places.size())));
  json matrix = {
      {"data", {{"values", members}}},
      {"width", width},
      {"height", {{"step", kClubRowHeight}}},
      {"view", {{"fill", "#f3f3f3"}}},
      {"mark", {{"type", "rect"}}},
      {"encoding",
       {{"y", clubAxis},
        {"x",
         {{"field", "place"},
          {"type", "ordinal"},
          {"title", "ranking places of the members"},
          {"axis",
           {{"labelOverlap", "greedy"},
            {"labelSeparation", kPlaceLabelSeparation},
            {"labelAngle", kPlaceLabelAngle}}}}},
        {"color",
         {{"field", "role"},
          {"type", "nominal"},
          {"title", nullptr},
          {"scale", {{"domain", {"top gene", "member"}}, {"range", {"#1f3b5c", "#6fa3d6"}}}},
          {"legend", {{"orient", "bottom"}, {"direction", "horizontal"}}}}},
        {"tooltip",
         {{{"field", "club"}}, {{"field", "gene"}, {"title", "member"}}, {{"field", "role"}}}}}}};
  json countAxis = clubAxis;
  countAxis["axis"] = nullptr;
  json patternBars = {
      {"data", {{"values", counts}}},
      {"width", kPatternCountWidth},
      {"height", {{"step", kClubRowHeight}}},
      {"mark", {{"type", "bar"}, {"color", "#9c755f"}}},
      {"encoding",
       {{"y", countAxis},
        {"x", {{"field", "patterns"}, {"type", "quantitative"}, {"title", "EPs mined"}}},
        {"tooltip", {{{"field", "club"}}, {{"field", "patterns"}, {"title", "EPs mined"}}}}}}};
  return vegaLiteChart({{"spacing", kPanelSpacing}, {"hconcat", {matrix, patternBars}}});
}

}  // namespace geneclub
