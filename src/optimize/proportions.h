#pragma once

#include <optional>
#include <string>

#include "model/design.h"

namespace brillora {

// A stone's proportions in per cent of the girdle's corner-to-corner width
// (2 model units). Heights are those the parameters window gives: the crown
// from the girdle's lower edge to the top, the pavilion from there to the
// bottom.
struct Proportions {
  double totalDepth = 0.0;
  double crownHeight = 0.0;
  double table = 0.0;  // the table's corner-to-corner width; 0 without a table
};

Proportions ProportionsOf(const Stone& stone);

// Limits a cutter may set on the proportions, each in per cent.
struct ProportionLimits {
  std::optional<double> maxTotalDepth;
  std::optional<double> minCrownHeight;
  std::optional<double> maxCrownHeight;
  std::optional<double> minTable;

  bool operator==(const ProportionLimits&) const = default;
};

// The first limit the proportions break, said in words; nothing when they
// keep them all.
std::optional<std::string> BrokenLimit(const ProportionLimits& limits, const Proportions& proportions);

}  // namespace brillora
