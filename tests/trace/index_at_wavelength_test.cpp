#include <gtest/gtest.h>

#include <cmath>

#include "trace/index_at_wavelength.h"

namespace brillora {
namespace {

// The law's two constants, worked out by hand from its two conditions rather
// than by the program's formula: n(589.3) = nD and n(430.8) - n(686.7) = D
// are two linear equations in A and B, solved here by Cramer's rule.
struct Cauchy {
  double a, b;
};

Cauchy SolveByCramer(double nD, double dispersion) {
  // [1  1/589.3²] [A]   [nD]
  // [0  1/430.8² - 1/686.7²] [B] = [D]
  const double x1 = 1 / (589.3 * 589.3);
  const double x2 = 1 / (430.8 * 430.8) - 1 / (686.7 * 686.7);
  const double det = 1 * x2 - x1 * 0;
  return {(nD * x2 - x1 * dispersion) / det, (1 * dispersion - 0 * nD) / det};
}

TEST(IndexAtWavelength, GivesTheIndexAtTheSodiumLineAndTheDispersionBetweenBAndG) {
  for (const auto& [nD, dispersion] : {std::pair{2.417, 0.044}, {1.544, 0.013}, {2.16, 0.060}, {1.45, 0.0}}) {
    SCOPED_TRACE(std::to_string(nD) + " / " + std::to_string(dispersion));
    EXPECT_NEAR(IndexAtWavelength(nD, dispersion, 589.3), nD, 1e-14);
    EXPECT_NEAR(IndexAtWavelength(nD, dispersion, 430.8) - IndexAtWavelength(nD, dispersion, 686.7), dispersion,
                1e-14);
    const Cauchy law = SolveByCramer(nD, dispersion);
    for (const double nm : {656.3, 587.6, 486.1, 400.0, 700.0}) {
      EXPECT_NEAR(IndexAtWavelength(nD, dispersion, nm), law.a + law.b / (nm * nm), 1e-13) << nm;
    }
  }
}

TEST(IndexAtWavelength, WithoutDispersionEveryLineHasTheIndexItself) {
  for (const double nm : kPictureLines) EXPECT_EQ(IndexAtWavelength(2.417, 0.0, nm), 2.417);
}

// Diamond's C-F dispersion by the two-term law is about 0.025, as tables
// give it (0.025); and blue bends more than red.
TEST(IndexAtWavelength, DiamondsCToFDispersionIsTheTablesValue) {
  const double c = IndexAtWavelength(2.417, 0.044, kLineC);
  const double f = IndexAtWavelength(2.417, 0.044, kLineF);
  EXPECT_GT(f, c);
  EXPECT_NEAR(f - c, 0.025, 0.002);
}

}  // namespace
}  // namespace brillora
