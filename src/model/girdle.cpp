#include "model/girdle.h"

#include <cmath>

#include "model/units.h"

namespace brillora {

double GirdlePosit(double thickness, double angleDegrees) {
  return 1.0 - thickness / std::tan(Radians(angleDegrees));
}

double GirdleThickness(double posit, double angleDegrees) {
  return (1.0 - posit) * std::tan(Radians(angleDegrees));
}

}  // namespace brillora
