#include "model/facet_construction.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <optional>
#include <utility>

#include "model/units.h"

namespace brillora {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kInsideTolerance = 1e-6;
constexpr double kMinCotangent = 1e-6;
constexpr double kImageTolerance = 1e-4;
constexpr double kSamePointTolerance = 0.001;

int SplitFacetsPerSector(const TStep& step) { return step.Split > 0 ? 1 : 0; }

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
  return f.Nx * p.x + f.Ny * p.y + f.Nz * p.z - f.D <= kInsideTolerance;
}

// A vertex made while intersecting the first sectors. Base vertices make up the
// vertex list; an image vertex is a base vertex seen one sector ahead.
struct WorkVertex {
  TVertex position;
  int baseIndex = 0;     // index in the vertex list of the base vertex it stands for
  int sectorOffset = 0;  // 0 for a base vertex, -1 for an image
};

// A facet of a step during construction: its plane and the work vertices found on it.
struct WorkFacet {
  const TFacet* plane = nullptr;
  std::vector<int> points;  // indices into the work vertex pool
};

class StoneBuilder {
 public:
  StoneBuilder(int symOrder, const MasStep& crown, const MasStep& pavilion)
      : n_(symOrder), sectorCos_(std::cos(2 * kPi / n_)), sectorSin_(std::sin(2 * kPi / n_)) {
    // Culet, pavilion tiers outward, crown tiers inward, table; placeholders left out.
    steps_.push_back(&pavilion[0]);
    for (int k = static_cast<int>(pavilion.size()) - 2; k >= 1; --k) steps_.push_back(&pavilion[k]);
    for (int k = 1; k + 1 < static_cast<int>(crown.size()); ++k) steps_.push_back(&crown[k]);
    steps_.push_back(&crown[0]);
    facets_.resize(steps_.size());
    for (std::size_t m = 0; m < steps_.size(); ++m) {
      for (const TFacet& f : steps_[m]->Facets) facets_[m].push_back({&f, {}});
    }
  }

  Stone Build() {
    FindFirstSectorVertices();
    ReplicateSectors();
    return Collect();
  }

 private:
  int StepCount() const { return static_cast<int>(steps_.size()); }
  int FacetCount(int m) const { return static_cast<int>(facets_[m].size()); }
  int S1(int m) const { return SplitFacetsPerSector(*steps_[m]); }

  bool Inside(const TVertex& p) const {
    const int last = StepCount() - 1;
    for (int m = 0; m <= last; ++m) {
      const auto& fs = facets_[m];
      if (fs.empty()) continue;
      if (m == 0 || m == last) {
        if (!InsidePlane(*fs[0].plane, p)) return false;
        continue;
      }
      const int count = FacetCount(m);
      for (int pos = -1; pos <= S1(m) + 2; ++pos) {
        const int index = ((pos % count) + count) % count;
        if (!InsidePlane(*fs[index].plane, p)) return false;
      }
    }
    return true;
  }

  std::optional<int> ImageOf(const TVertex& p) const {
    const TVertex back{sectorCos_ * p.x + sectorSin_ * p.y, sectorCos_ * p.y - sectorSin_ * p.x,
                       p.z};
    for (std::size_t i = 0; i < vertexList_.size(); ++i) {
      if (Near(pool_[vertexList_[i]].position, back, kImageTolerance)) return static_cast<int>(i);
    }
    return std::nullopt;
  }

  std::optional<int> PointNear(const WorkFacet& f, const TVertex& p) const {
    for (int v : f.points) {
      if (Near(pool_[v].position, p, kSamePointTolerance)) return v;
    }
    return std::nullopt;
  }

  void AddCorner(WorkFacet& fa, WorkFacet& fb, WorkFacet& fc) {
    const TVertex p = IntersectPlanes(*fa.plane, *fb.plane, *fc.plane);
    if (!Inside(p)) return;
    WorkFacet* three[3] = {&fa, &fb, &fc};
    std::optional<int> found[3];
    for (int i = 0; i < 3; ++i) found[i] = PointNear(*three[i], p);
    int result;
    if (found[0]) {
      result = *found[0];
    } else if (found[1]) {
      result = *found[1];
    } else if (found[2]) {
      result = *found[2];
    } else {
      result = static_cast<int>(pool_.size());
      if (auto image = ImageOf(p)) {
        pool_.push_back({p, *image, -1});
      } else {
        pool_.push_back({p, static_cast<int>(vertexList_.size()), 0});
        vertexList_.push_back(result);
      }
    }
    for (int i = 0; i < 3; ++i) {
      if (!found[i]) three[i]->points.push_back(result);
    }
  }

