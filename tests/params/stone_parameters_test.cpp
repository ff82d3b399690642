#include "params/stone_parameters.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/default_design.h"
#include "model/facet_construction.h"
#include "model/number_text.h"
#include "params/materials.h"

namespace brillora {
namespace {

using Box = StoneParameters::Box;

struct Recorder : StoneParametersListener {
  int weights = 0;
  int traces = 0;
  void WeightComputed() override { ++weights; }
  void RefractiveIndexApplied() override { ++traces; }
};

class StoneParametersTest : public ::testing::Test {
 protected:
  StoneParametersTest() {
    Design design = DefaultDesign();
    params.SetStone(std::make_shared<const Stone>(ConstructStone(design)));
    params.SetPictureWidth(400);
    params.SetListener(&recorder);
  }

  int IndexOf(Box box, const std::string& text) const {
    const auto& entries = params.List(box).Entries();
    for (std::size_t i = 0; i < entries.size(); ++i) {
      if (entries[i] == text) return static_cast<int>(i);
    }
    return -1;
  }

  StoneParameters params;
  Recorder recorder;
};

TEST(MaterialListTest, EntryTextsAndNumbers) {
  EXPECT_EQ(MaterialEntry(3.52, "Diamond"), "3.52 Diamond");
  EXPECT_EQ(EntryName("3.52 Diamond"), "Diamond");
  EXPECT_EQ(EntryName("3.00"), "");
  double v = 0.0;
  EXPECT_TRUE(ParseCleanNumber("  3.5", v));
  EXPECT_DOUBLE_EQ(v, 3.5);
  EXPECT_FALSE(ParseCleanNumber("3.5x", v));
  EXPECT_FALSE(ParseCleanNumber("3.5 ", v));
  EXPECT_FALSE(ParseCleanNumber("", v));
  EXPECT_FALSE(ParseCleanNumber("inf", v));
  EXPECT_FALSE(ParseCleanNumber("nan", v));
  // The list once took these through the library's own grammar.
  EXPECT_FALSE(ParseCleanNumber("-inf", v));
  EXPECT_FALSE(ParseCleanNumber("1e999", v));
  EXPECT_TRUE(ParseCleanNumber("-2", v));
  EXPECT_DOUBLE_EQ(v, -2.0);
}

TEST_F(StoneParametersTest, StartsWithDiamondInBothLists) {
  EXPECT_EQ(params.List(Box::SG).Entries().size(), kMaterials.size());
  EXPECT_EQ(params.List(Box::SG).Text(), "3.52 Diamond");
  EXPECT_EQ(params.List(Box::RI).Text(), "2.42 Diamond");
  EXPECT_DOUBLE_EQ(params.RefractiveIndex(), 2.42);
  EXPECT_DOUBLE_EQ(params.SpecificGravity(), 3.52);
  EXPECT_EQ(params.RIBar(), 242);
  EXPECT_FALSE(params.Custom());
  EXPECT_FALSE(params.RILabelVisible());
  EXPECT_EQ(params.SizeText(), "10");
  EXPECT_EQ(params.SegmentLabel(), "[mm]");
  EXPECT_EQ(params.RIBoxColour(), StoneParameters::ListColour::Initial);
  // Both lists by value: the refractive indices run 1.45 Opal .. 2.42 Diamond.
  EXPECT_EQ(params.List(Box::RI).Entries().front(), "1.45 Opal");
  EXPECT_EQ(params.List(Box::RI).Entries().back(), "2.42 Diamond");
  EXPECT_EQ(params.List(Box::SG).Entries().front(), "1.07 Amber");
  EXPECT_EQ(params.List(Box::SG).Entries().back(), "6.90 Cassiterite");
}

TEST_F(StoneParametersTest, ChoosingCorundumFollowsInTheOtherList) {
  params.SelectEntry(Box::SG, IndexOf(Box::SG, "4.00 Corundum"));
  EXPECT_EQ(params.List(Box::RI).Text(), "1.77 Corundum");
  EXPECT_EQ(params.List(Box::RI).ItemIndex(), IndexOf(Box::RI, "1.77 Corundum"));
  EXPECT_DOUBLE_EQ(params.RefractiveIndex(), 1.77);
  EXPECT_DOUBLE_EQ(params.SpecificGravity(), 4.00);
  EXPECT_EQ(params.RIBar(), 177);
  EXPECT_EQ(recorder.weights, 1);
  EXPECT_GE(recorder.traces, 1);
}

TEST_F(StoneParametersTest, CustomModeKeepsTheBarIndex) {
  params.RIBarEnter();
  EXPECT_TRUE(params.Custom());
  EXPECT_TRUE(params.RILabelVisible());
  EXPECT_EQ(params.RIBoxColour(), StoneParameters::ListColour::WindowText);
  params.MoveRIBar(200);
  EXPECT_DOUBLE_EQ(params.RefractiveIndex(), 2.00);
  EXPECT_EQ(params.RILabel(), "Refractive Index = 2.00");
  params.SelectEntry(Box::SG, IndexOf(Box::SG, "4.00 Corundum"));
  EXPECT_DOUBLE_EQ(params.SpecificGravity(), 4.00);
  EXPECT_EQ(params.List(Box::RI).Text(), "1.77 Corundum");
  EXPECT_DOUBLE_EQ(params.RefractiveIndex(), 2.00);
  EXPECT_EQ(params.RIBar(), 200);
  // Back in list mode the index follows the material again.
  params.RIBoxEnter();
  EXPECT_FALSE(params.Custom());
  EXPECT_DOUBLE_EQ(params.RefractiveIndex(), 1.77);
  EXPECT_EQ(params.RIBar(), 177);
  EXPECT_EQ(params.RIBoxColour(), StoneParameters::ListColour::Window);
}

TEST_F(StoneParametersTest, BarIsLimitedToItsRange) {
  params.RIBarEnter();
  params.MoveRIBar(350);
  EXPECT_EQ(params.RIBar(), 300);
  EXPECT_DOUBLE_EQ(params.RefractiveIndex(), 3.00);
  params.MoveRIBar(20);
  EXPECT_DOUBLE_EQ(params.RefractiveIndex(), 1.00);
}

TEST_F(StoneParametersTest, SortingOrders) {
  params.ArrangeAlphabetically();
  const auto& sg = params.List(Box::SG).Entries();
  ASSERT_GE(sg.size(), 3u);
  EXPECT_EQ(sg[0], "4.05 Almandine");
  EXPECT_EQ(sg[1], "1.07 Amber");
  EXPECT_EQ(sg[2], "3.02 Amblygonite");
  // "Zircon (low)" before "Zircon", both still in value-name form.
  EXPECT_EQ(sg[sg.size() - 2], "3.95 Zircon (low)");
  EXPECT_EQ(sg.back(), "4.68 Zircon");
  EXPECT_EQ(params.List(Box::RI).Entries()[0], "1.78 Almandine");
  // The selection follows the texts: Diamond is still shown and selected.
  EXPECT_EQ(params.List(Box::SG).Text(), "3.52 Diamond");
  EXPECT_EQ(sg[params.List(Box::SG).ItemIndex()], "3.52 Diamond");
  EXPECT_DOUBLE_EQ(params.RefractiveIndex(), 2.42);

  params.ArrangeByValue();
  EXPECT_EQ(params.List(Box::SG).Entries()[0], "1.07 Amber");
  EXPECT_EQ(params.List(Box::SG).Entries()[1], "2.10 Opal");
  EXPECT_EQ(params.List(Box::RI).Entries()[0], "1.45 Opal");
}

TEST_F(StoneParametersTest, ReselectingTheShownEntryRecomputesNothing) {
  params.SelectEntry(Box::SG, params.List(Box::SG).ItemIndex());
  EXPECT_EQ(recorder.weights, 0);
}

TEST_F(StoneParametersTest, TypedValuesAndBadText) {
  params.TypeText(Box::SG, "3.5x");
  EXPECT_EQ(recorder.weights, 0);
  EXPECT_DOUBLE_EQ(params.SpecificGravity(), 3.52);
  // A bare number sets that value alone and recomputes.
  params.TypeText(Box::SG, "3.00");
  EXPECT_EQ(recorder.weights, 1);
  EXPECT_DOUBLE_EQ(params.SpecificGravity(), 3.00);
  EXPECT_EQ(params.List(Box::RI).Text(), "2.42 Diamond");
  EXPECT_DOUBLE_EQ(params.RefractiveIndex(), 2.42);
}

TEST_F(StoneParametersTest, WeightFollowsSizeAndMaterial) {
  params.SizeChange();
  ASSERT_EQ(recorder.weights, 1);
  // The 400-pixel picture with the initial 100-pixel segment.
  EXPECT_EQ(params.SegmentLabel(), "(0.250)");
  const StoneMeasures base = params.Report().measures;
  EXPECT_GT(base.weightCarats, 0.0);

  params.SetSizeText("20");
  const StoneMeasures doubled = params.Report().measures;
  EXPECT_NEAR(doubled.weightCarats, 8.0 * base.weightCarats, 1e-9 * base.weightCarats);
  EXPECT_NEAR(doubled.crownHeightMm, 2.0 * base.crownHeightMm, 1e-12);

  // Bad text keeps the last valid size for later computations.
  params.SetSizeText("2o");
  EXPECT_EQ(recorder.weights, 2);
  EXPECT_DOUBLE_EQ(params.Size(), 20.0);
  params.SetSizeText("10");

  // Opal: only the density changes, so the weight scales with it.
  params.SelectEntry(Box::SG, IndexOf(Box::SG, "2.10 Opal"));
  const StoneMeasures opal = params.Report().measures;
  EXPECT_NEAR(opal.weightCarats, base.weightCarats * 2.10 / 3.52, 1e-9);
  EXPECT_DOUBLE_EQ(opal.crownHeightMm, base.crownHeightMm);
}

TEST_F(StoneParametersTest, LoadedIndexSwitchesToCustom) {
  params.ApplyLoadedIndex(1.654);
  EXPECT_TRUE(params.Custom());
  EXPECT_EQ(params.RIBar(), 165);
  EXPECT_EQ(params.RIBoxColour(), StoneParameters::ListColour::WindowText);
  // The index read stays in use exactly as the file has it, whatever the bar can show.
  EXPECT_EQ(params.RefractiveIndex(), 1.654);
  EXPECT_EQ(params.RILabel(), "Refractive Index = 1.654");
  params.ApplyLoadedIndex(1.6504);
  EXPECT_EQ(params.RefractiveIndex(), 1.6504);
  EXPECT_EQ(params.RILabel(), "Refractive Index = 1.6504");
  // Out of the bar's range: the bar stops at its end, the index does not.
  params.ApplyLoadedIndex(3.7);
  EXPECT_EQ(params.RIBar(), 300);
  EXPECT_EQ(params.RefractiveIndex(), 3.7);
  EXPECT_EQ(params.RILabel(), "Refractive Index = 3.70");
  params.ApplyLoadedIndex(0.5);
  EXPECT_EQ(params.RIBar(), 100);
  // Choosing a material keeps the loaded index (the bar overrides the list)...
  params.ApplyLoadedIndex(2.417);
  params.SelectEntry(StoneParameters::Box::SG, params.List(StoneParameters::Box::SG).FindName("Corundum"));
  EXPECT_EQ(params.RefractiveIndex(), 2.417);
  EXPECT_DOUBLE_EQ(params.SpecificGravity(), 4.00);
  // ...until the user moves the bar or lets the list choose again.
  params.MoveRIBar(241);
  EXPECT_DOUBLE_EQ(params.RefractiveIndex(), 2.41);
  params.ApplyLoadedIndex(2.417);
  params.RIBoxEnter();
  EXPECT_DOUBLE_EQ(params.RefractiveIndex(), 1.77);
}

// The dispersion follows the listed material, until the user gives one of
// his own, which makes the material custom and keeps to 0 .. 0.3.
TEST_F(StoneParametersTest, DispersionFollowsTheMaterialUntilGivenByHand) {
  EXPECT_EQ(params.Dispersion(), 0.044);  // diamond
  params.SelectEntry(Box::RI, params.List(Box::RI).FindName("Cassiterite"));
  EXPECT_EQ(params.Dispersion(), 0.071);
  EXPECT_FALSE(params.Custom());
  const int before = recorder.traces;
  params.SetDispersion(0.06);
  EXPECT_TRUE(params.Custom());
  EXPECT_EQ(params.Dispersion(), 0.06);
  EXPECT_GT(recorder.traces, before);
  params.SetDispersion(0.5);
  EXPECT_EQ(params.Dispersion(), StoneParameters::kDispersionMax);
  params.SetDispersion(-1);
  EXPECT_EQ(params.Dispersion(), 0.0);
  // Back to the list: the listed material's again.
  params.RIBoxEnter();
  EXPECT_EQ(params.Dispersion(), 0.071);
}

TEST_F(StoneParametersTest, ALoadedDispersionIsKeptAndAMissingOneLeavesTheMaterials) {
  params.ApplyLoadedIndex(2.16, 0.06);
  EXPECT_EQ(params.RefractiveIndex(), 2.16);
  EXPECT_EQ(params.Dispersion(), 0.06);
  params.ApplyLoadedIndex(1.55);
  EXPECT_EQ(params.Dispersion(), 0.06);
  params.ApplyLoadedIndex(1.55, 7.0);
  EXPECT_EQ(params.Dispersion(), StoneParameters::kDispersionMax);
}

}  // namespace
}  // namespace brillora
