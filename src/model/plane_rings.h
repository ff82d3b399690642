#pragma once

#include <vector>

#include "model/step_list.h"
#include "model/vec3.h"

namespace brillora {

// The planes that take part in a stone, ring by ring: the facets of one kind
// of a tier, one per sector, alike but for their azimuth a sector apart; the
// table and the culet are rings of one facet. Knowing this, the facets of a
// ring that can come near a point or a small region are found without
// looking at all of them.
struct PlaneRing {
  int step = 0;
  int first = 0;   // the facet of the first sector
  int stride = 1;  // facet index step from one sector to the next
  int count = 1;   // facets in the ring
  double horizontal = 0.0;  // length of the normal's x-y part
  double nz = 0.0;
  double d = 0.0;
  double azimuth = 0.0;     // of the first facet's normal

  int Facet(int sector) const {
    const int s = ((sector % count) + count) % count;
    return first + stride * s;
  }

  // At least the largest excess of any of the ring's facets at a point at
  // distance rho from the axis and height z.
  double Above(double rho, double z) const { return horizontal * rho + nz * z - d; }

  // The sector whose facet's azimuth lies nearest `theta`: of all the ring's
  // facets it rises highest above any point at that azimuth.
  int Nearest(double theta) const;

  // The sectors whose facet may come within `margin` of a ball of the given
  // radius about the point at (rho, theta, z) in cylinder coordinates, as a
  // range lo .. hi of sector numbers (taken modulo count); empty (hi < lo)
  // when none can.
  struct Range {
    int lo;
    int hi;
  };
  Range Reaching(double rho, double theta, double z, double radius, double margin) const;
};

std::vector<PlaneRing> RingsOf(const StepList& steps);

}  // namespace brillora
