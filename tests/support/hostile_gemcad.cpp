#include "support/hostile_gemcad.h"

#include <cmath>
#include <cstdio>
#include <numbers>
#include <random>

namespace brillora::testing {

std::string HostileGemCadText(std::uint32_t seed, int tiers, int facetsPerTier) {
  std::mt19937 random(seed);
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  std::uniform_real_distribution<double> distance(0.999, 1.0);
  std::uniform_real_distribution<double> index(0.0, 96.0);
  std::string text = "GemCad 5.0\ng 96 0\ny 1 n\nI 2.42\nH A hostile stone\n";
  char line[64];
  for (int t = 0; t < tiers; ++t) {
    // Slopes whose sines are even spread the planes' normals evenly over the
    // sphere; the sign says crown or pavilion.
    const double slope = std::asin(unit(random)) * 180 / std::numbers::pi;
    std::snprintf(line, sizeof line, "a %.6f 1", slope);
    text += line;
    for (int f = 0; f < facetsPerTier; ++f) {
      std::snprintf(line, sizeof line, " %.4f", index(random));
      text += line;
    }
    text += '\n';
  }
  return text;
}

}  // namespace brillora::testing
