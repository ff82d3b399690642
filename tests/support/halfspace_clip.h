#pragma once

#include <vector>

#include "model/design.h"

namespace brillora::testing {

// A convex polyhedron made the plain way: a big box cut by one half-space after
// another. Independent of the sector-wise construction, for cross-checks.
struct ClippedSolid {
  std::vector<TVertex> vertices;  // distinct corners
  double volume = 0.0;
};

struct HalfSpace {
  double nx, ny, nz, d;  // keeps nx x + ny y + nz z <= d
};

ClippedSolid ClipBox(const std::vector<HalfSpace>& planes, double halfSize = 10.0);

// Every facet plane of every step on both sides (placeholders left out).
std::vector<HalfSpace> PlanesOf(const Design& design);

}  // namespace brillora::testing
