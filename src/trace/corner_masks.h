#pragma once

// Which beam edges the projected facet corners of a cut lie outside of. Only
// the cutter and the tests of its paths include this header.
#if !defined(BRILLORA_TRACE_INTERNALS)
#error "trace/corner_masks.h belongs to the tracer's own sources"
#endif

#include <algorithm>
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

#include "trace/lanes.h"
#include "trace/plane_geometry.h"
#include "trace/race.h"

namespace brillora::trace {

// One mask per point, with one bit for each beam edge the point lies outside
// of (on the line counts as outside): a point without a bit lies inside the
// beam. Beams of up to 64 corners, nearly all of them, take one word a mask
// and mark four edges at a time; wider ones take several words.
class CornerMasks {
 public:
  // Marks `points` against `beam`, whose corners are also given side by side
  // in `x` and `y`, padded with zeros to a whole number of quads. Edge i runs
  // from the corner before corner i (the last one for i = 0) to corner i.
  void Mark(std::span<FlatPoint* const> beam, std::span<const double> x, std::span<const double> y,
            std::span<const FlatPoint> points);

  std::size_t Words() const { return words_; }
  // The mask of a point, for a beam of one word.
  std::uint64_t Narrow(std::size_t point) const {
    assert(words_ == 1);
    return masks_[point];
  }
  bool Bit(std::size_t point, std::size_t edge) const {
    if (words_ == 1) return (masks_[point] >> edge) & 1u;
    return (masks_[point * words_ + edge / 64] >> (edge % 64)) & 1u;
  }
  bool Zero(std::size_t point) const {
    if (words_ == 1) return masks_[point] == 0;
    return WideZero(point);
  }
  // The order of two masks as unsigned numbers of Words() words.
  bool Less(std::size_t a, std::size_t b) const {
    if (words_ == 1) return masks_[a] < masks_[b];
    return WideLess(a, b);
  }

 private:
  bool WideZero(std::size_t point) const;
  bool WideLess(std::size_t a, std::size_t b) const;

  std::vector<std::uint64_t> masks_;
  std::size_t words_ = 1;
  // The beam's edges, edge i from (edgeX_, edgeY_) by (edgeDx_, edgeDy_), side by side.
  std::vector<double> edgeX_, edgeY_, edgeDx_, edgeDy_;
};

// In the header, so that the cut's own copies, plain and AVX2, take it in.
inline void CornerMasks::Mark(std::span<FlatPoint* const> beam, std::span<const double> x,
                              std::span<const double> y, std::span<const FlatPoint> points) {
  assert(x.size() == y.size() && x.size() % 4 == 0 && x.size() >= beam.size());
  words_ = (beam.size() + 63) / 64;
  if (masks_.size() < points.size() * words_) masks_.resize(points.size() * words_);

  // The spare corners' edges are padding.
  const std::size_t padded = x.size();
  edgeX_.resize(padded);
  edgeY_.resize(padded);
  edgeDx_.resize(padded);
  edgeDy_.resize(padded);
  // Reversed edges of a clockwise beam turn every cross product's sign
  // exactly, so that inside is always positive.
  const double side = InsideTest(beam);
  for (std::size_t i = 0; i < padded; ++i) {
    const std::size_t from = i == 0 ? beam.size() - 1 : i - 1;
    edgeX_[i] = x[from];
    edgeY_[i] = y[from];
    edgeDx_[i] = side * (x[i] - x[from]);
    edgeDy_[i] = side * (y[i] - y[from]);
  }
  if (words_ == 1) {
    const std::uint64_t all =
        beam.size() == 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << beam.size()) - 1;
    std::uint64_t* masks = masks_.data();
    // Every corner projected in this cut, once, in the order of the records:
    // nearly all belong to candidates.
    for (std::size_t point = 0; point < points.size(); ++point) {
      const FlatPoint& q = points[point];
      // Four edges at a time: lane k gathers the bits of edges 4j + k.
      DoubleQuadMask mask{};
      DoubleQuadMask bit{1, 2, 4, 8};
      for (std::size_t i = 0; i < padded; i += 4) {
        DoubleQuad ex, ey, dx, dy;
        std::memcpy(&ex, &edgeX_[i], sizeof ex);
        std::memcpy(&ey, &edgeY_[i], sizeof ey);
        std::memcpy(&dx, &edgeDx_[i], sizeof dx);
        std::memcpy(&dy, &edgeDy_[i], sizeof dy);
        const DoubleQuad cross = dx * (q.Y - ey) - dy * (q.X - ex);
        mask |= ~(cross > 0) & bit;
        bit <<= 4;
      }
      masks[point] = static_cast<std::uint64_t>(mask[0] | mask[1] | mask[2] | mask[3]) & all;
    }
    return;
  }
  for (std::size_t point = 0; point < points.size(); ++point) {
    std::uint64_t* mask = &masks_[point * words_];
    std::fill(mask, mask + words_, 0);
    const FlatPoint& q = points[point];
    for (std::size_t i = 0; i < beam.size(); ++i) {
      const double cross = edgeDx_[i] * (q.Y - edgeY_[i]) - edgeDy_[i] * (q.X - edgeX_[i]);
      if (!(cross > 0)) mask[i / 64] |= std::uint64_t{1} << (i % 64);
    }
  }
}

}  // namespace brillora::trace
