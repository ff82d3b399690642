#include "cli/design_json.h"

#include <ostream>

#include "params/weight.h"

namespace brillora::cli {

void PrintJson(std::ostream& out, const Json& json) {
  out << json.dump(2, ' ', false, Json::error_handler_t::replace) << '\n';
}

Json TiersJson(const MasStep& steps) {
  Json tiers = Json::array();
  for (std::size_t k = 1; k + 1 < steps.size(); ++k) {
    const TStep& s = steps[k];
    tiers.push_back({{"angle", s.Angle},
                     {"split", s.Split},
                     {"shift", s.Shift},
                     {"posit", s.Posit},
                     {"auto", s.Auto}});
  }
  return tiers;
}

Json DesignJson(const Design& design, const Stone& stone) {
  return {
      {"symmetry", design.SymOrder},
      {"gear", design.GearNotches},
      {"crown", TiersJson(design.CrownSteps)},
      {"pavilion", TiersJson(design.PavilionSteps)},
      {"vertices", stone.AllVertices.size()},
      {"facets", stone.AllFacets.size()},
      {"table_D", stone.AllFacets.empty() ? 0.0 : stone.AllFacets.back().D},
      {"culet_D", stone.AllFacets.empty() ? 0.0 : stone.AllFacets.front().D},
      {"volume", SixfoldVolume(stone) / 6.0},
  };
}

Json FacetListJson(const Stone& stone) {
  Json list = Json::array();
  for (const TFacet& f : stone.AllFacets) {
    Json points = Json::array();
    for (int index : f.Points) {
      const TVertex& v = stone.AllVertices[index];
      points.push_back({v.x, v.y, v.z});
    }
    list.push_back(
        {{"step", f.Step}, {"normal", {f.Nx, f.Ny, f.Nz}}, {"D", f.D}, {"points", points}});
  }
  return list;
}

}  // namespace brillora::cli
