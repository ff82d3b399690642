#include "model/facet_construction.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "model/default_design.h"
#include "model/gear.h"
#include "model/girdle.h"

namespace brillora {
namespace {

constexpr double kPi = std::numbers::pi;

TEST(Gear, TableOfNotchesAndHalfSectors) {
  const int orders[] = {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 16, 24, 36, 48};
  const int halves[] = {24, 16, 12, 8, 8, 6, 6, 4, 4, 4, 4, 3, 2, 1, 1};
  for (int i = 0; i < 15; ++i) {
    const int g = GearNotchesFor(orders[i]);
    EXPECT_EQ(HalfSectorNotches(orders[i], g), halves[i]) << "N = " << orders[i];
    EXPECT_TRUE(IsSymmetryOrder(orders[i]));
  }
  EXPECT_EQ(GearNotchesFor(5), 80);
  EXPECT_EQ(GearNotchesFor(7), 84);
  EXPECT_EQ(GearNotchesFor(9), 72);
  EXPECT_EQ(GearNotchesFor(11), 88);
  EXPECT_EQ(GearNotchesFor(36), 96);
  EXPECT_FALSE(IsSymmetryOrder(13));
}

TEST(DefaultDesign, ShapeAndGirdle) {
  const Design d = DefaultDesign();
  EXPECT_EQ(d.CrownSteps.size(), 4u);
  EXPECT_EQ(d.PavilionSteps.size(), 3u);
  EXPECT_EQ(d.SymOrder, 8);
  EXPECT_EQ(d.GearNotches, 96);
  EXPECT_NEAR(d.CrownSteps[1].Posit, 0.998778145455, 1e-12);
}

TEST(DefaultDesign, HeightsAndPlanesMatchHandWorkedValues) {
  Design d = DefaultDesign();
  const Stone stone = ConstructStone(d);
  // Girdle tier: vertical rise 0.07 * cos(pi/8) before the 40-degree crown tier.
  const double girdleHeight = 0.07 * std::cos(kPi / 8);
  EXPECT_NEAR(girdleHeight, 0.0647, 1e-4);
  const double c1 = std::cos(kPi / 8) * d.CrownSteps[1].Posit;
  const double cot40 = 1 / std::tan(40 * kPi / 180);
  EXPECT_NEAR(d.CrownSteps[0].Facets[0].D, girdleHeight + 0.3 * c1 / cot40, 1e-9);
  EXPECT_NEAR(d.CrownSteps[0].Facets[0].D, 0.29696, 1e-5);
  EXPECT_NEAR(d.PavilionSteps[0].Facets[0].D, 0.62018, 1e-5);
  EXPECT_NEAR(d.CrownSteps[2].Facets[0].D, 0.64267, 1e-5);

  EXPECT_EQ(stone.AllVertices.size(), 32u);
  ASSERT_EQ(stone.AllFacets.size(), 26u);
  EXPECT_EQ(stone.AllFacets.front().Points.size(), 8u);
  EXPECT_EQ(stone.AllFacets.back().Points.size(), 8u);
  for (std::size_t i = 1; i + 1 < stone.AllFacets.size(); ++i) {
    EXPECT_EQ(stone.AllFacets[i].Points.size(), 4u) << "facet " << i;
  }
  EXPECT_LT(stone.AllFacets.front().Nz, 0);
  EXPECT_GT(stone.AllFacets.back().Nz, 0);
  EXPECT_EQ(stone.AllFacets.front().Step, 0);
  EXPECT_EQ(stone.AllFacets.back().Step, 4);  // culet, pavilion tier, girdle, crown tier, table
}

// An upright girdle of the same thickness rises as a prism: the crown tier
// starts at the girdle's own apothem, so the table lies at
// cos(pi/8) (0.07 + 0.3 tan 40) and no corner climbs higher. (Its facets
// lean at the least cotangent, 1e-6: the crown starts 1e-6 x 0.07 of an
// apothem inside, 2e-8 lower.)
TEST(DefaultDesign, AnUprightGirdleIsAPrismOfItsThickness) {
  Design d = DefaultDesign();
  const double thickness = GirdleThickness(d.CrownSteps[1].Posit, d.CrownSteps[1].Angle);
  d.CrownSteps[1].Angle = 90.0;
  d.CrownSteps[1].Posit = GirdlePosit(thickness, 90.0);
  const Stone stone = ConstructStone(d);
  const double c = std::cos(kPi / 8);
  const double table = c * (0.07 + 0.3 * std::tan(40 * kPi / 180));
  EXPECT_NEAR(thickness, 0.07, 1e-12);
  EXPECT_NEAR(d.CrownSteps[0].Facets[0].D, table, 1e-7);
  ASSERT_EQ(stone.AllVertices.size(), 32u);
  for (const TVertex& v : stone.AllVertices) EXPECT_LE(v.z, table + 1e-7);
  // The girdle's corners stand over one another: radius 1 at the foot and at
  // the top, a thickness apart.
  int girdleTop = 0;
  for (const TVertex& v : stone.AllVertices) {
    if (std::abs(v.z - 0.07 * c) < 1e-9) {
      EXPECT_NEAR(std::hypot(v.x, v.y), 1.0, 1e-6);
      ++girdleTop;
    }
  }
  EXPECT_EQ(girdleTop, 8);
}

TEST(DefaultDesign, AutoGirdleKeepsItsTypedSlopeAsFirstTier) {
  Design d = DefaultDesign();
  ConstructStone(d);
  // The first tier's Auto has no earlier tier to meet: its slope stays as typed.
  EXPECT_NEAR(d.CrownSteps[1].Angle, 89.0, 1e-9);
  EXPECT_NEAR(d.PavilionSteps[1].Angle, 40.0, 1e-9);
}

TEST(Construction, IdenticalSidesGiveMirrorPlanes) {
  Design d = DefaultDesign();
  d.PavilionSteps = d.CrownSteps;
  d.PavilionSteps[0].Posit = 1.0;
  BuildStepPlanes(+1, 8, 96, d.CrownSteps);
  BuildStepPlanes(-1, 8, 96, d.PavilionSteps);
  for (std::size_t k = 0; k + 1 < d.CrownSteps.size(); ++k) {
    ASSERT_EQ(d.CrownSteps[k].Facets.size(), d.PavilionSteps[k].Facets.size());
    for (std::size_t f = 0; f < d.CrownSteps[k].Facets.size(); ++f) {
      const TFacet& c = d.CrownSteps[k].Facets[f];
      const TFacet& p = d.PavilionSteps[k].Facets[f];
      EXPECT_DOUBLE_EQ(c.Nx, p.Nx);
      EXPECT_DOUBLE_EQ(c.Ny, p.Ny);
      EXPECT_DOUBLE_EQ(c.D, p.D);
      EXPECT_DOUBLE_EQ(c.Nz, -p.Nz);
    }
  }
}

TEST(Construction, AutoTierWithoutShiftIsSlightlyFlatter) {
  Design d = DefaultDesign();
  TStep next = d.PavilionSteps[1];
  next.Posit = 0.5;
  d.PavilionSteps.insert(d.PavilionSteps.begin() + 2, next);  // Auto, Shift 0
  d.PavilionSteps[1].Auto = false;
  d.PavilionSteps[1].Posit = 0.6;
  BuildStepPlanes(-1, 8, 96, d.PavilionSteps);
  const double first = 1 / std::tan(d.PavilionSteps[1].Angle * kPi / 180);
  const double second = 1 / std::tan(d.PavilionSteps[2].Angle * kPi / 180);
  EXPECT_NEAR(second / first, 1.001, 1e-9);
  EXPECT_LT(d.PavilionSteps[2].Angle, d.PavilionSteps[1].Angle);
}

TEST(Construction, RotatedAutoTierLowersThePreviousPosition) {
  Design d = DefaultDesign();
  TStep next = d.PavilionSteps[1];
  next.Shift = 6;  // half a sector: the tier sits over the previous tier's corners
  d.PavilionSteps.insert(d.PavilionSteps.begin() + 2, next);
  d.PavilionSteps[1].Auto = false;
  d.PavilionSteps[1].Posit = 0.99;
  BuildStepPlanes(-1, 8, 96, d.PavilionSteps);
  const double p = std::cos(kPi / 8) / std::cos(kPi / 8 - 2 * kPi / 96 * 6);
  EXPECT_DOUBLE_EQ(d.PavilionSteps[1].Posit, 0.999999 * p);
}

TEST(Construction, PlaceholderNeverContributesFacets) {
  Design d = DefaultDesign();
  const Stone stone = ConstructStone(d);
  for (const TFacet& f : stone.AllFacets) {
    EXPECT_FALSE(f.Nx == 0 && f.Ny == 0 && f.D == 0) << "placeholder facet in the stone";
  }
  ASSERT_EQ(d.CrownSteps.back().Facets.size(), 1u);
  EXPECT_EQ(d.CrownSteps.back().Facets[0].D, 0.0);
  EXPECT_EQ(d.CrownSteps.back().Facets[0].Nz, 1.0);
}

TEST(PseudoAngle, FallsMonotonicallyCounterClockwise) {
  // 225, 270, 315, 0, 45, 90, 135 and 180 degrees.
  const double a[] = {-1, 0, 1, 1, 1, 0, -1, -1};
  const double b[] = {-1, -1, -1, 0, 1, 1, 1, 0};
  const double expected[] = {3, 2, 1, 0, -1, -2, -3, -4};
  for (int i = 0; i < 8; ++i) EXPECT_DOUBLE_EQ(PseudoAngle(a[i], b[i]), expected[i]) << i;
  double previous = 1e9;
  for (double deg = -134.0; deg <= 225.0; deg += 0.5) {
    const double r = deg * kPi / 180;
    const double key = PseudoAngle(std::cos(r), std::sin(r));
    EXPECT_LT(key, previous) << deg;
    previous = key;
  }
}

TEST(Construction, FourPlanesThroughOnePointShareOneVertex) {
  Design d = DefaultDesign();
  const Stone stone = ConstructStone(d);
  // Every corner of the default stone is shared by at least three facets and
  // no two vertices coincide.
  std::vector<int> uses(stone.AllVertices.size(), 0);
  for (const TFacet& f : stone.AllFacets) {
    for (int v : f.Points) ++uses[v];
  }
  for (std::size_t i = 0; i < uses.size(); ++i) {
    EXPECT_GE(uses[i], 3) << "vertex " << i;
    for (std::size_t j = i + 1; j < uses.size(); ++j) {
      const TVertex& a = stone.AllVertices[i];
      const TVertex& b = stone.AllVertices[j];
      EXPECT_GT(std::abs(a.x - b.x) + std::abs(a.y - b.y) + std::abs(a.z - b.z), 1e-3);
    }
  }
}

}  // namespace
}  // namespace brillora
