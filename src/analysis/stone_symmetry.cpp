#include "analysis/stone_symmetry.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <utility>

namespace brillora {

namespace {

// Corners (and planes) that a symmetry maps onto others within this share of
// the stone's size are one: far above the rounding of a construction, far
// below any real difference of two facets.
constexpr double kSame = 1e-9;
// An axis of the view counts as the stone's axis, or as lying in a mirror
// plane, within this; frames are single precision, but the turns of a tilt
// curve give exact zeros where they should.
constexpr double kOnAxis = 1e-9;
constexpr double kTwoPi = 2 * std::numbers::pi;

// Points sorted by height, for finding a point's match in logarithmic time.
class PointSet {
 public:
  PointSet(std::vector<Vec3> points, double tolerance)
      : points_(std::move(points)), tolerance_(tolerance) {
    std::sort(points_.begin(), points_.end(), [](const Vec3& a, const Vec3& b) { return a.z < b.z; });
  }

  bool Has(const Vec3& p) const {
    auto it = std::lower_bound(points_.begin(), points_.end(), p.z - tolerance_,
                               [](const Vec3& q, double z) { return q.z < z; });
    for (; it != points_.end() && it->z <= p.z + tolerance_; ++it) {
      if (std::fabs(it->x - p.x) <= tolerance_ && std::fabs(it->y - p.y) <= tolerance_) return true;
    }
    return false;
  }

  // The map m (a linear map of the girdle plane, heights kept) takes every
  // point onto a point of the set.
  template <typename Map>
  bool MapsOntoItself(const Map& m) const {
    return std::all_of(points_.begin(), points_.end(), [&](const Vec3& p) { return Has(m(p)); });
  }

  const std::vector<Vec3>& Points() const { return points_; }

