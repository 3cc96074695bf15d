// Thinning of the all-genes gain curve: bounded point count, and the shape a
// reader looks for (ends, peaks, dips, order) kept.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "report/curve_sampling.h"

namespace geneclub {
namespace {

std::vector<double> fallingGains(int count) {
  std::vector<double> gains;
  for (int i = 0; i < count; ++i) gains.push_back(0.45 * std::exp(-10.0 * i / count) + 0.05);
  return gains;
}

TEST(CurveSamplingTest, ShortCurvesAreKeptWhole) {
  const std::vector<double> values = {3.0, 1.0, 2.0};
  const auto points = thinCurve(values, 4);
  ASSERT_EQ(points.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(points[i].rank, i + 1);
    EXPECT_EQ(points[i].value, values[i]);
  }
  EXPECT_TRUE(thinCurve({}, 4).empty());
}

TEST(CurveSamplingTest, LongCurvesKeepEndsExtremesAndOrderWithinTheBound) {
  for (int count : {5, 13, 1201, 2000, 12600, 54675}) {
    for (int maxPoints : {4, 5, 100, 1200}) {
      std::vector<double> values = fallingGains(count);
      // A lone spike and a lone dip in the middle must survive thinning.
      values[count / 2] = 1.0;
      values[count / 3] = -1.0;
      const auto points = thinCurve(values, maxPoints);
      SCOPED_TRACE(testing::Message() << count << " points to " << maxPoints);
      ASSERT_LE(static_cast<int>(points.size()), std::min(count, maxPoints));
      EXPECT_EQ(points.front().rank, 1);
      EXPECT_EQ(points.back().rank, count);
      for (std::size_t i = 0; i < points.size(); ++i) {
        EXPECT_EQ(points[i].value, values[points[i].rank - 1]);
        if (i > 0) {
          EXPECT_LT(points[i - 1].rank, points[i].rank);
        }
      }
      const auto byValue = [](const CurvePoint& a, const CurvePoint& b) {
        return a.value < b.value;
      };
      EXPECT_EQ(std::max_element(points.begin(), points.end(), byValue)->rank, count / 2 + 1);
      EXPECT_EQ(std::min_element(points.begin(), points.end(), byValue)->rank, count / 3 + 1);
    }
  }
}

TEST(CurveSamplingTest, ThinnedFallingCurveStillFallsAndSpansItsRanks) {
  const std::vector<double> values = fallingGains(12600);
  const auto points = thinCurve(values, 1200);
  EXPECT_GE(points.size(), 1100u);
  for (std::size_t i = 1; i < points.size(); ++i) {
    EXPECT_LE(points[i].value, points[i - 1].value);
    // No gap wider than two stretches of the 12,598 interior points.
    EXPECT_LE(points[i].rank - points[i - 1].rank, 2 * 12598 / 599 + 2);
  }
}

}  // namespace
}  // namespace geneclub
