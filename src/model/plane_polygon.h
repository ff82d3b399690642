#pragma once

#include <vector>

#include "model/design.h"
#include "model/vec3.h"

namespace brillora {

// A convex polygon in the plane of a facet, corners counter-clockwise seen from
// the side the facet's normal points to, cut down one half-space at a time.
class PlanePolygon {
 public:
  // The square of the given half size on the plane, centred where the plane
  // comes nearest the origin.
  static PlanePolygon Square(const TFacet& plane, double halfSize);

  const std::vector<Vec3>& Corners() const { return corners_; }
  bool Empty() const { return corners_.empty(); }

  // False when no corner can lie within `margin` of the plane's outside: a
  // sphere about the corners stays further inside than that. One dot product.
  bool MayReach(const TFacet& plane, double margin) const {
    return Excess(plane, centre_) + radius_ > -margin;
  }

  // The largest excess of any corner over the plane.
  double Highest(const TFacet& plane) const;

  // Keeps the part where Excess(plane) <= offset. A corner within `snap` of
  // that boundary counts as on it and stays where it is, so a plane through a
  // corner (or grazing it by rounding) adds no second corner beside it; the
  // polygon may then lose up to `snap` beyond the boundary.
  void Clip(const TFacet& plane, double offset, double snap);

  Vec3 Centre() const { return centre_; }
  double Radius() const { return radius_; }
  // The centre's distance from the axis and azimuth.
  double CentreRho() const { return centreRho_; }
  double CentreAzimuth() const { return centreAzimuth_; }
  // The corners' largest distance from the axis and their lowest and highest z:
  // a tier's planes, alike but for azimuth, are judged against these at once.
  double OuterRadius() const { return outerRadius_; }
  double Lowest() const { return lowest_; }
  double Top() const { return top_; }

 private:
  void Bound();

  std::vector<Vec3> corners_;
  std::vector<Vec3> spare_;     // the next corners while cutting, kept for its storage
  std::vector<double> excess_;  // of each corner over the cutting plane
  Vec3 centre_;
  double radius_ = 0.0;
  double centreRho_ = 0.0;
  double centreAzimuth_ = 0.0;
  double outerRadius_ = 0.0;
  double lowest_ = 0.0;
  double top_ = 0.0;
};

}  // namespace brillora
