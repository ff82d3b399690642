#include "support/long_design.h"

#include <cmath>

#include "model/gear.h"
#include "model/girdle.h"

namespace brillora::testing {

namespace {

// Tiers 2 .. n of one side: slopes from `steep` to `flat`, the outline shrunk
// to `shrink` of the girdle's over them all.
void FillSide(MasStep& steps, int first, double steep, double flat, double shrink, bool splits) {
  const int last = static_cast<int>(steps.size()) - 2;
  const int count = last - first + 1;
  const double posit = std::pow(shrink, 1.0 / std::max(1, count));
  for (int k = first; k <= last; ++k) {
    TStep& s = steps[k];
    const double t = count > 1 ? static_cast<double>(k - first) / (count - 1) : 0.0;
    s.Angle = steep + (flat - steep) * t;
    s.Posit = posit;
    s.Split = splits ? 1 : 0;
  }
}

}  // namespace

Design LongDesign(int tiers, int symOrder, bool splits) {
  Design d;
  d.SymOrder = symOrder;
  d.GearNotches = GearNotchesFor(symOrder);
  d.CrownSteps.assign(tiers + 2, TStep{});
  d.CrownSteps[0].Posit = 0.5;
  d.CrownSteps[0].Facets.resize(1);
  d.CrownSteps[1].Angle = 89.0;
  d.CrownSteps[1].Posit = GirdlePosit(0.03, 89.0);
  FillSide(d.CrownSteps, 2, 45.0, 12.0, 0.55, splits);
  d.CrownSteps.back() = d.CrownSteps[1];

  d.PavilionSteps.assign(tiers + 2, TStep{});
  d.PavilionSteps[0].Posit = 1.0;
  d.PavilionSteps[0].Facets.resize(1);
  FillSide(d.PavilionSteps, 1, 50.0, 25.0, 0.05, splits);
  d.PavilionSteps.back() = d.PavilionSteps[1];
  return d;
}

}  // namespace brillora::testing
