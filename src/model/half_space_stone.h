#pragma once

#include <cstddef>
#include <vector>

#include "model/design.h"
#include "model/plane_rings.h"
#include "model/step_list.h"

namespace brillora {

// The stone as the plain intersection of the half-spaces of every plane that
// takes part, for designs the sector-wise construction cannot build: each
// first-sector facet's face is cut from its plane by all the other planes, and
// turned round the axis. Facets come in construction order with their Step,
// polygons counter-clockwise seen from outside. Vertices are `baseVertices`
// per sector, sector after sector, then those on the axis (once each).
//
// Gives no facets when the planes leave no solid. When they leave an unbounded
// one the faces run out to the edge of the region examined and do not close.
struct HalfSpaceStone {
  Stone stone;
  std::size_t baseVertices = 0;
};

// How near a cutting plane a corner counts as on it (so that planes through
// one corner make one corner, not a cluster a rounding apart), and how near
// corners of different faces or sectors are one vertex (room for the
// rounding of intersections and turns, and for the snap's shift along a
// plane that meets another at a slant).
struct HalfSpaceTolerances {
  double snap;
  double sameVertex;
};

HalfSpaceStone IntersectHalfSpaces(const StepList& steps, const std::vector<PlaneRing>& rings,
                                   const HalfSpaceTolerances& tolerances);

}  // namespace brillora