 private:
  std::vector<Vec3> points_;
  double tolerance_;
};

// The stone as the tracer sees it: the corners of its facets and the foot of
// each facet's plane from the origin, which names the plane while the origin
// is inside the stone.
struct StoneShape {
  std::vector<Vec3> corners, feet;
  double size = 0;
};

StoneShape ShapeOf(const Stone& stone) {
  StoneShape shape;
  std::vector<char> used(stone.AllVertices.size(), 0);
  for (const TFacet& facet : stone.AllFacets) {
    if (facet.Points.size() < 3) continue;
    shape.feet.push_back({facet.Nx * facet.D, facet.Ny * facet.D, facet.Nz * facet.D});
    for (const int v : facet.Points) used[static_cast<std::size_t>(v)] = 1;
  }
  for (std::size_t v = 0; v < used.size(); ++v) {
    if (!used[v]) continue;
    const TVertex& p = stone.AllVertices[v];
    shape.corners.push_back({p.x, p.y, p.z});
    shape.size = std::max({shape.size, std::fabs(p.x), std::fabs(p.y), std::fabs(p.z)});
  }
  return shape;
}

double AngleOf(const Vec3& p) { return std::atan2(p.y, p.x); }
double Radius(const Vec3& p) { return std::hypot(p.x, p.y); }

// The angle brought into [0, period).
double Wrapped(double angle, double period) {
  angle = std::fmod(angle, period);
  return angle < 0 ? angle + period : angle;
}

// The nearness of two directions of lines, angles taken modulo pi.
bool SameLine(double a, double b) {
  const double d = Wrapped(a - b, std::numbers::pi);
  return d <= kOnAxis || std::numbers::pi - d <= kOnAxis;
}

auto Turn(double angle) {
  const double c = std::cos(angle), s = std::sin(angle);
  return [c, s](const Vec3& p) { return Vec3{c * p.x - s * p.y, s * p.x + c * p.y, p.z}; };
}

// The mirror in the plane through the z axis and the direction at `angle`.
auto Mirror(double angle) {
  const double c = std::cos(2 * angle), s = std::sin(2 * angle);
  return [c, s](const Vec3& p) { return Vec3{c * p.x + s * p.y, s * p.x - c * p.y, p.z}; };
}

// Stone direction (x, y, 0) in the view's plane.
std::array<double, 2> InView(const Frame& view, double angle) {
  const double x = std::cos(angle), y = std::sin(angle);
  return {RowDot(view, 0, x, y, 0), RowDot(view, 1, x, y, 0)};
}

std::array<double, 2> Unit(std::array<double, 2> v) {
  const double length = std::hypot(v[0], v[1]);
  return {v[0] / length, v[1] / length};
}

}  // namespace

StoneSymmetry FindSymmetry(const Stone& stone) {
  StoneShape shape = ShapeOf(stone);
  if (!(shape.size > 0)) return {};
  const double tolerance = kSame * shape.size;
  for (const Vec3& foot : shape.feet) {
    if (!(foot.x * foot.x + foot.y * foot.y + foot.z * foot.z > tolerance * tolerance)) return {};
  }
  const PointSet corners(std::move(shape.corners), tolerance);
  const PointSet feet(std::move(shape.feet), tolerance);
  const auto isSymmetry = [&](const auto& map) { return corners.MapsOntoItself(map) && feet.MapsOntoItself(map); };

  // Every symmetry takes the corner farthest from the axis to a corner as far
  // from it at the same height: those corners name every candidate.
  const Vec3 reference = *std::max_element(corners.Points().begin(), corners.Points().end(),
                                            [](const Vec3& a, const Vec3& b) { return Radius(a) < Radius(b); });
  if (!(Radius(reference) > tolerance)) return {};
  StoneSymmetry symmetry;
  double smallestTurn = kTwoPi;
  for (const Vec3& other : corners.Points()) {
    if (std::fabs(other.z - reference.z) > tolerance || std::fabs(Radius(other) - Radius(reference)) > tolerance)
      continue;
    const double turn = Wrapped(AngleOf(other) - AngleOf(reference), kTwoPi);
    if (turn > kOnAxis && kTwoPi - turn > kOnAxis && turn < smallestTurn && isSymmetry(Turn(turn)))
      smallestTurn = turn;
    double mirror = Wrapped((AngleOf(other) + AngleOf(reference)) / 2, std::numbers::pi);
    if (std::numbers::pi - mirror <= kOnAxis) mirror = 0;
    const bool known = std::any_of(symmetry.Mirrors.begin(), symmetry.Mirrors.end(),
                                   [&](double m) { return SameLine(m, mirror); });
    if (!known && isSymmetry(Mirror(mirror))) symmetry.Mirrors.push_back(mirror);
  }
  const double turns = std::round(kTwoPi / smallestTurn);
  if (turns >= 2 && std::fabs(turns * smallestTurn - kTwoPi) < 1e-6) symmetry.Turns = static_cast<int>(turns);
  std::sort(symmetry.Mirrors.begin(), symmetry.Mirrors.end());
  return symmetry;
}

EntryPart SymmetricPart(const StoneSymmetry& symmetry, const Frame& view) {
  // The view's axis in the stone's frame.
  const double ax = view[6], ay = view[7];
  const bool onStoneAxis = std::fabs(ax) <= kOnAxis && std::fabs(ay) <= kOnAxis;
  EntryPart part;
  if (onStoneAxis && symmetry.Turns > 1) {
    const int n = symmetry.Turns;
    const bool dihedral = symmetry.Mirrors.size() == static_cast<std::size_t>(n);
    if (dihedral || symmetry.Mirrors.empty()) {
      // The sector from direction `from` counter-clockwise by `angle`, in
      // whichever sense the view shows it.
      const double from = dihedral ? symmetry.Mirrors.front() : 0.0;
      const double angle = (dihedral ? 1.0 : 2.0) * std::numbers::pi / n;
      const auto first = InView(view, from), last = InView(view, from + angle);
      const double sense = first[0] * last[1] - first[1] * last[0] > 0 ? 1.0 : -1.0;
      part.Normals[0] = Unit({-sense * first[1], sense * first[0]});
      part.Lines = 1;
      // A half turn leaves a half of the view, which one line bounds.
      if (angle < std::numbers::pi - kOnAxis) {
        part.Normals[1] = Unit({sense * last[1], -sense * last[0]});
        part.Lines = 2;
      }
      return part;
    }
  }
  for (const double mirror : symmetry.Mirrors) {
    // The plane keeps the view's axis when the axis has no part along the
    // plane's normal (-sin, cos, 0).
    if (std::fabs(-std::sin(mirror) * ax + std::cos(mirror) * ay) > kOnAxis) continue;
    const double normal = mirror + std::numbers::pi / 2;
    part.Normals[0] = Unit(InView(view, normal));
    part.Lines = 1;
    return part;
  }
  return part;
}

bool MirrorsAbout(const StoneSymmetry& symmetry, double azimuth) {
  const double angle = azimuth * std::numbers::pi / 180;
  return std::any_of(symmetry.Mirrors.begin(), symmetry.Mirrors.end(),
                     [&](double m) { return SameLine(m, angle); });
}

}  // namespace brillora
