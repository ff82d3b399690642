#pragma once

#include <cstdint>

#include "trace/linear_color.h"
#include "trace/screen_polygon.h"

namespace brillora {

// The edge colour of outlined polygons, R + 256 G + 65536 B: red 180.
inline constexpr std::uint32_t kEdgeColor = 180;

// What a drawing pass needs besides the polygons.
struct PaintStyle {
  LinearColor Background;  // the light map's background colour
  bool Edges = true;       // the "Edges" menu item
  bool Plain = false;      // reflection setting 0 ("Non-transparent"): no tracing
  int SelectedStep = -1;   // step whose facets are highlighted; -1 highlights nothing
};

// The style of the animation frames: no edges and no highlight.
inline PaintStyle AnimationStyle(const LinearColor& background) {
  return PaintStyle{background, false, false, -1};
}

// k of LinearToColor for one polygon: 2 for a facet of the selected step in
// plain mode, 1 otherwise (nothing is highlighted in traced mode).
inline int HighlightFactor(const FasetOnScreen& polygon, const PaintStyle& style) {
  return style.Plain && polygon.Step == style.SelectedStep ? 2 : 1;
}

// The step number that the facets of the selected step tab carry: P is the
// length of the pavilion step array, T the step tab's index.
inline int SelectedStep(int pavilionStepCount, int tabIndex, bool isCrown) {
  return isCrown ? pavilionStepCount + tabIndex - 1 : pavilionStepCount - tabIndex - 2;
}

}  // namespace brillora
