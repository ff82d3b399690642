#pragma once

#include "model/design.h"
#include "trace/frame.h"

namespace brillora::testing {

// What one ray from the viewer gathers, by the same definitions as the
// analysis but followed ray by ray in plain vector arithmetic, with no beams.
struct RayLight {
  bool hit = false;
  bool throughTable = false;
  double iso = 0, cos = 0, sc2 = 0, leakage = 0, head = 0, unresolved = 0;
};

// Follows the ray through the view point (x, y) of `view` (row 2 toward the
// viewer) into `stone` for `depth` internal reflections.
RayLight FollowRay(const Stone& stone, const Frame& view, double x, double y, double ri, int depth,
                   double headDegrees);

}  // namespace brillora::testing
