#include "app/stage_clock.h"

#include <iomanip>

namespace geneclub {
namespace {

// A stage that runs longer than this is announced.
constexpr std::chrono::seconds kAnnounceAfter{1};

}  // namespace

StageClock::StageClock(std::ostream& errors, bool announce) : errors_(errors), announce_(announce) {
  if (announce_) watcher_ = std::jthread([this](std::stop_token stop) { watch(stop); });
}

StageClock::~StageClock() {
  end();
  if (watcher_.joinable()) {
    watcher_.request_stop();
    changed_.notify_all();
  }
}

void StageClock::begin(const std::string& name, const std::string& what) {
  end();
  const std::lock_guard lock(mutex_);
  stage_ = name;
  what_ = what;
  ++stageNumber_;
  announced_ = false;
  started_ = std::chrono::steady_clock::now();
  changed_.notify_all();
}

void StageClock::end() {
  const std::lock_guard lock(mutex_);
  if (stage_.empty()) return;
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started_).count();
  times_.emplace_back(stage_, seconds);
  if (announced_) {
    errors_ << "geneclub-batch: " << what_ << " done in " << std::fixed << std::setprecision(1)
            << seconds << " s\n"
            << std::defaultfloat << std::flush;
  }
  stage_.clear();
  changed_.notify_all();
}

void StageClock::watch(std::stop_token stop) {
  std::unique_lock lock(mutex_);
  while (!stop.stop_requested()) {
    if (stage_.empty() || announced_) {
      changed_.wait(lock, stop, [&] { return !stage_.empty() && !announced_; });
      continue;
    }
    const int stage = stageNumber_;
    const auto deadline = started_ + kAnnounceAfter;
    changed_.wait_until(lock, stop, deadline,
                        [&] { return stageNumber_ != stage || stage_.empty(); });
    if (stop.stop_requested()) return;
    if (stageNumber_ == stage && !stage_.empty() && std::chrono::steady_clock::now() >= deadline) {
      errors_ << "geneclub-batch: " << what_ << "...\n" << std::flush;
      announced_ = true;
    }
  }
}

}  // namespace geneclub
