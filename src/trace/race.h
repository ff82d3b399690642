#pragma once

#include <vector>

#include "model/design.h"
#include "trace/frame.h"

namespace brillora {

// One point of a beam cross-section, in the frame of the beam being worked on
// (in view units once a render has finished), with its pixel once mapped.
struct FlatPoint {
  double X = 0.0;
  double Y = 0.0;
  int ScreenX = 0;
  int ScreenY = 0;
};

using ArrayOfPEPont = std::vector<FlatPoint*>;

// One beam: a convex polygon of light across its direction of travel.
struct Race {
  ArrayOfPEPont Points;  // corners in order around the polygon
  // Before the optics step: x, y the facet normal in the current frame and z the
  // cosine of incidence. After it: where the light leaving at this facet goes,
  // in view coordinates.
  Vec3 Dir{};
  double InLight = 0.0;   // share of the viewer's light carried on inside the stone
  double OutLight = 0.0;  // share leaving the stone at this facet along Dir
  const TFacet* Facet = nullptr;  // entry facet at level 0, the facet met from inside below
  const Race* Parent = nullptr;   // nullptr for a level-0 beam
  int Level = 0;
  // The beam's cross-section as the viewer sees it: half the doubled area on
  // the screen of the part of the view whose light it carries. Set by traces
  // under TraceOptions::LightCutoff, whose beams' corners stay in the frames
  // they were cut in.
  double Area = 0.0;
};

using ArrayOfRace = std::vector<Race*>;

}  // namespace brillora
