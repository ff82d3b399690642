#pragma once

#include <cstdint>

#include <QColor>

#include "trace/linear_color.h"

namespace brillora {

// The 24-bit display colour R + 256 G + 65536 B of a linear colour: each
// channel clamped to 0 .. 1, its square root (the display gamma) scaled to 255
// and rounded, halves to even. The green channel is then divided by k (integer
// division): k = 2 gives the magenta tint of a highlighted polygon.
std::uint32_t LinearToColor(const LinearColor& color, int k = 1);

inline QColor ToQColor(std::uint32_t color) {
  return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                static_cast<int>((color >> 16) & 0xFF));
}

}  // namespace brillora
