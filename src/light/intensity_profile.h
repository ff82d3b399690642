#pragma once

#include <vector>

#include "trace/screen_polygon.h"

namespace brillora {

inline constexpr int kProfileWidth = 36;
inline constexpr int kProfileHeight = 20;

// The red curve of the intensity law drawing (39 x 22 box): the weight of the
// front picture's mask across its middle, 0 at the bottom edge and full at the
// top, with the observer's head cut out of the middle when it is on. Starts at
// (0, 20), or (0, 0) for "Const", then one point per column 1 .. 36.
std::vector<ScreenPoint> IntensityLawCurve(int law, bool headDown, int headAngle);

}  // namespace brillora
