#pragma once

#include "model/design.h"

namespace brillora {

// Computes the plane of every facet of one side from its tiers' Angle, Split,
// Shift and Posit, derives the slope of Auto tiers and the table height (crown,
// sign +1) or culet depth (pavilion, sign -1) into element 0's facet. May lower
// the stored Posit of the tier before an Auto tier so that its facets can meet.
void BuildStepPlanes(int sign, int symOrder, int gearNotches, MasStep& steps);

// The slope BuildStepPlanes stores for an Auto first tier of slope `degrees`:
// the slope of its cotangent (held at the steepest), a rounding away from it.
double DerivedSlope(double degrees);

// Intersects the planes of both sides into a closed convex polyhedron. Both sides'
// planes must be current (BuildStepPlanes). Only the first sectors are computed;
// the rest are rotated copies. A ring of facets that repeats an earlier one's
// planes gets no polygons. The result is always a closed stone within the
// girdle's bounds, or an empty one when a side has fewer than two elements or
// the planes bound no solid.
Stone BuildStone(int symOrder, const MasStep& crown, const MasStep& pavilion);

// Recomputes the planes of both sides and builds the stone.
Stone ConstructStone(Design& design);

// A monotone substitute for the direction angle of (a, b): it falls as the
// direction turns counter-clockwise from just after -135 degrees round to 225.
double PseudoAngle(double a, double b);

}  // namespace brillora
