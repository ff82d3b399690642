#include "view/point_in_beam.h"

#include "trace/plane_geometry.h"

namespace brillora {

bool PointInBeam(const std::vector<FlatPoint*>& corners, const FlatPoint& q) {
  const std::size_t n = corners.size();
  if (n < 3) return false;
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

const FasetOnScreen* PolygonAt(const ArrayOfFOS& polygons, const FlatPoint& q) {
  for (const FasetOnScreen& polygon : polygons) {
    if (polygon.Beam != nullptr && PointInBeam(polygon.Beam->Points, q)) return &polygon;
  }
  return nullptr;
}

}  // namespace brillora
