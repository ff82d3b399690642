#pragma once

namespace brillora {

// The values a design may hold, shared by the editor and the design files so
// that every design the editor makes saves to a file that reads back.

// Design files keep slopes to two decimals: a flatter typed slope would be
// written as 0.00, which no stone can have.
inline constexpr double kMinSlopeDegrees = 0.01;
inline constexpr double kMaxSlopeDegrees = 90.0;
// The nearest slope within that range (the flattest for an undefined one).
inline double WithinSlopeRange(double degrees) {
  if (!(degrees >= kMinSlopeDegrees)) return kMinSlopeDegrees;
  return degrees < kMaxSlopeDegrees ? degrees : kMaxSlopeDegrees;
}

// The steepest tier the planes allow: a cotangent clamped here keeps a typed
// 90 degrees (or a derived slope past it) a vertical facet with finite planes.
inline constexpr double kMinCotangent = 1e-6;

// Splits and shifts are turns on the index gear, at most one whole turn of
// the largest gear (a symmetry order changed to one with a smaller gear keeps
// them); anything beyond a whole turn names the same facets as a smaller
// number does.
inline constexpr int kMaxTurnNotches = 96;

// A turn of n notches brought to at most one turn of the gear, keeping its
// sign (and so which facets a split makes): 1 .. gearNotches stays,
// gearNotches + 1 becomes 1.
inline int WithinOneTurn(int notches, int gearNotches) {
  if (notches == 0 || gearNotches <= 0) return notches;
  const int size = notches < 0 ? -notches : notches;
  const int wrapped = (size - 1) % gearNotches + 1;
  return notches < 0 ? -wrapped : wrapped;
}

}  // namespace brillora
