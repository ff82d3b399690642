// GemCad designs that fit the tier model open as designs of tiers whose
// construction gives the file's stone; others are told apart with a reason.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "io/design_file.h"
#include "io/gemcad_file.h"
#include "model/facet_construction.h"
#include "model/gemcad_fit.h"
#include "model/step_editor.h"
#include "params/weight.h"

namespace brillora {
namespace {

const std::filesystem::path kSamples = std::filesystem::path(BRILLORA_SOURCE_DIR) / "GEM_DAT";

double Worst(const Stone& a, const Stone& b) {
  double worst = 0.0;
  for (const TVertex& v : a.AllVertices) {
    double best = INFINITY;
    for (const TVertex& w : b.AllVertices) best = std::min(best, std::hypot(v.x - w.x, v.y - w.y, v.z - w.z));
    worst = std::max(worst, best);
  }
  return worst;
}

TEST(GemCadFit, ExportedSamplesOpenAsTheirOwnTiers) {
  // Dodecagon12's construction takes corners 1e-4 apart as one, so its stone
  // is not the planes' own to within 1e-6 and it is told apart.
  for (const char* name : {"Default.brl", "Hexagon6.brl", "Round48.brl", "RoundBrilliant.brl"}) {
    const DesignReadResult read = OpenDesignFile(kSamples / name);
    ASSERT_TRUE(read.ok());
    EditorObserver quiet;
    const StepEditor editor(read.design, quiet);
    const GemCadReadResult gemcad = ReadGemCadText(GemCadText(GemCadOf(editor.CurrentDesign(), 1.54, name)));
    ASSERT_TRUE(gemcad.ok()) << gemcad.error;
    const GemCadFit fit = FitTierModel(gemcad.design);
    ASSERT_TRUE(fit.design) << name << ": " << fit.misfit;
    Design fitted = *fit.design;
    const Stone stone = ConstructStone(fitted);
    const Stone& original = *editor.State().stone;
    EXPECT_LT(std::max(Worst(stone, original), Worst(original, stone)), 1e-6) << name;
    EXPECT_EQ(fitted.CrownSteps.size(), editor.State().CrownSteps.size()) << name;
    EXPECT_EQ(fitted.PavilionSteps.size(), editor.State().PavilionSteps.size()) << name;
  }
}

TEST(GemCadFit, WhatDoesNotFitIsNamed) {
  const auto misfit = [](const char* text) {
    const GemCadReadResult r = ReadGemCadText(text);
    EXPECT_TRUE(r.ok()) << r.error;
    return FitTierModel(r.design).misfit;
  };
  EXPECT_NE(misfit("GemCad 5.0\ng 96 0\ny 4 n\na -45 0.7 0 24 48 72\na 80 1 0 24 48 72\na 45 1.06 0 12 24 48 72\na 0 1 0\n")
                .find("ring"),
            std::string::npos);
  EXPECT_NE(misfit("GemCad 5.0\ng 96 0\ny 13 n\na -45 0.7 0 24 48 72\na 90 1 0 24 48 72\n").find("symmetry"),
            std::string::npos);
  EXPECT_NE(misfit("GemCad 5.0\ng 96 0\ny 4 n\na -0 0.5 0\na 80 1 0 24 48 72\na 45 1.06 0 24 48 72\na 0 1 0\n").find("side"),
            std::string::npos);
}

// The usual GemCad girdle stands at 90 degrees. A square stone worked by hand:
// girdle facets x = 1 (and turned), a 45-degree pavilion to a point at z = -1,
// a 45-degree crown from z = 0.5 to a table at z = 1. Scaled so that the
// girdle's corners lie at radius 1, its corners are (+-h, +-h) at z = 0 and
// z = h / 2, the table's (+-h / 2, +-h / 2) at z = h and the culet (0, 0, -h),
// h = 1 / sqrt 2. It opens as tiers whose girdle stays at 90 degrees.
TEST(GemCadFit, AnUprightGirdleFitsAndStaysUpright) {
  const GemCadReadResult read =
      ReadGemCadText("GemCad 5.0\ng 96 0\ny 4 y\na -45 0.70710678118654752 0 24 48 72\na 90 1 0 24 48 72\n"
                     "a 45 1.06066017177982128 0 24 48 72\na 0 1 0\n");
  ASSERT_TRUE(read.ok()) << read.error;
  const GemCadFit fit = FitTierModel(read.design);
  ASSERT_TRUE(fit.design) << fit.misfit;
  EXPECT_EQ(fit.design->CrownSteps[1].Angle, 90.0);

  const double h = std::sqrt(0.5);
  std::vector<TVertex> byHand = {{0, 0, -h}};
  for (const double sx : {-1.0, 1.0}) {
    for (const double sy : {-1.0, 1.0}) {
      byHand.push_back({sx * h, sy * h, 0});
      byHand.push_back({sx * h, sy * h, h / 2});
      byHand.push_back({sx * h / 2, sy * h / 2, h});
    }
  }
  const Stone handStone{byHand, {}};
  EditorObserver quiet;
  const StepEditor editor(*fit.design, quiet);
  const Stone& opened = *editor.State().stone;
  EXPECT_EQ(opened.AllVertices.size(), byHand.size());
  EXPECT_LT(std::max(Worst(opened, handStone), Worst(handStone, opened)), 1e-6);
  EXPECT_EQ(editor.State().CrownSteps[1].Angle, 90.0);
  EXPECT_EQ(editor.CurrentDesign().CrownSteps[1].Angle, 90.0);
}

// A gear counted negative indexes the other way round: the brilliant-style
// sample written with every index negated on a gear of -96 teeth is the same
// stone, and opens as the sample's own tiers.
TEST(GemCadFit, AGearCountedBackwardsFits) {
  const DesignReadResult read = OpenDesignFile(kSamples / "RoundBrilliant.brl");
  ASSERT_TRUE(read.ok());
  EditorObserver quiet;
  const StepEditor editor(read.design, quiet);
  GemCadDesign backwards = GemCadOf(editor.CurrentDesign(), 1.54, "backwards");
  backwards.gearTeeth = -backwards.gearTeeth;
  for (GemCadTier& tier : backwards.tiers) {
    for (GemCadFacet& facet : tier.facets) facet.index = -facet.index;
  }
  const GemCadReadResult gemcad = ReadGemCadText(GemCadText(backwards));
  ASSERT_TRUE(gemcad.ok()) << gemcad.error;
  EXPECT_EQ(gemcad.design.gearTeeth, -96);
  const GemCadFit fit = FitTierModel(gemcad.design);
  ASSERT_TRUE(fit.design) << fit.misfit;
  Design fitted = *fit.design;
  const Stone stone = ConstructStone(fitted);
  EXPECT_LT(std::max(Worst(stone, *editor.State().stone), Worst(*editor.State().stone, stone)), 1e-6);
}

}  // namespace
}  // namespace brillora
