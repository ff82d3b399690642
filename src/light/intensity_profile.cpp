#include "light/intensity_profile.h"

#include <cmath>

#include "model/units.h"

namespace brillora {

std::vector<ScreenPoint> IntensityLawCurve(int law, bool headDown, int headAngle) {
  std::vector<ScreenPoint> curve;
  curve.push_back({0, law == 0 ? 0 : kProfileHeight});
  const int h5 = headAngle / 5;
  const int middle = kProfileWidth / 2;
  for (int i = 1; i <= kProfileWidth; ++i) {
    double w = 1;
    if (headDown && middle - h5 < i && i < middle + h5) w = 0;
    if (law != 0) {
      const double c = std::cos(Radians(5.0 * i - 90));
      w *= c;
      if (law >= 2) w *= c;
      if (law == 3) w *= c * c;
    }
    curve.push_back({i, static_cast<int>(std::nearbyint((1 - w) * kProfileHeight))});
  }
  return curve;
}

}  // namespace brillora
