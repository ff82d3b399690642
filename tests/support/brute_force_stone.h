#pragma once

#include <string>

#include "model/design.h"

namespace brillora::testing {

// The stone as the design model defines its construction: every triple of
// examined planes offered in enumeration order, with no search for the ones
// that matter and no check of the result. Its cost grows with the cube of the
// number of steps; a reference for tests.
Stone BruteForceStone(int symOrder, const MasStep& crown, const MasStep& pavilion);

// Recomputes the planes of both sides first, as ConstructStone does.
Stone BruteForceConstruct(Design& design);

// Empty when both stones hold the same vertices in the same order, bit for
// bit, and the same facets (planes, polygons and Step) in the same order;
// otherwise the first difference.
std::string StoneDifference(const Stone& a, const Stone& b);

}  // namespace brillora::testing
