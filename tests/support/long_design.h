#pragma once

#include "model/design.h"

namespace brillora::testing {

// A design with `tiers` steps on each side: the girdle, then tiers whose
// slopes fall evenly toward the table and the culet while their positions
// shrink the outline evenly, as a cutter might approximate a curved profile.
// With `splits`, every tier but the girdle splits into two facets per sector
// (one notch either side), whether or not the gear keeps the halves apart.
Design LongDesign(int tiers, int symOrder, bool splits);

}  // namespace brillora::testing
