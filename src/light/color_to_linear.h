#pragma once

#include <cstdint>

#include "trace/linear_color.h"

namespace brillora {

// A 24-bit display colour (R + 256 G + 65536 B) as linear light: each channel
// (byte / 255) squared.
inline LinearColor ColorToLinear(std::uint32_t c) {
  const double r = (c & 0xFFu) / 255.0, g = ((c >> 8) & 0xFFu) / 255.0, b = ((c >> 16) & 0xFFu) / 255.0;
  return {r * r, g * g, b * b};
}

inline LinearColor ColorToLinear(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return ColorToLinear(r + 256u * g + 65536u * b);
}

}  // namespace brillora
