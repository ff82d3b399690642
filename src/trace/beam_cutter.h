#pragma once

#include <memory>
#include <span>
#include <vector>

#include "model/design.h"
#include "trace/frame.h"
#include "trace/plane_geometry.h"
#include "trace/point_store.h"
#include "trace/race.h"

namespace brillora {

// What the cut reads of a stone that depends on the stone alone, built once
// per stone and never changed (trace/stone_tables.h, the tracer's own).
class StoneTables;

// One polygon common to a beam and a facet it meets from inside.
struct CutPiece {
  const TFacet* Facet = nullptr;
  double Cos = 0.0;  // cosine between the facet's outward normal and the beam's travel
  std::vector<FlatPoint*> Points;  // corners, all owned by the render's point store
};

// How a cut finishes its pieces.
struct CutRules {
  // Corners of a piece nearer than this in both coordinates count as one.
  double SamePoint = trace::kSamePointDistance;
  // A piece that is the whole beam keeps the beam's corners and their order,
  // unsorted. Pictures keep the sorted order, from which every later cut of
  // theirs starts.
  bool KeepWholeBeams = false;
};

// Cuts a beam by the facets of the stone that it meets from inside. Owns the
// scratch of a cut, which grows as needed, so polygons, crossings and edge
// masks have no fixed limit; shares the stone's tables.
class BeamCutter {
 public:
  BeamCutter();
  ~BeamCutter();
  BeamCutter(BeamCutter&&) noexcept;
  BeamCutter& operator=(BeamCutter&&) noexcept;

  // Readies the cutter for a stone, once per render: keeps the stone's tables
  // it holds when they describe the stone, else builds them.
  void Prepare(const Stone& stone);
  // Holds `tables` (of another cutter, or made by RayTracer::TablesOf) as the
  // stone's tables; a stone they do not describe still gets its own.
  void ShareTables(std::shared_ptr<const StoneTables> tables);

  // Cuts the beam whose corners are expressed in frame `f` and whose octagon
  // (trace::Octagon) is `bounds`. Afterwards Pieces() holds the sub-beam
  // polygons in facet-list order. Facet corners that became corners of a piece
  // and every crossing point made are added to `store`.
  void Cut(const Stone& stone, const Frame& f, std::span<FlatPoint* const> beam,
           const trace::OctagonBounds& bounds, PointStore& store, const CutRules& rules = {});

  std::span<const CutPiece> Pieces() const;
  // About what the last cut cost, in units of one test of eight facets
  // against the beam: for budgets of work that hold on any stone.
  double Work() const;

 private:
  // The tables and the steps of a cut, laid out for its fast paths.
  struct Tables;
  std::unique_ptr<Tables> tables_;
};

}  // namespace brillora
