// Fire, spread and the ASET shares: a prism worked by hand, the budget of
// the ASET map, and the exact figures against rays followed one at a time at
// the C and F lines by the independent follower.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <string>

#include "analysis/colour_spread.h"
#include "analysis/light_figures.h"
#include "analysis/tilt_curve.h"
#include "sample_stone.h"
#include "single_ray_follower.h"
#include "trace/index_at_wavelength.h"

namespace brillora::testing {
namespace {

constexpr double kDegree = std::numbers::pi / 180;

TFacet FacetFacing(double degreesFromZ) {
  TFacet f;
  f.Nx = std::sin(degreesFromZ * kDegree);
  f.Nz = std::cos(degreesFromZ * kDegree);
  return f;
}

// A prism of apex angle `apex` met face up at incidence `incidence` on its
// first face: the textbook's exit angle θ2 = asin(n sin(A − asin(sin θ1 / n))),
// or nothing where the light cannot leave.
std::optional<double> PrismExitDegrees(double n, double incidence, double apex) {
  const double inside = std::asin(std::sin(incidence * kDegree) / n);
  const double sinOut = n * std::sin(apex * kDegree - inside);
  if (std::fabs(sinOut) > 1) return std::nullopt;
  return std::asin(sinOut) / kDegree;
}

// The same prism as one beam's path: entry facet tilted by the incidence
// (the viewer looks down the z axis), exit facet turned so that the two faces
// make the apex angle. The deviation θ1 + θ2 − A differs between the lines by
// their exit angles alone.
struct Prism {
  TFacet entry, exit;
  Race root, leaf;
  Prism(double incidence, double apex)
      : entry(FacetFacing(incidence)), exit(FacetFacing(incidence + 180 - apex)) {
    root.Facet = &entry;
    root.OutLight = 0.1;  // the external reflection
    leaf.Facet = &exit;
    leaf.Parent = &root;
    leaf.OutLight = 0.5;
  }
};

TEST(ColourSpread, APrismSpreadsTheLinesByTheTextbookDeviations) {
  struct Case {
    double index, dispersion, incidence, apex;
  };
  for (const Case& c : {Case{2.417, 0.044, 30, 20}, Case{1.544, 0.013, 45, 35}, Case{2.16, 0.060, 10, 15}}) {
    SCOPED_TRACE(std::to_string(c.index) + " apex " + std::to_string(c.apex));
    const double nC = IndexAtWavelength(c.index, c.dispersion, kLineC);
    const double nF = IndexAtWavelength(c.index, c.dispersion, kLineF);
    const double expected = *PrismExitDegrees(nF, c.incidence, c.apex) - *PrismExitDegrees(nC, c.incidence, c.apex);
    ASSERT_GT(expected, 0.05);  // blue bends more
    Prism prism(c.incidence, c.apex);
    ColourSpread colours(IdentityFrame(), c.index, c.dispersion);
    const std::span<const double> spread = colours.ChainSpread(prism.leaf);
    ASSERT_EQ(spread.size(), 2u);
    EXPECT_NEAR(spread[0], expected, 1e-9);
    EXPECT_EQ(spread[1], 0.0);  // reflected off the entry facet, never in the stone

    ColourSpread plain(IdentityFrame(), c.index, 0.0);
    EXPECT_EQ(plain.ChainSpread(prism.leaf)[0], 0.0);
  }
}

// Just below the C line's critical apex the C light still leaves, the F
// light, bent more, is held: the colours part for good.
TEST(ColourSpread, LightOneLineCannotLeaveCountsAsHalfATurn) {
  const double index = 2.417, dispersion = 0.044, incidence = 30;
  const double nC = IndexAtWavelength(index, dispersion, kLineC);
  const double criticalApexC = (std::asin(std::sin(incidence * kDegree) / nC) + std::asin(1 / nC)) / kDegree;
  const double apex = criticalApexC - 0.01;
  ASSERT_TRUE(PrismExitDegrees(nC, incidence, apex));
  ASSERT_FALSE(PrismExitDegrees(IndexAtWavelength(index, dispersion, kLineF), incidence, apex));
  Prism prism(incidence, apex);
  ColourSpread colours(IdentityFrame(), index, dispersion);
  EXPECT_EQ(colours.ChainSpread(prism.leaf)[0], 180.0);
  // Both held: as far apart.
  Prism steep(incidence, criticalApexC + 5);
  EXPECT_EQ(colours.ChainSpread(steep.leaf)[0], 180.0);
}

TEST(FireFigures, WithoutDispersionThereIsNoFireAndNoSpread) {
  LightAnalyzer analyzer;
  for (const char* file : {"RoundBrilliant.brl", "Hexagon6.brl"}) {
    for (const double tilt : {0.0, 17.0}) {
      const LightFigures f = analyzer.Analyze(SampleStone(file), TiltedView(7, tilt), {10, 9, 2.42, 0.0});
      EXPECT_EQ(f.Fire, 0.0) << file;
      EXPECT_EQ(f.Spread, 0.0) << file;
      EXPECT_GT(f.Iso, 0.3);
    }
  }
}

// Red and green share the light returned; blue is the head's shadow, black
// the leakage; with what stays unresolved (and the beams' rounding) they
// make the whole outline.
TEST(FireFigures, TheAsetSharesSplitTheOutline) {
  LightAnalyzer analyzer;
  for (const char* file : {"RoundBrilliant.brl", "Default.brl", "Dodecagon12.brl"}) {
    for (const double tilt : {0.0, -21.0}) {
      SCOPED_TRACE(std::string(file) + " tilt " + std::to_string(tilt));
      const LightFigures f = analyzer.Analyze(SampleStone(file), TiltedView(0, tilt), {10, 9, 2.42, 0.044});
      EXPECT_NEAR(f.AsetRed + f.AsetGreen, f.Iso, 1e-12);
      EXPECT_NEAR(f.AsetRed + f.AsetGreen + f.HeadShadow + f.Leakage + f.Unresolved, 1.0, 1e-3);
      EXPECT_NEAR(f.AsetRed + f.AsetGreen + f.HeadShadow + f.Leakage + f.Unresolved + f.Lost, 1.0, 1e-9);
      EXPECT_GT(f.AsetRed, 0.0);
      EXPECT_GT(f.AsetGreen, 0.0);
      EXPECT_GE(f.Fire, 0.0);
      EXPECT_LE(f.Fire, f.Iso + 1e-12);
    }
  }
  // A head wider than 45 degrees leaves no red.
  const LightFigures wide = analyzer.Analyze(SampleStone("RoundBrilliant.brl"), IdentityFrame(), {50, 9, 2.42});
  EXPECT_EQ(wide.AsetRed, 0.0);
  EXPECT_NEAR(wide.AsetGreen, wide.Iso, 1e-12);
}

constexpr int kSamples = 150'000;

struct Estimate {
  double sum = 0, squares = 0;
  int count = 0;
  void Add(double v) {
    sum += v;
    squares += v * v;
    ++count;
  }
  double Mean() const { return sum / count; }
  double Error() const {
    const double mean = Mean();
    return std::sqrt(std::max(0.0, squares / count - mean * mean) / count);
  }
};

void CrossCheckFire(const std::string& file, double ri, double dispersion, double tilt) {
  SCOPED_TRACE(file + " tilt " + std::to_string(tilt));
  const Stone stone = SampleStone(file);
  const Frame view = TiltedView(10, tilt);
  LightAnalyzer analyzer;
  const LightFigures exact = analyzer.Analyze(stone, view, {10, 9, ri, dispersion});

  std::mt19937_64 random(20261210);
  std::uniform_real_distribution<double> unit(-1.05, 1.05);
  Estimate red, fire, spread;
  for (int i = 0; i < kSamples; ++i) {
    const RayLight ray = FollowRay(stone, view, unit(random), unit(random), ri, 9, 10.0, dispersion);
    if (!ray.hit) continue;
    red.Add(ray.red);
    fire.Add(ray.fire);
    spread.Add(ray.spread);
  }
  ASSERT_GT(red.count, kSamples / 2);
  const auto expectNear = [](const char* name, double value, const Estimate& e) {
    EXPECT_NEAR(value, e.Mean(), 4 * e.Error() + 1e-5) << name << " from " << e.count << " rays";
  };
  expectNear("ASET red", exact.AsetRed, red);
  expectNear("fire", exact.Fire, fire);
  // The spread is a mean over the light returned: its sum is spread x ISO.
  expectNear("spread x ISO", exact.Spread * exact.Iso, spread);
  EXPECT_GT(exact.Fire, 0.05);
  EXPECT_GT(exact.Spread, 0.05);
}

TEST(FireFigures, FireSpreadAndRedMatchRaysFollowedAtEachLine) {
  CrossCheckFire("RoundBrilliant.brl", 2.417, 0.044, 0);
  CrossCheckFire("RoundBrilliant.brl", 2.16, 0.060, 13);
  CrossCheckFire("Hexagon6.brl", 1.544, 0.013, -8);
}

}  // namespace
}  // namespace brillora::testing
