#include "trace/beam_optics.h"

#include <algorithm>
#include <cmath>

namespace brillora {

namespace {

constexpr double kMaxCos = 0.99999;
constexpr double kStraightBack = 0.9999;
constexpr double kNoDirection = 0.99;

// Snell's law in vector form for light travelling along -z of frame `f` out
// through a facet of outward normal (x, y, -c) in that frame: the direction
// it leaves in, in view coordinates. Frames are rotations, so f's inverse is
// its transpose.
Vec3 ExitDirection(const Frame& f, double x, double y, double c, double ri, const Frame& view) {
  // Near the critical angle the root's argument may round a hair below 0.
  const double ct = std::sqrt(std::max(0.0, 1 - ri * ri * (1 - c * c)));
  const double g = ri * c - ct;
  const double tx = -g * x, ty = -g * y, tz = g * c - ri;
  Vec3 d{f[0] * tx + f[3] * ty + f[6] * tz, f[1] * tx + f[4] * ty + f[7] * tz,
            f[2] * tx + f[5] * ty + f[8] * tz};
  TransformVector(view, d);
  return d;
}

}  // namespace

double FresnelReflectance(double c, double k) {
  const double q = k * k * (1 - c * c);
  if (q >= 1) return 1.0;
  const double ct = std::sqrt(1 - q);
  const double s = (c - k * ct) / (k * ct + c);
  const double p = (k * c - ct) / (k * c + ct);
  return (s * s + p * p) / 2;
}

void SetBeamLight(const Frame& f, Race& s, const TFacet& facet, const TraceOptions& options,
                  const Frame& view) {
  s.Dir.x = RowDot(f, 0, facet.Nx, facet.Ny, facet.Nz);
  s.Dir.y = RowDot(f, 1, facet.Nx, facet.Ny, facet.Nz);
  const double z = s.Dir.z;
  const double c = std::min(kMaxCos, z);
  const bool entry = s.Parent == nullptr;
  const double ri = options.RefractiveIndex;
  const double k = entry ? 1 / ri : ri;

  double r;
  if (options.Reflected || k * k * (1 - c * c) >= 1) {
    r = 1.0;
  } else if (!options.SurfaceRefl && entry) {
    r = 0.0;
  } else {
    r = FresnelReflectance(c, k);
  }

  const bool exact = options.LightCutoff > 0;
  if (entry) {
    s.OutLight = r;
    s.InLight = 1 - r;
    if (exact && s.Dir.x == 0 && s.Dir.y == 0) {
      s.Dir.z = 1;
    } else if (z <= kStraightBack || exact) {
      const double x = s.Dir.x, y = s.Dir.y;
      s.Dir.z = 2 * z * z - 1;
      const double scale = std::sqrt((1 - s.Dir.z * s.Dir.z) / (x * x + y * y));
      s.Dir.x = x * scale;
      s.Dir.y = y * scale;
    } else {
      s.Dir.x = 0;
      s.Dir.y = 0;
    }
    return;
  }

  const double parentIn = s.Parent->InLight;
  s.OutLight = (1 - r) * parentIn;
  s.InLight = r * parentIn;
  const double x = s.Dir.x, y = s.Dir.y;
  s.Dir = {0, 0, -1};
  if (exact) {
    if (r < 1) s.Dir = ExitDirection(f, x, y, z, ri, view);
    return;
  }
  if (r <= kNoDirection) {
    const double ti = SafeArcCos(z);
    // Near the critical angle the sine may round a hair past 1.
    const double tt = std::asin(std::min(1.0, std::sin(ti) * ri));
    Frame g = f;
    RotateFrame(g, x, y, tt - ti);
    InvertFrame(g);
    TransformVector(g, s.Dir);
    TransformVector(view, s.Dir);
  }
}

}  // namespace brillora
