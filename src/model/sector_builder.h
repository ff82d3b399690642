#pragma once

#include <vector>

#include "model/design.h"
#include "model/plane_group.h"
#include "model/step_list.h"

namespace brillora {

// The stone made the design model's way: every triple of examined planes whose
// common point passes the inside test becomes a corner of the first sector
// (made once, or found again within the same-point distance), and the corners
// are then turned round the axis to give every facet its polygon.
//
// Which triples to offer is up to the caller. A triple whose point fails the
// inside test changes nothing, so offering, in enumeration order, any set of
// triples that holds every triple whose point passes builds the same stone as
// offering all of them.
class SectorBuilder {
 public:
  struct FacetRef {
    int step;
    int facet;
  };

  // A point counts as inside a plane up to this distance outside it, so that a
  // corner where planes meet is not lost to the rounding of its intersection.
  static constexpr double kInsideTolerance = 1e-6;

  explicit SectorBuilder(const StepList& steps);

  // The planes whose triples are intersected, in enumeration order: of every
  // step the facets of its first two sectors (the culet and the table have one
  // facet each, so the culet comes only first in a triple and the table only
  // last).
  const std::vector<FacetRef>& Examined() const { return examined_; }
  const TFacet& Plane(FacetRef f) const { return *facets_[f.step][f.facet].plane; }
  // The planes the inside test checks, each once, in step order: of every tier
  // the facets at positions -1 .. s1 + 2 of its facet array (the first
  // sectors and their neighbours), the culet and the table. Rings that take
  // no part are left out of both lists.
  const std::vector<FacetRef>& InsideSet() const { return insideSet_; }

  // Intersects the examined planes a < b < c (indices into Examined()) and, when
  // their point is inside, makes or reuses its corner. Triples must come in
  // lexicographic order.
  void AddCorner(int a, int b, int c);

  // Turns the first sector round the axis and collects the facets.
  Stone Finish();

 private:
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

  int StepCount() const { return steps_.Count(); }
  int FacetCount(int m) const { return static_cast<int>(facets_[m].size()); }
  int S1(int m) const { return steps_.S1(m); }
  bool Inside(const TVertex& p, int nearStep) const;
  int ImageOf(const TVertex& p) const;
  int PointNear(const WorkFacet& f, const TVertex& p) const;
  int Fold(long long index) const;
  const TVertex& RotatedBackOneSector(int baseIndex) const;
  void BuildRing(const WorkFacet& facet, std::vector<int>& points, bool forward) const;
  void OrderPolygon(std::vector<int>& indices, double nz) const;
  void ReplicateSectors();

  const StepList& steps_;
  int n_;
  double sectorCos_;
  double sectorSin_;
  std::vector<FacetRef> examined_;
  // The inside set's planes of one step, insidePlanes_[begin .. end).
  struct InsideGroup {
    int step;
    int begin;
    int end;
    PlaneGroupBound bound;
  };

  std::vector<FacetRef> insideSet_;
  std::vector<const TFacet*> insidePlanes_;      // the planes of insideSet_
  std::vector<InsideGroup> insideGroups_;
  std::vector<int> groupOfStep_;                 // where Inside starts for a triple near a step
  std::vector<std::vector<WorkFacet>> facets_;   // per step, per facet
  std::vector<WorkVertex> pool_;                 // base and image vertices
  std::vector<int> vertexList_;                  // pool indices of the base vertices
  int baseCount_ = 0;
  std::vector<TVertex> vertices_;                // every sector's vertices
  std::vector<std::vector<std::vector<int>>> polygons_;  // per step, per facet
};

}  // namespace brillora
