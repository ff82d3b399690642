#pragma once

#include <optional>
#include <string>

#include "model/design.h"
#include "model/gemcad_design.h"

namespace brillora {

// A GemCad design as a design of tiers the editor can work on, when it is one:
// every tier is one ring of a step under the file's symmetry with some split
// and shift, and the tier construction gives the stone of the file's facets
// (scaled so that the girdle's corners lie at radius 1 and moved so that the
// girdle's lower edge lies at z = 0) to within 1e-6. Otherwise `misfit` says
// what does not fit.
struct GemCadFit {
  std::optional<Design> design;
  std::string misfit;
};

GemCadFit FitTierModel(const GemCadDesign& gemcad);

}  // namespace brillora
