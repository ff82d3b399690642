// The construction finds the plane triples that make corners by search; every
// design whose stone the triple-by-triple construction builds soundly must
// come out of it bit for bit the same.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

#include "io/design_file.h"
#include "model/facet_construction.h"
#include "params/weight.h"
#include "support/brute_force_stone.h"
#include "support/long_design.h"
#include "support/random_design.h"
#include "support/stone_checks.h"
#include "support/trial_count.h"

namespace brillora {
namespace {

// The reference stone is closed, each facet's neighbours across its edges
// where they belong (a corner it merged away, unused, still counts), and
// encloses a volume (not a table laid flat on the culet).
bool Sound(const Stone& stone) {
  const std::string fault = testing::SurfaceFault(stone);
  return (fault.empty() || fault == "vertices that no facet uses") && SixfoldVolume(stone) > 1e-6;
}

TEST(CornerSearch, SamplesAreBuiltAsByEveryTriple) {
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(BRILLORA_SOURCE_DIR) / "GEM_DAT")) {
    if (entry.path().extension() != ".brl") continue;
    ++files;
    const DesignReadResult read = OpenDesignFile(entry.path());
    ASSERT_TRUE(read.ok()) << entry.path();
    Design searched = read.design, everyTriple = read.design;
    const Stone reference = testing::BruteForceConstruct(everyTriple);
    ASSERT_TRUE(Sound(reference)) << entry.path();
    EXPECT_EQ(testing::StoneDifference(ConstructStone(searched), reference), "") << entry.path();
  }
  EXPECT_GE(files, 40);
}

TEST(CornerSearch, RandomDesignsAreBuiltAsByEveryTriple) {
  std::mt19937 random(11);
  const int trials = testing::TrialCount(4000);
  int compared = 0;
  for (int trial = 0; trial < trials; ++trial) {
    Design searched = testing::RandomDesign(random);
    Design everyTriple = searched;
    const Stone reference = testing::BruteForceConstruct(everyTriple);
    const Stone stone = ConstructStone(searched);
    if (!Sound(reference)) continue;
    ++compared;
    ASSERT_EQ(testing::StoneDifference(stone, reference), "") << "trial " << trial << ", N = " << searched.SymOrder;
  }
  // Most random designs make stones the reference closes (the rest have
  // tiers too thin, or turned or split too far, for it).
  EXPECT_GT(compared, trials * 3 / 4);
}

TEST(CornerSearch, LongDesignsAreBuiltAsByEveryTriple) {
  struct Case {
    int tiers, symOrder;
    bool splits;
  };
#ifdef BRILLORA_SANITIZED
  const Case cases[] = {{16, 8, false}, {12, 16, true}};
#else
  const Case cases[] = {{40, 8, false}, {32, 16, true}, {30, 24, true}, {64, 48, false}};
#endif
  for (const Case& c : cases) {
    Design searched = testing::LongDesign(c.tiers, c.symOrder, c.splits);
    Design everyTriple = searched;
    const Stone reference = testing::BruteForceConstruct(everyTriple);
    ASSERT_TRUE(Sound(reference)) << c.tiers << " tiers, N = " << c.symOrder;
    EXPECT_EQ(testing::StoneDifference(ConstructStone(searched), reference), "")
        << c.tiers << " tiers, N = " << c.symOrder;
  }
}

}  // namespace
}  // namespace brillora
