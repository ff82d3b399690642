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

  // Cuts the beam whose corners are expressed in frame `f`. Afterwards Pieces()
  // holds the sub-beam polygons in facet-list order. Facet corners that became
  // corners of a piece and every crossing point made are added to `store`.
  void Cut(const Stone& stone, const Frame& f, std::span<FlatPoint* const> beam, PointStore& store);

  std::span<const CutPiece> Pieces() const { return {pieces_.data(), pieceCount_}; }

 private:
  struct Candidate {
    const TFacet* facet;
    double cos;
    std::size_t first;  // into candidateCorners_
    std::size_t count;
  };
  // What a cut reads of a facet, laid out for a quick pass over all of them.
  struct FacetData {
    double nx, ny, nz;
    double cx, cy, cz;  // centre of the corners
    double reach;       // distance of the farthest corner from the centre, with a margin
    const TFacet* facet;
    bool usable;  // three corners or more
  };
  // One edge of a polygon, from (x, y) by (dx, dy).
  struct Edge {
    double x, y, dx, dy;
    // The cross product that tells on which side of the edge line p lies.
    double Cross(const FlatPoint& p) const { return dx * (p.Y - y) - dy * (p.X - x); }
  };
  struct Crossing {
    const FlatPoint* first;
    const FlatPoint* second;
    FlatPoint* point;  // nullptr for parallel lines
  };

  void FindCandidates(const Stone& stone, const Frame& f, std::span<FlatPoint* const> beam);
  void MarkFacetCorners(std::span<FlatPoint* const> beam);
  void CutBeamByFacet(const Candidate& facet, std::span<FlatPoint* const> beam, PointStore& store,
                      std::vector<FlatPoint*>& out);
  void CutNarrowBeam(const std::uint32_t* corner, std::size_t k, bool left, std::span<FlatPoint* const> beam,
                     PointStore& store, std::vector<FlatPoint*>& out);
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
  void HandOver(PointStore& store);

  std::vector<FacetData> facets_;
  std::vector<std::uint32_t> facing_;  // facets facing away from the beam, in list order
  std::vector<double> facingCos_;
  std::vector<Edge> beamEdges_;
  std::vector<std::uint8_t> facetOut_;
  std::vector<double> beamX_, beamY_;  // the beam's corners, side by side  // per beam corner, outside the current facet edge

  // Per vertex: the pool record it was projected into during the current cut.
  std::vector<std::uint32_t> vertexStamp_;
  std::vector<std::uint32_t> vertexPool_;
  std::uint32_t stamp_ = 0;

  // Spare points for the projected facet corners of one cut, in projection order.
  std::vector<FlatPoint> pool_;
  std::vector<std::uint8_t> poolOutcode_;
  std::vector<std::uint8_t> poolKept_;       // corner of a kept candidate
  std::vector<FlatPoint*> poolHandedTo_;     // its copy in the store, once handed over
  std::size_t poolUsed_ = 0;
  // Bits of the beam edges that a kept facet corner lies outside of.
  std::vector<std::uint64_t> masks_;
  std::size_t maskWords_ = 1;

  std::vector<Candidate> candidates_;
  std::vector<std::uint32_t> candidateCorners_;  // pool indices
  std::vector<std::vector<Crossing>> crossingCache_;  // per beam edge
  std::vector<std::uint8_t> beamOut_;  // beam corner outside some facet edge

  std::vector<CutPiece> pieces_;
  std::size_t pieceCount_ = 0;
  std::vector<double> sortKeys_;
};

}  // namespace brillora
