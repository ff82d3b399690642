// Undo and redo through the step editor: random edits undone in full give
// back the first design as the design writer writes it, redone in full the
// last, with the controls as they were.

#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>

#include "io/design_file.h"
#include "model/edit_history.h"
#include "model/step_editor.h"
#include "model/step_editor_recorder.h"
#include "support/random_design.h"
#include "support/trial_count.h"

namespace brillora {
namespace {

using testing::RecordingObserver;

int Uniform(std::mt19937& random, int low, int high) {
  return std::uniform_int_distribution<int>(low, high)(random);
}

std::string DesignText(const StepEditor& editor) {
  return DesignFileText(editor.CurrentDesign(), 1.54, "date", "time");
}

// What the controls show, as text.
std::string ControlsText(const EditorControls& c) {
  std::ostringstream out;
  out.precision(17);
  for (const ListControl* list : {&c.SymBox, &c.SplitBox, &c.ShiftBox, &c.TabControl1, &c.TabControl2, &c.TabControl3}) {
    for (const auto& item : list->items) out << item << ',';
    out << list->index << '\n';
  }
  out << c.TrackAngle1.position << ' ' << c.RxSpinEdit1.value << ' ' << c.TrackAngle2.position << ' '
      << c.RxSpinEdit2.value << ' ' << c.PositBar.position << ' ' << c.CheckBox << '\n'
      << c.Label5 << c.Label6 << c.FacetAngle2Label << c.DistLabel << '\n';
  for (auto name : c.VisibleControls()) out << name << ',';
  return out.str();
}

std::string VerticesText(const Stone& stone) {
  std::ostringstream out;
  out.precision(17);
  for (const TVertex& v : stone.AllVertices) out << v.x << ' ' << v.y << ' ' << v.z << '\n';
  return out.str();
}

// One action a user could take, chosen at random; some are refused.
void RandomAction(std::mt19937& random, StepEditor& editor) {
  const EditorControls& c = editor.Controls();
  const auto pick = [&](const ListControl& list) { return Uniform(random, 0, list.Last()); };
  switch (Uniform(random, 0, 13)) {
    case 0: editor.ChooseSymmetry(pick(c.SymBox)); break;
    case 1: editor.ChooseSideTab(Uniform(random, 0, 1)); break;
    case 2: editor.ChooseStepTab(pick(c.TabControl2)); break;
    case 3: editor.ClickNewStep(); break;
    case 4: editor.ClickClearNext(); break;
    case 5: editor.ChooseSplit(pick(c.SplitBox)); break;
    case 6: editor.ChooseShift(pick(c.ShiftBox)); break;
    case 7: editor.TypeSlope(Uniform(random, 500, 8500) / 100.0); break;
    case 8: editor.TypeMaxSlope(Uniform(random, 1000, 6000) / 100.0); break;
    case 9: editor.DragPositionBar(Uniform(random, 30, 120)); break;
    case 10: editor.SetAuto(Uniform(random, 0, 1) == 1); break;
    case 11: editor.ChooseDataTab(pick(c.TabControl3)); break;
    case 12: {
      // A drag from press to release through several positions.
      editor.BeginDrag();
      for (int m = Uniform(random, 1, 6); m > 0; --m) editor.DragSlopeBar(Uniform(random, 50, 850));
      editor.EndDrag();
      break;
    }
    case 13: {
      editor.BeginDrag();
      for (int m = Uniform(random, 1, 6); m > 0; --m) editor.DragMaxSlopeBar(Uniform(random, 100, 600));
      editor.EndDrag();
      break;
    }
  }
}

TEST(EditHistory, UndoingEveryRandomEditGivesTheFirstDesignAndRedoingGivesTheLast) {
  std::mt19937 random(18);
  int undone = 0;
  for (int n = 0; n < testing::TrialCount(150); ++n) {
    RecordingObserver observer;
    StepEditor editor(testing::RandomDesign(random), observer);
    EXPECT_FALSE(editor.CanUndo());
    const std::string firstDesign = DesignText(editor);
    const std::string firstStone = VerticesText(*editor.State().stone);
    // Actions that change no design (a data tab, a refused number) make no
    // step: undoing everything gives the controls as the first edit found
    // them; redoing everything gives those the undoing started from.
    std::string firstControls = ControlsText(editor.Controls());
    bool edited = false;
    const int actions = Uniform(random, 1, 12);
    for (int a = 0; a < actions; ++a) {
      const DesignState before = editor.State();
      const std::string controlsBefore = ControlsText(editor.Controls());
      RandomAction(random, editor);
      if (!DesignsDiffer(before, editor.State())) continue;
      if (!edited) firstControls = controlsBefore;
      edited = true;
    }
    const std::string lastDesign = DesignText(editor);
    const std::string lastControls = ControlsText(editor.Controls());
    if (!edited) firstControls = lastControls;
    const std::string lastStone = VerticesText(*editor.State().stone);
    EXPECT_FALSE(editor.CanRedo());

    int steps = 0;
    while (editor.Undo()) ++steps;
    EXPECT_LE(steps, actions) << "sequence " << n;
    undone += steps;
    ASSERT_EQ(DesignText(editor), firstDesign) << "sequence " << n;
    EXPECT_EQ(ControlsText(editor.Controls()), firstControls) << "sequence " << n;
    EXPECT_EQ(VerticesText(*editor.State().stone), firstStone) << "sequence " << n;
    EXPECT_EQ(editor.IsModified(), false) << "sequence " << n;

    int redone = 0;
    while (editor.Redo()) ++redone;
    EXPECT_EQ(redone, steps) << "sequence " << n;
    ASSERT_EQ(DesignText(editor), lastDesign) << "sequence " << n;
    EXPECT_EQ(ControlsText(editor.Controls()), lastControls) << "sequence " << n;
    EXPECT_EQ(VerticesText(*editor.State().stone), lastStone) << "sequence " << n;
    EXPECT_EQ(editor.IsModified(), steps > 0) << "sequence " << n;
  }
  // The sequences did change their designs.
  EXPECT_GT(undone, testing::TrialCount(150));
}

TEST(EditHistory, ADragFromPressToReleaseIsOneStepAndUndoRebuildsOnce) {
  RecordingObserver observer;
  StepEditor editor(observer);
  const std::string before = DesignText(editor);
  ASSERT_TRUE(editor.ChooseStepTab(0));  // the girdle tab shows the slope bar
  EXPECT_FALSE(editor.CanUndo()) << "choosing a tab changes no design";
  editor.BeginDrag();
  for (int tenths : {850, 800, 780, 760}) ASSERT_TRUE(editor.DragSlopeBar(tenths));
  editor.EndDrag();
  EXPECT_NE(DesignText(editor), before);
  EXPECT_EQ(editor.Controls().TrackAngle1.position, 760);

  observer.events.clear();
  ASSERT_TRUE(editor.Undo());
  EXPECT_EQ(observer.Count("stale"), 1);
  EXPECT_EQ(observer.Count("rebuilt"), 1);
  EXPECT_EQ(DesignText(editor), before);
  EXPECT_EQ(editor.Controls().TrackAngle1.position, 890);
  EXPECT_FALSE(editor.CanUndo()) << "the whole drag was one step";
  ASSERT_TRUE(editor.Redo());
  EXPECT_EQ(editor.Controls().TrackAngle1.position, 760);
  EXPECT_FALSE(editor.Redo());
}

TEST(EditHistory, ANewEditDropsWhatWasUndoneAndTheSavedDesignIsRemembered) {
  EditorObserver quiet;
  StepEditor editor(quiet);
  EXPECT_FALSE(editor.IsModified());
  ASSERT_TRUE(editor.TypeMaxSlope(35));
  EXPECT_TRUE(editor.IsModified());
  editor.MarkSaved();
  EXPECT_FALSE(editor.IsModified());
  ASSERT_TRUE(editor.Undo());
  EXPECT_TRUE(editor.IsModified()) << "the design differs from the saved one";
  ASSERT_TRUE(editor.Redo());
  EXPECT_FALSE(editor.IsModified());
  ASSERT_TRUE(editor.Undo());
  ASSERT_TRUE(editor.TypeMaxSlope(45));
  EXPECT_FALSE(editor.CanRedo());
  EXPECT_TRUE(editor.IsModified());

  // Installing a design starts a new history.
  ASSERT_TRUE(editor.InstallDesign(editor.CurrentDesign()));
  EXPECT_FALSE(editor.CanUndo());
  EXPECT_FALSE(editor.IsModified());
}

}  // namespace
}  // namespace brillora
