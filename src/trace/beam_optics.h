#pragma once

#include <functional>

#include "trace/entry_part.h"

#include "trace/frame.h"
#include "trace/race.h"

namespace brillora {

// What the optics of a render read besides the geometry: the stone's refractive
// index and the two switches of the "N of Reflections" menu.
struct TraceOptions {
  double RefractiveIndex = 2.42;
  bool SurfaceRefl = true;   // "Surface Reflections"
  bool Reflected = false;    // "Reflected": every facet reflects everything
  // Above 0, light is followed as figures of light return need it rather than as
  // a picture does: a beam goes on, whatever its size, until the light it carries
  // inside falls below this share or the depth runs out, the depth may pass the
  // menu's deepest, and every part leaves in its true direction. 0: the picture's
  // own rules.
  double LightCutoff = 0.0;
  // The part of the view traced; the whole view unless figures ask for less.
  EntryPart Entry;
  // Under LightCutoff, the pieces of light are followed heaviest band first (area
  // on the screen times the light carried inside), and a trace may do this
  // much work (RayTracer::WorkDone) before it finishes the pieces still
  // waiting as they are, their light left inside; 0: no limit.
  double WorkBudget = 0.0;
  // Under LightCutoff, asked every few hundred pieces: true abandons the
  // trace (RayTracer::Abandoned).
  std::function<bool()> Stop;
  // Under LightCutoff, told of each finished beam (as ExitBeams will list
  // it) as soon as it is finished, while its chain of parents is still at hand.
  std::function<void(const Race&)> Finished;
};

// The reflected share R of unpolarised light at cosine of incidence c and
// relative index k, or 1 beyond the critical angle.
double FresnelReflectance(double c, double k);

// The optics step of one beam: splits its light by the Fresnel law into the share
// leaving at its facet and the share carried on, and sets the direction in which
// the leaving light goes, in view coordinates. `f` is the frame in which the
// beam's facet was met; `view` the view matrix of the render.
void SetBeamLight(const Frame& f, Race& s, const TFacet& facet, const TraceOptions& options,
                  const Frame& view);

}  // namespace brillora
