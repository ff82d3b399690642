#include "view/polygon_samples.h"

#include <cmath>
#include <numbers>
#include <random>

namespace brillora::testing {

ArrayOfFOS ProjectedFacets(const Stone& stone, const Frame& view, int scale, int centreY) {
  ArrayOfFOS result;
  for (const TFacet& facet : stone.AllFacets) {
    const double c = RowDot(view, 2, facet.Nx, facet.Ny, facet.Nz);
    if (c < 0.001 || facet.Points.size() < 3) continue;
    FasetOnScreen polygon;
    for (int index : facet.Points) {
      const TVertex& v = stone.AllVertices[index];
      const double x = RowDot(view, 0, v.x, v.y, v.z), y = RowDot(view, 1, v.x, v.y, v.z);
      polygon.Polygon.push_back({static_cast<int>(std::nearbyint(scale * x + scale)),
                                 static_cast<int>(std::nearbyint(scale * y + centreY))});
    }
    polygon.Color = {c, c, c};
    polygon.Step = facet.Step;
    result.push_back(std::move(polygon));
  }
  return result;
}

ArrayOfFOS RandomPolygons(int width, int height, int count, unsigned seed) {
  std::mt19937 random(seed);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  ArrayOfFOS result;
  for (int i = 0; i < count; ++i) {
    const double cx = (unit(random) * 1.2 - 0.1) * width;
    const double cy = (unit(random) * 1.2 - 0.1) * height;
    const double radius = (0.02 + 0.25 * unit(random)) * std::min(width, height);
    const int corners = 3 + static_cast<int>(unit(random) * 6);
    const double start = unit(random) * 2 * std::numbers::pi;
    FasetOnScreen polygon;
    for (int k = 0; k < corners; ++k) {
      const double a = start + 2 * std::numbers::pi * k / corners;
      polygon.Polygon.push_back({static_cast<int>(std::lround(cx + radius * std::cos(a))),
                                 static_cast<int>(std::lround(cy + radius * std::sin(a)))});
    }
    polygon.Color = {unit(random), unit(random), unit(random)};
    polygon.Step = i % 5;
    result.push_back(std::move(polygon));
  }
  return result;
}

int CountColor(const QImage& image, int red, int green, int blue) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QColor c = image.pixelColor(x, y);
      if (c.red() == red && c.green() == green && c.blue() == blue) ++count;
    }
  return count;
}

}  // namespace brillora::testing
