#include "view/view_matrix.h"

#include <cmath>
#include <numbers>

namespace brillora {

bool MouseTurn(Frame& view, int lastX, int lastY, int x, int y, int clientWidth) {
  const double dx = static_cast<double>(lastX) - x;
  const double dy = static_cast<double>(lastY) - y;
  if ((dx == 0 && dy == 0) || clientWidth <= 0) return false;
  RotateFrame(view, dx, dy, std::numbers::pi * std::sqrt(dx * dx + dy * dy) / clientWidth);
  return true;
}

FlipAxis FlipAxisOf(const Frame& view) {
  FlipAxis axis{view[2], view[5]};
  if (axis.x == 0 && axis.y == 0) axis.y = 1;
  return axis;
}

void FlipView(Frame& view, const std::function<void(const Frame&)>& shown) {
  const FlipAxis axis = FlipAxisOf(view);
  for (int step = 0; step < kFlipSteps; ++step) {
    RotateFrame(view, axis.x, axis.y, kFlipStepAngle);
    if (shown) shown(view);
  }
}

}  // namespace brillora
