#include "model/step_list.h"

#include <algorithm>
#include <cmath>

namespace brillora {

namespace {

bool SamePlane(const TFacet& a, const TFacet& b, double tolerance) {
  const double offsetTolerance = tolerance * std::max(1.0, std::abs(a.D));
  return std::abs(a.Nx - b.Nx) <= tolerance && std::abs(a.Ny - b.Ny) <= tolerance &&
         std::abs(a.Nz - b.Nz) <= tolerance && std::abs(a.D - b.D) <= offsetTolerance;
}

}  // namespace

StepList::StepList(int symOrder, const MasStep& crown, const MasStep& pavilion, double samePlane)
    : symOrder_(symOrder), samePlane_(samePlane) {
  steps_.push_back(&pavilion[0]);
  for (int k = static_cast<int>(pavilion.size()) - 2; k >= 1; --k) steps_.push_back(&pavilion[k]);
  for (int k = 1; k + 1 < static_cast<int>(crown.size()); ++k) steps_.push_back(&crown[k]);
  steps_.push_back(&crown[0]);
  takesPart_.assign(steps_.size(), {true, true});
  for (int m = 0; m < Count(); ++m) {
    for (int ring = 0; ring <= (IsTier(m) ? S1(m) : 0) && ring < FacetCount(m); ++ring) {
      if (Facets(m)[ring].D > kFarthestPlane) takesPart_[m][ring] = false;
    }
  }
  RingsBySlope earlier;
  for (int m = 1; m + 1 < Count(); ++m) {
    for (int ring = 0; ring <= S1(m); ++ring) {
      takesPart_[m][ring] = takesPart_[m][ring] && !RepeatsEarlierRing(m, ring, earlier);
      // An undefined plane is never the same as another (and has no place in an order).
      if (takesPart_[m][ring] && ring < FacetCount(m) && std::isfinite(Facets(m)[ring].Nz)) {
        earlier.emplace(Facets(m)[ring].Nz, std::pair{m, ring});
      }
    }
  }
}

// The rings of a tier share slope and offset, so rings compare by their first
// facet: equal slope and offset, and that facet found among the other ring's.
// Only the earlier rings of about the same slope are looked at, so that a
// design of hundreds of tiers is not compared tier by tier.
bool StepList::RepeatsEarlierRing(int m, int ring, const RingsBySlope& earlier) const {
  if (ring >= FacetCount(m)) return false;
  const TFacet& first = Facets(m)[ring];
  // A tier flat enough to be the table or the culet adds nothing to them.
  for (int end : {0, Count() - 1}) {
    if (!Facets(end).empty() && SamePlane(first, Facets(end)[0], samePlane_)) return true;
  }
  if (!std::isfinite(first.Nz)) return false;
  const auto last = earlier.upper_bound(first.Nz + samePlane_);
  for (auto it = earlier.lower_bound(first.Nz - samePlane_); it != last; ++it) {
    const auto [step, r] = it->second;
    const auto& facets = Facets(step);
    if (std::abs(facets[r].D - first.D) > samePlane_ * std::max(1.0, std::abs(first.D))) continue;
    for (std::size_t f = r; f < facets.size(); f += S1(step) + 1) {
      if (SamePlane(first, facets[f], samePlane_)) return true;
    }
  }
  return false;
}

bool StepList::AllPlanesUsable() const {
  for (const TStep* step : steps_) {
    for (const TFacet& f : step->Facets) {
      if (!std::isfinite(f.Nx) || !std::isfinite(f.Ny) || !std::isfinite(f.Nz) || !std::isfinite(f.D)) {
        return false;
      }
      if (f.D < -kFarthestPlane) return false;
    }
  }
  return true;
}

}  // namespace brillora
