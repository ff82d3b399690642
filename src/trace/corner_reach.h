#pragma once

// Whether a facet's corners can reach a beam's octagon: the exact test in
// double precision and a quick one in single precision before it. Only the
// cutter and the tests of these paths include this header.
#if !defined(BRILLORA_TRACE_INTERNALS)
#error "trace/corner_reach.h belongs to the tracer's own sources"
#endif

#include <span>

#include "trace/frame.h"
#include "trace/lanes.h"
#include "trace/plane_geometry.h"

namespace brillora::trace {

// The octagon of a polygon's corners, grown corner by corner.
class CornerOctagon {
 public:
  void Add(double x, double y) {
    const double sum = x + y, diff = y - x;
    minX_ = x < minX_ ? x : minX_;
    maxX_ = x > maxX_ ? x : maxX_;
    minY_ = y < minY_ ? y : minY_;
    maxY_ = y > maxY_ ? y : maxY_;
    minSum_ = sum < minSum_ ? sum : minSum_;
    maxSum_ = sum > maxSum_ ? sum : maxSum_;
    minDiff_ = diff < minDiff_ ? diff : minDiff_;
    maxDiff_ = diff > maxDiff_ ? diff : maxDiff_;
  }
  // True when, for each of the octagon's eight sides, some corner lies
  // strictly on its inner side; corners all on or beyond one side miss it.
  bool Reaches(const OctagonBounds& o) const {
    return maxX_ > o.minX && minX_ < o.maxX && maxY_ > o.minY && minY_ < o.maxY &&
           maxSum_ > o.minSum && minSum_ < o.maxSum && maxDiff_ > o.minDiff && minDiff_ < o.maxDiff;
  }

 private:
  static constexpr double kHuge = 1e300;
  double minX_ = kHuge, maxX_ = -kHuge, minY_ = kHuge, maxY_ = -kHuge;
  double minSum_ = kHuge, maxSum_ = -kHuge, minDiff_ = kHuge, maxDiff_ = -kHuge;
};

// A polygon's corners in single precision, four side by side; the last quad
// is filled up with copies of the first corner.
struct CornerQuad {
  Quad x, y, z;
};

// An octagon's bounds in single precision, each side moved out by a slack.
struct LooseOctagon {
  float minX, maxX, minY, maxY, minSum, maxSum, minDiff, maxDiff;
};

// The octagon `o` moved out by a slack far above every rounding of projecting
// corners no larger than `largestCorner` (in |x| + |y| + |z|) in single
// precision: a hundred times the few units in 1e-7 of the coordinates' size
// that corners, frame products, sums and bounds can lose.
LooseOctagon LoosenForSinglePrecision(const OctagonBounds& o, double largestCorner);

// A quick test before the exact one: false only when the corners, projected by
// rows 0 and 1 of `f` in single precision, all lie beyond one side of the
// loosened octagon, so that in double precision (CornerOctagon::Reaches) they
// cannot reach the octagon either. `corners` holds at least one quad.
bool CornersMayReach(std::span<const CornerQuad> corners, const Frame& f, const LooseOctagon& o);

}  // namespace brillora::trace
