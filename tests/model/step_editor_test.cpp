#include "model/step_editor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "model/default_design.h"
#include "model/facet_construction.h"
#include "model/step_editor_recorder.h"
#include "support/long_design.h"
#include "support/stone_checks.h"

namespace brillora {
namespace {

using testing::RecordingObserver;

constexpr double kDegree = std::numbers::pi / 180.0;

std::vector<std::string> Items(std::initializer_list<const char*> items) {
  return std::vector<std::string>(items.begin(), items.end());
}

bool SameDesignFields(const TStep& a, const TStep& b) {
  return a.Shift == b.Shift && a.Split == b.Split && a.Posit == b.Posit && a.Angle == b.Angle &&
         a.Auto == b.Auto;
}

// The default crown grown to the girdle and four tiers above it.
void GrowCrownToFourTiers(StepEditor& editor) {
  while (editor.State().CrownSteps.size() < 7) editor.ClickNewStep();
}

TEST(StepEditorStart, DefaultDesignFillsTheControls) {
  RecordingObserver observer;
  StepEditor editor(observer);
  const DesignState& s = editor.State();
  const EditorControls& c = editor.Controls();

  EXPECT_EQ(s.CrownSteps.size(), 4u);
  EXPECT_EQ(s.PavilionSteps.size(), 3u);
  EXPECT_EQ(s.SymOrder, 8);
  EXPECT_EQ(s.GearNotches, 96);
  EXPECT_TRUE(s.IsCrown);
  EXPECT_FALSE(s.Changed);
  EXPECT_EQ(c.Label5, "96-notch Gear");
  EXPECT_EQ(c.SplitBox.items, Items({"0", "1", "2", "3", "4", "5"}));  // h = 6
  EXPECT_EQ(c.ShiftBox.items, Items({"-5", "-4", "-3", "-2", "-1", "0", "1", "2", "3", "4", "5", "6"}));
  EXPECT_EQ(c.ShiftBox.items[c.ShiftBox.index], "0");
  EXPECT_EQ(c.TabControl2.items, Items({"Girdle", "1", "New"}));
  EXPECT_EQ(c.TabControl2.index, 0);
  EXPECT_EQ(c.TabControl3.items, Items({"Girdle", "1", "Table"}));
  EXPECT_EQ(c.PositBar.position, 70);
  EXPECT_EQ(c.Label6, "Girdle thickness = 0.070");
  EXPECT_EQ(c.RxSpinEdit1.value, 89.0);
  EXPECT_EQ(c.TrackAngle1.position, 890);
  EXPECT_EQ(c.RxSpinEdit2.value, 40.0);
  EXPECT_TRUE(c.CheckBox);
  // The girdle tab shows the slope but not the Auto box.
  EXPECT_EQ(c.VisibleControls(),
            (std::vector<std::string_view>{"ShiftBox", "Label4", "TrackAngle1", "RxSpinEdit1",
                                           "FacetAngleLabel"}));
  EXPECT_TRUE(SameDesignFields(s.CrownSteps[3], s.CrownSteps[1]));

  // One construction, no sound: the start is not an edit.
  EXPECT_EQ(observer.Count("stale"), 1);
  EXPECT_EQ(observer.events.front(), "stale");
  EXPECT_EQ(observer.Count("sound:Tik") + observer.Count("sound:Create"), 0);
  EXPECT_EQ(s.stone->AllVertices.size(), 32u);
  EXPECT_EQ(s.stone->AllFacets.size(), 26u);
  EXPECT_EQ(testing::SurfaceFault(*s.stone), "");

  // The data tab shows the girdle tier: 89 degrees, plane at the girdle's apothem.
  EXPECT_EQ(c.FacetAngle2Label, "Facet Slope =\t89.0");
  const double girdleD = s.CrownSteps[1].Facets[0].D;
  EXPECT_NEAR(girdleD, std::cos(std::numbers::pi / 8) * std::sin(89 * kDegree), 1e-9);
  EXPECT_EQ(c.DistLabel, "Distance =\t0.924");
}

TEST(StepEditorStart, StoneAgreesWithAFreshConstruction) {
  RecordingObserver observer;
  StepEditor editor(observer);
  Design copy = editor.CurrentDesign();
  const Stone fresh = ConstructStone(copy);
  ASSERT_EQ(fresh.AllVertices.size(), editor.State().stone->AllVertices.size());
  for (std::size_t i = 0; i < fresh.AllVertices.size(); ++i) {
    EXPECT_NEAR(fresh.AllVertices[i].z, editor.State().stone->AllVertices[i].z, 1e-12);
  }
}

TEST(StepEditorSymmetry, SixteenKeepsASplitOfFiveWhileTheListShowsTwo) {
  RecordingObserver observer;
  StepEditor editor(observer);
  ASSERT_TRUE(editor.ChooseStepTab(1));
  ASSERT_TRUE(editor.ChooseSplit(5));
  EXPECT_EQ(editor.State().CrownSteps[2].Split, 5);
  observer.events.clear();

  ASSERT_TRUE(editor.ChooseSymmetry(11));  // "16"
  const DesignState& s = editor.State();
  EXPECT_EQ(s.SymOrder, 16);
  EXPECT_EQ(s.GearNotches, 96);
  EXPECT_EQ(editor.Controls().Label5, "96-notch Gear");
  EXPECT_EQ(s.CrownSteps[2].Split, 5);
  EXPECT_EQ(editor.Controls().SplitBox.items, Items({"0", "1", "2"}));
  EXPECT_EQ(editor.Controls().SplitBox.index, 2);
  EXPECT_FALSE(s.Changed);
  EXPECT_EQ(observer.Count("sound:Tik"), 1);
  EXPECT_EQ(observer.Count("stale"), 1);
  // The stone has 16 sectors on both sides: the other side was rebuilt too.
  Design copy = editor.CurrentDesign();
  EXPECT_EQ(ConstructStone(copy).AllVertices.size(), s.stone->AllVertices.size());
  EXPECT_EQ(s.stone->AllVertices.size() % 16, 0u);
}

TEST(StepEditorSymmetry, ThirtySixOffersOnlyTheUnsplitStep) {
  RecordingObserver observer;
  StepEditor editor(observer);
  ASSERT_TRUE(editor.ChooseSymmetry(13));  // "36": h = Round(96 / 72) = 1
  EXPECT_EQ(editor.Controls().SplitBox.items, Items({"0"}));
  EXPECT_FALSE(editor.ChooseSplit(1));
  EXPECT_EQ(editor.Controls().ShiftBox.items, Items({"0", "1"}));
  EXPECT_TRUE(editor.ChooseSymmetry(9));  // "11": the 88 gear
  EXPECT_EQ(editor.Controls().Label5, "88-notch Gear");
  EXPECT_EQ(editor.Controls().SplitBox.items.size(), 4u);
}

TEST(StepEditorNewStep, FirstTierAboveTheGirdleTakesTheMaxSlope) {
  RecordingObserver observer;
  StepEditor editor(observer);
  editor.ClickClearNext();  // on the girdle tab: only the girdle remains
  ASSERT_EQ(editor.State().CrownSteps.size(), 3u);
  EXPECT_EQ(editor.Controls().TabControl2.items, Items({"Girdle", "New"}));
  ASSERT_TRUE(editor.TypeMaxSlope(37.5));
  observer.events.clear();

  ASSERT_TRUE(editor.ChooseStepTab(1));  // "New"
  const MasStep& crown = editor.State().CrownSteps;
  ASSERT_EQ(crown.size(), 4u);
  EXPECT_EQ(crown[2].Angle, 37.5);
  EXPECT_EQ(crown[2].Posit, 0.70);
  EXPECT_FALSE(crown[2].Auto);
  EXPECT_EQ(editor.Controls().TabControl2.items, Items({"Girdle", "1", "New"}));
  EXPECT_EQ(editor.Controls().TabControl2.index, 1);
  EXPECT_EQ(editor.Controls().PositBar.position, 70);
  EXPECT_EQ(editor.Controls().Label6, "Position = 0.70");
  EXPECT_FALSE(editor.Controls().CheckBox);
  EXPECT_EQ(observer.Count("sound:Create"), 1);
  EXPECT_TRUE(SameDesignFields(crown.back(), crown[1]));
  // The main tier's slope is set by the Max Slope alone.
  EXPECT_FALSE(editor.Controls().TrackAngle1Visible);

  // A later "New" copies the last tier and meets it automatically.
  editor.ClickNewStep();
  ASSERT_EQ(crown.size(), 5u);
  EXPECT_EQ(crown[3].Posit, crown[2].Posit);
  EXPECT_TRUE(crown[3].Auto);
  EXPECT_TRUE(editor.Controls().CheckBox);
  EXPECT_TRUE(editor.Controls().CheckBoxVisible);
  // An Auto tier with no turn comes out a little flatter than the one before.
  EXPECT_LT(crown[3].Angle, crown[2].Angle);
  EXPECT_EQ(editor.Controls().RxSpinEdit1.value, crown[3].Angle);
}

TEST(StepEditorNewStep, PlaceholderOutsideTheStoneAddsNothing) {
  RecordingObserver observer;
  StepEditor editor(observer);
  ASSERT_TRUE(editor.ChooseSideTab(1));
  ASSERT_TRUE(editor.DragPositionBar(100));  // the pavilion's first tier at Posit 1.00
  ASSERT_EQ(editor.State().PavilionSteps[1].Posit, 1.0);
  // The placeholder follows the first tier when the step tabs are next refreshed.
  ASSERT_TRUE(editor.ChooseSideTab(0));
  ASSERT_TRUE(editor.ChooseSideTab(1));
  ASSERT_EQ(editor.State().PavilionSteps[2].Posit, 1.0);
  ASSERT_TRUE(editor.ChooseStepTab(1));  // "New"
  EXPECT_EQ(editor.State().PavilionSteps.size(), 3u);
  EXPECT_EQ(editor.Controls().TabControl2.index, 1);
}

// The design files hold at most kMaxSteps steps a side, and so does the
// editor: "New Step" and the "New" tab refuse one more, changing nothing.
TEST(StepEditorNewStep, NoStepPastTheBound) {
  RecordingObserver observer;
  Design design = testing::LongDesign(kMaxSteps, 8, false);
  design.CrownSteps.erase(design.CrownSteps.end() - 2);  // one step short of the bound
  StepEditor editor(design, observer);
  ASSERT_TRUE(editor.CanAddStep());
  ASSERT_TRUE(editor.ClickNewStep());
  ASSERT_EQ(editor.State().CrownSteps.size(), static_cast<std::size_t>(kMaxSteps) + 2);
  EXPECT_FALSE(editor.CanAddStep());

  const Design before = editor.CurrentDesign();
  const int tab = editor.Controls().TabControl2.index;
  EXPECT_FALSE(editor.ClickNewStep());
  EXPECT_FALSE(editor.ChooseStepTab(editor.Controls().TabControl2.Last()));
  EXPECT_EQ(editor.CurrentDesign().CrownSteps.size(), before.CrownSteps.size());
  EXPECT_EQ(editor.Controls().TabControl2.index, tab);
  // The refusals are no edits: one undo takes back the step that was added.
  ASSERT_TRUE(editor.Undo());
  EXPECT_EQ(editor.State().CrownSteps.size(), static_cast<std::size_t>(kMaxSteps) + 1);

  // The pavilion, at the bound too, gets room again once steps are cleared.
  ASSERT_TRUE(editor.ChooseSideTab(1));
  EXPECT_FALSE(editor.CanAddStep());
  editor.ClickClearNext();
  EXPECT_TRUE(editor.CanAddStep());
  EXPECT_TRUE(editor.ClickNewStep());
}

TEST(StepEditorMaxSlope, ScalesTheTangentsOfLaterTypedTiers) {
  RecordingObserver observer;
  StepEditor editor(observer);
  editor.ClickNewStep();  // crown tier 2, Auto
  editor.ClickNewStep();  // crown tier 3, Auto
  ASSERT_TRUE(editor.ChooseStepTab(2));
  ASSERT_TRUE(editor.TypeSlope(30));  // entering the slope turns Auto off
  const MasStep& crown = editor.State().CrownSteps;
  ASSERT_FALSE(crown[3].Auto);
  ASSERT_EQ(crown[3].Angle, 30.0);
  ASSERT_TRUE(crown[4].Auto);
  const double autoBefore = crown[4].Angle;

  ASSERT_TRUE(editor.TypeMaxSlope(45));
  EXPECT_EQ(crown[2].Angle, 45.0);
  const double expected = std::atan(std::tan(30 * kDegree) * 1.0 / std::tan(40 * kDegree)) / kDegree;
  EXPECT_NEAR(crown[3].Angle, expected, 1e-12);
  EXPECT_NEAR(crown[3].Angle, 34.53, 0.005);
  // The Auto tier is not scaled, it is derived anew from the tier before.
  EXPECT_NE(crown[4].Angle, autoBefore);
  Design copy = editor.CurrentDesign();
  ConstructStone(copy);
  EXPECT_NEAR(copy.CrownSteps[4].Angle, crown[4].Angle, 1e-12);
  EXPECT_EQ(editor.Controls().TrackAngle2.position, 450);
}

TEST(StepEditorMaxSlope, DraggingTheBarSetsTheSpinEditAndTheMainTier) {
  RecordingObserver observer;
  StepEditor editor(observer);
  ASSERT_TRUE(editor.DragMaxSlopeBar(425));
  EXPECT_EQ(editor.Controls().RxSpinEdit2.value, 42.5);
  EXPECT_EQ(editor.State().CrownSteps[2].Angle, 42.5);
  EXPECT_FALSE(editor.DragMaxSlopeBar(891));
  EXPECT_FALSE(editor.TypeMaxSlope(0.0));
}

TEST(StepEditorShift, FirstCrownTierCarriesItsTurnToThePavilion) {
  RecordingObserver observer;
  StepEditor editor(observer);
  const TFacet before = editor.State().PavilionSteps[1].Facets[0];
  observer.events.clear();
  const int three = 3 + 6 - 1;  // items run from 1 - h with h = 6
  ASSERT_EQ(editor.Controls().ShiftBox.items[three], "3");
  ASSERT_TRUE(editor.ChooseShift(three));

  const DesignState& s = editor.State();
  EXPECT_EQ(s.CrownSteps[1].Shift, 3);
  EXPECT_EQ(s.PavilionSteps[1].Shift, 3);
  EXPECT_EQ(s.PavilionSteps[1].Split, 0);
  EXPECT_EQ(observer.Count("sound:Tik"), 1);
  // The pavilion's planes turned by 3 of 96 notches before the stone was made.
  const TFacet& after = s.PavilionSteps[1].Facets[0];
  const double turn = std::atan2(after.Ny, after.Nx) - std::atan2(before.Ny, before.Nx);
  EXPECT_NEAR(turn, 2 * std::numbers::pi * 3 / 96, 1e-12);
  EXPECT_EQ(testing::SurfaceFault(*s.stone), "");
  Design copy = editor.CurrentDesign();
  EXPECT_EQ(ConstructStone(copy).AllVertices.size(), s.stone->AllVertices.size());
}

TEST(StepEditorShift, SplitFirstTierCarriesItsSplitOrTurn) {
  RecordingObserver observer;
  StepEditor editor(observer);
  ASSERT_TRUE(editor.ChooseSplit(2));
  const DesignState& s = editor.State();
  EXPECT_EQ(s.PavilionSteps[1].Split, 2);  // unturned split tier: same split below
  // A split first tier offers the turns 0 and h only.
  EXPECT_EQ(editor.Controls().ShiftBox.items, Items({"0", "6"}));
  ASSERT_TRUE(editor.ChooseShift(1));
  EXPECT_EQ(s.CrownSteps[1].Shift, 6);
  EXPECT_EQ(s.PavilionSteps[1].Split, 4);  // Shift - Split
  // A split tier further in cannot turn: the box is hidden.
  ASSERT_TRUE(editor.ChooseStepTab(1));
  EXPECT_FALSE(editor.Controls().ShiftBoxVisible);
  EXPECT_FALSE(editor.ChooseShift(0));
}

TEST(StepEditorClearNext, StepOneOfFourLeavesTheGirdleStepOneAndAPlaceholder) {
  RecordingObserver observer;
  StepEditor editor(observer);
  GrowCrownToFourTiers(editor);
  ASSERT_TRUE(editor.ChooseStepTab(2));
  ASSERT_TRUE(editor.TypeSlope(31));  // tell step 2 apart from the girdle
  const TStep girdle = editor.State().CrownSteps[1];
  const TStep stepOne = editor.State().CrownSteps[2];
  ASSERT_TRUE(editor.ChooseStepTab(1));
  editor.ClickClearNext();

  const MasStep& crown = editor.State().CrownSteps;
  ASSERT_EQ(crown.size(), 4u);
  EXPECT_TRUE(SameDesignFields(crown[1], girdle));
  EXPECT_TRUE(SameDesignFields(crown[2], stepOne));
  EXPECT_TRUE(SameDesignFields(crown[3], crown[1]));  // old step 2 refreshed as a placeholder
  EXPECT_EQ(editor.Controls().TabControl2.items, Items({"Girdle", "1", "New"}));
  EXPECT_EQ(editor.Controls().TabControl2.index, 1);
  EXPECT_EQ(editor.State().stone->AllFacets.size(), 26u);
}

TEST(StepEditorPosition, GirdleTabShowsAndStoresTheThickness) {
  RecordingObserver observer;
  StepEditor editor(observer);
  const double angle = editor.State().CrownSteps[1].Angle;
  ASSERT_TRUE(editor.DragPositionBar(45));
  EXPECT_EQ(editor.Controls().Label6, "Girdle thickness = 0.045");
  EXPECT_DOUBLE_EQ(editor.State().CrownSteps[1].Posit, 1 - 0.045 / std::tan(angle * kDegree));
  // The girdle's vertical rise is the thickness times the cosine of half a sector.
  const double rise = editor.State().CrownSteps[0].Facets[0].D - 0.3 * std::cos(std::numbers::pi / 8) *
                                                                    editor.State().CrownSteps[1].Posit *
                                                                    std::tan(40 * kDegree);
  EXPECT_NEAR(rise, 0.045 * std::cos(std::numbers::pi / 8), 1e-9);

  ASSERT_TRUE(editor.ChooseStepTab(1));
  EXPECT_EQ(editor.Controls().PositBar.position, 70);
  EXPECT_EQ(editor.Controls().Label6, "Position = 0.70");
  ASSERT_TRUE(editor.DragPositionBar(55));
  EXPECT_EQ(editor.State().CrownSteps[2].Posit, 0.55);
  EXPECT_EQ(editor.Controls().Label6, "Position = 0.55");
  EXPECT_FALSE(editor.DragPositionBar(0));
  EXPECT_FALSE(editor.DragPositionBar(201));
}

// A position finer than the bar's steps (an imported design's) is shown as
// the nearest step and kept until the user moves the bar.
TEST(StepEditorPosition, ShowingAPositionFinerThanTheBarsStepsKeepsIt) {
  RecordingObserver observer;
  Design design = DefaultDesign();
  design.CrownSteps[2].Posit = 0.5734;
  design.CrownSteps[3] = design.CrownSteps[2];  // a second tier at the same fine position
  design.CrownSteps[3].Auto = true;
  design.CrownSteps.push_back(TStep{});
  StepEditor editor(design, observer);
  const MasStep& crown = editor.State().CrownSteps;
  ASSERT_EQ(crown.size(), 5u);
  ASSERT_EQ(crown[2].Posit, 0.5734);
  const Stone opened = *editor.State().stone;

  // The girdle tab's bar stands at 70; step 1 moves it to 57, the nearest it has.
  observer.events.clear();
  ASSERT_TRUE(editor.ChooseStepTab(1));
  EXPECT_EQ(editor.Controls().PositBar.position, 57);
  EXPECT_EQ(crown[2].Posit, 0.5734);
  EXPECT_EQ(observer.Count("stale"), 0);
  ASSERT_TRUE(editor.ChooseStepTab(2));
  EXPECT_EQ(crown[3].Posit, 0.5734);
  ASSERT_TRUE(editor.ChooseStepTab(0));
  EXPECT_EQ(editor.State().stone->AllVertices, opened.AllVertices);
  EXPECT_FALSE(editor.CanUndo());
  // Dragging the bar to where it stands reports nothing; away and back stores.
  ASSERT_TRUE(editor.ChooseStepTab(1));
  observer.events.clear();
  ASSERT_TRUE(editor.DragPositionBar(57));
  EXPECT_TRUE(observer.events.empty());
  ASSERT_TRUE(editor.DragPositionBar(58));
  EXPECT_EQ(crown[2].Posit, 0.58);
  ASSERT_TRUE(editor.DragPositionBar(57));
  EXPECT_EQ(crown[2].Posit, 0.57);
}

TEST(StepEditorSlope, EnteringTheSlopeTurnsAutoOff) {
  RecordingObserver observer;
  StepEditor editor(observer);
  editor.ClickNewStep();
  const MasStep& crown = editor.State().CrownSteps;
  ASSERT_TRUE(crown[3].Auto);
  // The spin edit shows the derived slope of the Auto tier.
  EXPECT_EQ(editor.Controls().RxSpinEdit1.value, crown[3].Angle);
  EXPECT_EQ(editor.Controls().TrackAngle1.position, std::lround(crown[3].Angle * 10));

  ASSERT_TRUE(editor.DragSlopeBar(253));
  EXPECT_FALSE(crown[3].Auto);
  EXPECT_FALSE(editor.Controls().CheckBox);
  EXPECT_EQ(crown[3].Angle, 25.3);
  EXPECT_EQ(editor.Controls().RxSpinEdit1.value, 25.3);

  // Typing into the spin edit moves the bar; the bar's own report does nothing
  // because it does not have the input focus.
  ASSERT_TRUE(editor.TypeSlope(27.25));
  EXPECT_EQ(editor.Controls().TrackAngle1.position, 272);  // 272.5 rounds half to even
  EXPECT_EQ(crown[3].Angle, 27.25);
  EXPECT_FALSE(editor.TypeSlope(89.5));
  EXPECT_FALSE(editor.TypeSlope(0.0));
}

TEST(StepEditorSlope, MainTierHidesTheSlopeAndTheAutoBox) {
  RecordingObserver observer;
  StepEditor editor(observer);
  ASSERT_TRUE(editor.ChooseStepTab(1));
  EXPECT_FALSE(editor.TypeSlope(30));
  EXPECT_FALSE(editor.DragSlopeBar(300));
  EXPECT_FALSE(editor.SetAuto(true));
  EXPECT_EQ(editor.Controls().VisibleControls(), (std::vector<std::string_view>{"ShiftBox", "Label4"}));
}

TEST(StepEditorAuto, SameStateRunsNothingAndANewOneRebuilds) {
  RecordingObserver observer;
  StepEditor editor(observer);
  editor.ClickNewStep();
  observer.events.clear();
  ASSERT_TRUE(editor.SetAuto(true));
  EXPECT_TRUE(observer.events.empty());
  ASSERT_TRUE(editor.SetAuto(false));
  EXPECT_FALSE(editor.State().CrownSteps[3].Auto);
  EXPECT_EQ(observer.Count("stale"), 1);
  EXPECT_EQ(observer.Count("rebuilt"), 1);
}

TEST(StepEditorSide, SwitchFlipsThePictureOnlyFromTheButton) {
  RecordingObserver observer;
  StepEditor editor(observer);
  observer.editor = &editor;
  ASSERT_TRUE(editor.ChooseStepTab(1));
  editor.ClickCrownButton();
  const DesignState& s = editor.State();
  EXPECT_FALSE(s.IsCrown);
  EXPECT_EQ(observer.Count("turn"), 1);
  EXPECT_EQ(editor.Controls().TabControl1.index, 1);
  EXPECT_EQ(editor.Controls().TabControl1Font, kPavilionTabColor);
  EXPECT_EQ(editor.Controls().TabControl2.items, Items({"1", "New"}));
  EXPECT_EQ(editor.Controls().TabControl2.index, 0);
  EXPECT_EQ(editor.Controls().TabControl3.items, Items({"1", "Culet"}));
  EXPECT_EQ(editor.Controls().PositBar.position, 20);
  EXPECT_EQ(editor.Controls().Label6, "Position = 0.20");

  // The picture now shows the pavilion; the side tabs never turn it.
  ASSERT_TRUE(editor.ChooseSideTab(0));
  EXPECT_TRUE(s.IsCrown);
  EXPECT_EQ(observer.Count("turn"), 1);
  EXPECT_EQ(editor.Controls().TabControl1Font, kCrownTabColor);
  // The button turns the stone only when the picture shows the side being left.
  editor.ClickCrownButton();
  EXPECT_EQ(observer.Count("turn"), 1);
}

// The picture turned by the mouse tells the editor which side it shows; the
// button then turns the stone over exactly when that side is being left.
TEST(StepEditorSide, ButtonFollowsTheSideThePictureIsToldToShow) {
  RecordingObserver observer;
  StepEditor editor(observer);
  EXPECT_TRUE(editor.PictureShowsCrown());  // the picture starts on the crown
  observer.editor = &editor;
  observer.showsCrown = false;  // turned by the mouse
  editor.SetPictureShowsCrown(false);
  editor.ClickCrownButton();  // the crown is left, the pavilion already in view
  EXPECT_FALSE(editor.State().IsCrown);
  EXPECT_EQ(observer.Count("turn"), 0);
  editor.ClickCrownButton();  // the pavilion is left while in view
  EXPECT_TRUE(editor.State().IsCrown);
  EXPECT_EQ(observer.Count("turn"), 1);
  EXPECT_TRUE(editor.PictureShowsCrown());  // told as the picture turned
  // Undo brings the design back, not the picture's side.
  ASSERT_TRUE(editor.DragPositionBar(80));
  ASSERT_TRUE(editor.Undo());
  EXPECT_TRUE(editor.PictureShowsCrown());
  editor.ClickCrownButton();
  EXPECT_EQ(observer.Count("turn"), 2);
  EXPECT_FALSE(editor.State().IsCrown);
}

TEST(StepEditorSide, MaxSlopeFollowsTheMainTierOfTheNewSide) {
  RecordingObserver observer;
  StepEditor editor(observer);
  ASSERT_TRUE(editor.ChooseSideTab(1));
  ASSERT_TRUE(editor.TypeMaxSlope(41.5));
  EXPECT_EQ(editor.State().PavilionSteps[1].Angle, 41.5);
  ASSERT_TRUE(editor.ChooseSideTab(0));
  EXPECT_EQ(editor.Controls().RxSpinEdit2.value, 40.0);
  EXPECT_EQ(editor.Controls().TrackAngle2.position, 400);
  ASSERT_TRUE(editor.ChooseSideTab(1));
  EXPECT_EQ(editor.Controls().RxSpinEdit2.value, 41.5);
}

TEST(StepEditorSharing, EditsReachOnlyTheSideBeingEdited) {
  RecordingObserver observer;
  StepEditor editor(observer);
  const MasStep crownBefore = editor.State().CrownSteps;
  ASSERT_TRUE(editor.ChooseSideTab(1));
  ASSERT_TRUE(editor.TypeMaxSlope(43));
  ASSERT_TRUE(editor.DragPositionBar(35));
  editor.ClickNewStep();  // the pavilion array grows
  ASSERT_TRUE(editor.DragSlopeBar(250));

  const DesignState& s = editor.State();
  ASSERT_EQ(s.PavilionSteps.size(), 4u);
  // The pavilion's first tier is an Auto tier: the construction writes its
  // slope back, to within rounding of the one typed.
  EXPECT_DOUBLE_EQ(s.PavilionSteps[1].Angle, 43.0);
  EXPECT_EQ(s.PavilionSteps[1].Posit, 0.35);
  EXPECT_EQ(s.PavilionSteps[2].Angle, 25.0);
  ASSERT_EQ(s.CrownSteps.size(), crownBefore.size());
  for (std::size_t k = 0; k < crownBefore.size(); ++k) {
    EXPECT_TRUE(SameDesignFields(s.CrownSteps[k], crownBefore[k])) << "crown element " << k;
  }
  // The grown pavilion is what the stone was built from; placeholders give no facets.
  Design copy = editor.CurrentDesign();
  const Stone fresh = ConstructStone(copy);
  EXPECT_EQ(fresh.AllFacets.size(), s.stone->AllFacets.size());
  EXPECT_EQ(s.stone->AllFacets.size(), 1u + 8 + 8 + 8 + 8 + 1);
  for (const TFacet& f : s.stone->AllFacets) EXPECT_NE(f.D, 0.0);
}

TEST(StepEditorTabs, StepTabsPlayCreateAndDataTabsShowTheirStep) {
  RecordingObserver observer;
  StepEditor editor(observer);
  observer.events.clear();
  ASSERT_TRUE(editor.ChooseStepTab(1));
  EXPECT_EQ(observer.events, (std::vector<std::string>{"sound:Create", "rebuilt"}));
  EXPECT_TRUE(editor.ChooseStepTab(1));  // the tab already chosen reports nothing
  EXPECT_EQ(observer.events.size(), 2u);
  EXPECT_FALSE(editor.ChooseStepTab(3));

  ASSERT_TRUE(editor.ChooseDataTab(2));
  const DesignState& s = editor.State();
  EXPECT_EQ(editor.Controls().FacetAngle2Label, "Facet Slope =\t0");
  EXPECT_EQ(editor.Controls().DistLabel, "Distance =\t0.297");  // the table height
  EXPECT_NEAR(s.CrownSteps[0].Facets[0].D, 0.29696, 1e-5);
  ASSERT_TRUE(editor.ChooseDataTab(1));
  EXPECT_EQ(editor.Controls().FacetAngle2Label, "Facet Slope =\t40.0");
  EXPECT_EQ(editor.Controls().DistLabel, "Distance =\t0.643");
  EXPECT_FALSE(editor.ChooseDataTab(3));
  editor.ClickCrownButton();
  EXPECT_EQ(editor.Controls().TabControl3.index, 1);  // "Culet", the last of two
  EXPECT_EQ(editor.Controls().DistLabel, "Distance =\t0.620");  // the culet depth
}

TEST(StepEditorRebuild, BackgroundClickOnlyRepaints) {
  RecordingObserver observer;
  StepEditor editor(observer);
  observer.events.clear();
  const auto stone = editor.State().stone;
  editor.ClickBackground();
  EXPECT_EQ(observer.events, (std::vector<std::string>{"rebuilt"}));
  EXPECT_EQ(editor.State().stone, stone);
}

}  // namespace
}  // namespace brillora
