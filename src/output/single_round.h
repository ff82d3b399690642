#pragma once

#include <cmath>

namespace brillora {

// The page rules round through single precision, halves to even.
inline int RoundSingle(double value) { return static_cast<int>(std::nearbyint(static_cast<float>(value))); }

}  // namespace brillora
