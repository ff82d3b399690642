#pragma once

#include <array>
#include <cmath>

#include "model/design.h"

// The frame arithmetic runs a few times per beam: it lives here, inline, so
// that the tracer's loops are compiled together with it.
namespace brillora {

// A 3x3 single-precision matrix stored row by row. Rows 0 and 1 give the
// cross-section coordinates of a stone point, row 2 points back against the
// travel of the beam (toward the viewer for a view matrix).
using Frame = std::array<float, 9>;

inline Frame IdentityFrame() { return {1, 0, 0, 0, 1, 0, 0, 0, 1}; }

// Row r of M dotted with (x, y, z).
inline double RowDot(const Frame& m, int row, double x, double y, double z) {
  return static_cast<double>(m[3 * row]) * x + static_cast<double>(m[3 * row + 1]) * y +
         static_cast<double>(m[3 * row + 2]) * z;
}

// v := M v.
inline void TransformVector(const Frame& m, Vec3& v) {
  const double x = v.x, y = v.y, z = v.z;
  v.x = RowDot(m, 0, x, y, z);
  v.y = RowDot(m, 1, x, y, z);
  v.z = RowDot(m, 2, x, y, z);
}

// ArcCos of a cosine that single-precision frames may carry a hair beyond
// -1 .. 1: the angle stays defined instead of turning a whole frame undefined.
inline double SafeArcCos(double c) { return std::acos(c > 1 ? 1.0 : c < -1 ? -1.0 : c); }

// The cosine and sine of a turn's angle, taken after rounding the angle to
// single precision, as every frame is single precision anyway.
struct TurnAngle {
  double Cos = 1.0;
  double Sin = 0.0;
  // The turn by the negated angle: cosine and sine are even and odd to the
  // last bit, so no new trigonometry is needed.
  TurnAngle Reversed() const { return {Cos, -Sin}; }
};

inline TurnAngle AngleOfTurn(double angle) {
  const double turn = static_cast<float>(angle);
  return {std::cos(turn), std::sin(turn)};
}

// The rotation by `angle` about the axis (y, -x, 0); the identity for x = y = 0.
inline Frame RotationMatrix(double x, double y, TurnAngle angle) {
  if (x == 0 && y == 0) return IdentityFrame();
  const double length = std::sqrt(x * x + y * y);
  const double a = y / length;
  const double b = -x / length;
  const double c = angle.Cos;
  const double s = angle.Sin;
  const double t = 1 - c;
  return {static_cast<float>(t * a * a + c), static_cast<float>(t * a * b), static_cast<float>(b * s),
          static_cast<float>(t * a * b),     static_cast<float>(t * b * b + c), static_cast<float>(-a * s),
          static_cast<float>(-b * s),        static_cast<float>(a * s),        static_cast<float>(c)};
}

// The same for an angle in radians.
inline Frame RotationMatrix(double x, double y, double angle) {
  if (x == 0 && y == 0) return IdentityFrame();
  return RotationMatrix(x, y, AngleOfTurn(angle));
}

// A . B in single precision.
inline Frame MultiplyFrames(const Frame& a, const Frame& b) {
  Frame r{};
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) {
      double sum = 0;
      for (int k = 0; k < 3; ++k) sum += static_cast<double>(a[3 * i + k]) * b[3 * k + j];
      r[3 * i + j] = static_cast<float>(sum);
    }
  }
  return r;
}

// M := RotationMatrix(x, y, angle) . M; unchanged for x = y = 0 or angle 0.
inline void RotateFrame(Frame& m, double x, double y, double angle) {
  if ((x == 0 && y == 0) || angle == 0) return;
  m = MultiplyFrames(RotationMatrix(x, y, angle), m);
}

// Negates row 2 (a mirror in the cross-section plane).
inline void MirrorFrame(Frame& m) {
  m[6] = -m[6];
  m[7] = -m[7];
  m[8] = -m[8];
}

// M := inverse(M), or the identity when M is singular.
inline void InvertFrame(Frame& m) {
  const float a = m[0], b = m[1], c = m[2];
  const float d = m[3], e = m[4], f = m[5];
  const float g = m[6], h = m[7], i = m[8];
  const float c00 = e * i - f * h, c01 = f * g - d * i, c02 = d * h - e * g;
  const float det = a * c00 + b * c01 + c * c02;
  if (!(std::fabs(det) >= 1e-40f)) {
    m = IdentityFrame();
    return;
  }
  m = {c00 / det, (c * h - b * i) / det, (b * f - c * e) / det,
       c01 / det, (a * i - c * g) / det, (c * d - a * f) / det,
       c02 / det, (b * g - a * h) / det, (a * e - b * d) / det};
}

}  // namespace brillora
