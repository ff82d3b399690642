#include "view/measuring_segment.h"

#include <cmath>
#include <utility>

#include "model/number_text.h"
#include "view/line_pixels.h"

namespace brillora {

namespace {

int RoundInt(double value) { return static_cast<int>(RoundHalfEven(value)); }

}  // namespace

std::vector<QPoint> SegmentPixels(QPoint start, QPoint end) {
  // A zero difference counts as one pixel, so that the slope and the tick's
  // direction stay defined.
  double dx = end.x() - start.x();
  double dy = end.y() - start.y();
  if (dx == 0) dx = 1;
  if (dy == 0) dy = 1;
  const double k = dy / dx;
  const double norm = std::sqrt(1.0 + k * k);
  const int u = RoundInt(20.0 * std::abs(k) / norm);
  const int v = -RoundInt(20.0 * (k > 0 ? 1.0 : (k < 0 ? -1.0 : 0.0)) / norm);
  const QPoint offset(u, v);
  std::vector<QPoint> pixels = LinePixels(start, end);
  for (const auto& [a, b] : {std::pair{start + offset, start - offset}, std::pair{end + offset, end - offset}}) {
    const std::vector<QPoint> tick = LinePixels(a, b);
    pixels.insert(pixels.end(), tick.begin(), tick.end());
  }
  return pixels;
}

bool NearPoint(int x, int y, QPoint p) {
  const double dx = p.x() - x;
  const double dy = p.y() - y;
  return std::sqrt(dx * dx + dy * dy) < 5.0;
}

}  // namespace brillora