  // Intersects every triple of planes among the facets of the first two sectors.
  void FindFirstSectorVertices() {
    const int count = StepCount();
    for (int a = 0; a <= count - 2; ++a) {
      const int faEnd = std::min(S1(a) + 1, FacetCount(a) - 1);
      for (int fa = 0; fa <= faEnd; ++fa) {
        for (int b = std::max(1, a); b <= count - 2; ++b) {
          const int fbEnd = std::min(S1(b) + 1, FacetCount(b) - 1);
          for (int fb = 0; fb <= fbEnd; ++fb) {
            if (b == a && fb <= fa) continue;
            for (int c = b; c <= count - 1; ++c) {
              const int fcEnd = std::min(S1(c) + 1, FacetCount(c) - 1);
              for (int fc = 0; fc <= fcEnd; ++fc) {
                if (c == b && fc <= fb) continue;
                if (c == a && fc <= fa) continue;
                AddCorner(facets_[a][fa], facets_[b][fb], facets_[c][fc]);
              }
            }
          }
        }
      }
    }
  }

  int Fold(long long index) const {
    const long long total = static_cast<long long>(baseCount_) * n_;
    return static_cast<int>(((index % total) + total) % total);
  }

  const TVertex& RotatedBackOneSector(int baseIndex) const {
    return vertices_[Fold(static_cast<long long>(baseIndex) - baseCount_)];
  }

