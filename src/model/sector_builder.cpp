#include "model/sector_builder.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

#include "model/facet_construction.h"

namespace brillora {

namespace {

constexpr double kPi = std::numbers::pi;
// A corner turned back one sector is the image of a known corner within this
// distance per coordinate: rotation rounds far finer, and distinct corners of
// one sector lie much further apart.
constexpr double kImageTolerance = 1e-4;
// Corners of one facet closer than this per coordinate are one corner: where
// more than three planes meet, their triples' points differ by rounding.
constexpr double kSamePointTolerance = 0.001;

// Relative rounding allowed between a step's bound and its planes' excess:
// both are sums of a few products, good to a few units of roundoff (1e-16);
// this is a million times that.
constexpr double kBoundRounding = 1e-10;

bool Near(const TVertex& a, const TVertex& b, double tolerance) {
  return std::abs(a.x - b.x) <= tolerance && std::abs(a.y - b.y) <= tolerance &&
         std::abs(a.z - b.z) <= tolerance;
}

TVertex RotateAboutAxis(const TVertex& p, double cosine, double sine) {
  return {p.x * cosine - p.y * sine, p.x * sine + p.y * cosine, p.z};
}

// The common point of three planes by Cramer's rule; parallel planes give the
// agreed far point, which the inside test then rejects.
TVertex IntersectPlanes(const TFacet& a, const TFacet& b, const TFacet& c) {
  const double det = a.Nx * (b.Ny * c.Nz - b.Nz * c.Ny) - a.Ny * (b.Nx * c.Nz - b.Nz * c.Nx) +
                     a.Nz * (b.Nx * c.Ny - b.Ny * c.Nx);
  if (det == 0.0) return {2.0, 2.0, -1.0};
  const double x = a.D * (b.Ny * c.Nz - b.Nz * c.Ny) - a.Ny * (b.D * c.Nz - b.Nz * c.D) +
                   a.Nz * (b.D * c.Ny - b.Ny * c.D);
  const double y = a.Nx * (b.D * c.Nz - b.Nz * c.D) - a.D * (b.Nx * c.Nz - b.Nz * c.Nx) +
                   a.Nz * (b.Nx * c.D - b.D * c.Nx);
  const double z = a.Nx * (b.Ny * c.D - b.D * c.Ny) - a.Ny * (b.Nx * c.D - b.D * c.Nx) +
                   a.D * (b.Nx * c.Ny - b.Ny * c.Nx);
  return {x / det, y / det, z / det};
}

bool InsidePlane(const TFacet& f, const TVertex& p) {
  return f.Nx * p.x + f.Ny * p.y + f.Nz * p.z - f.D <= SectorBuilder::kInsideTolerance;
}

}  // namespace

SectorBuilder::SectorBuilder(const StepList& steps)
    : steps_(steps),
      n_(steps.SymOrder()),
      sectorCos_(std::cos(2 * kPi / n_)),
      sectorSin_(std::sin(2 * kPi / n_)) {
  const int count = StepCount();
  facets_.resize(count);
  for (int m = 0; m < count; ++m) {
    for (const TFacet& f : steps.Facets(m)) facets_[m].push_back({&f, {}});
  }
  for (int m = 0; m < count; ++m) {
    const int last = std::min(S1(m) + 1, FacetCount(m) - 1);
    for (int f = 0; f <= last; ++f) {
      if (steps.TakesPart(m, f)) examined_.push_back({m, f});
    }
  }
  for (int m = 0; m < count; ++m) {
    const int facetCount = FacetCount(m);
    if (facetCount == 0) continue;
    std::vector<int> tested;
    if (m == 0 || m == count - 1) {
      tested.push_back(0);
    } else {
      for (int pos = -1; pos <= S1(m) + 2; ++pos) {
        const int index = ((pos % facetCount) + facetCount) % facetCount;
        if (std::find(tested.begin(), tested.end(), index) == tested.end()) tested.push_back(index);
      }
    }
    const int begin = static_cast<int>(insidePlanes_.size());
    for (int f : tested) {
      if (!steps.TakesPart(m, f)) continue;
      insideSet_.push_back({m, f});
      insidePlanes_.push_back(facets_[m][f].plane);
    }
    const int end = static_cast<int>(insidePlanes_.size());
    if (end == begin) continue;
    PlaneGroupBound bound(*insidePlanes_[begin]);
    for (int i = begin + 1; i < end; ++i) bound.Add(*insidePlanes_[i]);
    insideGroups_.push_back({m, begin, end, bound});
  }
  // Each step's own group, or the next one when it has none.
  groupOfStep_.assign(count, 0);
  for (int m = 0, g = 0; m < count; ++m) {
    while (g + 1 < static_cast<int>(insideGroups_.size()) && insideGroups_[g].step < m) ++g;
    groupOfStep_[m] = g;
  }
}

// The test passes when every plane passes, so the planes may be taken in
// any order: those of the steps nearest `nearStep` first, where a point that
// fails mostly fails. A step whose bound keeps the point inside all its planes
// by more than any rounding would pass plane by plane too, so it is not
// looked at plane by plane. Either way the answer is the same.
bool SectorBuilder::Inside(const TVertex& p, int nearStep) const {
  const double rho = std::sqrt(p.x * p.x + p.y * p.y);
  const auto passes = [&](const InsideGroup& group) {
    const double slack = kBoundRounding * group.bound.Scale(rho, p.z);
    if (group.bound.Above(rho, p.z) <= kInsideTolerance - slack) return true;
    for (int i = group.begin; i < group.end; ++i) {
      if (!InsidePlane(*insidePlanes_[i], p)) return false;
    }
    return true;
  };
  const int count = static_cast<int>(insideGroups_.size());
  const int first = groupOfStep_[nearStep];
  for (int d = 0; first - d >= 0 || first + d < count; ++d) {
    if (first + d < count && !passes(insideGroups_[first + d])) return false;
    if (d > 0 && first - d >= 0 && !passes(insideGroups_[first - d])) return false;
  }
  return true;
}

int SectorBuilder::ImageOf(const TVertex& p) const {
  const TVertex back{sectorCos_ * p.x + sectorSin_ * p.y, sectorCos_ * p.y - sectorSin_ * p.x, p.z};
  for (std::size_t i = 0; i < vertexList_.size(); ++i) {
    if (Near(pool_[vertexList_[i]].position, back, kImageTolerance)) return static_cast<int>(i);
  }
  return -1;
}

int SectorBuilder::PointNear(const WorkFacet& f, const TVertex& p) const {
  for (int v : f.points) {
    if (Near(pool_[v].position, p, kSamePointTolerance)) return v;
  }
  return -1;
}

void SectorBuilder::AddCorner(int a, int b, int c) {
  WorkFacet* three[3] = {&facets_[examined_[a].step][examined_[a].facet],
                         &facets_[examined_[b].step][examined_[b].facet],
                         &facets_[examined_[c].step][examined_[c].facet]};
  const TVertex p = IntersectPlanes(*three[0]->plane, *three[1]->plane, *three[2]->plane);
  if (!Inside(p, examined_[b].step)) return;
  int found[3];
  for (int i = 0; i < 3; ++i) found[i] = PointNear(*three[i], p);
  int result;
  if (found[0] >= 0) {
    result = found[0];
  } else if (found[1] >= 0) {
    result = found[1];
  } else if (found[2] >= 0) {
    result = found[2];
  } else {
    result = static_cast<int>(pool_.size());
    const int image = ImageOf(p);
    if (image >= 0) {
      pool_.push_back({p, image, -1});
    } else {
      pool_.push_back({p, static_cast<int>(vertexList_.size()), 0});
      vertexList_.push_back(result);
    }
  }
  for (int i = 0; i < 3; ++i) {
    if (found[i] < 0) three[i]->points.push_back(result);
  }
}

int SectorBuilder::Fold(long long index) const {
  const long long total = static_cast<long long>(baseCount_) * n_;
  return static_cast<int>(((index % total) + total) % total);
}

const TVertex& SectorBuilder::RotatedBackOneSector(int baseIndex) const {
  return vertices_[Fold(static_cast<long long>(baseIndex) - baseCount_)];
}

// The table (forward) or culet (reverse) outline: one sector's kept corners
// sorted by y, repeated round the axis.
void SectorBuilder::BuildRing(const WorkFacet& facet, std::vector<int>& points, bool forward) const {
  struct Entry {
    int index;
    double key;
  };
  std::vector<Entry> entries;
  for (std::size_t i = 0; i < facet.points.size(); ++i) {
    const WorkVertex& p = pool_[facet.points[i]];
    if (p.sectorOffset < 0) continue;
    bool duplicate = false;
    for (std::size_t q = 0; q < i && !duplicate; ++q) {
      duplicate = Near(RotatedBackOneSector(pool_[facet.points[q]].baseIndex), p.position,
                       kSamePointTolerance);
    }
    if (!duplicate) entries.push_back({p.baseIndex, p.position.y});
  }
  for (std::size_t i = 0; i < entries.size(); ++i) {
    for (std::size_t j = i + 1; j < entries.size(); ++j) {
      if (entries[i].key > entries[j].key) std::swap(entries[i], entries[j]);
    }
  }
  const int m = static_cast<int>(entries.size());
  points.assign(static_cast<std::size_t>(n_) * m, 0);
  for (int k = 0; k < n_; ++k) {
    for (int r = 0; r < m; ++r) {
      const int vertex = entries[r].index + k * baseCount_;
      const int position = forward ? k * m + r : (n_ - k) * m - 1 - r;
      points[position] = vertex;
    }
  }
}

// Orders a tier facet's corners counter-clockwise as seen from outside.
void SectorBuilder::OrderPolygon(std::vector<int>& indices, double nz) const {
  if (indices.size() < 3) return;
  std::vector<double> u(indices.size()), t(indices.size());
  double uMean = 0.0, tMean = 0.0;
  for (std::size_t i = 0; i < indices.size(); ++i) {
    const TVertex& v = vertices_[Fold(indices[i])];
    u[i] = v.x * nz + v.z * (nz - 1.0);
    t[i] = v.y;
    uMean += u[i];
    tMean += t[i];
  }
  uMean /= static_cast<double>(indices.size());
  tMean /= static_cast<double>(indices.size());
  std::vector<double> key(indices.size());
  for (std::size_t i = 0; i < indices.size(); ++i) key[i] = PseudoAngle(u[i] - uMean, t[i] - tMean);
  for (std::size_t i = 0; i < indices.size(); ++i) {
    for (std::size_t j = i + 1; j < indices.size(); ++j) {
      if (key[i] < key[j]) {
        std::swap(key[i], key[j]);
        std::swap(indices[i], indices[j]);
      }
    }
  }
}

void SectorBuilder::ReplicateSectors() {
  baseCount_ = static_cast<int>(vertexList_.size());
  vertices_.resize(static_cast<std::size_t>(baseCount_) * n_);
  for (int i = 0; i < baseCount_; ++i) vertices_[i] = pool_[vertexList_[i]].position;
  for (int k = 1; k < n_; ++k) {
    const double angle = 2 * kPi * k / n_;
    const double cosine = std::cos(angle), sine = std::sin(angle);
    for (int i = 0; i < baseCount_; ++i) {
      vertices_[static_cast<std::size_t>(k) * baseCount_ + i] = RotateAboutAxis(vertices_[i], cosine, sine);
    }
  }

  polygons_.resize(facets_.size());
  for (std::size_t m = 0; m < facets_.size(); ++m) polygons_[m].resize(facets_[m].size());
  const int last = StepCount() - 1;
  if (!facets_[last].empty()) BuildRing(facets_[last][0], polygons_[last][0], true);
  if (!facets_[0].empty()) BuildRing(facets_[0][0], polygons_[0][0], false);

  for (int m = 1; m <= last - 1; ++m) {
    const int s1 = S1(m);
    for (int f = 0; f <= s1; ++f) {
      const int twin = f + 1 + s1;
      if (twin >= FacetCount(m)) continue;
      const WorkFacet& own = facets_[m][f];
      std::vector<int> entries;
      for (int v : own.points) entries.push_back(pool_[v].baseIndex - pool_[v].sectorOffset * baseCount_);
      for (int v : facets_[m][twin].points) {
        const WorkVertex& p = pool_[v];
        if (p.sectorOffset < 0) continue;
        if (PointNear(own, RotatedBackOneSector(p.baseIndex)) < 0) entries.push_back(p.baseIndex - baseCount_);
      }
      OrderPolygon(entries, own.plane->Nz);
      for (int k = 0; k < n_; ++k) {
        const int index = (s1 + 1) * k + f;
        if (index >= FacetCount(m)) break;
        auto& points = polygons_[m][index];
        points.clear();
        for (int e : entries) points.push_back(Fold(e + static_cast<long long>(k) * baseCount_));
      }
    }
  }
}

Stone SectorBuilder::Finish() {
  ReplicateSectors();
  Stone stone;
  stone.AllVertices = std::move(vertices_);
  for (int m = 0; m < StepCount(); ++m) {
    for (std::size_t f = 0; f < facets_[m].size(); ++f) {
      if (polygons_[m][f].size() <= 2) continue;
      TFacet facet = *facets_[m][f].plane;
      facet.Points = std::move(polygons_[m][f]);
      facet.Step = m;
      stone.AllFacets.push_back(std::move(facet));
    }
  }
  return stone;
}

}  // namespace brillora
