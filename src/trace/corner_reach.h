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

// An octagon's bounds paired as a point's (x, y) and its (x + y, y - x).
struct PairedOctagon {
  Pair low, high;              // (minX, minY), (maxX, maxY)
  Pair lowTurned, highTurned;  // (minSum, minDiff), (maxSum, maxDiff)
  explicit PairedOctagon(const OctagonBounds& o)
      : low{o.minX, o.minY},
        high{o.maxX, o.maxY},
        lowTurned{o.minSum, o.minDiff},
        highTurned{o.maxSum, o.maxDiff} {}
};

// The octagon of a polygon's corners, grown corner by corner.
class CornerOctagon {
 public:
  void Add(Pair point) {
    const Pair turned{point[0] + point[1], point[1] - point[0]};
    low_ = point < low_ ? point : low_;
    high_ = point > high_ ? point : high_;
    lowTurned_ = turned < lowTurned_ ? turned : lowTurned_;
    highTurned_ = turned > highTurned_ ? turned : highTurned_;
  }
  // True when, for each of the octagon's eight sides, some corner lies
  // strictly on its inner side; corners all on or beyond one side miss it.
  bool Reaches(const PairedOctagon& o) const {
    return LaneBits((high_ > o.low) & (low_ < o.high) & (highTurned_ > o.lowTurned) &
                    (lowTurned_ < o.highTurned)) == 3;
  }

 private:
  static constexpr double kHuge = 1e300;
  Pair low_{kHuge, kHuge}, high_{-kHuge, -kHuge};
  Pair lowTurned_{kHuge, kHuge}, highTurned_{-kHuge, -kHuge};
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
