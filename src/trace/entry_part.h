#pragma once

#include <array>
#include <vector>

#include "trace/point_store.h"
#include "trace/race.h"

namespace brillora {

// The part of the view whose light a render follows: the whole view, or the
// points on the inner side of one or two lines through the view's origin.
// Figures of a stone that its symmetries repeat round the view need only one
// such part.
struct EntryPart {
  int Lines = 0;  // 0: the whole view
  // Unit normals: a point (x, y) of the view is inside when
  // Normals[i] . (x, y) >= 0 for every line i.
  std::array<std::array<double, 2>, 2> Normals{};
};

// Clips the polygon `corners` (view coordinates, either orientation) to
// `part` into `clipped`. Corners inside are kept as they are; the crossings
// with a line are new points of `store`. A corner within a rounding error of
// a line counts as on it, so that no crossing lands beside a corner.
void ClipToPart(const std::vector<FlatPoint*>& corners, const EntryPart& part, PointStore& store,
                std::vector<FlatPoint*>& clipped);

}  // namespace brillora
