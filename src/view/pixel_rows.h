#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace brillora {

// How one pixel is laid out in a row: a native 32-bit word 0xffRRGGBB, or the
// three bytes red, green, blue.
enum class PixelLayout { Rgb32, Rgb888 };

// A bitmap that the drawing code writes straight into, one row after another
// `stride` bytes apart. Colours are R + 256 G + 65536 B. Writes outside the
// bitmap are dropped, so callers may hand over spans and pixels unclipped.
class PixelRows {
 public:
  PixelRows(std::uint8_t* firstRow, std::ptrdiff_t stride, int width, int height,
            PixelLayout layout)
      : first_(firstRow), stride_(stride), width_(width), height_(height), layout_(layout) {}

  int Width() const { return width_; }
  int Height() const { return height_; }

  // Pixels [left, right) of row y.
  void Span(int y, int left, int right, std::uint32_t color) {
    if (y < 0 || y >= height_) return;
    left = std::max(left, 0);
    right = std::min(right, width_);
    if (left >= right) return;
    std::uint8_t* row = first_ + y * stride_;
    if (layout_ == PixelLayout::Rgb32) {
      const std::uint32_t word = Word(color);
      std::uint32_t* pixels = reinterpret_cast<std::uint32_t*>(row) + left;
      std::fill(pixels, pixels + (right - left), word);
    } else {
      std::uint8_t* pixel = row + 3 * left;
      const std::uint8_t bytes[3] = {Red(color), Green(color), Blue(color)};
      for (int x = left; x < right; ++x, pixel += 3) std::memcpy(pixel, bytes, 3);
    }
  }

  void Dot(int x, int y, std::uint32_t color) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    std::uint8_t* row = first_ + y * stride_;
    if (layout_ == PixelLayout::Rgb32) {
      reinterpret_cast<std::uint32_t*>(row)[x] = Word(color);
    } else {
      std::uint8_t* pixel = row + 3 * x;
      pixel[0] = Red(color);
      pixel[1] = Green(color);
      pixel[2] = Blue(color);
    }
  }

 private:
  static std::uint8_t Red(std::uint32_t color) { return static_cast<std::uint8_t>(color); }
  static std::uint8_t Green(std::uint32_t color) { return static_cast<std::uint8_t>(color >> 8); }
  static std::uint8_t Blue(std::uint32_t color) { return static_cast<std::uint8_t>(color >> 16); }
  static std::uint32_t Word(std::uint32_t color) {
    return 0xFF000000u | (std::uint32_t{Red(color)} << 16) | (std::uint32_t{Green(color)} << 8) |
           Blue(color);
  }

  std::uint8_t* first_;
  std::ptrdiff_t stride_;
  int width_;
  int height_;
  PixelLayout layout_;
};

}  // namespace brillora
