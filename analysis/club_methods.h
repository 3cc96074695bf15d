// The second entry point of an analysis: the gene-club methods over a
// start-up result. For each method, a club around each of the K top genes is
// built and mined for its minimal emerging patterns, on a pool of threads;
// every club goes to each sink twice: once to prepare, on the thread that
// built it and several at a time (for work that may run in parallel, such as
// formatting), then to deliver, one at a time in club order. So whatever a
// sink writes does not depend on the number of threads.

#ifndef GENECLUB_ANALYSIS_CLUB_METHODS_H_
#define GENECLUB_ANALYSIS_CLUB_METHODS_H_

#include <span>

#include "analysis/start_up.h"
#include "clubs/club_runs.h"

namespace geneclub {

// Receives the clubs of a run of methods. A sink's prepare may be called
// from several threads at once, each time for a different club; every other
// call comes from the caller's thread, in order: beginMethod, the clubs'
// deliveries in ascending top row, endMethod, for each method.
class ClubSink {
 public:
  virtual ~ClubSink() = default;

  virtual void beginMethod(ClubMethod /*method*/) {}
  virtual void prepare(const ClubRun& /*run*/) {}
  virtual void deliver(const ClubRun& run) = 0;
  virtual void endMethod(ClubMethod /*method*/) {}
};

// Runs the methods in the order given over the start-up's ranking, passing
// every club to every sink in the order of the sinks. At most a few clubs
// per thread are held at once.
void runClubMethods(const StartUpResult& startUp, std::span<const ClubMethod> methods,
                    std::span<ClubSink* const> sinks);

}  // namespace geneclub

#endif  // GENECLUB_ANALYSIS_CLUB_METHODS_H_
