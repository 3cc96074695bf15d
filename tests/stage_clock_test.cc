// The stage clock of geneclub-batch: every stage's time is kept for
// run.json, and only a stage that runs longer than a second is announced
// (when announcing at all), with its end.

#include "app/stage_clock.h"

#include <gtest/gtest.h>

#include <chrono>
#include <sstream>
#include <thread>

namespace geneclub::testing {
namespace {

TEST(StageClockTest, AnnouncesOnlyStagesThatTakeLongerThanASecond) {
  std::ostringstream errors;
  {
    StageClock clock(errors, true);
    clock.begin("quick", "doing something quick");
    clock.begin("slow", "doing something slow");
    std::this_thread::sleep_for(std::chrono::milliseconds(1300));
    clock.end();
    ASSERT_EQ(clock.times().size(), 2u);
    EXPECT_EQ(clock.times()[0].first, "quick");
    EXPECT_EQ(clock.times()[1].first, "slow");
    EXPECT_GE(clock.times()[1].second, 1.2);
  }
  const std::string text = errors.str();
  EXPECT_EQ(text.find("quick"), std::string::npos) << text;
  EXPECT_TRUE(text.starts_with("geneclub-batch: doing something slow...\n")) << text;
  EXPECT_NE(text.find("geneclub-batch: doing something slow done in 1."), std::string::npos)
      << text;
}

TEST(StageClockTest, SilentWhenNotAnnouncing) {
  std::ostringstream errors;
  StageClock clock(errors, false);
  clock.begin("slow", "doing something slow");
  std::this_thread::sleep_for(std::chrono::milliseconds(1100));
  clock.end();
  EXPECT_EQ(errors.str(), "");
  EXPECT_EQ(clock.times().size(), 1u);
}

}  // namespace
}  // namespace geneclub::testing
