#include "model/gemcad_design.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "model/convex_clip.h"
#include "model/units.h"
#include "model/vec3.h"

namespace brillora {

namespace {

constexpr double kPi = std::numbers::pi;

// Index of a facet's azimuth on the gear, in [0, teeth); horizontal facets
// sit at 0. Indices a rounding away from a whole tooth are that tooth.
double IndexOf(const TFacet& f, int teeth) {
  if (std::hypot(f.Nx, f.Ny) < 1e-12) return 0.0;
  // GemCad turns from +y toward +x; the model turns from +x toward +y.
  double index = (90.0 - Degrees(std::atan2(f.Ny, f.Nx))) * teeth / 360.0;
  index = std::fmod(index, static_cast<double>(teeth));
  if (index < 0) index += teeth;
  const double whole = std::round(index);
  if (std::abs(index - whole) < 1e-9) index = whole == teeth ? 0.0 : whole;
  return index;
}

double SlopeOf(const TFacet& f) {
  const double slope = Degrees(std::atan2(std::hypot(f.Nx, f.Ny), std::abs(f.Nz)));
  return f.Nz < 0 ? -slope : slope;
}

// Whether the facets are their own mirror image across some vertical plane
// through the axis. Such planes lie at whole or half notches of the gear.
bool IsMirrorSymmetric(const std::vector<TFacet>& facets, int symOrder, int gearNotches) {
  const auto same = [](const TFacet& a, double nx, double ny, const TFacet& b) {
    return std::abs(nx - b.Nx) < 1e-9 && std::abs(ny - b.Ny) < 1e-9 && std::abs(a.Nz - b.Nz) < 1e-9 &&
           std::abs(a.D - b.D) < 1e-9;
  };
  for (int k = 0; k <= 2 * gearNotches / symOrder; ++k) {
    const double theta = kPi * k / gearNotches;
    const double c = std::cos(2 * theta);
    const double s = std::sin(2 * theta);
    bool mirrored = true;
    for (const TFacet& f : facets) {
      // Reflection across the plane at azimuth theta.
      const double nx = c * f.Nx + s * f.Ny;
      const double ny = s * f.Nx - c * f.Ny;
      bool found = false;
      for (const TFacet& g : facets) found = found || same(f, nx, ny, g);
      if (!found) {
        mirrored = false;
        break;
      }
    }
    if (mirrored) return true;
  }
  return false;
}

}  // namespace

TFacet GemCadPlane(const GemCadTier& tier, double index, int gearTeeth) {
  const double psi = 2 * kPi * index / gearTeeth;
  const double slope = Radians(std::abs(tier.angle));
  const double nz = std::signbit(tier.angle) ? -std::cos(slope) : std::cos(slope);
  TFacet f;
  f.Nx = std::sin(slope) * std::sin(psi);
  f.Ny = std::sin(slope) * std::cos(psi);
  f.Nz = nz;
  f.D = tier.distance;
  return f;
}

Stone GemCadStone(const GemCadDesign& design) {
  std::vector<TFacet> planes;
  for (std::size_t t = 0; t < design.tiers.size(); ++t) {
    for (const GemCadFacet& facet : design.tiers[t].facets) {
      TFacet plane = GemCadPlane(design.tiers[t], facet.index, design.gearTeeth);
      plane.Step = static_cast<int>(t);
      planes.push_back(plane);
    }
  }
  ClippedStone clipped = ClipConvex(planes);
  if (!clipped.bounded) return {};
  return std::move(clipped.stone);
}

GemCadDesign GemCadOf(const Design& design, double refractiveIndex, const std::string& name) {
  GemCadDesign out;
  out.gearTeeth = design.GearNotches;
  out.symmetry = design.SymOrder;
  out.refractiveIndex = refractiveIndex;
  out.headings = {name};

  const int p = static_cast<int>(design.PavilionSteps.size());
  const int c = static_cast<int>(design.CrownSteps.size());
  std::vector<TFacet> all;
  // Steps are numbered in construction order: culet 0, the pavilion tiers from
  // the culet outward, the crown tiers from the girdle inward, the table.
  const auto add = [&](const TStep& step, int number, bool pavilion) {
    if (step.Facets.empty()) return;
    GemCadTier tier;
    tier.angle = SlopeOf(step.Facets.front());
    if (pavilion && tier.angle == 0.0) tier.angle = -0.0;
    tier.distance = step.Facets.front().D;
    for (const TFacet& f : step.Facets) {
      tier.facets.push_back({IndexOf(f, design.GearNotches), std::to_string(number)});
      all.push_back(f);
    }
    out.tiers.push_back(std::move(tier));
  };
  for (int e = 1; e <= p - 2; ++e) add(design.PavilionSteps[e], p - 1 - e, true);
  if (p >= 2) add(design.PavilionSteps[0], 0, true);
  for (int e = 1; e <= c - 2; ++e) add(design.CrownSteps[e], p - 2 + e, false);
  if (c >= 2) add(design.CrownSteps[0], p + c - 3, false);
  out.mirror = IsMirrorSymmetric(all, design.SymOrder, design.GearNotches);
  return out;
}

double WidestRadius(const Stone& stone) {
  double widest = 0.0;
  for (const TVertex& v : stone.AllVertices) widest = std::max(widest, std::hypot(v.x, v.y));
  return widest;
}

Stone GemCadUnitStone(const GemCadDesign& design) {
  const double widest = WidestRadius(GemCadStone(design));
  if (!(widest > 0.0) || !std::isfinite(widest)) return {};
  GemCadDesign unit = design;
  for (GemCadTier& tier : unit.tiers) tier.distance /= widest;
  return GemCadStone(unit);
}

std::vector<std::string> GemCadTierNames(const GemCadDesign& design) {
  std::vector<std::string> names;
  int crown = 0;
  int pavilion = 0;
  for (const GemCadTier& tier : design.tiers) {
    names.push_back(std::signbit(tier.angle) ? "pavilion_" + std::to_string(++pavilion)
                                             : "crown_" + std::to_string(++crown));
  }
  return names;
}

}  // namespace brillora
