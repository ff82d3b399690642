#include "trace/stone_tables.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

namespace brillora {

namespace {

constexpr double kSqrt2 = 1.4142135623730951 * 1.000001;

struct Sphere {
  TVertex centre;
  double radius;
};

double Distance(const TVertex& a, const TVertex& b) {
  return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) +
                   (a.z - b.z) * (a.z - b.z));
}

// A small sphere holding every corner of a facet (Ritter's: about the two
// corners farthest apart, grown to take in the rest). Long kites and
// triangles fit far tighter than about their centre of corners, so fewer
// facets pass the cull for nothing.
Sphere CornerSphere(const Stone& stone, const TFacet& facet) {
  const auto corner = [&](int v) -> const TVertex& {
    return stone.AllVertices[static_cast<std::size_t>(v)];
  };
  const auto farthestFrom = [&](const TVertex& from) {
    const TVertex* best = &corner(facet.Points[0]);
    for (const int v : facet.Points) {
      if (Distance(corner(v), from) > Distance(*best, from)) best = &corner(v);
    }
    return *best;
  };
  const TVertex b = farthestFrom(corner(facet.Points[0]));
  const TVertex c = farthestFrom(b);
  Sphere sphere{{(b.x + c.x) / 2, (b.y + c.y) / 2, (b.z + c.z) / 2}, Distance(b, c) / 2};
  for (const int v : facet.Points) {
    const TVertex& p = corner(v);
    const double d = Distance(p, sphere.centre);
    if (d <= sphere.radius) continue;
    const double grown = (sphere.radius + d) / 2;
    const double shift = (grown - sphere.radius) / d;
    sphere.centre = {sphere.centre.x + (p.x - sphere.centre.x) * shift,
                     sphere.centre.y + (p.y - sphere.centre.y) * shift,
                     sphere.centre.z + (p.z - sphere.centre.z) * shift};
    sphere.radius = grown;
  }
  // The growing steps round; the farthest corner settles the radius.
  sphere.radius = 0;
  for (const int v : facet.Points)
    sphere.radius = std::max(sphere.radius, Distance(corner(v), sphere.centre));
  return sphere;
}

bool SameBits(double a, double b) { return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b); }

}  // namespace

StoneTables::StoneTables(const Stone& stone) : vertices_(stone.AllVertices) {
  planes_.reserve(stone.AllFacets.size());
  firstCorner_.reserve(stone.AllFacets.size() + 1);
  for (const TFacet& facet : stone.AllFacets) {
    planes_.push_back({facet.Nx, facet.Ny, facet.Nz, facet.D});
    firstCorner_.push_back(corners_.size());
    corners_.insert(corners_.end(), facet.Points.begin(), facet.Points.end());
    largestFacet_ = std::max(largestFacet_, facet.Points.size());
  }
  firstCorner_.push_back(corners_.size());
  for (const TVertex& v : stone.AllVertices)
    largestCorner_ = std::max(largestCorner_, std::fabs(v.x) + std::fabs(v.y) + std::fabs(v.z));
  for (const TFacet& facet : stone.AllFacets) {
    firstCornerQuad_.push_back(static_cast<std::uint32_t>(cornerQuads_.size()));
    for (std::size_t j = 0; j < facet.Points.size(); j += 4) {
      trace::CornerQuad& quad = cornerQuads_.emplace_back();
      for (std::size_t lane = 0; lane < 4; ++lane) {
        const std::size_t corner = j + lane < facet.Points.size() ? j + lane : 0;
        const TVertex& v = stone.AllVertices[static_cast<std::size_t>(facet.Points[corner])];
        quad.x[lane] = static_cast<float>(v.x);
        quad.y[lane] = static_cast<float>(v.y);
        quad.z[lane] = static_cast<float>(v.z);
      }
    }
  }
  firstCornerQuad_.push_back(static_cast<std::uint32_t>(cornerQuads_.size()));
  octets_.assign((stone.AllFacets.size() + 7) / 8, FacetOctet{});
  for (std::size_t i = 0; i < stone.AllFacets.size(); ++i) {
    const TFacet& facet = stone.AllFacets[i];
    if (facet.Points.size() < 3) continue;
    const auto [centre, radius] = CornerSphere(stone, facet);
    const double cx = centre.x, cy = centre.y, cz = centre.z;
    double reach = radius;
    // Frame rows are unit vectors only to single precision, and the cull itself
    // works in single precision: the slack is far above both roundings.
    reach = reach * 1.001 + kCullSlack * (1 + std::fabs(cx) + std::fabs(cy) + std::fabs(cz) + reach);
    FacetOctet& octet = octets_[i / 8];
    const std::size_t lane = i % 8;
    octet.nx[lane] = static_cast<float>(facet.Nx);
    octet.ny[lane] = static_cast<float>(facet.Ny);
    octet.nz[lane] = static_cast<float>(facet.Nz);
    octet.cx[lane] = static_cast<float>(cx);
    octet.cy[lane] = static_cast<float>(cy);
    octet.cz[lane] = static_cast<float>(cz);
    octet.reach[lane] = static_cast<float>(reach);
    octet.diagonal[lane] = static_cast<float>(kSqrt2 * reach);
    octet.d[lane] = static_cast<float>(facet.D);
    octet.usable[lane] = -1;
  }
}

bool StoneTables::Describes(const Stone& stone) const {
  static_assert(sizeof(TVertex) == 3 * sizeof(double), "a vertex's bytes are its three doubles' bits");
  if (stone.AllVertices.size() != vertices_.size() || stone.AllFacets.size() != planes_.size()) return false;
  if (!vertices_.empty() &&
      std::memcmp(stone.AllVertices.data(), vertices_.data(), vertices_.size() * sizeof(TVertex)) != 0)
    return false;
  for (std::size_t i = 0; i < planes_.size(); ++i) {
    const TFacet& facet = stone.AllFacets[i];
    const std::array<double, 4>& plane = planes_[i];
    const auto first = corners_.begin() + static_cast<std::ptrdiff_t>(firstCorner_[i]);
    const auto last = corners_.begin() + static_cast<std::ptrdiff_t>(firstCorner_[i + 1]);
    if (!SameBits(facet.Nx, plane[0]) || !SameBits(facet.Ny, plane[1]) || !SameBits(facet.Nz, plane[2]) ||
        !SameBits(facet.D, plane[3]) || !std::equal(facet.Points.begin(), facet.Points.end(), first, last))
      return false;
  }
  return true;
}

}  // namespace brillora
