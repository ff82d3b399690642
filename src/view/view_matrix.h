#pragma once

#include <functional>

#include "trace/frame.h"

namespace brillora {

// The view matrix of the stone: row 0 gives screen x (to the right), row 1
// screen y (downward), row 2 points toward the viewer. The identity looks
// down the stone's axis onto the crown.

// The crown faces the viewer when the model's z axis points toward them.
inline bool ShowsCrown(const Frame& view) { return view[8] > 0; }

// Turns the view as the mouse moved from (lastX, lastY) to (x, y) in a window
// `clientWidth` pixels wide: the stone follows the mouse as if grabbed at its
// front, and a drag across the full width turns it by half a turn. False (the
// view unchanged) when the mouse did not move.
bool MouseTurn(Frame& view, int lastX, int lastY, int x, int y, int clientWidth);

// One step of the flip: a hundredth of a half turn, backwards.
inline constexpr double kFlipStepAngle = -0.031415926535897934;
inline constexpr int kFlipSteps = 100;

// The axis about which the flip turns: the screen direction (a, b) of the
// model's z axis, or (0, 1) when the axis points straight at the viewer.
struct FlipAxis {
  double x = 0.0;
  double y = 1.0;
};
FlipAxis FlipAxisOf(const Frame& view);

// Turns the stone over in kFlipSteps steps about an axis read once at the
// start, so that crown and pavilion change places; `shown` sees every
// intermediate view (the window retraces and paints it).
void FlipView(Frame& view, const std::function<void(const Frame&)>& shown = {});

}  // namespace brillora
