#pragma once

#include <vector>

#include "trace/race.h"
#include "trace/screen_polygon.h"

namespace brillora {

// True when q lies inside the convex beam polygon `corners` (view units, in
// the tracer's corner order): the point must lie on the inner side of both
// edges that a vertical line through it crosses.
bool PointInBeam(const std::vector<FlatPoint*>& corners, const FlatPoint& q);

// The polygon a double click at view point q picks: the first in list order
// whose beam contains q; nullptr when none does.
const FasetOnScreen* PolygonAt(const ArrayOfFOS& polygons, const FlatPoint& q);

}  // namespace brillora
