#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "model/design.h"
#include "trace/frame.h"
#include "trace/plane_geometry.h"
#include "trace/point_store.h"
#include "trace/race.h"

namespace brillora {

// One polygon common to a beam and a facet it meets from inside.
struct CutPiece {
  const TFacet* Facet = nullptr;
  double Cos = 0.0;  // cosine between the facet's outward normal and the beam's travel
  std::vector<FlatPoint*> Points;  // corners, all owned by the render's point store
};

// Cuts a beam by the facets of the stone that it meets from inside. Owns every
// table one cut needs; all of them grow as needed, so polygons, crossings and
// edge masks have no fixed limit.
class BeamCutter {
 public:
  // Sizes the per-vertex tables for a stone; called once per render.
  void Prepare(const Stone& stone);

  // Cuts the beam whose corners are expressed in frame `f` and whose octagon
  // (trace::Octagon) is `bounds`. Afterwards Pieces() holds the sub-beam
  // polygons in facet-list order. Facet corners that became corners of a piece
  // and every crossing point made are added to `store`.
  void Cut(const Stone& stone, const Frame& f, std::span<FlatPoint* const> beam,
           const trace::OctagonBounds& bounds, PointStore& store);

  std::span<const CutPiece> Pieces() const { return {pieces_.data(), pieceCount_}; }

 private:
  struct Candidate {
    const TFacet* facet;
    double cos;
    std::size_t first;  // into candidateCorners_
    std::size_t count;
  };
  using Pair = trace::Pair;
  using DoubleQuad = trace::DoubleQuad;
  using DoubleQuadMask = trace::DoubleQuadMask;
  using DoubleQuadUnsigned = std::uint64_t __attribute__((vector_size(32)));
  using Quad = trace::Quad;
  using QuadMask = trace::QuadMask;
  // Eight floats, or eight masks: one instruction each in the cut's AVX2
  // copy, two in the plain one.
  using Octet = float __attribute__((vector_size(32)));
  using OctetMask = std::int32_t __attribute__((vector_size(32)));
  // What the cull reads of eight facets, side by side, in single precision;
  // the lanes beyond the last facet are never usable. Aligned for the AVX2
  // copy's loads: the plain build alone would align octets to 16 bytes.
  struct alignas(32) FacetOctet {
    Octet nx, ny, nz;
    Octet cx, cy, cz;  // centre of a sphere holding every corner
    Octet reach;       // its radius, with slack
    Octet diagonal;    // reach times the square root of 2, with slack
    OctetMask usable;  // three corners or more
  };
  // The beam's frame and octagon as the corner projection takes them: x and y
  // side by side.
  struct Projection {
    Pair rowX, rowY, rowZ;  // (row 0, row 1) times the stone's x, y and z
    trace::PairedOctagon octagon;
  };
  struct Crossing {
    std::size_t edge;  // of the beam
    const FlatPoint* first;
    const FlatPoint* second;
    FlatPoint* point;  // nullptr for parallel lines
  };

  void FindCandidates(const Stone& stone, const Frame& f, const trace::OctagonBounds& bounds);
  // Projects the corners of facet i not yet projected in this cut and keeps the
  // facet when its corners leave no side of the octagon unreached.
  void AddIfCandidate(const Stone& stone, std::size_t i, double c, const Projection& projection);
  void MarkFacetCorners(std::span<FlatPoint* const> beam);
  void CutBeamByFacet(const Candidate& facet, std::span<FlatPoint* const> beam, PointStore& store,
                      std::vector<FlatPoint*>& out);
  void CutNarrowBeam(const std::uint32_t* corner, std::size_t k, bool left,
                     std::span<FlatPoint* const> beam, PointStore& store,
                     std::vector<FlatPoint*>& out);
  void EdgeCrossing(std::size_t edge, const FlatPoint& a, const FlatPoint& b, const FlatPoint& c,
                    const FlatPoint& d, PointStore& store, std::vector<FlatPoint*>& out);
  bool MaskBit(std::size_t pool, std::size_t edge) const {
    if (maskWords_ == 1) return (masks_[pool] >> edge) & 1u;
    return (masks_[pool * maskWords_ + edge / 64] >> (edge % 64)) & 1u;
  }
  bool MaskZero(std::size_t pool) const {
    if (maskWords_ == 1) return masks_[pool] == 0;
    return WideMaskZero(pool);
  }
  // The order of two masks as unsigned numbers of maskWords_ words.
  bool MaskLess(std::size_t a, std::size_t b) const {
    if (maskWords_ == 1) return masks_[a] < masks_[b];
    return WideMaskLess(a, b);
  }
  bool WideMaskZero(std::size_t pool) const;
  bool WideMaskLess(std::size_t a, std::size_t b) const;
  // The store's copy of a facet corner that a piece keeps, made on first use.
  FlatPoint* KeptCorner(std::uint32_t pool, PointStore& store);

  std::vector<FacetOctet> facets_;
  // Facet i's corners are cornerQuads_[firstCornerQuad_[i] .. firstCornerQuad_[i + 1]),
  // the last quad filled up with copies of the first corner.
  std::vector<trace::CornerQuad> cornerQuads_;
  std::vector<std::uint32_t> firstCornerQuad_;
  double largestCorner_ = 0;  // the largest |x| + |y| + |z| of a vertex
  // Bit per facet: may face away from the beam and lie near its octagon.
  std::vector<std::uint32_t> near_;
  // The beam's edges, edge i from corner i - 1 by (dx, dy) to corner i, side by side.
  std::vector<double> edgeX_, edgeY_, edgeDx_, edgeDy_;
  std::vector<std::uint8_t> facetOut_;
  std::vector<double> beamX_, beamY_;  // the beam's corners, side by side

  // Per vertex: the pool record it was projected into during the current cut.
  std::vector<std::uint32_t> vertexStamp_;
  std::vector<std::uint32_t> vertexPool_;
  std::uint32_t stamp_ = 0;

  // Spare points for the projected facet corners of one cut, in projection order.
  std::vector<FlatPoint> pool_;
  std::vector<FlatPoint*> poolHandedTo_;  // a kept corner's copy in the store, once handed over
  std::size_t poolUsed_ = 0;
  // Bits of the beam edges that a kept facet corner lies outside of.
  std::vector<std::uint64_t> masks_;
  std::size_t maskWords_ = 1;

  std::vector<Candidate> candidates_;
  std::vector<std::uint32_t> candidateCorners_;  // pool indices, room for every facet's corners
  std::size_t candidateCornerCount_ = 0;
  // The narrow cut's facet: corners and their masks in order, after a copy of
  // the last one; per edge, the beam corners outside it and the beam edges it
  // crosses.
  std::vector<double> facetX_, facetY_;
  std::vector<std::uint64_t> facetMasks_;
  std::vector<std::uint64_t> edgeOutside_, edgeCrossing_;
  std::vector<Crossing> crossings_;    // made in this cut, for the facets that share an edge
  std::vector<std::uint8_t> beamOut_;  // beam corner outside some facet edge

  std::vector<CutPiece> pieces_;
  std::size_t pieceCount_ = 0;
  std::vector<double> sortKeys_;
};

}  // namespace brillora
