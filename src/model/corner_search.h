#pragma once

#include <optional>
#include <vector>

#include "model/sector_builder.h"

namespace brillora {

// Three examined planes, by their indices in the builder's enumeration, a < b < c.
struct CornerTriple {
  int a;
  int b;
  int c;
  friend bool operator==(const CornerTriple&, const CornerTriple&) = default;
  friend auto operator<=>(const CornerTriple&, const CornerTriple&) = default;
};

// Every triple of examined planes whose common point can pass the builder's
// inside test, in enumeration order, with a few more whose point will fail it.
// Found from the face each examined plane has within the inside set's planes
// rather than by trying every triple, so the cost grows with the number of
// planes times the number of faces, not with the number of triples.
//
// Gives nothing for designs it would take too long on: when more than
// kMaxPlanesAtCorner examined planes pass through one corner (that many tiers
// meeting in a point, all shrunk to the axis, say, would make a triple of
// every three of them), or when the faces take far more cuts or give far more
// triples than any stone the sector-wise construction can build.
std::optional<std::vector<CornerTriple>> FindCornerTriples(const SectorBuilder& builder);

inline constexpr int kMaxPlanesAtCorner = 24;

}  // namespace brillora
