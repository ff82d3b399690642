#pragma once

#include <algorithm>
#include <cmath>

#include "model/design.h"

namespace brillora {

// How far the planes of one step can rise above a point, bounded from their
// shared traits: the facets of a tier differ only in azimuth, so one number
// says whether a point (or a ball) is well inside all of them.
class PlaneGroupBound {
 public:
  explicit PlaneGroupBound(const TFacet& f)
      : horizontal_(std::hypot(f.Nx, f.Ny)), nzLow_(f.Nz), nzHigh_(f.Nz), dLow_(f.D) {}

  void Add(const TFacet& f) {
    horizontal_ = std::max(horizontal_, std::hypot(f.Nx, f.Ny));
    nzLow_ = std::min(nzLow_, f.Nz);
    nzHigh_ = std::max(nzHigh_, f.Nz);
    dLow_ = std::min(dLow_, f.D);
  }

  // At least the largest excess of any of the planes at a point at distance
  // rho from the axis and height z.
  double Above(double rho, double z) const {
    return horizontal_ * rho + std::max(nzLow_ * z, nzHigh_ * z) - dLow_;
  }

  // At least the largest excess of any of the planes at any point within
  // `outer` of the axis and between heights zLow and zHigh.
  double Above(double outer, double zLow, double zHigh) const {
    return horizontal_ * outer + std::max(std::max(nzLow_ * zLow, nzLow_ * zHigh),
                                          std::max(nzHigh_ * zLow, nzHigh_ * zHigh)) - dLow_;
  }

  // The size of the terms of Above: a bound on the rounding of any of the
  // planes' excess, and of Above itself, is a small multiple of this times
  // the unit roundoff.
  double Scale(double rho, double z) const {
    return 1.0 + horizontal_ * rho + std::max(std::abs(nzLow_), std::abs(nzHigh_)) * std::abs(z) +
           std::abs(dLow_);
  }

 private:
  double horizontal_;
  double nzLow_;
  double nzHigh_;
  double dLow_;
};

}  // namespace brillora
