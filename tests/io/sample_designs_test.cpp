// Every design shipped in GEM_DAT reads, builds a closed stone and has the
// facets its description promises.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>

#include "io/design_file.h"
#include "model/facet_construction.h"
#include "support/stone_checks.h"

namespace brillora {
namespace {

const std::filesystem::path kSamples = std::filesystem::path(BRILLORA_SOURCE_DIR) / "GEM_DAT";

Stone BuildSample(const std::string& name, Design* designOut = nullptr) {
  DesignReadResult read = OpenDesignFile(kSamples / name);
  EXPECT_TRUE(read.ok()) << name << ": " << read.error;
  Stone stone = ConstructStone(read.design);
  if (designOut) *designOut = read.design;
  return stone;
}

std::map<int, int> FacetsPerStep(const Stone& stone) {
  std::map<int, int> count;
  for (const TFacet& f : stone.AllFacets) ++count[f.Step];
  return count;
}

TEST(SampleDesigns, EveryFileBuildsAClosedStone) {
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(kSamples)) {
    if (entry.path().extension() != ".brl") continue;
    ++files;
    const Stone stone = BuildSample(entry.path().filename().string());
    EXPECT_EQ(testing::SurfaceFault(stone), "") << entry.path();
  }
  EXPECT_EQ(files, 5);
}

TEST(SampleDesigns, DefaultMatchesTheStartingDesign) {
  const Stone stone = BuildSample("Default.brl");
  EXPECT_EQ(stone.AllVertices.size(), 32u);
  EXPECT_EQ(stone.AllFacets.size(), 26u);
}

TEST(SampleDesigns, RoundBrilliantHasTheClassicFacetFamilies) {
  Design d;
  const Stone stone = BuildSample("RoundBrilliant.brl", &d);
  EXPECT_EQ(d.GearNotches, 96);
  // culet, mains, lower halves, girdle, upper halves, bezels, stars, table
  const std::map<int, int> expected = {{0, 1}, {1, 8}, {2, 16}, {3, 16}, {4, 16}, {5, 8}, {6, 8}, {7, 1}};
  EXPECT_EQ(FacetsPerStep(stone), expected);
  EXPECT_NEAR(d.CrownSteps[3].Angle, 34.5, 1e-9);
  EXPECT_NEAR(d.PavilionSteps[2].Angle, 40.75, 1e-9);
  double tableRadius = 0;
  for (int v : stone.AllFacets.back().Points) {
    const TVertex& p = stone.AllVertices[v];
    tableRadius = std::max(tableRadius, std::hypot(p.x, p.y));
  }
  EXPECT_GE(tableRadius, 0.53);  // table width over girdle width, corner to corner
  EXPECT_LE(tableRadius, 0.58);
}

TEST(SampleDesigns, HigherOrdersHaveFourTiersASide) {
  for (const auto& [name, order] : {std::pair{"Hexagon6.brl", 6}, {"Dodecagon12.brl", 12}, {"Round48.brl", 48}}) {
    Design d;
    const Stone stone = BuildSample(name, &d);
    EXPECT_EQ(d.SymOrder, order);
    EXPECT_GE(d.CrownSteps.size(), 6u);
    EXPECT_GE(d.PavilionSteps.size(), 6u);
    // Every tier shows: N facets per tier, plus table and culet.
    const std::size_t tiers = d.CrownSteps.size() + d.PavilionSteps.size() - 4;
    EXPECT_EQ(stone.AllFacets.size(), tiers * order + 2) << name;
  }
}

}  // namespace
}  // namespace brillora
