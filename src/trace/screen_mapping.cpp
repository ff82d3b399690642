#include "trace/screen_mapping.h"

#include <cmath>

namespace brillora {

int ToPixel(double v) {
  const float sum = static_cast<float>(v);
  const float pixel = std::nearbyint(sum);
  constexpr float kLimit = 1 << 30;
  if (!(std::fabs(pixel) <= kLimit)) return pixel > 0 ? static_cast<int>(kLimit) : pixel < 0 ? -static_cast<int>(kLimit) : 0;
  return static_cast<int>(pixel);
}

void MapPointsToScreen(PointStore& points, int scale, int centreY) {
  const double s = scale, cy = centreY;
  points.ForEachFrom(0, [s, cy](FlatPoint& p) {
    p.ScreenX = ToPixel(s * p.X + s);
    p.ScreenY = ToPixel(s * p.Y + cy);
  });
}

FlatPoint PixelToView(int x, int y, int scale, int centreY) {
  const double s = scale;
  return FlatPoint{(x - s) / s, (y - static_cast<double>(centreY)) / s};
}

void ScreenPolygon(const Race& beam, std::vector<ScreenPoint>& polygon) {
  polygon.clear();
  for (const FlatPoint* corner : beam.Points) {
    if (!polygon.empty() && polygon.back().X == corner->ScreenX && polygon.back().Y == corner->ScreenY) continue;
    polygon.push_back({corner->ScreenX, corner->ScreenY});
  }
}

}  // namespace brillora
