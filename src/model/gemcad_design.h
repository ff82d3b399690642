#pragma once

#include <string>
#include <vector>

#include "model/design.h"

namespace brillora {

// A design as GemCad's text format holds it: tiers of facets by slope,
// distance and index-gear position. Index i on a gear of `gearTeeth` teeth
// is the azimuth 360 i / gearTeeth degrees from +y toward +x, seen from above
// the crown; a negative count indexes the other way round, so its stone is
// the mirror image of the positive count's.
struct GemCadFacet {
  double index = 0.0;  // may be fractional
  std::string name;    // empty when the file names none
};

struct GemCadTier {
  double angle = 0.0;     // slope in degrees; negative (or -0) on the pavilion
  double distance = 0.0;  // of the planes from the stone's centre, in the file's own unit
  std::vector<GemCadFacet> facets;
  std::string instruction;  // the cutting instruction after G, if any
};

struct GemCadDesign {
  int gearTeeth = 96;
  double gearOffset = 0.0;
  int symmetry = 1;
  bool mirror = false;
  double refractiveIndex = 1.54;
  std::vector<std::string> headings;
  std::vector<std::string> footnotes;
  std::vector<GemCadTier> tiers;
};

// The plane of one facet, in model coordinates (x, y, z; +z toward the table).
TFacet GemCadPlane(const GemCadTier& tier, double index, int gearTeeth);

// The stone as the intersection of the half-spaces of every listed facet.
// Facets carry the number of their tier (in file order) as their Step. Empty
// when the facets enclose no solid or an unbounded one.
Stone GemCadStone(const GemCadDesign& design);

// The largest distance of a vertex from the axis: the girdle's corners.
double WidestRadius(const Stone& stone);

// The stone in the unit every design is shown, weighed and exported in, with
// its widest corners at radius 1 (the file's unit is the cutter's own). Empty
// when the facets enclose no solid or an unbounded one.
Stone GemCadUnitStone(const GemCadDesign& design);

// A design's tiers as GemCad lines: the pavilion tiers and the culet, the
// girdle, the crown tiers and the table, every facet by its index and named
// by its step number. The design's planes must be current.
GemCadDesign GemCadOf(const Design& design, double refractiveIndex, const std::string& name);

// The groups of a 3D model of a GemCad design, one per tier: "crown_1" ..
// and "pavilion_1" .. in the file's order on each side.
std::vector<std::string> GemCadTierNames(const GemCadDesign& design);

}  // namespace brillora
