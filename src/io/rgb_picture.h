#pragma once

#include <cstdint>
#include <vector>

namespace brillora {

// A picture as plain bytes, free of any toolkit: rows from the top, three bytes
// (red, green, blue) per pixel, no padding between rows.
struct RgbPicture {
  int Width = 0;
  int Height = 0;
  std::vector<std::uint8_t> Pixels;

  bool Empty() const { return Width <= 0 || Height <= 0; }
  const std::uint8_t* Pixel(int column, int row) const {
    return Pixels.data() + (static_cast<std::size_t>(row) * Width + column) * 3;
  }
};

}  // namespace brillora
