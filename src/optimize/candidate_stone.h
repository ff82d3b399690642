#pragma once

#include <vector>

#include "model/design.h"

namespace brillora {

// Each side's placeholder made a copy of its first tier, as the editor keeps
// it.
void FollowFirstTiers(Design& design);

// The stone of a design as the editor builds it once the design is installed:
// each side's placeholder a copy of its first tier, both sides' planes, and
// the stone from them. The design itself is left as it is.
Stone CandidateStone(const Design& design);

// How many facets of each step of the construction order the stone has (the
// culet's step first, the table's last). Two stones whose counts agree cut
// the same tiers with the same facets: none vanished, none swallowed another.
std::vector<int> FacetsPerStep(const Stone& stone, const Design& design);

}  // namespace brillora
