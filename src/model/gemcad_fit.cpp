#include "model/gemcad_fit.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "model/design_limits.h"
#include "model/facet_construction.h"
#include "model/gear.h"

namespace brillora {

namespace {

constexpr double kWhole = 1e-6;  // how near a whole notch an azimuth must lie
constexpr double kSteepest = 90.0;

struct Ring {
  int notches = 0;  // the tier's azimuth in notches of the model's gear
  int split = 0;
};

struct SideTiers {
  std::vector<const GemCadTier*> tiers;
  const GemCadTier* end = nullptr;  // the table or the culet
};

bool NearWhole(double v) { return std::abs(v - std::round(v)) < kWhole; }

double Wrapped(double v, double period) {
  double r = std::fmod(v, period);
  if (r < 0) r += period;
  if (period - r < kWhole) r = 0;
  return r;
}

// The whole notch n with n = base (mod sector), if there is one.
std::optional<int> WholeNotch(double base, double sector, int symOrder) {
  for (int j = 0; j < symOrder; ++j) {
    if (NearWhole(base + j * sector)) return static_cast<int>(std::lround(base + j * sector));
  }
  return std::nullopt;
}

// The tier's facets as one ring of a step: N facets a sector apart, or N pairs
// at -split and +split about azimuths a sector apart.
std::optional<Ring> RingOf(const GemCadTier& tier, int fileTeeth, int symOrder, int gear) {
  const double sector = static_cast<double>(gear) / symOrder;
  std::vector<double> bases;
  std::vector<int> sectors;
  for (const GemCadFacet& f : tier.facets) {
    // GemCad turns from +y toward +x, the model from +x toward +y.
    const double notches = Wrapped((0.25 - f.index / fileTeeth) * gear, gear);
    bases.push_back(Wrapped(notches, sector));
    sectors.push_back(static_cast<int>(std::floor((notches + kWhole) / sector)) % symOrder);
  }
  std::vector<double> distinct;
  for (double b : bases) {
    if (std::none_of(distinct.begin(), distinct.end(), [&](double d) {
          return std::abs(d - b) < kWhole || std::abs(std::abs(d - b) - sector) < kWhole;
        })) {
      distinct.push_back(b);
    }
  }
  std::sort(distinct.begin(), distinct.end());
  const std::size_t n = static_cast<std::size_t>(symOrder);
  if (distinct.size() == 1 && tier.facets.size() == n) {
    std::vector<int> seen = sectors;
    std::sort(seen.begin(), seen.end());
    if (std::unique(seen.begin(), seen.end()) != seen.end()) return std::nullopt;
    const auto whole = WholeNotch(distinct[0], sector, symOrder);
    if (!whole) return std::nullopt;
    return Ring{*whole, 0};
  }
  if (distinct.size() == 2 && tier.facets.size() == 2 * n) {
    const int h = HalfSectorNotches(symOrder, gear);
    const double gap = distinct[1] - distinct[0];
    for (const auto& [centre, half] : {std::pair{distinct[0] + gap / 2, gap / 2},
                                       std::pair{distinct[1] + (sector - gap) / 2, (sector - gap) / 2}}) {
      if (!NearWhole(half) || std::lround(half) < 1 || std::lround(half) >= h) continue;
      const auto whole = WholeNotch(Wrapped(centre, sector), sector, symOrder);
      if (whole) return Ring{*whole, static_cast<int>(std::lround(half))};
    }
  }
  return std::nullopt;
}

// The plane offset of tier k's first facet as the construction gives it.
double TierOffset(MasStep steps, int sign, int symOrder, int gear, int k) {
  BuildStepPlanes(sign, symOrder, gear, steps);
  return k == 0 ? steps[0].Facets[0].D : steps[static_cast<std::size_t>(k)].Facets[0].D;
}

// Positions that make each tier's planes (and the table's or culet's) lie at
// the wanted offsets: an offset depends linearly on the position before it.
bool SolvePositions(MasStep& steps, int sign, int symOrder, int gear, const std::vector<double>& wanted,
                    std::optional<double> end) {
  const int h = static_cast<int>(steps.size()) - 1;
  for (int k = 2; k <= h; ++k) {
    const bool last = k == h;
    if (last && !end) {
      steps[static_cast<std::size_t>(k - 1)].Posit = 0.0;  // the tiers close in a point
      break;
    }
    const double target = last ? *end : wanted[static_cast<std::size_t>(k)];
    TStep& before = steps[static_cast<std::size_t>(k - 1)];
    before.Posit = 0.25;
    const double a = TierOffset(steps, sign, symOrder, gear, last ? 0 : k);
    before.Posit = 0.75;
    const double b = TierOffset(steps, sign, symOrder, gear, last ? 0 : k);
    if (!(std::abs(b - a) > 1e-15)) return false;
    before.Posit = 0.25 + 0.5 * (target - a) / (b - a);
    if (!std::isfinite(before.Posit) || before.Posit <= 0) return false;
  }
  return true;
}

double Worst(const Stone& a, const Stone& b) {
  double worst = 0.0;
  for (const TVertex& v : a.AllVertices) {
    double best = INFINITY;
    for (const TVertex& w : b.AllVertices) {
      best = std::min(best, std::max({std::abs(v.x - w.x), std::abs(v.y - w.y), std::abs(v.z - w.z)}));
    }
    worst = std::max(worst, best);
  }
  return worst;
}

}  // namespace

GemCadFit FitTierModel(const GemCadDesign& g) {
  GemCadFit fit;
  const auto misfit = [&](std::string why) {
    fit.misfit = std::move(why);
    return fit;
  };
  if (!IsSymmetryOrder(g.symmetry)) {
    return misfit("the symmetry order " + std::to_string(g.symmetry) + " is not one the symmetry list offers");
  }
  const int n = g.symmetry;
  const int gear = GearNotchesFor(n);
  const Stone exact = GemCadStone(g);
  if (exact.AllFacets.empty()) return misfit("the facets enclose no stone");

  SideTiers crown, pavilion;
  for (const GemCadTier& tier : g.tiers) {
    const bool below = std::signbit(tier.angle);
    SideTiers& side = below ? pavilion : crown;
    if (std::abs(tier.angle) < 1e-9) {
      if (side.end) return misfit(below ? "there is more than one culet" : "there is more than one table");
      if (tier.facets.size() != 1) return misfit("a horizontal tier has more than one facet");
      side.end = &tier;
    } else if (std::abs(tier.angle) > kSteepest) {
      // The facet slope controls go no steeper; a steeper tier would change on its tab.
      return misfit("the tier at slope " + std::to_string(tier.angle) + " is steeper than the slope controls' 89 degrees");
    } else {
      side.tiers.push_back(&tier);
    }
  }
  if (crown.tiers.empty() || pavilion.tiers.empty()) return misfit("a side has no tier");
  if (crown.tiers.size() > kMaxSteps || pavilion.tiers.size() > kMaxSteps) {
    return misfit("a side has more tiers than a design's " + std::to_string(kMaxSteps) + " steps");
  }

  Design design;
  design.SymOrder = n;
  design.GearNotches = gear;
  const auto build = [&](const SideTiers& side, bool isCrown, MasStep& steps) -> std::string {
    steps.assign(side.tiers.size() + 2, TStep{});
    steps[0].Posit = isCrown ? 0.5 : 1.0;
    int previous = 0;
    for (std::size_t k = 0; k < side.tiers.size(); ++k) {
      const auto ring = RingOf(*side.tiers[k], g.gearTeeth, n, gear);
      if (!ring) {
        return "the tier at slope " + std::to_string(side.tiers[k]->angle) +
               " is not one ring of facets under " + std::to_string(n) + "-fold symmetry";
      }
      TStep& step = steps[k + 1];
      step.Angle = std::abs(side.tiers[k]->angle);
      step.Split = ring->split;
      step.Shift = ring->notches - previous;
      step.Posit = 0.5;
      previous = ring->notches;
      if (SplitTierTurns(steps, static_cast<int>(k) + 1)) {
        return "the split tier at slope " + std::to_string(side.tiers[k]->angle) +
               " is turned against the tier before it";
      }
    }
    steps.back() = steps[1];
    return {};
  };
  if (std::string why = build(crown, true, design.CrownSteps); !why.empty()) return misfit(why);
  if (std::string why = build(pavilion, false, design.PavilionSteps); !why.empty()) return misfit(why);

  // The model puts the girdle's lower edge at z = 0 and scales the outline to
  // corners at radius 1: both first tiers start there. The file's frame is
  // found from the offsets of those two tiers.
  const double crownFirst = TierOffset(design.CrownSteps, +1, n, gear, 1);
  const double pavilionFirst = TierOffset(design.PavilionSteps, -1, n, gear, 1);
  const TFacet c1 = GemCadPlane(*crown.tiers[0], crown.tiers[0]->facets[0].index, g.gearTeeth);
  const TFacet p1 = GemCadPlane(*pavilion.tiers[0], pavilion.tiers[0]->facets[0].index, g.gearTeeth);
  const double z0 = (c1.D * pavilionFirst - p1.D * crownFirst) / (c1.Nz * pavilionFirst - p1.Nz * crownFirst);
  const double scale = pavilionFirst / (p1.D - p1.Nz * z0);
  if (!std::isfinite(z0) || !(scale > 0) || !std::isfinite(scale)) return misfit("the girdle does not fit the tier model");

  const auto offsets = [&](const SideTiers& side) {
    std::vector<double> wanted(side.tiers.size() + 2, 0.0);
    for (std::size_t k = 0; k < side.tiers.size(); ++k) {
      const TFacet f = GemCadPlane(*side.tiers[k], side.tiers[k]->facets[0].index, g.gearTeeth);
      wanted[k + 1] = scale * (f.D - f.Nz * z0);
    }
    return wanted;
  };
  const auto endOffset = [&](const SideTiers& side) -> std::optional<double> {
    if (!side.end) return std::nullopt;
    const TFacet f = GemCadPlane(*side.end, side.end->facets[0].index, g.gearTeeth);
    return scale * (f.D - f.Nz * z0);
  };
  if (!SolvePositions(design.CrownSteps, +1, n, gear, offsets(crown), endOffset(crown)) ||
      !SolvePositions(design.PavilionSteps, -1, n, gear, offsets(pavilion), endOffset(pavilion))) {
    return misfit("a tier's distance cannot be reached by the position of the tier before it");
  }
  design.CrownSteps.back() = design.CrownSteps[1];
  design.PavilionSteps.back() = design.PavilionSteps[1];

  Design built = design;
  const Stone model = ConstructStone(built);
  Stone moved = exact;
  for (TVertex& v : moved.AllVertices) v = {scale * v.x, scale * v.y, scale * (v.z - z0)};
  const double off = std::max(Worst(model, moved), Worst(moved, model));
  if (model.AllFacets.empty() || !(off <= 1e-6)) {
    return misfit("the tier construction gives another stone (a corner " + std::to_string(off) + " away)");
  }
  fit.design = std::move(design);
  return fit;
}

}  // namespace brillora
