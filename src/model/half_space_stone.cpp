#include "model/half_space_stone.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <unordered_map>

#include "model/plane_polygon.h"

namespace brillora {

namespace {

constexpr double kPi = std::numbers::pi;
// Half the side of the square each face is cut from: far beyond any stone
// within the girdle's bounds, so that a face reaching it belongs to a solid
// the planes leave open.
constexpr double kHalfSize = 1000.0;

// A face's corner as a vertex: a base vertex in one sector, or one on the axis.
struct VertexName {
  int base = -1;  // into the base vertices, or -1 for one on the axis
  int index = 0;  // the sector, or the axis vertex
};

// The faces of the first sector's facets, each cut down by every plane that
// can reach it, nearest steps first.
class FaceCutter {
 public:
  FaceCutter(const StepList& steps, const std::vector<PlaneRing>& rings, double snap)
      : steps_(steps), rings_(rings), snap_(snap) {
    for (std::size_t r = 0; r < rings.size(); ++r) {
      if (byStep_.size() <= static_cast<std::size_t>(rings[r].step)) byStep_.resize(rings[r].step + 1);
      byStep_[rings[r].step].push_back(static_cast<int>(r));
    }
  }

  PlanePolygon Face(const PlaneRing& own) const {
    const TFacet& plane = steps_.Facets(own.step)[own.first];
    PlanePolygon face = PlanePolygon::Square(plane, kHalfSize);
    const int steps = static_cast<int>(byStep_.size());
    const int m = own.step;
    for (int d = 0; (m - d >= 0 || m + d < steps) && !face.Empty(); ++d) {
      if (m + d < steps) CutBy(face, plane, byStep_[m + d]);
      if (d > 0 && m - d >= 0) CutBy(face, plane, byStep_[m - d]);
      // Shrunk within the snap of its centre, the face is a point here: its
      // corners would all be one vertex and it would make no facet, so the
      // planes still to come (hundreds, on a long design) need not cut it.
      if (!face.Empty() && face.Radius() <= snap_) return PlanePolygon();
    }
    return face;
  }

 private:
  void CutBy(PlanePolygon& face, const TFacet& own, const std::vector<int>& rings) const {
    for (int r : rings) {
      const PlaneRing& ring = rings_[r];
      const double highest = ring.horizontal * face.OuterRadius() +
                             std::max(ring.nz * face.Lowest(), ring.nz * face.Top()) - ring.d;
      if (highest < -snap_) continue;
      const auto range = ring.Reaching(face.CentreRho(), face.CentreAzimuth(), face.Centre().z,
                                       face.Radius(), snap_);
      const TFacet* facets = steps_.Facets(ring.step).data();
      int sector = ((range.lo % ring.count) + ring.count) % ring.count;
      for (int s = range.lo; s <= range.hi && !face.Empty(); ++s) {
        const TFacet& plane = facets[ring.first + ring.stride * sector];
        if (++sector == ring.count) sector = 0;
        if (&plane == &own || !face.MayReach(plane, snap_)) continue;
        face.Clip(plane, 0.0, snap_);
      }
    }
  }

  const StepList& steps_;
  const std::vector<PlaneRing>& rings_;
  double snap_;
  std::vector<std::vector<int>> byStep_;
};

// Gives every corner of the faces its vertex: corners off the axis turned
// back into one sector-wide wedge and merged there, corners on the axis merged
// along it.
class VertexNamer {
 public:
  VertexNamer(int symOrder, double sameVertex, const std::vector<std::vector<Vec3>>& corners)
      : n_(symOrder), sector_(2 * kPi / symOrder), same_(sameVertex) {
    // The wedge's edge goes through the widest gap between the corners'
    // azimuths (within a sector), so that no corner sits on it.
    std::vector<double> residues;
    for (const auto& face : corners) {
      for (const Vec3& c : face) {
        if (!OnAxis(c)) residues.push_back(Residue(std::atan2(c.y, c.x)));
      }
    }
    std::sort(residues.begin(), residues.end());
    wedgeStart_ = 0.0;
    if (!residues.empty()) {
      double widest = residues.front() + sector_ - residues.back();
      wedgeStart_ = residues.back() + widest / 2;
      for (std::size_t i = 1; i < residues.size(); ++i) {
        const double gap = residues[i] - residues[i - 1];
        if (gap > widest) {
          widest = gap;
          wedgeStart_ = residues[i - 1] + gap / 2;
        }
      }
    }
  }

  VertexName Name(Vec3 c) {
    if (OnAxis(c)) return {-1, Merge(axis_, axisCells_, {0.0, 0.0, c.z})};
    const double turns = std::floor((std::atan2(c.y, c.x) - wedgeStart_) / sector_);
    const int sector = ((static_cast<int>(turns) % n_) + n_) % n_;
    const double angle = -sector_ * sector;
    const double cosine = std::cos(angle), sine = std::sin(angle);
    const Vec3 back{c.x * cosine - c.y * sine, c.x * sine + c.y * cosine, c.z};
    return {Merge(base_, baseCells_, back), sector};
  }

  const std::vector<Vec3>& Base() const { return base_; }
  const std::vector<Vec3>& Axis() const { return axis_; }

