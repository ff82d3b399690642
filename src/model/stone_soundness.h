#pragma once

#include <cstddef>
#include <vector>

#include "model/design.h"
#include "model/plane_rings.h"

namespace brillora {

// Whether a built stone is the solid its planes bound: every polygon has at
// least three corners, lies in its facet's plane and turns counter-clockwise
// seen from outside; the polygons close into one surface (every edge walked
// once each way, vertices - edges + facets = 2); and every corner lies inside
// every plane, the girdle's among them, so that the stone stays within the
// girdle. A closed surface on the planes of a convex solid, with no corner
// outside it, is that solid's whole surface.
//
// The vertices must be `baseVertices` per sector, sector after sector, then
// any that lie on the axis: the other sectors' corners are turned copies, and
// the planes repeat round the axis likewise, so only the first sector's and
// the axis corners are tested against the planes.
bool IsSoundStone(const Stone& stone, const std::vector<PlaneRing>& rings, const StepList& steps,
                  std::size_t baseVertices);

}  // namespace brillora
