#pragma once

#include <array>
#include <map>
#include <utility>
#include <vector>

#include "model/design.h"

namespace brillora {

// The steps of the whole stone in construction order: the culet, the pavilion
// tiers from the culet outward, the crown tiers from the girdle inward, the
// table; the placeholders are left out. A facet's Step is its step's position
// here.
//
// A tier's facets form one ring (Split 0) or two (the -Split and the +Split
// facets of every sector). A ring whose planes repeat those of an earlier ring
// (a tier written twice, or the two halves of a split that the gear makes
// coincide) takes no part in the stone: the planes are the same, and
// intersecting a plane with its own copy gives no corner, only rounding.
class StepList {
 public:
  // Two planes closer than this in every normal component and in offset are
  // one plane. Planes computed along different paths for the same tier differ
  // by rounding, about 1e-15; a cutter's smallest change, a hundredth of a
  // degree or of a position, moves a plane by 1e-4 or so. This lies far from
  // both.
  static constexpr double kSamePlane = 1e-9;

  // `samePlane` may be coarser where planes that close are better taken as one.
  StepList(int symOrder, const MasStep& crown, const MasStep& pavilion, double samePlane = kSamePlane);

  int SymOrder() const { return symOrder_; }
  int Count() const { return static_cast<int>(steps_.size()); }
  bool IsTier(int m) const { return m > 0 && m + 1 < Count(); }
  const std::vector<TFacet>& Facets(int m) const { return steps_[m]->Facets; }
  int FacetCount(int m) const { return static_cast<int>(Facets(m).size()); }
  // 1 when the step has two facets per sector, else 0.
  int S1(int m) const { return steps_[m]->Split > 0 ? 1 : 0; }
  // The ring (0 or 1) a facet of step m belongs to.
  int RingOf(int m, int facet) const { return IsTier(m) ? facet % (S1(m) + 1) : 0; }
  bool RingTakesPart(int m, int ring) const { return takesPart_[m][ring]; }
  bool TakesPart(int m, int facet) const { return RingTakesPart(m, RingOf(m, facet)); }
  // The construction looks for the stone within a thousand units of the
  // origin (the girdle's corners lie at radius 1). A plane farther out than
  // this holds all of that region on its inner side or none of it: in the
  // first case its ring takes no part (the stone is the same without it), in
  // the second nothing is left. Numbers that large would only overflow on
  // the way to the same answer.
  static constexpr double kFarthestPlane = 1e4;

  // True when every plane is a finite number and none leaves nothing inside
  // the region the construction examines; otherwise the stone is empty.
  bool AllPlanesUsable() const;

 private:
  // The rings that take part, by the normal's z part of their first facet:
  // a ring can repeat only one whose slope is the same.
  using RingsBySlope = std::multimap<double, std::pair<int, int>>;
  bool RepeatsEarlierRing(int m, int ring, const RingsBySlope& earlier) const;

  int symOrder_;
  double samePlane_;
  std::vector<const TStep*> steps_;
  std::vector<std::array<bool, 2>> takesPart_;
};

}  // namespace brillora
