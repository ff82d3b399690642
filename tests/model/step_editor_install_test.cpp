// Installing a design that was read, the steps of the picture's double click,
// and values the controls cannot show.

#include <gtest/gtest.h>

#include <cmath>

#include "model/default_design.h"
#include "model/girdle.h"
#include "model/facet_construction.h"
#include "model/selected_step.h"
#include "model/step_editor.h"
#include "model/step_editor_recorder.h"
#include "support/stone_checks.h"

namespace brillora {
namespace {

using testing::RecordingObserver;

// A design as the reader makes it: placeholders all zero, element 0 with one
// empty facet, no planes yet.
Design ReadShape(int symOrder, int crownTiers, int pavilionTiers) {
  Design d;
  d.SymOrder = symOrder;
  d.GearNotches = 0;  // the reader leaves the gear to the symmetry rule
  d.CrownSteps.resize(crownTiers + 2);
  d.CrownSteps[0].Posit = 0.5;
  d.CrownSteps[0].Facets.resize(1);
  d.CrownSteps[1] = {0, 0, GirdlePosit(0.03, 88.0), 88.0, true, {}};
  for (int k = 2; k <= crownTiers; ++k) d.CrownSteps[k] = {0, 0, 0.75, 42.0 - 7 * (k - 2), k > 2, {}};
  d.PavilionSteps.resize(pavilionTiers + 2);
  d.PavilionSteps[0].Posit = 1.0;
  d.PavilionSteps[0].Facets.resize(1);
  for (int k = 1; k <= pavilionTiers; ++k) d.PavilionSteps[k] = {0, 0, 0.4, 41.0 + 6 * (k - 1), false, {}};
  return d;
}

TEST(StepEditorInstall, ReadDesignReplacesStepsAndRefreshesTheControls) {
  RecordingObserver observer;
  StepEditor editor(observer);
  ASSERT_TRUE(editor.ChooseStepTab(1));
  observer.events.clear();

  ASSERT_TRUE(editor.InstallDesign(ReadShape(10, 3, 2)));
  const DesignState& s = editor.State();
  const EditorControls& c = editor.Controls();
  EXPECT_EQ(s.SymOrder, 10);
  EXPECT_EQ(s.GearNotches, 80);
  EXPECT_EQ(c.Label5, "80-notch Gear");
  EXPECT_EQ(c.SymBox.items[c.SymBox.index], "10");
  EXPECT_EQ(s.CrownSteps.size(), 5u);
  EXPECT_EQ(c.TabControl2.items, (std::vector<std::string>{"Girdle", "1", "2", "New"}));
  EXPECT_EQ(c.TabControl2.index, 0);
  EXPECT_EQ(c.PositBar.position, 30);
  EXPECT_EQ(c.Label6, "Girdle thickness = 0.030");
  EXPECT_FALSE(s.Changed);
  EXPECT_EQ(observer.Count("stale"), 1);  // one construction; the reader plays "Create" itself
  EXPECT_EQ(observer.Count("sound:Tik"), 0);
  EXPECT_EQ(testing::SurfaceFault(*s.stone), "");
  // The girdle's position bar reads back the thickness the design holds.
  EXPECT_NEAR(s.CrownSteps[1].Posit, GirdlePosit(0.03, 88.0), 1e-15);
}

TEST(StepEditorInstall, SelectedTabBeyondTheNewStepsFallsBackToTheFirst) {
  RecordingObserver observer;
  StepEditor editor(observer);
  for (int i = 0; i < 4; ++i) editor.ClickNewStep();
  ASSERT_EQ(editor.Controls().TabControl2.index, 5);
  ASSERT_TRUE(editor.ChooseDataTab(6));  // "Table" of the big crown

  ASSERT_TRUE(editor.InstallDesign(ReadShape(8, 1, 1)));  // girdle only
  const EditorControls& c = editor.Controls();
  EXPECT_EQ(c.TabControl2.items, (std::vector<std::string>{"Girdle", "New"}));
  EXPECT_EQ(c.TabControl2.index, 0);
  EXPECT_EQ(c.TabControl3.index, 1);  // still the table
  EXPECT_EQ(c.FacetAngle2Label, "Facet Slope =\t0");
  EXPECT_EQ(editor.State().CrownSteps.size(), 3u);
}

TEST(StepEditorInstall, PavilionBeingEditedStaysTheSideShown) {
  RecordingObserver observer;
  StepEditor editor(observer);
  ASSERT_TRUE(editor.ChooseSideTab(1));
  ASSERT_TRUE(editor.InstallDesign(ReadShape(8, 2, 3)));
  EXPECT_FALSE(editor.State().IsCrown);
  EXPECT_EQ(editor.Controls().TabControl2.items, (std::vector<std::string>{"1", "2", "3", "New"}));
  // The Max Slope shows the new pavilion's main tier.
  EXPECT_EQ(editor.Controls().RxSpinEdit2.value, 41.0);
  EXPECT_EQ(editor.Controls().PositBar.position, 40);
}

TEST(StepEditorInstall, RefusesWhatTheControlsCannotShow) {
  RecordingObserver observer;
  StepEditor editor(observer);
  EXPECT_FALSE(editor.InstallDesign(ReadShape(13, 2, 1)));
  Design noTier = ReadShape(8, 2, 1);
  noTier.PavilionSteps.resize(2);
  EXPECT_FALSE(editor.InstallDesign(noTier));
  EXPECT_EQ(editor.State().SymOrder, 8);
  EXPECT_EQ(editor.State().CrownSteps.size(), 4u);
}

TEST(StepEditorInstall, GirdleTurnIsCarriedToThePavilion) {
  RecordingObserver observer;
  Design d = ReadShape(8, 2, 1);
  d.CrownSteps[1].Shift = 2;
  d.PavilionSteps[1].Shift = -1;
  StepEditor editor(d, observer);
  EXPECT_EQ(editor.State().PavilionSteps[1].Shift, 2);
}

// The last tier's plane depends on the turn of the placeholder after it. The
// stone shown must be the one the steps give, so that a design saved and
// opened again looks as it did.
TEST(StepEditorInstall, StoneIsTheOneTheStepsGiveWhenTheFirstTierTurns) {
  RecordingObserver observer;
  StepEditor editor(observer);
  ASSERT_TRUE(editor.ChooseShift(5 + 2));  // the girdle tier turned by 2 notches
  Design copy = editor.CurrentDesign();
  const Stone fresh = ConstructStone(copy);
  EXPECT_NEAR(fresh.AllFacets.back().D, editor.State().stone->AllFacets.back().D, 1e-12);
  EXPECT_NEAR(fresh.AllFacets.front().D, editor.State().stone->AllFacets.front().D, 1e-12);

  // Opened again from the file's content (zero placeholders): the same stone.
  Design reread = editor.CurrentDesign();
  for (MasStep* side : {&reread.CrownSteps, &reread.PavilionSteps}) {
    side->back() = TStep{};
    for (TStep& t : *side) t.Facets.clear();
    (*side)[0].Facets.resize(1);
  }
  RecordingObserver other;
  StepEditor reopened(reread, other);
  EXPECT_NEAR(reopened.State().stone->AllFacets.back().D, editor.State().stone->AllFacets.back().D, 1e-12);
  EXPECT_NEAR(reopened.State().stone->AllFacets.front().D, editor.State().stone->AllFacets.front().D, 1e-12);
}

TEST(StepEditorControls, SlopesBeyondTheSpinEditsRangeAreHeldAtItsEnd) {
  RecordingObserver observer;
  Design d = ReadShape(8, 3, 1);
  d.CrownSteps[3].Angle = 89.5;  // a file may hold up to 90
  d.CrownSteps[3].Auto = false;
  StepEditor editor(d, observer);
  ASSERT_TRUE(editor.ChooseStepTab(2));
  // The spin edit shows 89 at most; showing the tier there changes nothing.
  EXPECT_EQ(editor.Controls().RxSpinEdit1.value, 89.0);
  EXPECT_EQ(editor.Controls().TrackAngle1.position, 890);
  EXPECT_EQ(editor.State().CrownSteps[3].Angle, 89.5);
  EXPECT_FALSE(editor.State().Changed);
  EXPECT_FALSE(editor.CanUndo());
  // An edit does change it.
  ASSERT_TRUE(editor.TypeSlope(88.0));
  EXPECT_EQ(editor.State().CrownSteps[3].Angle, 88.0);
}

TEST(StepEditorControls, BarsHoldFarPositionsAtTheirEnds) {
  RecordingObserver observer;
  Design d = ReadShape(8, 2, 1);
  d.CrownSteps[2].Posit = 7.5;  // far outside the bar's 0.01 .. 2.00
  StepEditor editor(d, observer);
  ASSERT_TRUE(editor.ChooseStepTab(1));
  EXPECT_EQ(editor.Controls().PositBar.position, 200);
  EXPECT_EQ(editor.State().CrownSteps[2].Posit, 7.5);  // shown at the end, not changed
  EXPECT_EQ(editor.Controls().Label6, "Position = 2.00");
}

// Choosing the main tier of a freshly opened crown: the bar moves from the
// girdle's thickness to the tier's position and so rebuilds; that rebuild shows
// the tier's slope as the Max Slope, which an opened design already shows, so
// its rule does not run; then the step-tab rule ends in its own rebuild with
// "Create".
TEST(StepEditorControls, CascadesRunInTheOrderRealControlsReport) {
  RecordingObserver observer;
  StepEditor editor(ReadShape(8, 2, 1), observer);
  ASSERT_EQ(editor.Controls().RxSpinEdit2.value, 42.0);  // the opened main tier
  observer.events.clear();
  ASSERT_TRUE(editor.ChooseStepTab(1));
  EXPECT_EQ(observer.events, (std::vector<std::string>{"rebuilt", "sound:Create", "rebuilt"}));
  EXPECT_EQ(editor.Controls().RxSpinEdit2.value, 42.0);
  EXPECT_EQ(editor.Controls().TrackAngle2.position, 420);
  EXPECT_EQ(editor.State().CrownSteps[2].Angle, 42.0);  // shown, not changed
  EXPECT_EQ(editor.Controls().PositBar.position, 75);
  EXPECT_EQ(editor.Controls().Label6, "Position = 0.75");
}

TEST(SelectedStep, TabsAndFacetStepsAreInverse) {
  RecordingObserver observer;
  StepEditor editor(observer);
  for (int i = 0; i < 2; ++i) editor.ClickNewStep();  // crown: girdle and three tiers
  ASSERT_TRUE(editor.ChooseSideTab(1));
  editor.ClickNewStep();  // pavilion: two tiers
  ASSERT_TRUE(editor.ChooseSideTab(0));
  const DesignState& s = editor.State();
  const int p = static_cast<int>(s.PavilionSteps.size());  // 4
  ASSERT_EQ(p, 4);

  // Construction order: culet 0, pavilion tiers 2 and 1 as steps 1 and 2,
  // girdle 3, crown tiers 4 .. 6, table 7.
  EXPECT_EQ(SelectedStep(s, 0), 3);
  EXPECT_EQ(SelectedStep(s, 3), 6);
  for (int t = 0; t <= 3; ++t) EXPECT_EQ(StepTabOf(s, SelectedStep(s, t)), t);
  EXPECT_EQ(StepTabOf(s, 7), 4);  // the table gives "New"
  EXPECT_EQ(editor.Controls().TabControl2.items[4], "New");
  EXPECT_FALSE(StepTabOf(s, 8));
  EXPECT_FALSE(StepTabOf(s, -1));
  EXPECT_TRUE(StepIsOnCrown(s, 3));
  EXPECT_FALSE(StepIsOnCrown(s, 2));

  // The facets of the stone carry those numbers.
  const TFacet& table = s.stone->AllFacets.back();
  EXPECT_EQ(table.Step, 7);
  EXPECT_EQ(s.stone->AllFacets.front().Step, 0);

  editor.ClickCrownButton();
  EXPECT_EQ(SelectedStep(editor.State(), 0), 2);  // pavilion tier 1
  EXPECT_EQ(SelectedStep(editor.State(), 1), 1);
  EXPECT_EQ(StepTabOf(editor.State(), 0), 2);  // the culet gives "New"
  EXPECT_EQ(editor.SelectedStep(), 2);
}

TEST(SelectedStep, DoubleClickOnACrownFacetFromThePavilionSwitchesWithoutTurning) {
  RecordingObserver observer;
  StepEditor editor(observer);
  ASSERT_TRUE(editor.ChooseSideTab(1));
  observer.events.clear();
  // Default: culet 0, pavilion tier 1, girdle 2, crown tier 3, table 4.
  ASSERT_TRUE(editor.SelectFacetStep(3));
  EXPECT_TRUE(editor.State().IsCrown);
  EXPECT_EQ(editor.Controls().TabControl2.index, 1);
  EXPECT_EQ(observer.Count("turn"), 0);
  EXPECT_EQ(observer.Count("sound:Click"), 1);
  EXPECT_EQ(observer.Count("sound:Create"), 0);
  EXPECT_EQ(editor.SelectedStep(), 3);
}

TEST(SelectedStep, DoubleClickOnTheTableChoosesNew) {
  RecordingObserver observer;
  StepEditor editor(observer);
  observer.events.clear();
  ASSERT_TRUE(editor.SelectFacetStep(4));
  EXPECT_EQ(editor.State().CrownSteps.size(), 5u);  // a step was added
  EXPECT_EQ(observer.Count("sound:Create"), 1);     // the new step's cue replaces "Click"
  EXPECT_EQ(editor.Controls().TabControl2.index, 2);
  EXPECT_FALSE(editor.SelectFacetStep(6));  // the table is now step 5; 6 is nothing
}

}  // namespace
}  // namespace brillora
