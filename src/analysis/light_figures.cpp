#include "analysis/light_figures.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "analysis/colour_spread.h"
#include "trace/beam_optics.h"

namespace brillora {

namespace {

// A beam whose light inside falls below this share is counted as spent.
constexpr double kLightCutoff = 1e-6;
constexpr double kTableNormal = 1 - 1e-9;
// The ASET map's red reaches 45 degrees from the view axis.
constexpr double kAsetRedCos = std::numbers::sqrt2 / 2;

bool IsTable(const Stone& stone, const TFacet& facet) {
  const TFacet& last = stone.AllFacets.back();
  return facet.Step == last.Step && facet.Nz > kTableNormal;
}

// Running sums of area times light before they are divided by an outline.
struct Sums {
  double iso = 0, cos = 0, sc2 = 0, leakage = 0, head = 0, unresolved = 0, red = 0, fire = 0, spread = 0;
};

// `spread`: of the colours of this light, in degrees.
void AddLight(Sums& sums, double light, double dz, double headCos, double spread) {
  if (!(dz > 0)) {
    sums.leakage += light;
  } else if (dz > headCos) {
    sums.head += light;
  } else {
    sums.iso += light;
    sums.cos += light * dz;
    sums.sc2 += light * 2 * dz * std::sqrt(1 - dz * dz);
    if (dz >= kAsetRedCos) sums.red += light;
    sums.fire += light * std::min(1.0, spread / kPupilDegrees);
    sums.spread += light * spread;
  }
}

}  // namespace

LightFigures LightAnalyzer::Analyze(const Stone& stone, const Frame& view, const AnalysisSettings& settings) {
  return Analyze(stone, view, settings, FindSymmetry(stone));
}

LightFigures LightAnalyzer::Analyze(const Stone& stone, const Frame& view, const AnalysisSettings& settings,
                                    const StoneSymmetry& symmetry) {
  return *Analyze(stone, view, settings, symmetry, {});
}

std::optional<LightFigures> LightAnalyzer::Analyze(const Stone& stone, const Frame& view,
                                                   const AnalysisSettings& settings, const StoneSymmetry& symmetry,
                                                   const AnalysisStop& stop) {
  if (stone.AllFacets.empty()) return LightFigures{};
  TraceOptions options;
  options.RefractiveIndex = settings.RefractiveIndex;
  options.LightCutoff = kLightCutoff;
  // Every figure is a share of an outline, which the part repeated round the
  // view shares in the same measure.
  options.Entry = SymmetricPart(symmetry, view);
  options.WorkBudget = workBudget_;
  options.Stop = stop;
  // The tracer's entry beams are level 0 and the pieces of the Nth meeting
  // level N, made by cutting the beams of level N - 1, finished at once with
  // their reflected light left inside.
  const int depth = std::clamp(settings.Depth, AnalysisSettings::kShallowest, AnalysisSettings::kDeepest);
  const double headCos = std::cos(settings.HeadDegrees * std::numbers::pi / 180);
  ColourSpread colours(view, settings.RefractiveIndex, settings.Dispersion);
  const bool dispersive = settings.Dispersion != 0;
  Sums all, table;
  double covered = 0, unfollowed = 0, tableUnfollowed = 0;
  // Each finished piece is summed as the tracer finishes it, while the chain
  // of pieces it came from is still in the cache.
  options.Finished = [&](const Race& leaf) {
    const double area = leaf.Area;
    covered += area;
    const Race* root = &leaf;
    while (root->Parent != nullptr) root = root->Parent;
    const bool throughTable = IsTable(stone, *root->Facet);
    all.unresolved += area * leaf.InLight;
    // A piece finished before the depth with light enough to go on was left
    // by the budget: its light counts as unresolved, and bounds the error.
    if (leaf.Level < depth && !(leaf.InLight < kLightCutoff)) {
      unfollowed += area * leaf.InLight;
      if (throughTable) tableUnfollowed += area * leaf.InLight;
    }
    const std::span<const double> spread = dispersive ? colours.ChainSpread(leaf) : std::span<const double>{};
    std::size_t i = 0;
    for (const Race* c = &leaf; c != nullptr; c = c->Parent, ++i) {
      if (!(c->OutLight > 0)) continue;
      const double degrees = dispersive ? spread[i] : 0.0;
      AddLight(all, area * c->OutLight, c->Dir.z, headCos, degrees);
      if (throughTable) AddLight(table, area * c->OutLight, c->Dir.z, headCos, degrees);
    }
  };
  tracer_.Trace(stone, view, depth - 1, options);
  if (tracer_.Abandoned()) return std::nullopt;

  double outline = 0, tableOutline = 0;
  for (const Race* beam : tracer_.Level0Beams()) {
    outline += beam->Area;
    if (IsTable(stone, *beam->Facet)) tableOutline += beam->Area;
  }
  if (!(outline > 0)) return LightFigures{};

  LightFigures f;
  f.Iso = all.iso / outline;
  f.Cos = all.cos / outline;
  f.Sc2 = all.sc2 / outline;
  f.Leakage = all.leakage / outline;
  f.HeadShadow = all.head / outline;
  f.Unresolved = all.unresolved / outline;
  f.AsetRed = all.red / outline;
  f.AsetGreen = (all.iso - all.red) / outline;
  f.Fire = all.fire / outline;
  f.Spread = all.iso > 0 ? all.spread / all.iso : 0.0;
  f.Lost = 1 - covered / outline;
  f.CutShort = tracer_.CutShort();
  f.ErrorBound = unfollowed / outline;
  if (tableOutline > 0) {
    f.TableIso = table.iso / tableOutline;
    f.TableCos = table.cos / tableOutline;
    f.TableSc2 = table.sc2 / tableOutline;
    f.ErrorBound = std::max(f.ErrorBound, tableUnfollowed / tableOutline);
  }
  return f;
}

}  // namespace brillora
