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
  // Of the light returned (iso): the ASET map's red share, and with a
  // dispersion the light weighed by its colours' spread over the pupil
  // (fire) and by the spread itself, in degrees.
  double red = 0, fire = 0, spread = 0;
};

// Follows the ray through the view point (x, y) of `view` (row 2 toward the
// viewer) into `stone` until it has met the surface from inside `depth` times:
// what leaves at each meeting is gathered, what is reflected at the last one
// is unresolved. With a dispersion the ray's facets, as met at `ri`, are
// followed again at the C and F lines, each line on its own, to find how far
// apart the two leave wherever light leaves.
RayLight FollowRay(const Stone& stone, const Frame& view, double x, double y, double ri, int depth,
                   double headDegrees, double dispersion = 0.0);

}  // namespace brillora::testing
