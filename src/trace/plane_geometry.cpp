#include "trace/plane_geometry.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <utility>

#include "trace/lanes.h"
#include "trace/simd_clones.h"

namespace brillora::trace {

double TwiceArea(std::span<FlatPoint* const> polygon) {
  const FlatPoint& c0 = *polygon[0];
  double sum = 0;
  for (std::size_t i = 1; i + 1 < polygon.size(); ++i) {
    const FlatPoint& c1 = *polygon[i];
    const FlatPoint& c2 = *polygon[i + 1];
    sum += std::fabs((c1.Y - c2.Y) * c0.X + (c2.X - c1.X) * c0.Y + c1.X * c2.Y - c1.Y * c2.X);
  }
  return sum;
}

double PseudoAngle(double dx, double dy) {
  if (dx + dy > 0) return dy - dx > 0 ? 2 - dx / dy : dy / dx;
  return dy - dx > 0 ? dy / dx + 4 : -2 - dx / dy;
}

OctagonBounds Octagon(std::span<FlatPoint* const> polygon) {
  OctagonBounds o{};
  const FlatPoint& first = *polygon[0];
  o.minX = o.maxX = first.X;
  o.minY = o.maxY = first.Y;
  o.minSum = o.maxSum = first.X + first.Y;
  o.minDiff = o.maxDiff = first.Y - first.X;
  for (std::size_t i = 1; i < polygon.size(); ++i) {
    const double x = polygon[i]->X, y = polygon[i]->Y;
    const double sum = x + y, diff = y - x;
    o.minX = std::min(o.minX, x);
    o.maxX = std::max(o.maxX, x);
    o.minY = std::min(o.minY, y);
    o.maxY = std::max(o.maxY, y);
    o.minSum = std::min(o.minSum, sum);
    o.maxSum = std::max(o.maxSum, sum);
    o.minDiff = std::min(o.minDiff, diff);
    o.maxDiff = std::max(o.maxDiff, diff);
  }
  return o;
}

namespace {

constexpr std::size_t kRankedCorners = 8;

// The exchange sort that defines the order, descending by key; for equal or
// undefined keys its outcome depends on the order in which it meets them.
void ExchangeSort(std::span<FlatPoint*> points, std::span<double> keys) {
  const std::size_t n = points.size();
  for (std::size_t i = 0; i + 1 < n; ++i) {
    for (std::size_t j = i + 1; j < n; ++j) {
      if (keys[i] < keys[j]) {
        std::swap(keys[i], keys[j]);
        std::swap(points[i], points[j]);
      }
    }
  }
}

// Puts up to eight corners in descending order of their keys by counting,
// for each, the keys above it: no branch per comparison, which the exchange
// sort mispredicts often. Distinct keys have one descending order, the
// exchange sort's too; equal or undefined keys go to the exchange sort itself.
[[gnu::always_inline]] inline void RankSort(std::span<FlatPoint*> points, double cx, double cy) {
  const std::size_t n = points.size();
  const std::size_t quads = (n + 3) / 4;
  // Spare lanes take the centre itself, so dx = dy = 0 and an undefined key,
  // which is neither above nor equal to any key. The lanes are loaded straight
  // from the corners: written one by one and read back as a whole, they would
  // wait for the stores.
  const FlatPoint centre{cx, cy};
  std::array<const FlatPoint*, kRankedCorners> corner;
  for (std::size_t i = 0; i < kRankedCorners; ++i) corner[i] = i < n ? points[i] : &centre;
  alignas(32) std::array<double, kRankedCorners> keys;
  std::array<DoubleQuad, 2> key;
  for (std::size_t q = 0; q < quads; ++q) {
    const FlatPoint* const* c = &corner[4 * q];
    const DoubleQuad x = DoubleQuad{c[0]->X, c[1]->X, c[2]->X, c[3]->X} - cx;
    const DoubleQuad y = DoubleQuad{c[0]->Y, c[1]->Y, c[2]->Y, c[3]->Y} - cy;
    // PseudoAngle lane by lane, with the same operations on the same values,
    // but no branch: every expression is made and each lane keeps its own.
    const DoubleQuad ratio = y / x, inverse = x / y;
    const DoubleQuadMask upper = x + y > 0, left = y - x > 0;
    const DoubleQuadMask upperKey =
        (left & DoubleQuadMask(2 - inverse)) | (~left & DoubleQuadMask(ratio));
    const DoubleQuadMask lowerKey =
        (left & DoubleQuadMask(ratio + 4)) | (~left & DoubleQuadMask(-2 - inverse));
    key[q] = DoubleQuad((upper & upperKey) | (~upper & lowerKey));
    std::memcpy(&keys[4 * q], &key[q], sizeof key[q]);
  }
  std::array<DoubleQuadMask, 2> above{}, equal{};
  for (std::size_t j = 0; j < n; ++j) {
    for (std::size_t q = 0; q < quads; ++q) {
      above[q] -= key[q] < keys[j];
      equal[q] -= key[q] == keys[j];
    }
  }
  bool distinct = true;
  for (std::size_t i = 0; i < n; ++i) distinct &= equal[i / 4][i % 4] == 1;
  if (!distinct) {
    ExchangeSort(points, std::span{keys}.first(n));
    return;
  }
  std::array<FlatPoint*, kRankedCorners> sorted;
  for (std::size_t i = 0; i < n; ++i)
    sorted[static_cast<std::size_t>(above[i / 4][i % 4])] = points[i];
  std::copy_n(sorted.begin(), n, points.begin());
}

}  // namespace

BRILLORA_AVX2_CLONE void SortPolygon(std::vector<FlatPoint*>& points, std::vector<double>& keys,
                                     double samePoint) {
  const std::size_t n = points.size();
  if (n < 3) return;
  const double cx = (points[0]->X + points[1]->X + points[2]->X) / 3.0;
  const double cy = (points[0]->Y + points[1]->Y + points[2]->Y) / 3.0;
  if (n <= kRankedCorners) {
    RankSort(points, cx, cy);
  } else {
    keys.resize(n);
    for (std::size_t i = 0; i < n; ++i) keys[i] = PseudoAngle(points[i]->X - cx, points[i]->Y - cy);
    ExchangeSort(points, keys);
  }
  std::size_t kept = 1;
  for (std::size_t i = 1; i < n; ++i) {
    const FlatPoint& last = *points[kept - 1];
    if (std::fabs(points[i]->X - last.X) >= samePoint || std::fabs(points[i]->Y - last.Y) >= samePoint) {
      points[kept++] = points[i];
    }
  }
  points.resize(kept);
}

namespace {

struct Turn {
  Frame g;
  Vec3 n;
  double D;

  void operator()(FlatPoint& p) const {
    const double z = (D - n.x * p.X - n.y * p.Y) / n.z;
    const double x = p.X, y = p.Y;
    p.X = RowDot(g, 0, x, y, z);
    p.Y = RowDot(g, 1, x, y, z);
  }
};

}  // namespace

BRILLORA_AVX2_CLONE void TurnPoints(PointStore& points, std::size_t first, const Frame& turn,
                                    const Vec3& n, double D) {
  points.ForEachFrom(first, Turn{turn, n, D});
}

void TurnPoints(std::span<FlatPoint* const> points, const Frame& turn, const Vec3& n, double D) {
  const Turn lift{turn, n, D};
  for (FlatPoint* p : points) lift(*p);
}

void TurnedCopies(std::span<FlatPoint* const> points, const Frame& turn, const Vec3& n, double D, PointStore& store,
                  std::vector<FlatPoint*>& turned) {
  const Turn lift{turn, n, D};
  turned.clear();
  for (const FlatPoint* p : points) {
    FlatPoint* copy = store.New();
    *copy = *p;
    lift(*copy);
    turned.push_back(copy);
  }
}

}  // namespace brillora::trace
