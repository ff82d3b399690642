#pragma once

#include <array>

#include "model/design.h"

namespace brillora {

// A 3x3 single-precision matrix stored row by row. Rows 0 and 1 give the
// cross-section coordinates of a stone point, row 2 points back against the
// travel of the beam (toward the viewer for a view matrix).
using Frame = std::array<float, 9>;

using Vector3 = std::array<double, 3>;

Frame IdentityFrame();

// v := M v.
void TransformVector(const Frame& m, Vector3& v);

// The cosine and sine of a turn's angle, taken after rounding the angle to
// single precision, as every frame is single precision anyway.
struct TurnAngle {
  double Cos = 1.0;
  double Sin = 0.0;
  // The turn by the negated angle: cosine and sine are even and odd to the
  // last bit, so no new trigonometry is needed.
  TurnAngle Reversed() const { return {Cos, -Sin}; }
};
TurnAngle AngleOfTurn(double angle);

// The rotation by `angle` (radians) about the axis (y, -x, 0); the identity for
// x = y = 0.
Frame RotationMatrix(double x, double y, double angle);
Frame RotationMatrix(double x, double y, TurnAngle angle);

// M := RotationMatrix(x, y, angle) . M; unchanged for x = y = 0 or angle 0.
void RotateFrame(Frame& m, double x, double y, double angle);

// Negates row 2 (a mirror in the cross-section plane).
void MirrorFrame(Frame& m);

// M := inverse(M), or the identity when M is singular.
void InvertFrame(Frame& m);

// A . B in single precision.
Frame MultiplyFrames(const Frame& a, const Frame& b);

// Row r of M dotted with (x, y, z).
inline double RowDot(const Frame& m, int row, double x, double y, double z) {
  return static_cast<double>(m[3 * row]) * x + static_cast<double>(m[3 * row + 1]) * y +
         static_cast<double>(m[3 * row + 2]) * z;
}

// ArcCos of a cosine that single-precision frames may carry a hair beyond
// -1 .. 1: the angle stays defined instead of turning a whole frame undefined.
double SafeArcCos(double c);

}  // namespace brillora
