#pragma once

#include "trace/frame.h"

namespace brillora {

inline constexpr int kAnimationFrames = 100;
// Hundredths of a second between frames of an animated GIF.
inline constexpr int kAnimationDelay = 4;

// The view of frame i (0 .. 99) of the wobble: the view axis traces a figure
// of eight around the crown's top view, one swing of at most 1/3 radian about
// the screen's y axis and two of at most 1/2 radian about its x axis per loop.
// Frame 99 is the top view again.
Frame AnimationFrame(int i);

}  // namespace brillora
