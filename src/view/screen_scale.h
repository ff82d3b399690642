#pragma once

namespace brillora {

// Where view coordinates land in a bitmap: pixel x = Round(Scale x + Scale),
// pixel y = Round(Scale y + CentreY). These are the HalfWidth and HalfHeight
// to hand to the tracer for a bitmap of a given size.
struct ScreenScale {
  int Scale = 0;
  int CentreY = 0;
};

// The fast pass maps onto the bitmap itself.
inline ScreenScale FastScale(int width, int height) { return {width / 2 - 1, height / 2 - 1}; }

// The refined pass maps onto a bitmap five times as large each way.
inline ScreenScale FineScale(int width, int height) {
  return {(5 * width) / 2 - 5, (5 * height) / 2 - 5};
}

}  // namespace brillora
