#include "params/weight.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

#include "model/default_design.h"
#include "model/facet_construction.h"
#include "params/materials.h"
#include "support/halfspace_clip.h"
#include "support/random_design.h"
#include "support/trial_count.h"

namespace brillora {
namespace {

// A cube of side 2 centred on the origin, as a stone: 6 square facets, outward
// counter-clockwise, table at z = 1 and culet at z = -1.
Stone Cube() {
  Stone s;
  for (int i = 0; i < 8; ++i) {
    s.AllVertices.push_back({i & 1 ? 1.0 : -1.0, i & 2 ? 1.0 : -1.0, i & 4 ? 1.0 : -1.0});
  }
  const auto facet = [&](double nx, double ny, double nz, std::vector<int> points) {
    TFacet f;
    f.Nx = nx, f.Ny = ny, f.Nz = nz, f.D = 1.0;
    f.Points = std::move(points);
    s.AllFacets.push_back(f);
  };
  facet(0, 0, -1, {0, 2, 3, 1});
  facet(-1, 0, 0, {0, 4, 6, 2});
  facet(1, 0, 0, {1, 3, 7, 5});
  facet(0, -1, 0, {0, 1, 5, 4});
  facet(0, 1, 0, {2, 6, 7, 3});
  facet(0, 0, 1, {4, 5, 7, 6});
  return s;
}

TEST(TripleProduct, IsTheDeterminantOfThreeVectors) {
  EXPECT_DOUBLE_EQ(TripleProduct({1, 0, 0}, {0, 1, 0}, {0, 0, 1}), 1.0);
  EXPECT_DOUBLE_EQ(TripleProduct({0, 1, 0}, {1, 0, 0}, {0, 0, 1}), -1.0);
  EXPECT_DOUBLE_EQ(TripleProduct({1, 2, 3}, {4, 5, 6}, {7, 8, 10}), -3.0);
}

TEST(Weight, CubeOfKnownVolume) {
  const Stone cube = Cube();
  EXPECT_DOUBLE_EQ(SixfoldVolume(cube) / 6, 8.0);
  // 1 unit = 5 mm: a 1 cm cube weighs 1 cm3 x 3.52 g/cm3 = 3.52 g = 17.6 ct.
  const StoneMeasures m = MeasureStone(cube, 5.0, 3.52);
  EXPECT_NEAR(m.weightCarats, 17.6, 1e-12);
  EXPECT_DOUBLE_EQ(m.crownHeightMm, 5.0);
  EXPECT_DOUBLE_EQ(m.pavilionHeightMm, 5.0);
  EXPECT_DOUBLE_EQ(m.totalHeightMm, 10.0);
}

TEST(Weight, StartingSegmentOnA400PixelPicture) {
  Design d = DefaultDesign();
  const Stone stone = ConstructStone(d);
  const WeightReport r = ComputeWeight(stone, 10.0, 3.52, {20, 20}, {120, 20}, 400);
  EXPECT_NEAR(r.segmentRatio, std::sqrt(10001.0) / 400, 1e-15);
  EXPECT_EQ(r.Label5, "(0.250)");
  const double mmPerUnit = 10.0 / r.segmentRatio / 2;
  EXPECT_NEAR(mmPerUnit, 19.999, 1e-3);
  EXPECT_NEAR(r.measures.crownHeightMm, 0.296955495 * mmPerUnit, 1e-6);
  // Labels are right-aligned, 2 decimals, width 5.
  EXPECT_EQ(r.CH, " 5.94");
  EXPECT_EQ(r.PH, "12.40");
  EXPECT_EQ(r.TH, "18.34");
}

TEST(Weight, DegenerateInputs) {
  Design d = DefaultDesign();
  const Stone stone = ConstructStone(d);
  // A segment of no length still has length 1 pixel.
  const WeightReport point = ComputeWeight(stone, 10.0, 3.52, {50, 50}, {50, 50}, 400);
  EXPECT_DOUBLE_EQ(point.segmentRatio, 1.0 / 400);
  EXPECT_TRUE(std::isfinite(point.measures.weightCarats));
  // Facets with two points or fewer weigh nothing.
  Stone flat = stone;
  for (TFacet& f : flat.AllFacets) f.Points.resize(2);
  EXPECT_EQ(ComputeWeight(flat, 10, 3.52, {20, 20}, {120, 20}, 400).WL, " 0.00");
  // No stone at all: zeros rather than reading past an empty list.
  EXPECT_EQ(ComputeWeight(Stone{}, 10, 3.52, {20, 20}, {120, 20}, 400).TH, " 0.00");
}

TEST(Weight, ScalesWithSizeAndSpecificGravity) {
  Design d = DefaultDesign();
  const Stone stone = ConstructStone(d);
  const auto at = [&](double size, double sg) {
    return ComputeWeight(stone, size, sg, {20, 20}, {120, 20}, 400).measures;
  };
  const StoneMeasures base = at(10, 3.52), doubled = at(20, 3.52), corundum = at(10, 4.00);
  EXPECT_NEAR(doubled.weightCarats, 8 * base.weightCarats, 1e-9);
  EXPECT_NEAR(doubled.crownHeightMm, 2 * base.crownHeightMm, 1e-12);
  EXPECT_NEAR(doubled.pavilionHeightMm, 2 * base.pavilionHeightMm, 1e-12);
  EXPECT_NEAR(corundum.weightCarats, base.weightCarats * 4.00 / 3.52, 1e-12);
  EXPECT_DOUBLE_EQ(corundum.totalHeightMm, base.totalHeightMm);
}

TEST(Weight, VolumeMatchesHalfSpaceIntersection) {
  std::mt19937 random(3);
  int compared = 0;
  const int wanted = testing::TrialCount(100);
  for (int trial = 0; compared < wanted && trial < 2000; ++trial) {
    Design d = testing::RandomDesign(random, {.minSymOrder = 3, .splits = false});
    const Stone stone = ConstructStone(d);
    if (!testing::WellConditioned(d) || stone.AllFacets.empty()) continue;
    const auto clipped = testing::ClipBox(testing::PlanesOf(d));
    if (clipped.volume <= 0 || clipped.volume > 100) continue;
    EXPECT_NEAR(SixfoldVolume(stone) / 6, clipped.volume, 5e-3 * clipped.volume);
    ++compared;
  }
  EXPECT_EQ(compared, wanted);
}

TEST(Materials, TableAsCuttersKnowIt) {
  EXPECT_EQ(kMaterials.size(), 25u);
  EXPECT_EQ(FindMaterial("Diamond")->specificGravity, 3.52);
  EXPECT_EQ(FindMaterial("Diamond")->refractiveIndex, 2.42);
  EXPECT_EQ(FindMaterial("Zircon (low)")->refractiveIndex, 1.81);
  EXPECT_FALSE(FindMaterial("diamond"));
  for (std::size_t i = 1; i < kMaterials.size(); ++i) {
    EXPECT_LE(kMaterials[i - 1].specificGravity, kMaterials[i].specificGravity);
  }
}

}  // namespace
}  // namespace brillora
