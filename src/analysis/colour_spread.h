#pragma once

#include <optional>
#include <span>
#include <vector>

#include "model/vec3.h"
#include "trace/frame.h"
#include "trace/race.h"

namespace brillora {

// The colour spread of the light a view returns. Along a finished beam's
// path the facets are fixed: the entry facet, the facets it is reflected at
// and the facet its light leaves by. Followed along that path at two
// wavelengths, the light of one viewing direction leaves in two directions,
// and the angle between them is how far the viewer's eye would have to move
// to see the one colour turn into the other. All directions are unit vectors
// in stone coordinates; normals point out of the stone.

// Where either line cannot leave by the path's last facet, the colours part
// for good: the spread of such light counts as this.
inline constexpr double kPartedColoursDegrees = 180.0;

// `travel` refracted into a stone of index `index` through a facet of normal `normal`.
Vec3 EnterStone(const Vec3& travel, const Vec3& normal, double index);
// `travel` reflected inside at a facet of normal `normal`.
Vec3 MirrorAt(const Vec3& travel, const Vec3& normal);
// `travel` leaving the stone through a facet of normal `normal`, or nullopt
// beyond the critical angle.
std::optional<Vec3> LeaveStone(const Vec3& travel, const Vec3& normal, double index);
// The angle between two unit directions, in degrees.
double AngleDegrees(const Vec3& a, const Vec3& b);

// The spread between the C and F lines of the light of a trace's beams, for
// one view and one material.
class ColourSpread {
 public:
  // `view` as the tracer reads it (row 2 toward the viewer), `index` the
  // material's refractive index at the sodium line, `dispersion` its
  // dispersion between the B and G lines.
  ColourSpread(const Frame& view, double index, double dispersion);

  // The spread in degrees of the light leaving at each beam of `leaf`'s
  // chain, in the order Parent walks it: the leaf first, its level-0 beam
  // last. 0 where no light leaves and for the light reflected off the entry
  // facet, which never enters; kPartedColoursDegrees where either line
  // cannot leave. With one index for both lines (no dispersion) every beam
  // follows one path and the spread is 0 throughout. Valid until the next call.
  std::span<const double> ChainSpread(const Race& leaf);

 private:
  Vec3 toStone_;  // the viewer's light travelling toward the stone
  double indexC_;
  double indexF_;
  std::vector<const Race*> chain_;
  std::vector<double> spread_;
};

}  // namespace brillora
