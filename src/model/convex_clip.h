#pragma once

#include <vector>

#include "model/design.h"

namespace brillora {

// A convex polyhedron made the plain way: a box cut by one half-space after
// another (Nx x + Ny y + Nz z <= D for every facet). Each facet that bounds the
// result gets its polygon, counter-clockwise seen from outside, over vertices
// it shares with its neighbours; facets that cut nothing off are left out.
// `bounded` is false when the box still shows, i.e. the half-spaces leave an
// unbounded solid (or nothing at all).
struct ClippedStone {
  Stone stone;
  bool bounded = false;
};

ClippedStone ClipConvex(const std::vector<TFacet>& planes);

}  // namespace brillora
