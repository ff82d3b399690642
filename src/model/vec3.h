#pragma once

#include <cmath>

#include "model/design.h"

namespace brillora {

// A point or direction in model coordinates, for the geometry that works on
// planes and polygons rather than on the stone's vertex records.
struct Vec3 {
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
};

inline Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 operator*(double s, Vec3 a) { return {s * a.x, s * a.y, s * a.z}; }
inline double Dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vec3 Cross(Vec3 a, Vec3 b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline double Length(Vec3 a) { return std::sqrt(Dot(a, a)); }

inline Vec3 NormalOf(const TFacet& f) { return {f.Nx, f.Ny, f.Nz}; }

// How far p lies outside the facet's plane (negative inside), evaluated as the
// construction's inside test evaluates it.
inline double Excess(const TFacet& f, Vec3 p) { return f.Nx * p.x + f.Ny * p.y + f.Nz * p.z - f.D; }
inline double Excess(const TFacet& f, const TVertex& p) {
  return f.Nx * p.x + f.Ny * p.y + f.Nz * p.z - f.D;
}

}  // namespace brillora
