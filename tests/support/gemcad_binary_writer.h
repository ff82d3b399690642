#pragma once

#include <cstddef>
#include <string>

#include "model/gemcad_design.h"

namespace brillora::testing {

// A design in GemCad's binary form, as the reader's layout describes it.
struct GemCadBinary {
  std::string bytes;
  std::size_t trailer = 0;  // where the facet list ends
};

// Every facet's plane as the vector p with p.x = 1, its tier numbered from 1
// in the design's order, its name (and its tier's instruction on the tier's
// first facet) and its corners on the stone the planes build; a facet that
// reaches no corner gets its plane's point nearest the centre. The first
// corner of the first facet is moved `cornerOffPlane` along its normal.
// Every tier's distance must be positive: p.x = 1 has the centre inside.
GemCadBinary GemCadBinaryOf(const GemCadDesign& design, double cornerOffPlane = 0.0);

}  // namespace brillora::testing
