#pragma once

#include <vector>

#include "trace/linear_color.h"

namespace brillora {

struct Race;  // a beam of the tracer that made the polygon

struct ScreenPoint {
  int X = 0;
  int Y = 0;
};

// One finished beam as the views draw it: its polygon in pixels of the target
// bitmap, its colour, and the beam (whose facet's Step the highlight reads).
struct FasetOnScreen {
  std::vector<ScreenPoint> Polygon;
  LinearColor Color;
  double Area = 0.0;  // twice the beam polygon's area in view units
  const Race* Beam = nullptr;
  int Step = 0;  // Step of the beam's facet, kept here so drawing needs no tracer
};

// The result of a render, in the order the tracer finished the beams.
using ArrayOfFOS = std::vector<FasetOnScreen>;

}  // namespace brillora
