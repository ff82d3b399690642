#pragma once

#include <cstdint>
#include <optional>

#include "model/design.h"
#include "model/design_limits.h"
#include "model/design_state.h"
#include "model/edit_history.h"
#include "model/editor_controls.h"
#include "model/editor_observer.h"

namespace brillora {

// The design window's editing without the window: it owns the design state and
// the state of the step controls, applies the rule of each control to both, and
// ends every edit with the rebuild of the stone.
//
// The user's actions (Choose..., Type..., Drag..., Click...) are what a window
// forwards; each returns false, changing nothing, when the controls would not
// allow it (an item or tab that does not exist, a hidden control, a number
// outside a control's range). The rules are named after the handlers of the
// controls and take the control that started them.
//
// Writing a control from a rule behaves as it does with real controls (see
// step_editor_cascades.cpp): a bar moved or a spin edit shown a new value reports
// the change and so runs its rule; a check box set to a new state runs its rule;
// selecting a list item or a tab from a rule reports nothing.
class StepEditor {
 public:
  // Starts with the default design: the symmetry, step-tab and position rules
  // run on it once and so build the first stone.
  explicit StepEditor(EditorObserver& observer);
  // Starts with a design that was read (named on the command line).
  StepEditor(const Design& design, EditorObserver& observer);

  StepEditor(const StepEditor&) = delete;
  StepEditor& operator=(const StepEditor&) = delete;

  const DesignState& State() const { return state_; }
  const EditorControls& Controls() const { return controls_; }
  Design CurrentDesign() const { return state_.AsDesign(); }
  // The step of the construction order that the selected step tab edits.
  int SelectedStep() const;

  // Installs a design that was read in full: both step arrays and the symmetry
  // replace the current ones and the rules refresh the controls and rebuild.
  // A design opens as it was saved: where the position bar or a slope control
  // cannot show a value exactly (a finer position, a slope past 89), it shows
  // the nearest one it has, and the design keeps its own until the control
  // is used.
  // False, changing nothing, when the design is not one the controls can show
  // (a symmetry order not in the list, a side without a tier).
  bool InstallDesign(const Design& design);

  // The user's actions.
  bool ChooseSymmetry(int index);
  bool ChooseSplit(int index);
  bool ChooseShift(int index);
  bool TypeSlope(double degrees);
  bool DragSlopeBar(int tenths);
  bool TypeMaxSlope(double degrees);
  bool DragMaxSlopeBar(int tenths);
  bool DragPositionBar(int position);
  bool SetAuto(bool checked);
  bool ChooseStepTab(int index);
  bool ChooseDataTab(int index);
  bool ChooseSideTab(int index);
  void ClickCrownButton();
  // "New Step", choosing the "New" tab, and "Clear next Steps" on the "New"
  // tab (which keeps the placeholder as a step) add no step to a side that
  // has kMaxSteps already: they return false and change nothing (the window
  // shows kStepLimitMessage).
  bool ClickNewStep();
  bool ClickClearNext();
  void ClickBackground();
  // The input focus moved to a control; entering the facet slope controls
  // turns automatic meeting off for the step.
  void FocusControl(Control control);
  // A double click in the picture on a facet of step `step` (construction
  // order): switches to that facet's side without turning the stone and selects
  // its step tab. False for a number outside the construction order.
  bool SelectFacetStep(int step);

  // Every action that changes the design is one step of the history; undo and
  // redo bring back the design and the controls as that step found or left
  // them, with their stone. Installing a design starts a new history. False
  // when there is nothing to undo or redo.
  bool Undo();
  bool Redo();
  bool CanUndo() const { return history_.CanUndo(); }
  // Whether the side being edited has room for one more step.
  bool CanAddStep() const { return H() - 1 < kMaxSteps; }
  bool CanRedo() const { return history_.CanRedo(); }
  // A bar or spin edit held from press to release: everything it does in
  // between is one step of the history.
  void BeginDrag();
  void EndDrag();
  // Whether the design differs from the one last installed or saved; undoing
  // back to that design clears it.
  bool IsModified() const { return revision_ != savedRevision_; }
  void MarkSaved() { savedRevision_ = revision_; }

 private:
  // The rules, one per handler.
  void FormClick(Control sender);
  void SymBoxChange(Control sender);
  void SplitBoxChange(Control sender);
  void ShiftBoxChange(Control sender);
  void TrackAngle1Change(Control sender);
  void TrackAngle1Enter(Control sender);
  void RxSpinEdit1Change(Control sender);
  void TrackAngle2Change(Control sender);
  void RxSpinEdit2Change(Control sender);
  void PositBarChange(Control sender);
  void CheckBoxClick(Control sender);
  void TabControl2Change(Control sender);
  void TabControl3Change(Control sender);
  void NewStepClick(Control sender);
  void ClearnextClick(Control sender);
  void CrownButtonClick(Control sender);

  // Rule-side writes of the controls, with the reports real controls make.
  void MoveBar(Control bar, double position);
  void ShowSpinValue(Control spin, double value);
  void ShowCheckBox(bool checked);
  // A control's own report of a change made to it, dispatched to its rule.
  void ReportChange(Control control);

  // Runs a user action as one step of the history (or as part of the drag
  // or action already running).
  template <class Action>
  bool Recorded(Action action);
  EditorSnapshot Snap() const { return {state_, controls_, revision_}; }
  void CompleteEdit(const EditorSnapshot& before);
  void Restore(EditorSnapshot snapshot);

  void StartWithDefaultDesign();
  void ShowMaxSlopeOfDesign();
  void FitTabSelectionsTo(const Design& design);
  void RebuildStepTabs(int k);
  static void FollowFirstTier(MasStep& steps);
  // The first tier's turn and split as the other side's first tier takes them.
  void CarryFirstTier(const TStep& source, TStep& target) const;
  // Whether `target` is what carrying `source` makes of it.
  bool CarriedFrom(const TStep& source, const TStep& target) const;

  int K() const { return controls_.TabControl2.index + 1; }
  int H() const { return static_cast<int>(state_.CurSteps().size()) - 1; }
  // Choosing the "New" tab now would add a step.
  bool NewTabAdds() const { return state_.CurSteps().back().Posit < 1.0; }
  int HalfSector() const;
  int MainTier() const { return state_.IsCrown ? 2 : 1; }
  bool OnGirdleTab() const { return state_.IsCrown && K() == 1; }
  TStep& Step(int k) { return state_.CurSteps().at(static_cast<std::size_t>(k)); }

  EditorObserver& observer_;
  DesignState state_;
  EditorControls controls_ = EditorControls::AsDesigned();
  Control focus_ = Control::None;
  EditHistory history_;
  std::optional<EditorSnapshot> dragStart_;
  bool recording_ = false;
  bool opening_ = false;  // controls set while a design is installed store nothing
  std::uint64_t revision_ = 0;
  std::uint64_t lastRevision_ = 0;
  std::uint64_t savedRevision_ = 0;
};

template <class Action>
bool StepEditor::Recorded(Action action) {
  if (dragStart_ || recording_) return action();
  recording_ = true;
  const EditorSnapshot before = Snap();
  const bool done = action();
  recording_ = false;
  CompleteEdit(before);
  return done;
}

}  // namespace brillora
