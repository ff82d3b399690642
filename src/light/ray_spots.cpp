#include "light/ray_spots.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "light/globe_grid.h"
#include "trace/race.h"

namespace brillora {

namespace {

int RoundToInt(double v) { return static_cast<int>(std::nearbyint(v)); }

}  // namespace

RaySpot DrawRaySpot(int r, const Vec3& d, double a) {
  RaySpot spot;
  const double radius = r;
  const int n = RoundToInt(2 * std::sqrt(std::max(0.0, radius * a)));
  if (!(n >= 2)) {
    spot.Pixel = true;
    spot.Grey = 255;
    spot.Corners.push_back({RoundToInt(radius * (d.x + 1) + kDisplayMargin),
                            RoundToInt(radius * (d.y + 1) + kDisplayMargin)});
    return spot;
  }
  double s = std::sqrt(std::max(0.0, 1 - d.z * d.z));
  double ux = 1, uy = 0;
  if (s * s <= 0.0001) {
    s = 0;
  } else {
    ux = d.x / s;
    uy = d.y / s;
  }
  const double sinA = std::sin(a), cosA = std::cos(a);
  spot.Corners.reserve(static_cast<std::size_t>(2 * n));
  for (int k = 0; k < 2 * n; ++k) {
    const double phi = std::numbers::pi * k / n;
    const double along = std::sin(phi) * d.z * sinA + cosA * s;
    const double across = std::cos(phi) * sinA * radius;
    spot.Corners.push_back({RoundToInt(along * radius * ux + across * uy) + r + kDisplayMargin,
                            RoundToInt(along * radius * uy - across * ux) + r + kDisplayMargin});
  }
  return spot;
}

std::vector<RaySpot> RaySpots(const ArrayOfFOS& polygons, const Frame& mapView, int squareHeight) {
  const int r = RoundToInt(squareHeight / 2.0);
  std::vector<RaySpot> spots;
  for (const FasetOnScreen& p : polygons) {
    // A beam's area is at most that of the view; a broken stone's is bounded too.
    const double a = std::isfinite(p.Area) ? std::min(std::sqrt(std::max(0.0, p.Area)) / 30, 1.0) : 0.0;
    for (const Race* c = p.Beam; c != nullptr; c = c->Parent) {
      Vec3 d = c->Dir;
      TransformVector(mapView, d);
      // Degenerate geometry may leave a beam without a direction: it marks nothing.
      if (!(d.z > 0) || !std::isfinite(d.x) || !std::isfinite(d.y) || !std::isfinite(d.z)) continue;
      RaySpot spot = DrawRaySpot(r, d, a);
      if (!spot.Pixel) spot.Grey = static_cast<std::uint8_t>(RoundToInt(std::sqrt(std::clamp(c->OutLight, 0.0, 1.0)) * 255));
      spots.push_back(std::move(spot));
    }
  }
  return spots;
}

}  // namespace brillora
