// Designs the reader accepts but the sector-wise construction cannot build:
// each must still give a closed stone within the girdle's bounds, or none
// when its planes close no solid.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <sstream>
#include <string>

#include "io/design_file.h"
#include "model/facet_construction.h"
#include "params/weight.h"
#include "support/halfspace_clip.h"
#include "support/long_design.h"
#include "support/stone_checks.h"

namespace brillora {
namespace {

std::string SampleText(const std::string& name) {
  std::ifstream in(std::filesystem::path(BRILLORA_SOURCE_DIR) / "GEM_DAT" / name, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  const auto at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

Design Read(const std::string& text) {
  const DesignReadResult read = ReadDesignText(text);
  EXPECT_TRUE(read.ok()) << read.error;
  return read.design;
}

double LargestRadius(const Stone& stone) {
  double r = 0;
  for (const TVertex& v : stone.AllVertices) r = std::max(r, std::hypot(v.x, v.y));
  return r;
}

// The volume of the plain half-space intersection of the design's planes.
double ClippedVolume(const Design& d) { return testing::ClipBox(testing::PlanesOf(d)).volume; }

TEST(StoneSoundness, RepeatedPavilionStepAddsNoSecondFacet) {
  // Round48 with its pavilion's third step written twice and the count left at
  // four: the last step is lost (its line is read as the refractive index)
  // and two identical tiers follow each other.
  const std::string third = "3\t38.00\t0\t0\t0.70\t0\r\n";
  Design d = Read(Replace(SampleText("Round48.brl"), third, third + third));
  ASSERT_EQ(d.PavilionSteps.size(), 6u);
  const Stone stone = ConstructStone(d);
  EXPECT_EQ(testing::SurfaceFault(stone), "");
  // Step list: culet 0, pavilion steps 4 (the copy) 1, 3 at 2, 2 at 3, 1 at 4:
  // the two copies share 48 facets between them, not 96.
  int copies = 0;
  for (const TFacet& f : stone.AllFacets) copies += f.Step == 1 || f.Step == 2;
  EXPECT_EQ(copies, 48);
  EXPECT_EQ(stone.AllFacets.size(), 386u - 48u);
  // Inside the unit girdle, and the solid its planes bound (about the
  // sample's 1.84, not 49.7).
  EXPECT_LE(LargestRadius(stone), 1.0 + 1e-9);
  EXPECT_NEAR(SixfoldVolume(stone) / 6, ClippedVolume(d), 1e-6);
  EXPECT_LT(SixfoldVolume(stone) / 6, 2.0);
}

TEST(StoneSoundness, TwoUnsplitSectorsCloseNoStone) {
  // Two facets per tier bound the stone on two sides only.
  Design d = Read(Replace(SampleText("Round48.brl"), "48 Order of Symmetry", "2 Order of Symmetry"));
  const Stone stone = ConstructStone(d);
  EXPECT_TRUE(stone.AllFacets.empty());
  EXPECT_TRUE(stone.AllVertices.empty());
  const StoneMeasures m = MeasureStone(stone, 6.5, 3.52);
  EXPECT_EQ(m.weightCarats, 0.0);
  EXPECT_EQ(m.totalHeightMm, 0.0);
}

TEST(StoneSoundness, PointedCuletIsOneVertexOnTheAxis) {
  // A last pavilion tier at position 0 closes on the axis: the sector-wise
  // construction would make that point once per sector.
  Design d = Read(Replace(SampleText("Round48.brl"), "4\t30.00\t0\t1\t0.20\t0", "4\t30.00\t0\t1\t0.00\t0"));
  const Stone stone = ConstructStone(d);
  EXPECT_EQ(testing::SurfaceFault(stone), "");
  int onAxis = 0;
  for (const TVertex& v : stone.AllVertices) onAxis += std::hypot(v.x, v.y) < 1e-9;
  EXPECT_EQ(onAxis, 1);
  EXPECT_NEAR(SixfoldVolume(stone) / 6, ClippedVolume(d), 1e-6);
  // No culet facet: the stone ends in the point.
  EXPECT_NE(stone.AllFacets.front().Step, 0);
}

TEST(StoneSoundness, LongestDesignFileBuildsAClosedStoneInsideItsPlanes) {
  // As many steps a side as the reader takes, 48-fold, split: its tiers are
  // thinner than the sector-wise construction can tell apart.
  const Design written = testing::LongDesign(500, 48, true);
  Design d = Read(DesignFileText(written, 1.54, "Date", "Time"));
  ASSERT_EQ(d.CrownSteps.size(), 502u);
  const Stone stone = ConstructStone(d);
  ASSERT_EQ(testing::SurfaceFault(stone), "");
  EXPECT_LE(LargestRadius(stone), 1.0 + 1e-9);
  // Every corner of the first sector inside every plane (the others are turned
  // copies).
  const auto planes = testing::PlanesOf(d);
  for (std::size_t i = 0; i < stone.AllVertices.size() / 48; ++i) {
    const TVertex& v = stone.AllVertices[i];
    for (const auto& h : planes) {
      ASSERT_LE(h.nx * v.x + h.ny * v.y + h.nz * v.z - h.d, 1e-5) << "vertex " << i;
    }
  }
}

TEST(StoneSoundness, LongDesignIsTheSolidItsPlanesBound) {
  Design d = testing::LongDesign(100, 8, true);
  const Stone stone = ConstructStone(d);
  ASSERT_EQ(testing::SurfaceFault(stone), "");
  const auto clipped = testing::ClipBox(testing::PlanesOf(d));
  EXPECT_NEAR(SixfoldVolume(stone) / 6, clipped.volume, 1e-6 * clipped.volume);
  EXPECT_EQ(stone.AllVertices.size(), clipped.vertices.size());
}

}  // namespace
}  // namespace brillora
