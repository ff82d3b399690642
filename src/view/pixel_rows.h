#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace brillora {

// How one pixel is laid out in a row: a native 32-bit word 0xffRRGGBB, or the
// three bytes red, green, blue.
enum class PixelLayout { Rgb32, Rgb888 };

// A colour R + 256 G + 65536 B made ready for both layouts once, so that
// writing a pixel is a plain store.
struct Ink {
  explicit Ink(std::uint32_t color)
      : red(static_cast<std::uint8_t>(color)),
        green(static_cast<std::uint8_t>(color >> 8)),
        blue(static_cast<std::uint8_t>(color >> 16)),
        word(0xFF000000u | (std::uint32_t{red} << 16) | (std::uint32_t{green} << 8) | blue) {}

  std::uint8_t red;
  std::uint8_t green;
  std::uint8_t blue;
  std::uint32_t word;
};

// A bitmap that the drawing code writes straight into, one row after another
// `stride` bytes apart. Spans and dots outside the bitmap are dropped, so
// callers may hand them over unclipped.
class PixelRows {
 public:
  PixelRows(std::uint8_t* firstRow, std::ptrdiff_t stride, int width, int height,
            PixelLayout layout)
      : first_(firstRow), stride_(stride), width_(width), height_(height), layout_(layout) {}

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

  // Pixels [left, right) of row y.
  void Span(int y, int left, int right, const Ink& ink) {
    if (y < 0 || y >= height_) return;
    left = std::max(left, 0);
    right = std::min(right, width_);
    if (left < right) InsideSpan(y, left, right, ink);
  }

  // Pixels [left, right) of row y, known to lie inside.
  void InsideSpan(int y, int left, int right, const Ink& ink) {
    std::uint8_t* row = first_ + y * stride_;
    if (layout_ == PixelLayout::Rgb32) {
      std::uint32_t* pixels = reinterpret_cast<std::uint32_t*>(row);
      for (int x = left; x < right; ++x) pixels[x] = ink.word;
    } else {
      for (std::uint8_t* pixel = row + 3 * left; pixel < row + 3 * right; pixel += 3) {
        pixel[0] = ink.red;
        pixel[1] = ink.green;
        pixel[2] = ink.blue;
      }
    }
  }

  void Dot(int x, int y, const Ink& ink) {
    if (Contains(x, y)) Put(x, y, ink);
  }

  // A pixel known to lie inside.
  void Put(int x, int y, const Ink& ink) {
    std::uint8_t* row = first_ + y * stride_;
    if (layout_ == PixelLayout::Rgb32) {
      reinterpret_cast<std::uint32_t*>(row)[x] = ink.word;
    } else {
      std::uint8_t* pixel = row + 3 * x;
      pixel[0] = ink.red;
      pixel[1] = ink.green;
      pixel[2] = ink.blue;
    }
  }

 private:
  std::uint8_t* first_;
  std::ptrdiff_t stride_;
  int width_;
  int height_;
  PixelLayout layout_;
};

}  // namespace brillora
