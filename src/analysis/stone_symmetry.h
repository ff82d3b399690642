#pragma once

#include <vector>

#include "model/design.h"
#include "trace/entry_part.h"
#include "trace/frame.h"

namespace brillora {

// The symmetries of a stone about its z axis that the light figures use:
// turns about the axis and mirror planes through it. Each one maps the
// stone's corners onto its corners to within a rounding error.
struct StoneSymmetry {
  int Turns = 1;  // the turns by whole multiples of 360 / Turns degrees
  // The direction in the girdle plane of each mirror plane, in radians from
  // the x axis, from 0 up to pi, ascending.
  std::vector<double> Mirrors;
};

// The symmetries of `stone`; none for a stone without corners off its axis.
StoneSymmetry FindSymmetry(const Stone& stone);

// The part of the view through `view` (rows as the tracer reads them) that
// the symmetries keeping the view's axis repeat to fill the whole view: one
// sector between two neighbouring mirror lines, a sector of one turn, a half
// cut by a mirror line, or the whole view when none keeps the axis. Every
// such symmetry maps each light path on the view to a path of equal area,
// light and angle to the view's axis, so the figures of the part are the
// figures of the view.
EntryPart SymmetricPart(const StoneSymmetry& symmetry, const Frame& view);

// True when the plane through the z axis and the girdle-plane direction at
// `azimuth` degrees is a mirror plane: turning the stone by an angle about
// that axis then shows the mirror image of turning it by minus the angle.
bool MirrorsAbout(const StoneSymmetry& symmetry, double azimuth);

}  // namespace brillora
