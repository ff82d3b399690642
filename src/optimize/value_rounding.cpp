#include "optimize/value_rounding.h"

#include <cassert>
#include <cmath>

namespace brillora {

namespace {

// Whole steps over their count per unit: the quotient of two integers is the
// double nearest to the decimal, as a file's reader would make it.
double RoundedTo(double value, double perUnit, const ValueRange& range) {
  double steps = std::round(value * perUnit);
  if (steps / perUnit < range.low) steps = std::ceil(range.low * perUnit);
  if (steps / perUnit > range.high) steps = std::floor(range.high * perUnit);
  return steps / perUnit;
}

}  // namespace

Design RoundedValues(const Design& design, const std::vector<DesignVariable>& variables,
                     const std::vector<ValueRange>& ranges) {
  assert(ranges.size() == variables.size());
  Design rounded = design;
  // Slopes first: the girdle's thickness goes with the slope it ends with.
  for (const VariedQuantity quantity : {VariedQuantity::Slope, VariedQuantity::Position}) {
    for (std::size_t i = 0; i < variables.size(); ++i) {
      const DesignVariable& v = variables[i];
      if (v.quantity != quantity) continue;
      const double perUnit = quantity == VariedQuantity::Slope ? 100.0 : 1000.0;
      SetValue(rounded, v, RoundedTo(ValueOf(rounded, v), perUnit, ranges[i]));
    }
  }
  return rounded;
}

}  // namespace brillora
