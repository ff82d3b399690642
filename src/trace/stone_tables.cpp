#include "trace/stone_tables.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <numbers>

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

// A facet's sphere radius made safe for the single-precision cull.
double WithSlack(const TVertex& centre, double radius) {
  return radius * 1.001 +
         StoneTables::kCullSlack * (1 + std::fabs(centre.x) + std::fabs(centre.y) + std::fabs(centre.z) + radius);
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
  std::vector<TreeItem> items;
  for (std::size_t i = 0; i < stone.AllFacets.size(); ++i) {
    const TFacet& facet = stone.AllFacets[i];
    if (facet.Points.size() < 3) continue;
    const auto [centre, radius] = CornerSphere(stone, facet);
    // Frame rows are unit vectors only to single precision, and the cull itself
    // works in single precision: the slack is far above both roundings.
    items.push_back({static_cast<std::uint32_t>(i), centre, WithSlack(centre, radius), {facet.Nx, facet.Ny, facet.Nz}});
  }
  if (items.empty()) return;
  tree_.emplace_back();
  BuildNode(stone, items, 0, 0, items.size());
}

namespace {

TVertex Low(const TVertex& a, const TVertex& b) { return {std::min(a.x, b.x), std::min(a.y, b.y), std::min(a.z, b.z)}; }
TVertex High(const TVertex& a, const TVertex& b) { return {std::max(a.x, b.x), std::max(a.y, b.y), std::max(a.z, b.z)}; }

// Orders items[first, last) into runs of `size` (the last one may be
// shorter), each as compact as halving at the middle of the longest side of
// the box round the facets' centres makes them.
template <typename Item>
void Group(std::vector<Item>& items, std::size_t first, std::size_t last, std::size_t size) {
  const std::size_t runs = (last - first + size - 1) / size;
  if (runs <= 1) return;
  TVertex low = items[first].centre, high = low;
  for (std::size_t i = first; i < last; ++i) {
    low = Low(low, items[i].centre);
    high = High(high, items[i].centre);
  }
  const double dx = high.x - low.x, dy = high.y - low.y, dz = high.z - low.z;
  const auto along = [&](const Item& item) {
    return dx >= dy && dx >= dz ? item.centre.x : dy >= dz ? item.centre.y : item.centre.z;
  };
  const std::size_t middle = first + (runs + 1) / 2 * size;
  std::nth_element(items.begin() + static_cast<std::ptrdiff_t>(first), items.begin() + static_cast<std::ptrdiff_t>(middle),
                   items.begin() + static_cast<std::ptrdiff_t>(last),
                   [&](const Item& a, const Item& b) { return along(a) < along(b); });
  Group(items, first, middle, size);
  Group(items, middle, last, size);
}

}  // namespace

void StoneTables::BuildNode(const Stone& stone, std::vector<TreeItem>& items, std::size_t node, std::size_t first,
                            std::size_t last) {
  // Each child takes the largest power of eight of facets that leaves no more
  // than eight children.
  std::size_t size = 8;
  while (size * 8 < last - first) size *= 8;
  Group(items, first, last, size);
  TreeNode built{};
  for (std::size_t lane = 0; lane < 8; ++lane) {
    built.facingLimit[lane] = 2;
    built.child[lane] = 0;
  }
  for (std::size_t lane = 0; first + lane * size < last; ++lane) {
    const std::size_t from = first + lane * size, to = std::min(last, from + size);
    const std::span<const TreeItem> below(items.data() + from, to - from);

    TVertex low = below[0].centre, high = low;
    Vec3 sum{};
    for (const TreeItem& item : below) {
      low = Low(low, item.centre);
      high = High(high, item.centre);
      sum = {sum.x + item.normal.x, sum.y + item.normal.y, sum.z + item.normal.z};
    }
    const TVertex centre{(low.x + high.x) / 2, (low.y + high.y) / 2, (low.z + high.z) / 2};
    double radius = 0;
    for (const TreeItem& item : below) radius = std::max(radius, Distance(item.centre, centre) + item.reach);
    const double reach = WithSlack(centre, radius);
    // The cone about the normals' mean direction; normals that cancel out
    // leave a cone too wide to tell.
    const double length = std::sqrt(sum.x * sum.x + sum.y * sum.y + sum.z * sum.z);
    const Vec3 axis = length > 1e-9 ? Vec3{sum.x / length, sum.y / length, sum.z / length} : Vec3{0, 0, 1};
    double cosine = length > 1e-9 ? 1.0 : -1.0;
    for (const TreeItem& item : below)
      cosine = std::min(cosine, axis.x * item.normal.x + axis.y * item.normal.y + axis.z * item.normal.z);
    // A travel further than this from the axis is further than the facing
    // angle from every normal; the slack is far above the single-precision
    // roundings of the frame and of the test.
    constexpr double kConeSlack = 1e-3;
    const double limit = std::acos(std::clamp(cosine, -1.0, 1.0)) + kConeSlack + std::acos(double{kLooseMinCos});

    built.cx[lane] = static_cast<float>(centre.x);
    built.cy[lane] = static_cast<float>(centre.y);
    built.cz[lane] = static_cast<float>(centre.z);
    built.reach[lane] = static_cast<float>(reach);
    built.diagonal[lane] = static_cast<float>(kSqrt2 * reach);
    built.ax[lane] = static_cast<float>(axis.x);
    built.ay[lane] = static_cast<float>(axis.y);
    built.az[lane] = static_cast<float>(axis.z);
    built.facingLimit[lane] = limit >= std::numbers::pi ? -2.0f : static_cast<float>(std::cos(limit));
    if (below.size() <= 8) {
      built.child[lane] = BuildOctet(stone, below);
      built.octets |= 1u << lane;
    } else {
      built.child[lane] = static_cast<std::uint32_t>(tree_.size());
      tree_.emplace_back();
      BuildNode(stone, items, built.child[lane], from, to);
    }
  }
  tree_[node] = built;
}

std::uint32_t StoneTables::BuildOctet(const Stone& stone, std::span<const TreeItem> items) {
  FacetOctet& octet = octets_.emplace_back();
  std::array<std::uint32_t, 8>& facets = octetFacets_.emplace_back();
  facets.fill(0);
  for (std::size_t lane = 0; lane < items.size(); ++lane) {
    const TreeItem& item = items[lane];
    const TFacet& facet = stone.AllFacets[item.facet];
    facets[lane] = item.facet;
    octet.nx[lane] = static_cast<float>(facet.Nx);
    octet.ny[lane] = static_cast<float>(facet.Ny);
    octet.nz[lane] = static_cast<float>(facet.Nz);
    octet.cx[lane] = static_cast<float>(item.centre.x);
    octet.cy[lane] = static_cast<float>(item.centre.y);
    octet.cz[lane] = static_cast<float>(item.centre.z);
    octet.reach[lane] = static_cast<float>(item.reach);
    octet.diagonal[lane] = static_cast<float>(kSqrt2 * item.reach);
    octet.d[lane] = static_cast<float>(facet.D);
    octet.usable[lane] = -1;
  }
  return static_cast<std::uint32_t>(octets_.size() - 1);
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
