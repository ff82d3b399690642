#include "view/linear_to_color.h"

#include <cmath>

namespace brillora {
namespace {

std::uint32_t DisplayLevel(double v) {
  // Written as comparisons so that an undefined value (NaN) ends as 0.
  v = v > 0.0 ? v : 0.0;
  v = v < 1.0 ? v : 1.0;
  return static_cast<std::uint32_t>(std::nearbyint(std::sqrt(v) * 255.0));
}

}  // namespace

std::uint32_t LinearToColor(const LinearColor& color, int k) {
  const std::uint32_t red = DisplayLevel(color.R);
  const std::uint32_t green = DisplayLevel(color.G) / static_cast<std::uint32_t>(k);
  const std::uint32_t blue = DisplayLevel(color.B);
  return red + 256 * green + 65536 * blue;
}

}  // namespace brillora
