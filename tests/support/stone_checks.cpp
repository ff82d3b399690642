#include "support/stone_checks.h"

#include <cmath>
#include <map>
#include <set>
#include <utility>

namespace brillora::testing {

std::string SurfaceFault(const Stone& stone, double planeTolerance) {
  std::map<std::pair<int, int>, int> edges;
  std::set<int> used;
  for (std::size_t i = 0; i < stone.AllFacets.size(); ++i) {
    const TFacet& f = stone.AllFacets[i];
    const auto& p = f.Points;
    if (p.size() < 3) return "facet " + std::to_string(i) + " has fewer than 3 points";
    double nx = 0, ny = 0, nz = 0;  // Newell's normal: twice the signed area vector
    for (std::size_t j = 0; j < p.size(); ++j) {
      const TVertex& a = stone.AllVertices.at(p[j]);
      const TVertex& b = stone.AllVertices.at(p[(j + 1) % p.size()]);
      if (std::abs(f.Nx * a.x + f.Ny * a.y + f.Nz * a.z - f.D) > planeTolerance) {
        return "facet " + std::to_string(i) + " has a point off its plane";
      }
      nx += (a.y - b.y) * (a.z + b.z);
      ny += (a.z - b.z) * (a.x + b.x);
      nz += (a.x - b.x) * (a.y + b.y);
      ++edges[{p[j], p[(j + 1) % p.size()]}];
      used.insert(p[j]);
    }
    if (nx * f.Nx + ny * f.Ny + nz * f.Nz <= 0) {
      return "facet " + std::to_string(i) + " is not counter-clockwise from outside";
    }
  }
  for (const auto& [edge, count] : edges) {
    if (count != 1) return "edge walked twice in one direction";
    const auto back = edges.find({edge.second, edge.first});
    if (back == edges.end() || back->second != 1) return "edge without a facet on its other side";
  }
  const long long euler = static_cast<long long>(used.size()) -
                          static_cast<long long>(edges.size() / 2) +
                          static_cast<long long>(stone.AllFacets.size());
  if (euler != 2) return "Euler characteristic " + std::to_string(euler);
  if (used.size() != stone.AllVertices.size()) return "vertices that no facet uses";
  return {};
}

int Unmatched(const Stone& a, const Stone& b, double tolerance) {
  const auto missing = [&](const Stone& from, const Stone& in) {
    int count = 0;
    for (const TVertex& v : from.AllVertices) {
      bool found = false;
      for (const TVertex& w : in.AllVertices) {
        found = found || (std::abs(v.x - w.x) <= tolerance && std::abs(v.y - w.y) <= tolerance &&
                          std::abs(v.z - w.z) <= tolerance);
      }
      count += found ? 0 : 1;
    }
    return count;
  };
  return missing(a, b) + missing(b, a);
}

}  // namespace brillora::testing
