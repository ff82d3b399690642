#pragma once

#include <numbers>

namespace brillora {

// Slopes, angles of view and zone angles are typed and shown in degrees;
// the geometry computes in radians.
inline constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;
inline constexpr double kDegreesPerRadian = 180.0 / std::numbers::pi;

inline double Radians(double degrees) { return degrees * kRadiansPerDegree; }
inline double Degrees(double radians) { return radians * kDegreesPerRadian; }

}  // namespace brillora
