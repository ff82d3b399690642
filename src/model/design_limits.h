#pragma once

#include "model/design.h"

namespace brillora {

// The values a design may hold, shared by the editor and the design files so
// that every design the editor makes saves to a file that reads back.

// Steps a side may have: far beyond any stone a cutter designs, small enough
// that a hostile file cannot make the reader allocate without bound, or the
// construction work without end. The editor adds no step past it and says so.
inline constexpr int kMaxSteps = 500;
inline constexpr const char* kStepLimitMessage = "A side has at most 500 steps";

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

// A split tier's facets lie at -Split and +Split notches about its base
// azimuth, and the construction places them from the apothems of the tier
// before it taken about the same azimuth; the tier before, in turn, fits its
// top to a turned tier as though that tier were one facet a sector. A split
// tier beyond the first therefore takes no turn of its own: its Shift is 0
// (the first tier's turn turns the whole side and stays free). A turned one
// builds an arbitrary stone, often none.
inline bool SplitTierTurns(const MasStep& steps, int k) {
  return k >= 2 && steps[static_cast<std::size_t>(k)].Split != 0 && steps[static_cast<std::size_t>(k)].Shift != 0;
}

}  // namespace brillora