  // The table (forward) or culet (reverse) outline: one sector's kept corners
  // sorted by y, repeated round the axis.
  void BuildRing(WorkFacet& facet, std::vector<int>& points, bool forward) {
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
  void OrderPolygon(std::vector<int>& indices, double nz) const {
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

  void ReplicateSectors() {
    baseCount_ = static_cast<int>(vertexList_.size());
    vertices_.resize(static_cast<std::size_t>(baseCount_) * n_);
    for (int i = 0; i < baseCount_; ++i) vertices_[i] = pool_[vertexList_[i]].position;
    for (int k = 1; k < n_; ++k) {
      const double angle = 2 * kPi * k / n_;
      const double cosine = std::cos(angle), sine = std::sin(angle);
      for (int i = 0; i < baseCount_; ++i) {
        vertices_[static_cast<std::size_t>(k) * baseCount_ + i] =
            RotateAboutAxis(vertices_[i], cosine, sine);
      }
    }

    polygons_.resize(steps_.size());
    for (std::size_t m = 0; m < steps_.size(); ++m) polygons_[m].resize(facets_[m].size());
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
        for (int v : own.points) {
          entries.push_back(pool_[v].baseIndex - pool_[v].sectorOffset * baseCount_);
        }
        for (int v : facets_[m][twin].points) {
          const WorkVertex& p = pool_[v];
          if (p.sectorOffset < 0) continue;
          if (!PointNear(own, RotatedBackOneSector(p.baseIndex))) {
            entries.push_back(p.baseIndex - baseCount_);
          }
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

  Stone Collect() {
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

  int n_;
  double sectorCos_;
  double sectorSin_;
  std::vector<const TStep*> steps_;              // the step list, culet to table
  std::vector<std::vector<WorkFacet>> facets_;   // per step, per facet
  std::vector<WorkVertex> pool_;                 // base and image vertices
  std::vector<int> vertexList_;                  // pool indices of the base vertices
  int baseCount_ = 0;
  std::vector<TVertex> vertices_;                // every sector's vertices
  std::vector<std::vector<std::vector<int>>> polygons_;  // per step, per facet
};

}  // namespace

double PseudoAngle(double a, double b) {
  if (a + b > 0) return b - a > 0 ? a / b - 2 : -b / a;
  return b - a > 0 ? -4 - b / a : a / b + 2;
}

void BuildStepPlanes(int sign, int symOrder, int gearNotches, MasStep& s) {
  if (s.empty()) return;
  const int h = static_cast<int>(s.size()) - 1;
  const double nu = 2 * kPi / gearNotches;
  const double beta = kPi / symOrder;

  if (s[0].Facets.size() != 1) s[0].Facets.resize(1);
  TFacet& top = s[0].Facets[0];
  top = TFacet{};
  top.Nz = sign;
  if (h < 1) return;
  s[h].Facets.assign(1, top);

  int azimuth = s[0].Shift;
  double c = s[1].Split < static_cast<double>(gearNotches) / symOrder / 2.0
                 ? std::cos(beta - nu * s[1].Split)
                 : std::cos(nu * s[1].Split);
  double z = 0.0;
  double a = 0.0;
  for (int k = 1; k <= h - 1; ++k) {
    TStep& step = s[k];
    TStep& previous = s[k - 1];
    if (k == 1 || !step.Auto) a = step.Angle;
    azimuth += step.Shift;
    double t = 1.0 / std::tan(Radians(a));
    double m = 1.0;
    const double dn = std::abs(nu * s[k + 1].Shift);
    double hb;
    if (step.Split == 0 && previous.Split == 0) {
      const double q = std::cos(beta - dn) / std::cos(beta);
      if (step.Auto && k > 1) {
        const double p = std::cos(beta) / std::cos(beta - std::abs(nu * step.Shift));
        if (0.999999 * p < previous.Posit) previous.Posit = 0.999999 * p;
        m = (1 / p - previous.Posit) / (0.99999 - previous.Posit / p);
        if (step.Shift == 0) m = 1.001;
      }
      const double r = step.Posit * q;
      t *= m;
      hb = z * t + c;
      z += (1 - r) * c / t;
      c *= step.Posit;
    } else {
      const double u = std::cos(nu * step.Split) / std::cos(nu * previous.Split);
      const double w = std::cos(beta - nu * step.Split) / std::cos(beta - nu * previous.Split);
      const double r0 = k == 1 ? s[1].Posit : previous.Posit;
      double q;
      if (step.Split > previous.Split) {
        m = (w - u * r0) / (0.99999 - r0);
        q = u;
      } else {
        m = (u - w * r0) / (0.99999 - r0);
        q = w;
      }
      if (step.Shift == 0 && step.Split == previous.Split) m = 1.001;
      const double r = step.Posit * q * std::cos(beta - dn) / std::cos(beta);
      if (k > 1 && step.Auto) t *= m;
      hb = z * t + c * q;
      z += (q - r) * c / t;
      c *= step.Posit * q;
    }
    if (t < kMinCotangent) t = kMinCotangent;
    if (step.Auto) {
      a = Degrees(std::atan(1 / t));
      step.Angle = a;
    }

    const int s1 = SplitFacetsPerSector(step);
    step.Facets.assign(static_cast<std::size_t>(symOrder) * (s1 + 1), TFacet{});
    const double length = std::sqrt(1 + t * t);
    for (int i = 0; i < symOrder; ++i) {
      for (int j = 0; j <= s1; ++j) {
        const int notches = j == 0 ? azimuth - step.Split : azimuth + step.Split;
        const double phi =
            2 * kPi * (static_cast<double>(i) / symOrder + static_cast<double>(notches) / gearNotches);
        TFacet& f = step.Facets[(s1 + 1) * i + j];
        f.Nx = std::cos(phi) / length;
        f.Ny = std::sin(phi) / length;
        f.Nz = sign * t / length;
        f.D = hb / length;
      }
    }
  }
  top.D = z;
}

Stone BuildStone(int symOrder, const MasStep& crown, const MasStep& pavilion) {
  if (crown.size() < 2 || pavilion.size() < 2) return {};
  return StoneBuilder(symOrder, crown, pavilion).Build();
}

Stone ConstructStone(Design& design) {
  BuildStepPlanes(+1, design.SymOrder, design.GearNotches, design.CrownSteps);
  BuildStepPlanes(-1, design.SymOrder, design.GearNotches, design.PavilionSteps);
  return BuildStone(design.SymOrder, design.CrownSteps, design.PavilionSteps);
}

}  // namespace brillora
