#include "support/halfspace_clip.h"

#include <algorithm>
#include <cmath>

namespace brillora::testing {

namespace {

using Polygon = std::vector<Vec3>;
constexpr double kEps = 1e-10;

// Orders points lying in one plane (normal n) counter-clockwise about n.
Polygon OrderAround(Polygon points, Vec3 n) {
  Vec3 centre{0, 0, 0};
  for (Vec3 p : points) centre = centre + p;
  centre = (1.0 / points.size()) * centre;
  Vec3 u = std::abs(n.x) < 0.9 ? Cross(n, Vec3{1, 0, 0}) : Cross(n, Vec3{0, 1, 0});
  u = (1.0 / std::sqrt(Dot(u, u))) * u;
  const Vec3 v = Cross(n, u);
  std::sort(points.begin(), points.end(), [&](Vec3 a, Vec3 b) {
    return std::atan2(Dot(a - centre, v), Dot(a - centre, u)) <
           std::atan2(Dot(b - centre, v), Dot(b - centre, u));
  });
  Polygon unique;
  for (Vec3 p : points) {
    if (unique.empty() || Dot(p - unique.back(), p - unique.back()) > 1e-18) unique.push_back(p);
  }
  while (unique.size() > 1 && Dot(unique.front() - unique.back(), unique.front() - unique.back()) <= 1e-18) {
    unique.pop_back();
  }
  return unique;
}

}  // namespace

ClippedSolid ClipBox(const std::vector<HalfSpace>& planes, double s) {
  const Vec3 corners[8] = {{-s, -s, -s}, {s, -s, -s}, {s, s, -s}, {-s, s, -s},
                          {-s, -s, s},  {s, -s, s},  {s, s, s},  {-s, s, s}};
  std::vector<Polygon> faces = {
      {corners[0], corners[3], corners[2], corners[1]}, {corners[4], corners[5], corners[6], corners[7]},
      {corners[0], corners[1], corners[5], corners[4]}, {corners[2], corners[3], corners[7], corners[6]},
      {corners[1], corners[2], corners[6], corners[5]}, {corners[0], corners[4], corners[7], corners[3]}};

  for (const HalfSpace& h : planes) {
    const Vec3 n{h.nx, h.ny, h.nz};
    std::vector<Polygon> kept;
    Polygon cut;
    bool cutsOff = false;
    for (const Polygon& face : faces) {
      Polygon out;
      for (std::size_t i = 0; i < face.size(); ++i) {
        const Vec3 a = face[i], b = face[(i + 1) % face.size()];
        const double da = Dot(n, a) - h.d, db = Dot(n, b) - h.d;
        cutsOff = cutsOff || da > kEps;
        if (da <= kEps) out.push_back(a);
        if ((da < -kEps && db > kEps) || (da > kEps && db < -kEps)) {
          const Vec3 p = a + (da / (da - db)) * (b - a);
          out.push_back(p);
          cut.push_back(p);
        }
        if (std::abs(da) <= kEps) cut.push_back(a);
      }
      if (out.size() >= 3) kept.push_back(out);
    }
    // A plane that cuts nothing off (the copy of one already applied) adds no face.
    if (cutsOff && cut.size() >= 3) {
      Polygon cap = OrderAround(cut, n);
      if (cap.size() >= 3) kept.push_back(cap);
    }
    faces = std::move(kept);
  }

  ClippedSolid solid;
  Vec3 inner{0, 0, 0};
  int count = 0;
  for (const Polygon& f : faces) {
    for (Vec3 p : f) {
      inner = inner + p;
      ++count;
      const bool seen = std::any_of(solid.vertices.begin(), solid.vertices.end(), [&](const TVertex& v) {
        return std::abs(v.x - p.x) < 1e-7 && std::abs(v.y - p.y) < 1e-7 && std::abs(v.z - p.z) < 1e-7;
      });
      if (!seen) solid.vertices.push_back({p.x, p.y, p.z});
    }
  }
  if (count == 0) return solid;
  inner = (1.0 / count) * inner;
  // Cones from an inner point to each face, whatever the faces' own orientation.
  for (const Polygon& f : faces) {
    for (std::size_t j = 1; j + 1 < f.size(); ++j) {
      solid.volume += std::abs(Dot(f[0] - inner, Cross(f[j] - inner, f[j + 1] - inner))) / 6.0;
    }
  }
  return solid;
}

std::vector<HalfSpace> PlanesOf(const Design& design) {
  std::vector<HalfSpace> planes;
  for (const MasStep* side : {&design.CrownSteps, &design.PavilionSteps}) {
    for (std::size_t k = 0; k + 1 < side->size(); ++k) {
      for (const TFacet& f : (*side)[k].Facets) planes.push_back({f.Nx, f.Ny, f.Nz, f.D});
    }
  }
  return planes;
}

}  // namespace brillora::testing
