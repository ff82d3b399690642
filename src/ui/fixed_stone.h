#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model/design_state.h"
#include "model/gemcad_design.h"

namespace brillora {

// A GemCad design that is not made of tiers, opened to be looked at: its
// stone is the intersection of its facets' half-spaces, and nothing in it can
// be edited. Its facets carry their tier's number in the file as their Step.
struct FixedStone {
  GemCadDesign design;  // as read, in the file's unit: what is saved and exported
  DesignState state;    // the stone, its girdle's corners at radius 1 like every design's; no steps
};

// The fixed stone of a design; none when its facets enclose no solid.
std::optional<FixedStone> MakeFixedStone(GemCadDesign design);

// The design window's line about it: "GemCad design: 57 facets in 9 tiers;
// view, trace and export only".
std::string FixedStoneLine(const GemCadDesign& design);

}  // namespace brillora
