#include "model/facet_construction.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

#include "model/corner_search.h"
#include "model/design_limits.h"
#include "model/half_space_stone.h"
#include "model/plane_rings.h"
#include "model/sector_builder.h"
#include "model/step_list.h"
#include "model/stone_soundness.h"
#include "model/units.h"

namespace brillora {

namespace {

constexpr double kPi = std::numbers::pi;

int SplitFacetsPerSector(const TStep& step) { return step.Split > 0 ? 1 : 0; }

// Planes that meet at a slant of a millionth (tiers set upright, whose
// cotangent is clamped, or tiers a millionth of a degree apart) place their
// corners only to a ten-thousandth or so, and a cut that is consistent for
// one snap may not be for another: the intersection is tried with coarser
// ones until it closes. The first suits any stone whose planes meet at
// ordinary angles; the last still resolves ten times finer than the
// sector-wise construction's same-point distance.
constexpr HalfSpaceTolerances kHalfSpaceTolerances[] = {{1e-10, 1e-8}, {1e-8, 1e-6}, {1e-6, 1e-4}};

}  // namespace

double DerivedSlope(double degrees) {
  double t = 1.0 / std::tan(Radians(degrees));
  if (!(t >= kMinCotangent)) t = kMinCotangent;
  return Degrees(std::atan(1 / t));
}

double PseudoAngle(double a, double b) {
  if (a + b > 0) return b - a > 0 ? a / b - 2 : -b / a;
  return b - a > 0 ? -4 - b / a : a / b + 2;
}

namespace {

// One pass over the tiers. True when it lowered the stored position of a tier
// before an Auto tier: the planes from that tier on were then computed from
// the position it had before.
bool PlanePass(int sign, int symOrder, int gearNotches, MasStep& s) {
  bool lowered = false;
  const int h = static_cast<int>(s.size()) - 1;
  const double nu = 2 * kPi / gearNotches;
  const double beta = kPi / symOrder;

  if (s[0].Facets.size() != 1) s[0].Facets.resize(1);
  TFacet& top = s[0].Facets[0];
  top = TFacet{};
  top.Nz = sign;
  if (h < 1) return false;
  s[h].Facets.assign(1, top);

  int azimuth = s[0].Shift;
  double c = s[1].Split < static_cast<double>(gearNotches) / symOrder / 2.0
                 ? std::cos(beta - nu * s[1].Split)
                 : std::cos(nu * s[1].Split);
  double z = 0.0;
  double a = 0.0;
  for (int k = 1; k <= h - 1; ++k) {
    TStep& step = s[k];
    TStep& previous = s[k - 1];
    if (k == 1 || !step.Auto) a = step.Angle;
    azimuth += step.Shift;
    double t = 1.0 / std::tan(Radians(a));
    // An upright tier (a girdle at 90 degrees) climbs at the least cotangent,
    // as its facets lean: its position is then a height, as the girdle's
    // thickness converts it, and not a fraction of an endless climb.
    if (std::abs(t) < kMinCotangent) t = kMinCotangent;
    double m = 1.0;
    const double dn = std::abs(nu * s[k + 1].Shift);
    double hb;
    if (step.Split == 0 && previous.Split == 0) {
      const double q = std::cos(beta - dn) / std::cos(beta);
      if (step.Auto && k > 1) {
        const double p = std::cos(beta) / std::cos(beta - std::abs(nu * step.Shift));
        if (0.999999 * p < previous.Posit) {
          previous.Posit = 0.999999 * p;
          lowered = true;
        }
        m = (1 / p - previous.Posit) / (0.99999 - previous.Posit / p);
        if (step.Shift == 0) m = 1.001;
      }
      const double r = step.Posit * q;
      t *= m;
      hb = z * t + c;
      z += (1 - r) * c / t;
      c *= step.Posit;
    } else {
      const double u = std::cos(nu * step.Split) / std::cos(nu * previous.Split);
      const double w = std::cos(beta - nu * step.Split) / std::cos(beta - nu * previous.Split);
      const double r0 = k == 1 ? s[1].Posit : previous.Posit;
      double q;
      if (step.Split > previous.Split) {
        m = (w - u * r0) / (0.99999 - r0);
        q = u;
      } else {
        m = (u - w * r0) / (0.99999 - r0);
        q = w;
      }
      if (step.Shift == 0 && step.Split == previous.Split) m = 1.001;
      const double r = step.Posit * q * std::cos(beta - dn) / std::cos(beta);
      if (k > 1 && step.Auto) t *= m;
      hb = z * t + c * q;
      z += (q - r) * c / t;
      c *= step.Posit * q;
    }
    // Positions far beyond a stone's may leave the meeting of an Auto tier
    // undefined (0 / 0, or infinities that cancel): it is then taken upright,
    // as the steepest slope, so that no derived slope is ever undefined.
    if (!(t >= kMinCotangent)) t = kMinCotangent;
    if (step.Auto) {
      a = Degrees(std::atan(1 / t));
      step.Angle = a;
    }

    const int s1 = SplitFacetsPerSector(step);
    step.Facets.assign(static_cast<std::size_t>(symOrder) * (s1 + 1), TFacet{});
    const double length = std::sqrt(1 + t * t);
    for (int i = 0; i < symOrder; ++i) {
      for (int j = 0; j <= s1; ++j) {
        const int notches = j == 0 ? azimuth - step.Split : azimuth + step.Split;
        const double phi =
            2 * kPi * (static_cast<double>(i) / symOrder + static_cast<double>(notches) / gearNotches);
        TFacet& f = step.Facets[(s1 + 1) * i + j];
        f.Nx = std::cos(phi) / length;
        f.Ny = std::sin(phi) / length;
        f.Nz = sign * t / length;
        f.D = hb / length;
      }
    }
  }
  top.D = z;
  return lowered;
}

}  // namespace

// A lowered position is stored, so the planes are computed once more from
// it: the stone is then the one its stored steps give, and a design saved
// and opened again builds the same stone. The second pass lowers nothing
// (the bound depends on the turns alone).
void BuildStepPlanes(int sign, int symOrder, int gearNotches, MasStep& s) {
  if (s.empty()) return;
  if (PlanePass(sign, symOrder, gearNotches, s)) PlanePass(sign, symOrder, gearNotches, s);
}

Stone BuildStone(int symOrder, const MasStep& crown, const MasStep& pavilion) {
  if (crown.size() < 2 || pavilion.size() < 2) return {};
  const StepList steps(symOrder, crown, pavilion);
  if (!steps.AllPlanesUsable()) return {};
  const std::vector<PlaneRing> rings = RingsOf(steps);
  SectorBuilder builder(steps);
  if (const auto triples = FindCornerTriples(builder)) {
    for (const CornerTriple& t : *triples) builder.AddCorner(t.a, t.b, t.c);
    Stone stone = builder.Finish();
    if (IsSoundStone(stone, rings, steps, stone.AllVertices.size() / symOrder)) return stone;
  }
  // The sector-wise way cannot build every design: turned or split tiers may
  // reach past the sectors it examines, tiers thinner than its same-point
  // distance lose corners, and a corner on the axis is made once per sector.
  for (const HalfSpaceTolerances& tolerances : kHalfSpaceTolerances) {
    // Planes within the snap of each other would make faces a snap apart:
    // they are taken as one.
    const StepList distinct(symOrder, crown, pavilion, std::max(tolerances.snap, StepList::kSamePlane));
    HalfSpaceStone exact = IntersectHalfSpaces(distinct, RingsOf(distinct), tolerances);
    if (IsSoundStone(exact.stone, rings, steps, exact.baseVertices)) return std::move(exact.stone);
    // No face at all: the planes leave nothing that a coarser snap would find.
    if (exact.stone.AllFacets.empty()) break;
  }
  // The planes leave no solid, or an open one (two sectors of unsplit tiers
  // bound the stone on two sides only).
  return {};
}

Stone ConstructStone(Design& design) {
  BuildStepPlanes(+1, design.SymOrder, design.GearNotches, design.CrownSteps);
  BuildStepPlanes(-1, design.SymOrder, design.GearNotches, design.PavilionSteps);
  return BuildStone(design.SymOrder, design.CrownSteps, design.PavilionSteps);
}

}  // namespace brillora
