#include "model/stone_mesh.h"

#include <utility>

namespace brillora {

std::size_t StoneMesh::TriangleCount() const {
  std::size_t count = 0;
  for (const MeshGroup& g : groups) count += g.triangles.size();
  return count;
}

// Construction order: culet 0, pavilion tiers from the culet outward (array
// elements P-2 .. 1), crown tiers from the girdle inward (elements 1 ..), the
// table last. The step tabs name pavilion element e "e" and crown element e
// "e-1", the crown's element 1 being the girdle.
std::vector<std::string> TierNames(int pavilionEntries, int crownEntries) {
  const int p = pavilionEntries;
  std::vector<std::string> names;
  for (int step = 0; step <= p + crownEntries - 3; ++step) {
    const int element = step - p + 2;
    if (step == 0) {
      names.push_back("pavilion_culet");
    } else if (step <= p - 2) {
      names.push_back("pavilion_" + std::to_string(p - 1 - step));
    } else if (element == 1) {
      names.push_back("crown_girdle");
    } else if (element >= crownEntries - 1) {
      names.push_back("crown_table");
    } else {
      names.push_back("crown_" + std::to_string(element - 1));
    }
  }
  return names;
}

StoneMesh MeshOfStone(const Stone& stone, const std::vector<std::string>& stepNames, double scale) {
  StoneMesh mesh;
  mesh.vertices.reserve(stone.AllVertices.size());
  for (const TVertex& v : stone.AllVertices) mesh.vertices.push_back({scale * v.x, scale * v.y, scale * v.z});
  for (const TFacet& f : stone.AllFacets) {
    const auto step = static_cast<std::size_t>(f.Step);
    std::string name = step < stepNames.size() ? stepNames[step] : "step_" + std::to_string(f.Step);
    if (mesh.groups.empty() || mesh.groups.back().name != name) mesh.groups.push_back({std::move(name), {}, {}});
    MeshGroup& group = mesh.groups.back();
    // A facet polygon is convex and ordered counter-clockwise from outside,
    // so a fan from its first corner keeps that order.
    for (std::size_t i = 1; i + 1 < f.Points.size(); ++i) {
      group.triangles.push_back({f.Points[0], f.Points[i], f.Points[i + 1]});
      group.normals.push_back(NormalOf(f));
    }
  }
  return mesh;
}

}  // namespace brillora
