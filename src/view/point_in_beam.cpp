#include "view/point_in_beam.h"

#include "trace/plane_geometry.h"

namespace brillora {

namespace {

// Twice the signed area of the polygon: positive when its corners turn
// counter-clockwise in (X, Y).
double SignedTwiceArea(const std::vector<FlatPoint*>& corners) {
  double sum = 0;
  for (std::size_t i = 0, j = corners.size() - 1; i < corners.size(); j = i++)
    sum += corners[j]->X * corners[i]->Y - corners[i]->X * corners[j]->Y;
  return sum;
}

bool InsideCounterClockwise(const std::vector<FlatPoint*>& corners, const FlatPoint& q) {
  const std::size_t n = corners.size();
  bool found = false;
  for (std::size_t k = 1; k < n; ++k) {
    const FlatPoint& a = *corners[k - 1];
    const FlatPoint& b = *corners[k];
    if ((a.X > q.X) == (b.X >= q.X)) continue;
    if (trace::LeftOf(b, a, q)) return false;
    if (found) return true;
    found = true;
  }
  return found && !trace::LeftOf(*corners[0], *corners[n - 1], q);
}

}  // namespace

bool PointInBeam(const std::vector<FlatPoint*>& corners, const FlatPoint& q) {
  if (corners.size() < 3) return false;
  if (SignedTwiceArea(corners) >= 0) return InsideCounterClockwise(corners, q);
  return InsideCounterClockwise({corners.rbegin(), corners.rend()}, q);
}

const FasetOnScreen* PolygonAt(const ArrayOfFOS& polygons, const FlatPoint& q) {
  for (const FasetOnScreen& polygon : polygons) {
    if (polygon.Beam != nullptr && PointInBeam(polygon.Beam->Points, q)) return &polygon;
  }
  return nullptr;
}

}  // namespace brillora
