#pragma once

// What the cut reads of a stone that depends on the stone alone: its facets
// and corners in single precision, laid out for the cull. A stone's tables
// are built once and never change, so that every trace of the stone (the
// hundred frames of an animation, the views of the tilt curves) reads the same
// copy, however many tracers on however many threads make them. Only the
// tracer's own sources and the tests of its paths include this header; the
// rest of the program holds the tables as an opaque shared value.
#if !defined(BRILLORA_TRACE_INTERNALS)
#error "trace/stone_tables.h belongs to the tracer's own sources"
#endif

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "model/design.h"
#include "trace/corner_reach.h"
#include "trace/lanes.h"

namespace brillora {

class StoneTables {
 public:
  // Widens the single-precision cull well beyond its rounding errors.
  static constexpr double kCullSlack = 1e-5;

  // What the cull reads of eight facets, side by side, in single precision;
  // the lanes a leaf of the tree leaves empty are never usable. Aligned for the AVX2
  // copy's loads: the plain build alone would align octets to 16 bytes.
  struct alignas(32) FacetOctet {
    trace::Octet nx, ny, nz;
    trace::Octet cx, cy, cz;  // centre of a sphere holding every corner
    trace::Octet reach;       // its radius, with slack
    trace::Octet diagonal;    // reach times the square root of 2, with slack
    trace::Octet d;           // the plane's distance from the origin
    trace::OctetMask usable;  // three corners or more
  };

  // The cosine between a facet's normal and a beam's travel below which the
  // facet cannot face away from the beam, loosened for the single-precision
  // cull.
  static constexpr float kLooseMinCos = static_cast<float>(0.001 - kCullSlack);

  // A node of the facet tree, which lets a cut pass over whole regions of a
  // stone of thousands of facets at once. It holds up to eight children side
  // by side, as an octet holds facets: each an octet of facets or another
  // node, bounded by a sphere holding the corners of every facet below it
  // and a cone holding their normals, both with slack.
  struct alignas(32) TreeNode {
    trace::Octet cx, cy, cz;  // centre of the child's sphere
    trace::Octet reach;       // its radius
    trace::Octet diagonal;    // reach times the square root of 2
    trace::Octet ax, ay, az;  // axis of the child's cone of normals, a unit vector
    // No normal of the cone faces away from a beam (kLooseMinCos) whose travel
    // makes a cosine below this with the axis: 2 for an empty lane, -2 for a
    // cone too wide to tell.
    trace::Octet facingLimit;
    std::array<std::uint32_t, 8> child;  // an octet, or a node
    unsigned octets = 0;                 // bit per lane: the child is an octet
  };

  explicit StoneTables(const Stone& stone);

  // True when `stone` has, bit for bit, the vertices, planes and corner lists
  // these tables were built from: the tables then serve it exactly as tables
  // built from it would. A stone rebuilt after an edit may have the address
  // of the one it replaces, so only its contents can say.
  bool Describes(const Stone& stone) const;

  // The octets hold the usable facets in the order of the tree's leaves,
  // near ones together; OctetFacets names each lane's facet.
  std::span<const FacetOctet> Octets() const { return octets_; }
  const std::array<std::uint32_t, 8>& OctetFacets(std::size_t octet) const { return octetFacets_[octet]; }
  // The root first; empty for a stone without a usable facet.
  std::span<const TreeNode> Tree() const { return tree_; }
  // Facet i's corners, the last quad filled up with copies of its first.
  std::span<const trace::CornerQuad> CornerQuads(std::size_t facet) const {
    return {cornerQuads_.data() + firstCornerQuad_[facet], cornerQuads_.data() + firstCornerQuad_[facet + 1]};
  }
  double LargestCorner() const { return largestCorner_; }  // the largest |x| + |y| + |z| of a vertex
  std::size_t Facets() const { return planes_.size(); }
  std::size_t Vertices() const { return vertices_.size(); }
  std::size_t AllCorners() const { return corners_.size(); }  // the corners of all facets together
  std::size_t LargestFacet() const { return largestFacet_; }  // in corners

 private:
  // A facet as the tree is built from it: its sphere, with slack, and its normal.
  struct TreeItem {
    std::uint32_t facet;
    TVertex centre;
    double reach;
    Vec3 normal;
  };
  // Builds tree_[node] over items[first, last), which it reorders.
  void BuildNode(const Stone& stone, std::vector<TreeItem>& items, std::size_t node, std::size_t first,
                 std::size_t last);
  // A new octet of the facets of `items`, eight at most; its index.
  std::uint32_t BuildOctet(const Stone& stone, std::span<const TreeItem> items);

  // What the tables were built from, laid flat: a few blocks to copy and
  // compare rather than a list per facet.
  std::vector<TVertex> vertices_;
  std::vector<std::array<double, 4>> planes_;  // Nx, Ny, Nz, D
  std::vector<int> corners_;                   // facet i's are corners_[firstCorner_[i] ..]
  std::vector<std::size_t> firstCorner_;
  std::vector<FacetOctet> octets_;
  std::vector<std::array<std::uint32_t, 8>> octetFacets_;
  std::vector<TreeNode> tree_;
  std::vector<trace::CornerQuad> cornerQuads_;
  std::vector<std::uint32_t> firstCornerQuad_;
  double largestCorner_ = 0;
  std::size_t largestFacet_ = 0;
};

}  // namespace brillora
