#include "analysis/club_methods.h"

namespace geneclub {

void runClubMethods(const StartUpResult& startUp, std::span<const ClubMethod> methods,
                    std::span<ClubSink* const> sinks) {
  const ClubContext context(startUp.ranking, startUp.samples, startUp.settings);
  for (const ClubMethod method : methods) {
    for (ClubSink* sink : sinks) sink->beginMethod(method);
    runClubMethod(
        method, context, startUp.ranking.classLabels(),
        [&](const ClubRun& run) {
          for (ClubSink* sink : sinks) sink->deliver(run);
        },
        [&](ClubRun& run) {
          for (ClubSink* sink : sinks) sink->prepare(run);
        });
    for (ClubSink* sink : sinks) sink->endMethod(method);
  }
}

}  // namespace geneclub
