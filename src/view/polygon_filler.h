#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "trace/screen_polygon.h"
#include "view/pixel_rows.h"

namespace brillora {

// Fills polygons with integer corners, aliased, by the even-odd rule, covering
// exactly the pixels that Qt's raster engine covers when it fills the same
// polygon without a pen. A pixel is covered when its centre lies inside; each
// edge's crossing of a row's centre line is found as Qt finds it, in 16.16
// fixed point from a slope truncated toward zero, so that centres lying on
// (or within rounding of) an edge fall on the same side as in Qt. Any corner
// list is accepted: non-convex, repeated or collinear corners, fewer than
// three corners (nothing is drawn), corners far off the bitmap.
//
// Keeps its working lists between polygons, so one filler serves a whole pass
// without allocating per polygon.
class PolygonFiller {
 public:
  void Fill(PixelRows& target, std::span<const ScreenPoint> polygon, std::uint32_t color);

 private:
  struct Edge {
    int top;            // first row whose centre line the edge crosses
    int bottom;         // row after its last one
    std::int64_t x;     // crossing at the current row plus one half, 16.16
    std::int64_t step;  // change of x from one row to the next, 16.16
  };

  void CollectEdges(std::span<const ScreenPoint> polygon, int height);

  std::vector<Edge> edges_;     // by top row
  std::vector<Edge*> active_;   // edges crossing the current row
  std::vector<int> crossings_;  // columns where the current row's spans start and end
};

}  // namespace brillora
