#include "single_ray_follower.h"

#include <cmath>
#include <limits>
#include <numbers>
#include <optional>

#include "trace/index_at_wavelength.h"

namespace brillora::testing {

namespace {

Vec3 Normalized(Vec3 a) { return (1 / std::sqrt(Dot(a, a))) * a; }

Vec3 Normal(const TFacet& f) { return {f.Nx, f.Ny, f.Nz}; }

// Fresnel's equations for unpolarised light from index n1 into n2, written
// with both cosines; 1 beyond the critical angle.
double Reflectance(double cosIn, double n1, double n2) {
  const double sinOut = n1 / n2 * std::sqrt(std::max(0.0, 1 - cosIn * cosIn));
  if (sinOut >= 1) return 1;
  const double cosOut = std::sqrt(1 - sinOut * sinOut);
  const double rs = (n1 * cosIn - n2 * cosOut) / (n1 * cosIn + n2 * cosOut);
  const double rp = (n1 * cosOut - n2 * cosIn) / (n1 * cosOut + n2 * cosIn);
  return (rs * rs + rp * rp) / 2;
}

// Snell's law in vector form: `u` refracted at a surface of normal `n` facing
// against it, from index n1 into n2.
Vec3 Refracted(Vec3 u, Vec3 n, double n1, double n2) {
  const double eta = n1 / n2;
  const double c = -Dot(u, n);
  const double k = 1 - eta * eta * (1 - c * c);
  return Normalized(eta * u + (eta * c - std::sqrt(std::max(0.0, k))) * n);
}

Vec3 Mirrored(Vec3 u, Vec3 n) { return u + (-2 * Dot(u, n)) * n; }

// `u` leaving through a surface of outward normal `n` from index `ri` into
// air, or nothing beyond the critical angle: Snell's law by the sines.
std::optional<Vec3> Leaving(Vec3 u, Vec3 n, double ri) {
  const double cosIn = Dot(u, n);
  const Vec3 along = u - cosIn * n;  // the part in the surface, of length sin(in)
  const double sinOut = ri * Length(along);
  if (sinOut > 1) return std::nullopt;
  return ri * along + std::sqrt(1 - sinOut * sinOut) * n;
}

// The angle between two unit vectors from their chord, in degrees.
double Apart(Vec3 a, Vec3 b) { return 2 * std::asin(std::min(1.0, Length(a - b) / 2)) * 180 / std::numbers::pi; }

constexpr double kPupil = 0.92;
constexpr double kParted = 180.0;

}  // namespace

RayLight FollowRay(const Stone& stone, const Frame& view, double x, double y, double ri, int depth,
                   double headDegrees, double dispersion) {
  const Vec3 e0{view[0], view[1], view[2]};
  const Vec3 e1{view[3], view[4], view[5]};
  const Vec3 e2 = Normalized({view[6], view[7], view[8]});
  const double headCos = std::cos(headDegrees * std::numbers::pi / 180);
  RayLight out;
  const auto gather = [&](double w, Vec3 travel, double spread) {
    const double dz = Dot(travel, e2);
    if (dz <= 0) {
      out.leakage += w;
    } else if (dz > headCos) {
      out.head += w;
    } else {
      out.iso += w;
      out.cos += w * dz;
      out.sc2 += w * 2 * dz * std::sqrt(1 - dz * dz);
      if (dz >= std::sqrt(0.5)) out.red += w;
      out.fire += w * std::min(1.0, spread / kPupil);
      out.spread += w * spread;
    }
  };
  const double riC = IndexAtWavelength(ri, dispersion, kLineC);
  const double riF = IndexAtWavelength(ri, dispersion, kLineF);

  // Entry: the latest plane crossed inward along the ray, if it comes before
  // the first crossed outward.
  Vec3 p = x * e0 + y * e1 + 10.0 * e2;
  Vec3 u = -1.0 * e2;
  double enter = -std::numeric_limits<double>::infinity(), leave = std::numeric_limits<double>::infinity();
  const TFacet* entry = nullptr;
  for (const TFacet& f : stone.AllFacets) {
    const double along = Dot(Normal(f), u);
    const double t = (f.D - Dot(Normal(f), p)) / along;
    if (along < 0 && t > enter) {
      enter = t;
      entry = &f;
    } else if (along > 0 && t < leave) {
      leave = t;
    } else if (along == 0 && Dot(Normal(f), p) > f.D) {
      return out;
    }
  }
  if (entry == nullptr || !(enter < leave)) return out;
  out.hit = true;
  out.throughTable = entry == &stone.AllFacets.back() && entry->Nz > 1 - 1e-9;
  p = p + enter * u;
  const Vec3 n0 = Normal(*entry);
  const double r0 = Reflectance(-Dot(u, n0), 1, ri);
  gather(r0, Mirrored(u, n0), 0.0);
  double w = 1 - r0;
  Vec3 uC = Refracted(u, n0, 1, riC);
  Vec3 uF = Refracted(u, n0, 1, riF);
  u = Refracted(u, n0, 1, ri);

  // Inside: each stretch ends on the first plane crossed outward, where the
  // ray meets the surface from inside.
  for (int meeting = 1; meeting <= depth; ++meeting) {
    double nearest = std::numeric_limits<double>::infinity();
    const TFacet* exit = nullptr;
    for (const TFacet& f : stone.AllFacets) {
      const double along = Dot(Normal(f), u);
      if (along <= 0) continue;
      const double t = (f.D - Dot(Normal(f), p)) / along;
      if (t < nearest) {
        nearest = t;
        exit = &f;
      }
    }
    if (exit == nullptr) break;
    p = p + nearest * u;
    const Vec3 n = Normal(*exit);
    const double r = Reflectance(Dot(u, n), ri, 1);
    if (r < 1) {
      const std::optional<Vec3> outC = Leaving(uC, n, riC);
      const std::optional<Vec3> outF = Leaving(uF, n, riF);
      gather(w * (1 - r), Refracted(u, -1.0 * n, ri, 1), outC && outF ? Apart(*outC, *outF) : kParted);
    }
    w *= r;
    u = Mirrored(u, n);
    uC = Mirrored(uC, n);
    uF = Mirrored(uF, n);
  }
  out.unresolved = w;
  return out;
}

}  // namespace brillora::testing
