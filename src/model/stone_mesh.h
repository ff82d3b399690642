#pragma once

#include <array>
#include <string>
#include <vector>

#include "model/design.h"
#include "model/vec3.h"

namespace brillora {

// The triangles of one tier of one side, all with the outward normal of the
// facet they cover.
struct MeshGroup {
  std::string name;  // "crown_girdle", "crown_1" .., "crown_table", "pavilion_1" .., "pavilion_culet"
  std::vector<std::array<int, 3>> triangles;  // counter-clockwise seen from outside
  std::vector<Vec3> normals;                  // one per triangle
};

// The stone as a closed triangle mesh for 3D printing and CAD: every facet
// polygon fanned into triangles over the stone's shared vertices, scaled so
// that one model unit (the girdle corners' radius) is `scale` long.
struct StoneMesh {
  std::vector<Vec3> vertices;
  std::vector<MeshGroup> groups;  // in construction order, culet first

  std::size_t TriangleCount() const;
};

// `stepNames` names the group of the facets of each Step.
StoneMesh MeshOfStone(const Stone& stone, const std::vector<std::string>& stepNames, double scale);

// The names of a design's construction-order steps: the side, and the tier as
// the step tabs name it, or the girdle, table or culet. The entries are the
// sizes of the design's step arrays.
std::vector<std::string> TierNames(int pavilionEntries, int crownEntries);

}  // namespace brillora
