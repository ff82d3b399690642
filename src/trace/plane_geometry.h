#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "trace/point_store.h"
#include "trace/race.h"

// Plane geometry of beam cross-sections: side tests, bounds, areas, ordering
// and the carrying of points between turned frames.
namespace brillora::trace {

inline double Cross(const FlatPoint& a, const FlatPoint& b, const FlatPoint& p) {
  return (b.X - a.X) * (p.Y - a.Y) - (b.Y - a.Y) * (p.X - a.X);
}

// Strict side tests: a point on the line is on neither side.
inline bool LeftOf(const FlatPoint& a, const FlatPoint& b, const FlatPoint& p) { return Cross(a, b, p) > 0; }
inline bool RightOf(const FlatPoint& a, const FlatPoint& b, const FlatPoint& p) { return Cross(a, b, p) < 0; }

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

// An octagon's bounds paired as a point's (x, y) and its (x + y, y - x).
struct PairedOctagon {
  Pair low, high;              // (minX, minY), (maxX, maxY)
  Pair lowTurned, highTurned;  // (minSum, minDiff), (maxSum, maxDiff)
  explicit PairedOctagon(const OctagonBounds& o)
      : low{o.minX, o.minY}, high{o.maxX, o.maxY}, lowTurned{o.minSum, o.minDiff}, highTurned{o.maxSum, o.maxDiff} {}
};

// One bit per half-plane of the octagon that the point (x, y) lies strictly
// inside; a facet whose corners' codes do not OR to 255 misses the octagon.
// Both coordinates are compared at once: this runs for every corner of every
// facet near a beam.
inline unsigned Outcode(Pair point, const PairedOctagon& o) {
  const Pair turned{point[0] + point[1], point[1] - point[0]};
  const PairMask sides = ((point > o.low) & PairMask{1, 4}) | ((point < o.high) & PairMask{2, 8}) |
                         ((turned > o.lowTurned) & PairMask{16, 64}) | ((turned < o.highTurned) & PairMask{32, 128});
  return static_cast<unsigned>(sides[0] | sides[1]);
}
inline unsigned Outcode(double x, double y, const OctagonBounds& o) { return Outcode(Pair{x, y}, PairedOctagon(o)); }

inline constexpr double kSamePointDistance = 0.001;

// Puts the corners of a cut polygon in angular order about the centre of its
// first three corners (descending pseudo-angle) and drops each corner closer
// than kSamePointDistance in both coordinates to the last one kept. The last
// corner is not compared with the first. `keys` is scratch.
void SortPolygon(std::vector<FlatPoint*>& points, std::vector<double>& keys);

// Lifts every point from index `first` onto the plane n . p = D of the current
// frame and turns it by RotationMatrix(n.x, n.y, angle).
void TurnPoints(PointStore& points, std::size_t first, const Vector3& n, double angle, double D);
void TurnPoints(std::span<FlatPoint* const> points, const Vector3& n, double angle, double D);
// The same with the turn RotationMatrix(n.x, n.y, angle) already at hand.
void TurnPoints(std::span<FlatPoint* const> points, const Frame& turn, const Vector3& n, double D);

}  // namespace brillora::trace
