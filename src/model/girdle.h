#pragma once

namespace brillora {

// The crown's first tier is the girdle. The editor and the design files give
// it as a thickness (model units: the height of the girdle band at a
// corner), the construction as a position; a tier at slope a that rises by
// the thickness moves in by thickness / tan a.
double GirdlePosit(double thickness, double angleDegrees);
double GirdleThickness(double posit, double angleDegrees);

}  // namespace brillora
