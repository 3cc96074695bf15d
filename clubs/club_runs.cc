#include "clubs/club_runs.h"

#include <tbb/parallel_pipeline.h>
#include <tbb/task_arena.h>

#include <memory>

namespace geneclub {

std::string_view methodLabel(ClubMethod method) {
  switch (method) {
    case ClubMethod::kIndependent:
      return "INDEPENDENT";
    case ClubMethod::kDivision:
      return "DIVISION";
    case ClubMethod::kIndependentIterative:
      return "ITERATIVE";
    case ClubMethod::kDivisionIterative:
      return "DIVISION ITERATIVE";
  }
  return "";
}

std::string_view methodName(ClubMethod method) {
  switch (method) {
    case ClubMethod::kIndependent:
      return "independent";
    case ClubMethod::kDivision:
      return "division";
    case ClubMethod::kIndependentIterative:
      return "independent-iterative";
    case ClubMethod::kDivisionIterative:
      return "division-iterative";
  }
  return "";
}

std::vector<int> buildClub(ClubMethod method, const ClubContext& context, int topRow) {
  switch (method) {
    case ClubMethod::kIndependent:
      return buildIndependentClub(context, topRow);
    case ClubMethod::kDivision:
      return buildDivisionClub(context, topRow);
    case ClubMethod::kIndependentIterative:
      return buildIndependentIterativeClub(context, topRow);
    case ClubMethod::kDivisionIterative:
      return buildDivisionIterativeClub(context, topRow);
  }
  return {};
}

void runClubMethod(ClubMethod method, const ClubContext& context, std::span<const int> labels,
                   const std::function<void(const ClubRun&)>& deliver,
                   const std::function<void(ClubRun&)>& prepare) {
  // Clubs in flight: enough to keep every thread busy while the writer
  // waits for the next club in order, few enough to bound memory.
  const std::size_t tokens = 2 * static_cast<std::size_t>(tbb::this_task_arena::max_concurrency());
  int nextTopRow = 0;
  tbb::parallel_pipeline(
      tokens, tbb::make_filter<void, int>(tbb::filter_mode::serial_in_order,
                                          [&](tbb::flow_control& control) {
                                            if (nextTopRow >= context.topGeneCount) {
                                              control.stop();
                                              return 0;
                                            }
                                            return nextTopRow++;
                                          }) &
                  tbb::make_filter<int, std::shared_ptr<ClubRun>>(
                      tbb::filter_mode::parallel,
                      [&](int topRow) {
                        auto run = std::make_shared<ClubRun>();
                        run->topRow = topRow;
                        run->club = buildClub(method, context, topRow);
                        run->patterns = mineMinimalEps(
                            context.samples.positionSamples(run->club, context.topGeneCount),
                            labels, context.topGeneCount);
                        if (prepare) prepare(*run);
                        return run;
                      }) &
                  tbb::make_filter<std::shared_ptr<ClubRun>, void>(
                      tbb::filter_mode::serial_in_order,
                      [&](const std::shared_ptr<ClubRun>& run) { deliver(*run); }));
}

}  // namespace geneclub
