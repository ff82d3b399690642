#pragma once

#include <vector>

#include "trace/point_store.h"
#include "trace/race.h"
#include "trace/screen_polygon.h"

namespace brillora {

// The pixel of a view coordinate already scaled and offset: the sum is held in
// single precision and rounded to the nearest integer, halves to even.
// Undefined coordinates of degenerate geometry land on pixel 0 rather than
// anywhere in memory.
int ToPixel(double v);

// ScreenX := ToPixel(scale X + scale), ScreenY := ToPixel(scale Y + centreY).
void MapPointsToScreen(PointStore& points, int scale, int centreY);

// The inverse of that mapping: the view point at pixel (x, y), X = (x - scale)
// / scale and Y = (y - centreY) / scale (its pixel fields left unmapped),
// which maps back onto that pixel.
// `scale` must not be 0.
FlatPoint PixelToView(int x, int y, int scale, int centreY);

// The beam's corners as pixels, consecutive corners on the same pixel merged
// (the last corner is not compared with the first).
void ScreenPolygon(const Race& beam, std::vector<ScreenPoint>& polygon);

}  // namespace brillora
