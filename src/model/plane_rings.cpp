#include "model/plane_rings.h"

#include <cmath>
#include <numbers>

namespace brillora {

int PlaneRing::Nearest(double theta) const {
  return static_cast<int>(std::lround((theta - azimuth) * count / (2 * std::numbers::pi)));
}

PlaneRing::Range PlaneRing::Reaching(double rho, double theta, double z, double radius,
                                     double margin) const {
  // A facet at azimuth phi rises above the point by
  // horizontal * rho * cos(phi - theta) + nz * z - d; the ball adds its radius.
  const double reach = horizontal * rho;
  const double level = nz * z - d + radius + margin;
  if (!(level + reach > 0)) return {0, -1};
  // A ring of a few facets is quicker looked at whole than windowed.
  if (level - reach > 0 || count <= 4) return {0, count - 1};
  const double halfWidth = std::acos(-level / reach);
  const double sector = 2 * std::numbers::pi / count;
  // One sector more on either side covers the rounding of the angles.
  const int lo = static_cast<int>(std::ceil((theta - halfWidth - azimuth) / sector)) - 1;
  const int hi = static_cast<int>(std::floor((theta + halfWidth - azimuth) / sector)) + 1;
  if (hi - lo + 1 >= count) return {0, count - 1};
  return {lo, hi};
}

std::vector<PlaneRing> RingsOf(const StepList& steps) {
  std::vector<PlaneRing> rings;
  for (int m = 0; m < steps.Count(); ++m) {
    const int facets = steps.FacetCount(m);
    const int stride = steps.IsTier(m) ? steps.S1(m) + 1 : 1;
    for (int first = 0; first < stride && first < facets; ++first) {
      if (!steps.RingTakesPart(m, first)) continue;
      const TFacet& f = steps.Facets(m)[first];
      PlaneRing ring;
      ring.step = m;
      ring.first = first;
      ring.stride = stride;
      ring.count = (facets - first + stride - 1) / stride;
      ring.horizontal = std::hypot(f.Nx, f.Ny);
      ring.nz = f.Nz;
      ring.d = f.D;
      ring.azimuth = std::atan2(f.Ny, f.Nx);
      rings.push_back(ring);
    }
  }
  return rings;
}

}  // namespace brillora
