#pragma once

#include <string>
#include <vector>

#include "model/gemcad_design.h"

namespace brillora {

// One line of a GemCad design's cutting table, as a cutter at the machine
// reads it: the tier's name, its slope on the protractor and the gear
// positions to cut it at.
struct GemCadCuttingRow {
  bool crown = true;
  std::string name;
  double slope = 0.0;     // degrees from the girdle plane, never negative
  std::string indexes;    // "03-09-15-21", in the file's order
};

// Every tier of the design in the file's order. A tier is named by the first
// name its facets carry, else "C1", "C2" .. on the crown and "P1", "P2" .. on
// the pavilion. Whole gear positions are written with as many digits as the
// gear's largest, fractional ones with their decimals.
std::vector<GemCadCuttingRow> GemCadCuttingRows(const GemCadDesign& design);

}  // namespace brillora
