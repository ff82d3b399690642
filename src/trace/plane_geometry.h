#pragma once

#include <cstddef>
#include <span>
#include <vector>

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

inline constexpr double kSamePointDistance = 0.001;

// Puts the corners of a cut polygon in angular order about the centre of its
// first three corners (descending pseudo-angle) and drops each corner closer
// than `samePoint` in both coordinates to the last one kept. The last corner
// is not compared with the first. `keys` is scratch.
void SortPolygon(std::vector<FlatPoint*>& points, std::vector<double>& keys,
                 double samePoint = kSamePointDistance);

// Lifts every point from index `first` onto the plane n . p = D of the current
// frame and turns it by `turn`.
void TurnPoints(PointStore& points, std::size_t first, const Frame& turn, const Vec3& n,
                double D);
void TurnPoints(std::span<FlatPoint* const> points, const Frame& turn, const Vec3& n, double D);
// The same for copies of `points`, new points of `store` listed in `turned`,
// leaving the points themselves as they are.
void TurnedCopies(std::span<FlatPoint* const> points, const Frame& turn, const Vec3& n, double D, PointStore& store,
                  std::vector<FlatPoint*>& turned);

}  // namespace brillora::trace
