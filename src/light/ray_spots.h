#pragma once

#include <cstdint>
#include <vector>

#include "trace/frame.h"
#include "trace/screen_polygon.h"

namespace brillora {

// One direction from which the picture's light comes, as the light map marks
// it: a small filled circle of its grey, or a single white pixel when the
// circle would be under two pixels across.
struct RaySpot {
  std::uint8_t Grey = 0;
  bool Pixel = false;
  std::vector<ScreenPoint> Corners;  // the pixel alone when Pixel
};

// The spot of direction `d` (a unit vector of the display, z toward the
// viewer) with angular radius `a` radians on a disk of radius `r` pixels
// whose square starts at the display margin.
RaySpot DrawRaySpot(int r, const Vec3& d, double a);

// The spots of every beam of every polygon's chain that leaves toward the
// viewer of the display, in drawing order. `squareHeight` is the height of the
// display's square.
std::vector<RaySpot> RaySpots(const ArrayOfFOS& polygons, const Frame& mapView, int squareHeight);

}  // namespace brillora
