#pragma once

#include <random>

#include "model/design.h"

namespace brillora::testing {

struct RandomDesignLimits {
  int minSymOrder = 2;
  bool splits = true;
};

// A random design such as a cutter could make with the controls: any symmetry
// order, 1 to 8 tiers a side, random split, shift, slope, position and Auto,
// the girdle's rotation carried to the pavilion as the editor does. The
// placeholders are copies of element 1, as the editor leaves them.
Design RandomDesign(std::mt19937& random, const RandomDesignLimits& limits = {});

// A random design from the whole range the design files accept, not only
// what a cutter would make: any slope from the flattest the files hold to
// upright, splits and shifts up to a whole turn of the largest gear either
// way (no turn, though, for a split tier beyond the first), positions and
// girdle thicknesses of any sign and size (now and then far beyond a stone),
// and Auto anywhere. Placeholders as the reader leaves
// them (all zero).
Design RandomAcceptedDesign(std::mt19937& random);

// True when consecutive tiers differ in slope by 2 degrees or more and none is
// flatter than 6 degrees (read after construction, so derived slopes count).
// Closer tiers make slivers thinner than the construction's same-point distance.
bool WellConditioned(const Design& design);

}  // namespace brillora::testing
