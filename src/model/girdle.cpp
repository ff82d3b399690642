#include "model/girdle.h"

#include <algorithm>
#include <cmath>

#include "model/design_limits.h"

#include "model/units.h"

namespace brillora {

namespace {

// The construction makes no tier steeper than its least cotangent. The
// thickness converts at that same slope, so that an upright girdle keeps the
// thickness it was given (at a tangent of 1e16 it would vanish in rounding).
double Cotangent(double angleDegrees) {
  return std::max(1.0 / std::tan(Radians(angleDegrees)), kMinCotangent);
}

}  // namespace

double GirdlePosit(double thickness, double angleDegrees) {
  return 1.0 - thickness * Cotangent(angleDegrees);
}

double GirdleThickness(double posit, double angleDegrees) {
  return (1.0 - posit) / Cotangent(angleDegrees);
}

}  // namespace brillora
