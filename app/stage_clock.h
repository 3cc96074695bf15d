// StageClock times the stages of a batch run for run.json and, when the
// error stream is a terminal, announces a stage that runs longer than a
// second, so that a long run is never silent.

#ifndef GENECLUB_APP_STAGE_CLOCK_H_
#define GENECLUB_APP_STAGE_CLOCK_H_

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <ostream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace geneclub {

class StageClock {
 public:
  // announce: whether to tell on errors about stages that take long.
  StageClock(std::ostream& errors, bool announce);
  StageClock(const StageClock&) = delete;
  StageClock& operator=(const StageClock&) = delete;
  ~StageClock();

  // Ends the current stage, if any, and starts the next: name is its key in
  // times(), what it is called when announced.
  void begin(const std::string& name, const std::string& what);
  // Ends the current stage.
  void end();

  // Every ended stage with its duration in seconds, in order.
  const std::vector<std::pair<std::string, double>>& times() const { return times_; }

 private:
  void watch(std::stop_token stop);

  std::ostream& errors_;
  bool announce_;
  std::mutex mutex_;
  std::condition_variable_any changed_;
  std::string stage_;  // empty between stages
  std::string what_;
  int stageNumber_ = 0;
  bool announced_ = false;
  std::chrono::steady_clock::time_point started_;
  std::vector<std::pair<std::string, double>> times_;
  std::jthread watcher_;
};

}  // namespace geneclub

#endif  // GENECLUB_APP_STAGE_CLOCK_H_
