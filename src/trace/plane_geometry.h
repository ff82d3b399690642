#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "trace/frame.h"
#include "trace/point_store.h"
#include "trace/race.h"

// Plane geometry of beam cross-sections: side tests, bounds, areas, ordering
// and the carrying of points between turned frames.
namespace brillora::trace {

inline double Cross(const FlatPoint& a, const FlatPoint& b, const FlatPoint& p) {
  return (b.X - a.X) * (p.Y - a.Y) - (b.Y - a.Y) * (p.X - a.X);
}

// Strict side tests: a point on the line is on neither side.
inline bool LeftOf(const FlatPoint& a, const FlatPoint& b, const FlatPoint& p) {
  return Cross(a, b, p) > 0;
}
inline bool RightOf(const FlatPoint& a, const FlatPoint& b, const FlatPoint& p) {
  return Cross(a, b, p) < 0;
}

// The side on which a polygon's inside lies, chosen from its first three corners:
// +1 when inside means LeftOf, -1 when it means RightOf.
inline double InsideTest(std::span<FlatPoint* const> polygon) {
  return LeftOf(*polygon[0], *polygon[1], *polygon[2]) ? 1.0 : -1.0;
}

// True when p is strictly inside the edge (a, b) for the polygon's inside test.
inline bool Inside(double side, const FlatPoint& a, const FlatPoint& b, const FlatPoint& p) {
  return side * Cross(a, b, p) > 0;
}

// Twice the area of a convex polygon of three or more corners (fan sum).
double TwiceArea(std::span<FlatPoint* const> polygon);

// Grows with the direction of (dx, dy) counter-clockwise, without trigonometry:
// -3 at (-1, -1), 0 at (1, 0), 2 at (0, 1), 4 at (-1, 0).
double PseudoAngle(double dx, double dy);

// The least and greatest X, Y, X + Y and Y - X over a polygon's corners.
struct OctagonBounds {
  double minX, maxX, minY, maxY, minSum, maxSum, minDiff, maxDiff;
};
OctagonBounds Octagon(std::span<FlatPoint* const> polygon);

// Two doubles, or two masks of all ones or zeros, worked on together.
using Pair = double __attribute__((vector_size(16)));
using PairMask = std::int64_t __attribute__((vector_size(16)));
// Four floats, or four masks, worked on together.
using Quad = float __attribute__((vector_size(16)));
using QuadMask = std::int32_t __attribute__((vector_size(16)));
// Four doubles, or four masks: one instruction each in an AVX2 copy, two in
// the plain one.
using DoubleQuad = double __attribute__((vector_size(32)));
using DoubleQuadMask = std::int64_t __attribute__((vector_size(32)));

// The lanes of a mask as bits, lane 0 lowest.
inline unsigned LaneBits(PairMask m) {
#if defined(__SSE2__)
  return static_cast<unsigned>(_mm_movemask_pd(reinterpret_cast<__m128d>(m)));
#else
  return static_cast<unsigned>((m[0] & 1) | (m[1] & 2));
#endif
}
inline unsigned LaneBits(QuadMask m) {
#if defined(__SSE2__)
  return static_cast<unsigned>(_mm_movemask_ps(reinterpret_cast<__m128>(m)));
#else
  return static_cast<unsigned>((m[0] & 1) | (m[1] & 2) | (m[2] & 4) | (m[3] & 8));
#endif
}

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

inline constexpr double kSamePointDistance = 0.001;

// Puts the corners of a cut polygon in angular order about the centre of its
// first three corners (descending pseudo-angle) and drops each corner closer
// than kSamePointDistance in both coordinates to the last one kept. The last
// corner is not compared with the first. `keys` is scratch.
void SortPolygon(std::vector<FlatPoint*>& points, std::vector<double>& keys);

// Lifts every point from index `first` onto the plane n . p = D of the current
// frame and turns it by `turn`.
void TurnPoints(PointStore& points, std::size_t first, const Frame& turn, const Vector3& n,
                double D);
void TurnPoints(std::span<FlatPoint* const> points, const Frame& turn, const Vector3& n, double D);

}  // namespace brillora::trace
