#include "optimize/proportions.h"

#include <algorithm>
#include <cmath>

#include "model/number_text.h"

namespace brillora {

namespace {

constexpr double kPercentPerUnit = 50.0;  // the girdle's corners lie 2 units apart
constexpr double kFlat = 1 - 1e-9;

std::string Percent(double value) { return FormatFixed(value, 1, 2) + " %"; }

}  // namespace

Proportions ProportionsOf(const Stone& stone) {
  Proportions p;
  if (stone.AllVertices.empty() || stone.AllFacets.empty()) return p;
  double top = stone.AllVertices.front().z;
  double bottom = top;
  for (const TVertex& v : stone.AllVertices) {
    top = std::max(top, v.z);
    bottom = std::min(bottom, v.z);
  }
  p.crownHeight = top * kPercentPerUnit;
  p.totalDepth = (top - bottom) * kPercentPerUnit;
  // The table is the last facet when the crown has one: flat, facing up.
  const TFacet& last = stone.AllFacets.back();
  if (last.Nz > kFlat) {
    double radius = 0;
    for (int i : last.Points) radius = std::max(radius, std::hypot(stone.AllVertices[i].x, stone.AllVertices[i].y));
    p.table = 2 * radius * kPercentPerUnit;
  }
  return p;
}

std::optional<std::string> BrokenLimit(const ProportionLimits& limits, const Proportions& p) {
  if (limits.maxTotalDepth && p.totalDepth > *limits.maxTotalDepth) {
    return "total depth " + Percent(p.totalDepth) + " above the most allowed, " + Percent(*limits.maxTotalDepth);
  }
  if (limits.minCrownHeight && p.crownHeight < *limits.minCrownHeight) {
    return "crown height " + Percent(p.crownHeight) + " below the least allowed, " + Percent(*limits.minCrownHeight);
  }
  if (limits.maxCrownHeight && p.crownHeight > *limits.maxCrownHeight) {
    return "crown height " + Percent(p.crownHeight) + " above the most allowed, " + Percent(*limits.maxCrownHeight);
  }
  if (limits.minTable && p.table < *limits.minTable) {
    return "table " + Percent(p.table) + " below the least allowed, " + Percent(*limits.minTable);
  }
  return std::nullopt;
}

}  // namespace brillora
