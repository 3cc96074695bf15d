// Thinning of a long curve for drawing: the gain of every gene by rank has up
// to tens of thousands of points, far more than a chart a few hundred pixels
// wide can show. The thinned curve keeps the shape a reader looks for: its
// first and last points and the highest and lowest point of every stretch.

#ifndef GENECLUB_REPORT_CURVE_SAMPLING_H_
#define GENECLUB_REPORT_CURVE_SAMPLING_H_

#include <span>
#include <vector>

namespace geneclub {

struct CurvePoint {
  int rank = 0;  // the point's position in the curve, from 1
  double value = 0.0;
};

// The points (i + 1, values[i]) of the curve, all of them when there are at
// most maxPoints; otherwise at most maxPoints of them in rank order: the first
// and the last point, and, for each of (maxPoints - 2) / 2 equal stretches of
// the points between, the stretch's lowest and highest point. The curve's
// maximum and minimum are therefore always kept.
// REQUIRES: maxPoints >= 4.
std::vector<CurvePoint> thinCurve(std::span<const double> values, int maxPoints);

}  // namespace geneclub

#endif  // GENECLUB_REPORT_CURVE_SAMPLING_H_
