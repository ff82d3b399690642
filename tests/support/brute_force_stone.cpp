#include "support/brute_force_stone.h"

#include <bit>
#include <cstdint>
#include <string>

#include "model/facet_construction.h"
#include "model/sector_builder.h"
#include "model/step_list.h"

namespace brillora::testing {

namespace {

bool SameBits(double a, double b) { return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b); }

}  // namespace

Stone BruteForceStone(int symOrder, const MasStep& crown, const MasStep& pavilion) {
  if (crown.size() < 2 || pavilion.size() < 2) return {};
  const StepList steps(symOrder, crown, pavilion);
  SectorBuilder builder(steps);
  const int count = static_cast<int>(builder.Examined().size());
  for (int a = 0; a < count; ++a) {
    for (int b = a + 1; b < count; ++b) {
      for (int c = b + 1; c < count; ++c) builder.AddCorner(a, b, c);
    }
  }
  return builder.Finish();
}

Stone BruteForceConstruct(Design& design) {
  BuildStepPlanes(+1, design.SymOrder, design.GearNotches, design.CrownSteps);
  BuildStepPlanes(-1, design.SymOrder, design.GearNotches, design.PavilionSteps);
  return BruteForceStone(design.SymOrder, design.CrownSteps, design.PavilionSteps);
}

std::string StoneDifference(const Stone& a, const Stone& b) {
  if (a.AllVertices.size() != b.AllVertices.size()) {
    return std::to_string(a.AllVertices.size()) + " vertices against " + std::to_string(b.AllVertices.size());
  }
  for (std::size_t i = 0; i < a.AllVertices.size(); ++i) {
    const TVertex& p = a.AllVertices[i];
    const TVertex& q = b.AllVertices[i];
    if (!SameBits(p.x, q.x) || !SameBits(p.y, q.y) || !SameBits(p.z, q.z)) return "vertex " + std::to_string(i);
  }
  if (a.AllFacets.size() != b.AllFacets.size()) {
    return std::to_string(a.AllFacets.size()) + " facets against " + std::to_string(b.AllFacets.size());
  }
  for (std::size_t i = 0; i < a.AllFacets.size(); ++i) {
    const TFacet& f = a.AllFacets[i];
    const TFacet& g = b.AllFacets[i];
    if (!SameBits(f.Nx, g.Nx) || !SameBits(f.Ny, g.Ny) || !SameBits(f.Nz, g.Nz) || !SameBits(f.D, g.D)) {
      return "plane of facet " + std::to_string(i);
    }
    if (f.Points != g.Points) return "polygon of facet " + std::to_string(i);
    if (f.Step != g.Step) return "Step of facet " + std::to_string(i);
  }
  return {};
}

}  // namespace brillora::testing
