#include "model/plane_polygon.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace brillora {

PlanePolygon PlanePolygon::Square(const TFacet& plane, double halfSize) {
  const Vec3 n = NormalOf(plane);
  const Vec3 foot = plane.D * n;
  // Any two directions across the normal, u x v = n, so that the square's
  // corners run counter-clockwise seen from the outside.
  Vec3 u = std::abs(n.x) < 0.9 ? Cross(n, {1, 0, 0}) : Cross(n, {0, 1, 0});
  u = (1.0 / Length(u)) * u;
  const Vec3 v = Cross(n, u);
  PlanePolygon square;
  square.corners_ = {foot + halfSize * (u + v), foot + halfSize * (v - u), foot - halfSize * (u + v),
                     foot + halfSize * (u - v)};
  square.Bound();
  return square;
}

double PlanePolygon::Highest(const TFacet& plane) const {
  double highest = -std::numeric_limits<double>::infinity();
  for (const Vec3& c : corners_) highest = std::max(highest, Excess(plane, c));
  return highest;
}

void PlanePolygon::Clip(const TFacet& plane, double offset, double snap) {
  const std::size_t count = corners_.size();
  if (count == 0) return;
  excess_.resize(count);
  bool anyOutside = false;
  for (std::size_t i = 0; i < count; ++i) {
    excess_[i] = Excess(plane, corners_[i]) - offset;
    anyOutside = anyOutside || !(excess_[i] <= snap);
  }
  if (!anyOutside) return;
  std::vector<Vec3>& kept = spare_;
  kept.clear();
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t j = i + 1 == count ? 0 : i + 1;
    const double a = excess_[i], b = excess_[j];
    if (a <= snap) kept.push_back(corners_[i]);
    if ((a < -snap && b > snap) || (a > snap && b < -snap)) {
      kept.push_back(corners_[i] + (a / (a - b)) * (corners_[j] - corners_[i]));
    }
  }
  corners_.swap(spare_);
  Bound();
}

void PlanePolygon::Bound() {
  centre_ = {};
  radius_ = 0.0;
  centreRho_ = 0.0;
  centreAzimuth_ = 0.0;
  outerRadius_ = 0.0;
  lowest_ = std::numeric_limits<double>::infinity();
  top_ = -lowest_;
  if (corners_.empty()) return;
  for (const Vec3& c : corners_) {
    centre_ = centre_ + c;
    outerRadius_ = std::max(outerRadius_, std::sqrt(c.x * c.x + c.y * c.y));
    lowest_ = std::min(lowest_, c.z);
    top_ = std::max(top_, c.z);
  }
  centre_ = (1.0 / static_cast<double>(corners_.size())) * centre_;
  centreRho_ = std::sqrt(centre_.x * centre_.x + centre_.y * centre_.y);
  centreAzimuth_ = std::atan2(centre_.y, centre_.x);
  for (const Vec3& c : corners_) radius_ = std::max(radius_, Length(c - centre_));
  // Rounding of the centre and the distances must not let a corner out.
  radius_ = radius_ * (1 + 1e-12) + 1e-12;
  outerRadius_ = outerRadius_ * (1 + 1e-12) + 1e-12;
}

}  // namespace brillora
