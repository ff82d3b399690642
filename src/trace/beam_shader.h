#pragma once

#include "trace/screen_polygon.h"

namespace brillora {

// What the tracer asks of the surroundings once every beam is finished: a
// colour for each screen polygon from the light its beam chain gathers. The
// tracer declares it so that it needs nothing of the illumination model.
class BeamShader {
 public:
  virtual ~BeamShader() = default;
  // Colours every polygon from its beam chain; `plain` for "Non-transparent".
  virtual void ShadeScreenFacets(ArrayOfFOS& polygons, bool plain) const = 0;
};

}  // namespace brillora
