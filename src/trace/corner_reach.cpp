#include "trace/corner_reach.h"

#include <algorithm>
#include <cmath>

#include "trace/simd_clones.h"

namespace brillora::trace {

LooseOctagon LoosenForSinglePrecision(const OctagonBounds& o, double largestCorner) {
  constexpr double kSlack = 1e-5;
  const double largestBound = std::max({std::fabs(o.minX), std::fabs(o.maxX), std::fabs(o.minY),
                                        std::fabs(o.maxY), std::fabs(o.minSum), std::fabs(o.maxSum),
                                        std::fabs(o.minDiff), std::fabs(o.maxDiff)});
  const double slack = kSlack * (1 + largestCorner + largestBound);
  const auto low = [slack](double v) { return static_cast<float>(v - slack); };
  const auto high = [slack](double v) { return static_cast<float>(v + slack); };
  return {low(o.minX),   high(o.maxX),   low(o.minY),    high(o.maxY),
          low(o.minSum), high(o.maxSum), low(o.minDiff), high(o.maxDiff)};
}

BRILLORA_AVX2_CLONE bool CornersMayReach(std::span<const CornerQuad> corners, const Frame& f,
                                         const LooseOctagon& o) {
  const auto project = [&f](const CornerQuad& quad, Quad& x, Quad& y) {
    x = f[0] * quad.x + f[1] * quad.y + f[2] * quad.z;
    y = f[3] * quad.x + f[4] * quad.y + f[5] * quad.z;
  };
  Quad x, y;
  project(corners[0], x, y);
  Quad lowX = x, highX = x, lowY = y, highY = y;
  Quad lowSum = x + y, highSum = x + y, lowDiff = y - x, highDiff = y - x;
  for (const CornerQuad& quad : corners.subspan(1)) {
    project(quad, x, y);
    const Quad sum = x + y, diff = y - x;
    lowX = x < lowX ? x : lowX;
    highX = x > highX ? x : highX;
    lowY = y < lowY ? y : lowY;
    highY = y > highY ? y : highY;
    lowSum = sum < lowSum ? sum : lowSum;
    highSum = sum > highSum ? sum : highSum;
    lowDiff = diff < lowDiff ? diff : lowDiff;
    highDiff = diff > highDiff ? diff : highDiff;
  }
  // Each side of the octagon needs one corner short of it.
  const auto any = [](QuadMask m) { return LaneBits(m) != 0; };
  return any(highX > o.minX) & any(lowX < o.maxX) & any(highY > o.minY) & any(lowY < o.maxY) &
         any(highSum > o.minSum) & any(lowSum < o.maxSum) & any(highDiff > o.minDiff) &
         any(lowDiff < o.maxDiff);
}

}  // namespace brillora::trace
