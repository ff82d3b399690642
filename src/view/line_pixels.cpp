#include "view/line_pixels.h"

#include <cstdlib>

namespace brillora {

std::vector<QPoint> LinePixels(QPoint from, QPoint to) {
  // Bresenham's walk; the end point belongs to whatever is drawn next.
  std::vector<QPoint> pixels;
  int x = from.x();
  int y = from.y();
  const int dx = std::abs(to.x() - x);
  const int dy = -std::abs(to.y() - y);
  const int sx = x < to.x() ? 1 : -1;
  const int sy = y < to.y() ? 1 : -1;
  int error = dx + dy;
  while (x != to.x() || y != to.y()) {
    pixels.emplace_back(x, y);
    const int twice = 2 * error;
    if (twice >= dy) {
      error += dy;
      x += sx;
    }
    if (twice <= dx) {
      error += dx;
      y += sy;
    }
  }
  return pixels;
}

}  // namespace brillora
