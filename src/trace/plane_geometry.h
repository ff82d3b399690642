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

// One bit per half-plane of the octagon that the point lies strictly inside;
// a facet whose corners' codes do not OR to 255 misses the octagon.
inline unsigned Outcode(double x, double y, const OctagonBounds& o) {
  const double sum = x + y, diff = y - x;
  return (x > o.minX ? 1u : 0u) | (x < o.maxX ? 2u : 0u) | (y > o.minY ? 4u : 0u) |
         (y < o.maxY ? 8u : 0u) | (sum > o.minSum ? 16u : 0u) | (sum < o.maxSum ? 32u : 0u) |
         (diff > o.minDiff ? 64u : 0u) | (diff < o.maxDiff ? 128u : 0u);
}

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
