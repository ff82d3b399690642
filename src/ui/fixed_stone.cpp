#include "ui/fixed_stone.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace brillora {

std::optional<FixedStone> MakeFixedStone(GemCadDesign design) {
  // The file's unit is the cutter's own; the picture, the weight's scale and
  // the 3D model all take the girdle's corners at radius 1.
  Stone stone = GemCadUnitStone(design);
  if (stone.AllFacets.empty()) return std::nullopt;

  FixedStone fixed{std::move(design), {}};
  fixed.state.CrownSteps.clear();
  fixed.state.PavilionSteps.clear();
  // The light figures tilt the stone about two axes 180 / SymOrder degrees
  // apart: a stone without a turn of its own is tilted about two square ones.
  fixed.state.SymOrder = std::max(fixed.design.symmetry, 2);
  fixed.state.GearNotches = std::abs(fixed.design.gearTeeth);
  fixed.state.stone = std::make_shared<const Stone>(std::move(stone));
  return fixed;
}

std::string FixedStoneLine(const GemCadDesign& design) {
  std::size_t facets = 0;
  for (const GemCadTier& tier : design.tiers) facets += tier.facets.size();
  return "GemCad design: " + std::to_string(facets) + " facets in " + std::to_string(design.tiers.size()) +
         " tiers; view, trace and export only";
}

}  // namespace brillora
