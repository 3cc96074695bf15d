#include "report/curve_sampling.h"

#include <cstddef>

namespace geneclub {

std::vector<CurvePoint> thinCurve(std::span<const double> values, int maxPoints) {
  const auto n = static_cast<std::ptrdiff_t>(values.size());
  std::vector<CurvePoint> points;
  const auto pointAt = [&](std::ptrdiff_t i) {
    points.push_back({static_cast<int>(i) + 1, values[i]});
  };
  if (n <= maxPoints) {
    for (std::ptrdiff_t i = 0; i < n; ++i) pointAt(i);
    return points;
  }
  // Interior points 1..n-2 are cut into stretches of nearly equal length; each
  // contributes two points, the first and the last point take the other two.
  const std::ptrdiff_t stretches = (maxPoints - 2) / 2;
  const std::ptrdiff_t interior = n - 2;
  pointAt(0);
  for (std::ptrdiff_t s = 0; s < stretches; ++s) {
    const std::ptrdiff_t begin = 1 + interior * s / stretches;
    const std::ptrdiff_t end = 1 + interior * (s + 1) / stretches;
    std::ptrdiff_t low = begin;
    std::ptrdiff_t high = begin;
    for (std::ptrdiff_t i = begin + 1; i < end; ++i) {
      if (values[i] < values[low]) low = i;
      if (values[i] > values[high]) high = i;
    }
    pointAt(low < high ? low : high);
    if (low != high) pointAt(low < high ? high : low);
  }
  pointAt(n - 1);
  return points;
}

}  // namespace geneclub
