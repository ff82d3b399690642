#pragma once

#include <cstdint>
#include <span>

#include "trace/screen_polygon.h"
#include "view/pixel_rows.h"

namespace brillora {

// Draws the closed outline of a polygon with integer corners, one pixel wide
// and aliased, as Qt's raster engine draws it with a one-pixel pen: each edge
// is a run of pixels along its longer axis, and where two edges meet the
// second edge drops a pixel the first already drew, fills a gap, or is shifted
// by half a step, so that the outline has neither doubled nor missing corners.
// Edges are first cut to the bitmap widened by one pixel on the top and left
// and two on the bottom and right, as Qt cuts them.
//
// Pixel for pixel equal to Qt's outline for every polygon whose corners lie
// within that widened bitmap; where an edge is cut at its start, the join
// after it may differ from Qt's by a pixel or so.
void OutlinePolygon(PixelRows& target, std::span<const ScreenPoint> polygon, std::uint32_t color);

}  // namespace brillora
