#include "model/stone_soundness.h"

#include <algorithm>
#include <cmath>

namespace brillora {

namespace {

// A corner may stand off its facet's plane by this much: the construction
// makes corners of one facet that lie within its same-point distance (0.001
// per coordinate) one corner, which puts it up to sqrt(3) times that from the
// other planes through it.
constexpr double kOffPlane = 2e-3;
// A corner may lie this far outside a plane. Every corner the construction
// makes passes its inside test (1e-6) against the planes that test examines;
// a corner further outside lies beyond a plane the test did not examine, and
// the stone misses a facet there.
constexpr double kOutside = 1e-5;
// The least mean thickness (volume over surface area) of a stone. Polygons
// folded flat onto each other close too but enclose nothing; a stone of
// ordinary design is thousands of times thicker than this tenth of the
// same-point distance, below which the construction cannot tell its corners
// apart anyway.
constexpr double kThinnest = 1e-4;

bool ClosedSurface(const Stone& stone) {
  const std::size_t vertexCount = stone.AllVertices.size();
  std::vector<int> start(vertexCount + 1, 0);
  for (const TFacet& f : stone.AllFacets) {
    if (f.Points.size() < 3) return false;
    for (int v : f.Points) {
      if (v < 0 || static_cast<std::size_t>(v) >= vertexCount) return false;
      ++start[v + 1];
    }
  }
  for (std::size_t v = 0; v < vertexCount; ++v) start[v + 1] += start[v];
  // Every directed edge, grouped by the vertex it leaves.
  std::vector<int> ends(start.back());
  std::vector<int> filled(start.begin(), start.end() - 1);
  for (const TFacet& f : stone.AllFacets) {
    const std::size_t n = f.Points.size();
    for (std::size_t i = 0; i < n; ++i) ends[filled[f.Points[i]]++] = f.Points[(i + 1) % n];
  }
  std::size_t used = 0;
  for (std::size_t v = 0; v < vertexCount; ++v) {
    std::sort(ends.begin() + start[v], ends.begin() + start[v + 1]);
    if (start[v + 1] > start[v]) ++used;
  }
  for (std::size_t v = 0; v < vertexCount; ++v) {
    for (int i = start[v]; i < start[v + 1]; ++i) {
      const int w = ends[i];
      if (w == static_cast<int>(v)) return false;
      if (i + 1 < start[v + 1] && ends[i + 1] == w) return false;  // walked twice one way
      if (!std::binary_search(ends.begin() + start[w], ends.begin() + start[w + 1], static_cast<int>(v))) {
        return false;  // no facet on the other side
      }
    }
  }
  const long long euler = static_cast<long long>(used) - static_cast<long long>(ends.size() / 2) +
                          static_cast<long long>(stone.AllFacets.size());
  return euler == 2;
}

bool PolygonsOnTheirPlanes(const Stone& stone) {
  double sixfoldVolume = 0.0;
  double twiceArea = 0.0;
  for (const TFacet& f : stone.AllFacets) {
    const auto& p = f.Points;
    double nx = 0, ny = 0, nz = 0;  // Newell's normal: twice the signed area vector
    for (std::size_t j = 0; j < p.size(); ++j) {
      const TVertex& a = stone.AllVertices[p[j]];
      const TVertex& b = stone.AllVertices[p[(j + 1) % p.size()]];
      if (!(std::abs(Excess(f, a)) <= kOffPlane)) return false;
      nx += (a.y - b.y) * (a.z + b.z);
      ny += (a.z - b.z) * (a.x + b.x);
      nz += (a.x - b.x) * (a.y + b.y);
    }
    if (!(nx * f.Nx + ny * f.Ny + nz * f.Nz > 0)) return false;
    twiceArea += Length({nx, ny, nz});
    const Vec3 first{stone.AllVertices[p[0]].x, stone.AllVertices[p[0]].y, stone.AllVertices[p[0]].z};
    for (std::size_t j = 1; j + 1 < p.size(); ++j) {
      const TVertex& b = stone.AllVertices[p[j]];
      const TVertex& c = stone.AllVertices[p[j + 1]];
      sixfoldVolume += Dot(first, Cross({b.x, b.y, b.z}, {c.x, c.y, c.z}));
    }
  }
  return sixfoldVolume / 6 > kThinnest * twiceArea / 2;
}

bool InsideEveryPlane(const TVertex& v, const std::vector<PlaneRing>& rings, const StepList& steps) {
  const double rho = std::sqrt(v.x * v.x + v.y * v.y);
  const double theta = std::atan2(v.y, v.x);
  for (const PlaneRing& ring : rings) {
    if (ring.Above(rho, v.z) <= kOutside) continue;
    // The facet nearest the corner's azimuth rises highest above it; the
    // neighbours on either side cover the rounding of the angles.
    const int nearest = ring.Nearest(theta);
    for (int s = nearest - 1; s <= nearest + 1; ++s) {
      if (!(Excess(steps.Facets(ring.step)[ring.Facet(s)], v) <= kOutside)) return false;
    }
  }
  return true;
}

}  // namespace

bool IsSoundStone(const Stone& stone, const std::vector<PlaneRing>& rings, const StepList& steps,
                  std::size_t baseVertices) {
  if (stone.AllFacets.empty() || !ClosedSurface(stone) || !PolygonsOnTheirPlanes(stone)) return false;
  const std::size_t turned = baseVertices * static_cast<std::size_t>(steps.SymOrder());
  if (turned > stone.AllVertices.size()) return false;
  for (std::size_t i = 0; i < stone.AllVertices.size(); i = i + 1 == baseVertices ? turned : i + 1) {
    if (!InsideEveryPlane(stone.AllVertices[i], rings, steps)) return false;
  }
  return true;
}

}  // namespace brillora
