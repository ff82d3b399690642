#pragma once

#include <string>

#include "model/design.h"

namespace brillora::testing {

// Empty when every polygon lies in its plane, turns counter-clockwise seen from
// outside, and the polygons close into one surface of Euler characteristic 2;
// otherwise what is wrong.
// Corners closer than the construction's same-point distance are merged, so
// a polygon may stand off its plane by about that much.
std::string SurfaceFault(const Stone& stone, double planeTolerance = 2e-3);

// How many vertices of either stone have no vertex of the other within
// `tolerance` in every coordinate.
int Unmatched(const Stone& a, const Stone& b, double tolerance);

}  // namespace brillora::testing
