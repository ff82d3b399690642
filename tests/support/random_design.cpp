#include "support/random_design.h"

#include <algorithm>
#include <cmath>

#include "model/default_design.h"
#include "model/design_limits.h"
#include "model/girdle.h"
#include "model/gear.h"

namespace brillora::testing {

namespace {

constexpr int kMaxTiers = 8;

int Uniform(std::mt19937& random, int low, int high) {
  return std::uniform_int_distribution<int>(low, high)(random);
}

double Uniform(std::mt19937& random, double low, double high) {
  return std::uniform_real_distribution<double>(low, high)(random);
}

MasStep RandomSide(std::mt19937& random, bool crown, int h, bool splits) {
  const int tiers = Uniform(random, 1, kMaxTiers);
  MasStep steps(tiers + 2);
  steps[0].Posit = crown ? 0.5 : 1.0;
  steps[0].Facets.resize(1);
  for (int k = 1; k <= tiers; ++k) {
    TStep& s = steps[k];
    // Splits and shifts stay within half of what the gear allows: beyond that
    // a tier's facets reach past the neighbouring sectors that the construction
    // looks at, and the stone is no longer what the planes describe.
    const int moderate = std::max(1, h / 2);
    if (splits && h > 1 && Uniform(random, 0, 3) == 0) s.Split = Uniform(random, 1, moderate);
    const bool unsplit = s.Split == 0 && steps[k - 1].Split == 0;
    if (unsplit && Uniform(random, 0, 2) == 0) {
      s.Shift = Uniform(random, 0, 1) == 0 ? Uniform(random, 1, moderate) : -Uniform(random, 1, moderate);
    } else if (!unsplit && k == 1) {
      s.Shift = Uniform(random, 0, 1) * h;
    }
    // The main tier's slope is the Max Slope a cutter types; a later tier is
    // made to meet the one before where it is turned against it.
    s.Auto = k > (crown ? 2 : 1) && s.Shift != 0 && Uniform(random, 0, 1) == 0;
    // Slopes fall from tier to tier inward, as on any convex stone.
    if (crown && k == 1) {
      s.Angle = Uniform(random, 80.0, 89.5);
      s.Posit = GirdlePosit(Uniform(random, 0.01, 0.1), s.Angle);
    } else if (k == (crown ? 2 : 1)) {
      s.Angle = Uniform(random, 25.0, 50.0);
      s.Posit = Uniform(random, 0.4, 0.9);
    } else {
      s.Angle = steps[k - 1].Angle - (steps[k - 1].Angle - 4.0) * Uniform(random, 0.15, 0.35);
      s.Posit = Uniform(random, 0.4, 0.9);
    }
  }
  steps[tiers + 1] = steps[1];
  return steps;
}

// A number of any size now and then, else one near a stone's.
double AnyPosition(std::mt19937& random) {
  switch (Uniform(random, 0, 9)) {
    case 0: return Uniform(random, -1.0, 1.0) * std::pow(10.0, Uniform(random, 2, 300));
    case 1: return 0.0;
    default: return Uniform(random, -3.0, 3.0);
  }
}

MasStep AcceptedSide(std::mt19937& random, bool crown) {
  const int tiers = Uniform(random, 1, 8);
  MasStep steps(tiers + 2);
  steps[0].Posit = crown ? 0.5 : 1.0;
  steps[0].Facets.resize(1);
  for (int k = 1; k <= tiers; ++k) {
    TStep& s = steps[k];
    switch (Uniform(random, 0, 9)) {
      case 0: s.Angle = kMinSlopeDegrees; break;
      case 1: s.Angle = kMaxSlopeDegrees; break;
      default: s.Angle = Uniform(random, kMinSlopeDegrees, kMaxSlopeDegrees);
    }
    s.Split = Uniform(random, 0, 2) == 0 ? 0 : Uniform(random, -kMaxTurnNotches, kMaxTurnNotches);
    s.Shift = Uniform(random, 0, 2) == 0 ? 0 : Uniform(random, -kMaxTurnNotches, kMaxTurnNotches);
    if (SplitTierTurns(steps, k)) s.Shift = 0;
    s.Auto = Uniform(random, 0, 1) == 1;
    // The girdle tier's position comes from a thickness, as the file gives it.
    s.Posit = crown && k == 1 ? GirdlePosit(AnyPosition(random) / 10.0, s.Angle) : AnyPosition(random);
    if (!std::isfinite(s.Posit)) s.Posit = 0.5;
  }
  return steps;
}

}  // namespace

Design RandomAcceptedDesign(std::mt19937& random) {
  Design design;
  design.SymOrder = std::stoi(std::string(kSymmetryItems[Uniform(random, 0, int(kSymmetryItems.size()) - 1)]));
  design.GearNotches = GearNotchesFor(design.SymOrder);
  design.CrownSteps = AcceptedSide(random, true);
  design.PavilionSteps = AcceptedSide(random, false);
  return design;
}

Design RandomDesign(std::mt19937& random, const RandomDesignLimits& limits) {
  Design design;
  const auto& items = kSymmetryItems;
  do {
    design.SymOrder = std::stoi(std::string(items[Uniform(random, 0, int(items.size()) - 1)]));
  } while (design.SymOrder < limits.minSymOrder);
  design.GearNotches = GearNotchesFor(design.SymOrder);
  const int h = HalfSectorNotches(design.SymOrder, design.GearNotches);
  design.CrownSteps = RandomSide(random, true, h, limits.splits);
  design.PavilionSteps = RandomSide(random, false, h, limits.splits);
  // The editor carries the girdle tier's rotation to the other side.
  const TStep& girdle = design.CrownSteps[1];
  TStep& pavilionFirst = design.PavilionSteps[1];
  if (girdle.Split == 0) {
    pavilionFirst.Shift = girdle.Shift;
    pavilionFirst.Split = 0;
  } else if (girdle.Shift == 0) {
    pavilionFirst.Split = girdle.Split;
  } else {
    pavilionFirst.Split = girdle.Shift - girdle.Split;
  }
  // A split first tier offers only the shifts 0 and h.
  if (pavilionFirst.Split != 0 && pavilionFirst.Shift != 0) pavilionFirst.Shift = h;
  design.PavilionSteps.back() = pavilionFirst;
  return design;
}

bool WellConditioned(const Design& design) {
  for (const MasStep* side : {&design.CrownSteps, &design.PavilionSteps}) {
    for (std::size_t k = 2; k + 1 < side->size(); ++k) {
      if ((*side)[k - 1].Angle - (*side)[k].Angle < 2.0) return false;
      if ((*side)[k].Angle < 6.0) return false;
    }
  }
  return true;
}

}  // namespace brillora::testing
