#pragma once

#include <vector>

#include "trace/race.h"
#include "trace/screen_polygon.h"

namespace brillora {

// True when q lies inside the convex beam polygon `corners` (view units): the
// point must lie on the inner side of both edges that a vertical line through
// it crosses. The side test takes the corners turning counter-clockwise in
// (X, Y); beams met an odd number of times inside the stone turn the other
// way and are read in reverse, so that a double click selects in a traced
// picture too.
bool PointInBeam(const std::vector<FlatPoint*>& corners, const FlatPoint& q);

// The polygon a double click at view point q picks: the first in list order
// whose beam contains q; nullptr when none does.
const FasetOnScreen* PolygonAt(const ArrayOfFOS& polygons, const FlatPoint& q);

}  // namespace brillora