 private:
  // Close enough to the axis that its turned copies would be one vertex.
  bool OnAxis(Vec3 c) const { return std::hypot(c.x, c.y) * 2 * std::sin(sector_ / 2) <= same_; }

  double Residue(double azimuth) const {
    const double r = std::fmod(azimuth, sector_);
    return r < 0 ? r + sector_ : r;
  }

  using Cells = std::unordered_multimap<std::uint64_t, int>;

  static std::uint64_t CellKey(long long ix, long long iy, long long iz) {
    return static_cast<std::uint64_t>(ix) * 0x9E3779B97F4A7C15ull ^
           static_cast<std::uint64_t>(iy) * 0xC2B2AE3D27D4EB4Full ^
           static_cast<std::uint64_t>(iz) * 0x165667B19E3779F9ull;
  }

  // The first known point within the same-vertex distance of p in every
  // coordinate, or p as a new one.
  int Merge(std::vector<Vec3>& points, Cells& cells, Vec3 p) const {
    const auto cell = [this](double v) { return static_cast<long long>(std::floor(v / same_)); };
    const long long ix = cell(p.x), iy = cell(p.y), iz = cell(p.z);
    int found = -1;
    for (long long dx = -1; dx <= 1; ++dx) {
      for (long long dy = -1; dy <= 1; ++dy) {
        for (long long dz = -1; dz <= 1; ++dz) {
          const auto [begin, end] = cells.equal_range(CellKey(ix + dx, iy + dy, iz + dz));
          for (auto it = begin; it != end; ++it) {
            const Vec3& q = points[it->second];
            if (std::abs(q.x - p.x) <= same_ && std::abs(q.y - p.y) <= same_ &&
                std::abs(q.z - p.z) <= same_ && (found < 0 || it->second < found)) {
              found = it->second;
            }
          }
        }
      }
    }
    if (found >= 0) return found;
    points.push_back(p);
    cells.emplace(CellKey(ix, iy, iz), static_cast<int>(points.size()) - 1);
    return static_cast<int>(points.size()) - 1;
  }

  int n_;
  double sector_;
  double same_;
  double wedgeStart_ = 0.0;
  std::vector<Vec3> base_;
  std::vector<Vec3> axis_;
  Cells baseCells_;
  Cells axisCells_;
};

}  // namespace

HalfSpaceStone IntersectHalfSpaces(const StepList& steps, const std::vector<PlaneRing>& rings,
                                   const HalfSpaceTolerances& tolerances) {
  const int n = steps.SymOrder();
  const FaceCutter cutter(steps, rings, tolerances.snap);
  std::vector<std::vector<Vec3>> faces;
  faces.reserve(rings.size());
  for (const PlaneRing& ring : rings) {
    faces.push_back(cutter.Face(ring).Corners());
    // A face reaching that far out belongs to a solid open to that side (or
    // to none within any girdle's bounds).
    for (const Vec3& c : faces.back()) {
      if (!(std::max({std::abs(c.x), std::abs(c.y), std::abs(c.z)}) <= 2 * kHalfSize)) return {};
    }
  }

  VertexNamer namer(n, tolerances.sameVertex, faces);
  std::vector<std::vector<VertexName>> names(faces.size());
  for (std::size_t r = 0; r < faces.size(); ++r) {
    for (const Vec3& c : faces[r]) names[r].push_back(namer.Name(c));
  }
  const int base = static_cast<int>(namer.Base().size());

  HalfSpaceStone result;
  result.baseVertices = static_cast<std::size_t>(base);
  auto& vertices = result.stone.AllVertices;
  vertices.reserve(static_cast<std::size_t>(base) * n + namer.Axis().size());
  for (int k = 0; k < n; ++k) {
    const double angle = 2 * kPi * k / n;
    const double cosine = std::cos(angle), sine = std::sin(angle);
    for (const Vec3& b : namer.Base()) {
      vertices.push_back({b.x * cosine - b.y * sine, b.x * sine + b.y * cosine, b.z});
    }
  }
  for (const Vec3& a : namer.Axis()) vertices.push_back({a.x, a.y, a.z});

  // The face of a ring's first facet, turned `sector` sectors on, as vertex indices.
  const auto polygon = [&](std::size_t r, int sector) {
    std::vector<int> points;
    for (const VertexName& v : names[r]) {
      const int index = v.base < 0 ? base * n + v.index : ((v.index + sector) % n) * base + v.base;
      if (points.empty() || points.back() != index) points.push_back(index);
    }
    while (points.size() > 1 && points.front() == points.back()) points.pop_back();
    return points;
  };

  // Facets in construction order: by step, then by index within the step.
  std::size_t r = 0;
  for (int m = 0; m < steps.Count(); ++m) {
    std::vector<std::vector<int>> polygons(steps.FacetCount(m));
    for (; r < rings.size() && rings[r].step == m; ++r) {
      for (int s = 0; s < rings[r].count; ++s) polygons[rings[r].Facet(s)] = polygon(r, s);
    }
    for (int f = 0; f < steps.FacetCount(m); ++f) {
      if (polygons[f].size() < 3) continue;
      TFacet facet = steps.Facets(m)[f];
      facet.Points = std::move(polygons[f]);
      facet.Step = m;
      result.stone.AllFacets.push_back(std::move(facet));
    }
  }
  return result;
}

}  // namespace brillora
