// How the step controls behave when they are written, and what each user
// action does to them. Every chain of one rule starting another through a
// control is made here:
//
// - A track bar set to a position it is not at reports a change: PositBar runs
//   the position rule with itself as sender; TrackAngle1 and TrackAngle2 pass
//   their position on to their spin edit only while they have the input focus
//   (the user is dragging them).
// - A spin edit shown a value it does not show reports a change: RxSpinEdit1
//   runs the facet slope rule, RxSpinEdit2 the Max Slope rule.
// - The check box set to a state it does not have runs the Auto rule; set to
//   the state it has, it runs nothing.
// - Selecting a list item or a tab from a rule reports nothing; the rules call
//   the next rule themselves.
// - Moving the input focus into TrackAngle1 or RxSpinEdit1 runs
//   TrackAngle1Enter.
//
// Bars and spin edits hold what they are given within their ranges, as real
// controls do.

#include <cmath>
#include <string>

#include "model/step_editor.h"

namespace brillora {

void StepEditor::MoveBar(Control bar, double position) {
  TrackBar& control = bar == Control::TrackAngle1   ? controls_.TrackAngle1
                      : bar == Control::TrackAngle2 ? controls_.TrackAngle2
                                                    : controls_.PositBar;
  const int fitted = control.Fit(position);
  if (fitted == control.position) return;
  control.position = fitted;
  ReportChange(bar);
}

void StepEditor::ShowSpinValue(Control spin, double value) {
  SpinEdit& control = spin == Control::RxSpinEdit1 ? controls_.RxSpinEdit1 : controls_.RxSpinEdit2;
  const double fitted = control.Fit(value);
  if (fitted == control.value) return;
  control.value = fitted;
  ReportChange(spin);
}

void StepEditor::ShowCheckBox(bool checked) {
  if (checked == controls_.CheckBox) return;
  controls_.CheckBox = checked;
  ReportChange(Control::CheckBox);
}

void StepEditor::ReportChange(Control control) {
  switch (control) {
    case Control::TrackAngle1: TrackAngle1Change(control); break;
    case Control::RxSpinEdit1: RxSpinEdit1Change(control); break;
    case Control::TrackAngle2: TrackAngle2Change(control); break;
    case Control::RxSpinEdit2: RxSpinEdit2Change(control); break;
    case Control::PositBar: PositBarChange(control); break;
    case Control::CheckBox: CheckBoxClick(control); break;
    default: break;
  }
}

void StepEditor::FocusControl(Control control) {
  Recorded([&] {
    if (control == focus_) return true;
    focus_ = control;
    if (control == Control::TrackAngle1 || control == Control::RxSpinEdit1) TrackAngle1Enter(control);
    return true;
  });
}

bool StepEditor::ChooseSymmetry(int index) {
  return Recorded([&] {
    if (!controls_.SymBox.Contains(index)) return false;
    FocusControl(Control::SymBox);
    controls_.SymBox.Select(index);
    SymBoxChange(Control::SymBox);
    return true;
  });
}

bool StepEditor::ChooseSplit(int index) {
  return Recorded([&] {
    if (!controls_.SplitBox.Contains(index)) return false;
    FocusControl(Control::SplitBox);
    controls_.SplitBox.Select(index);
    SplitBoxChange(Control::SplitBox);
    return true;
  });
}

bool StepEditor::ChooseShift(int index) {
  return Recorded([&] {
    if (!controls_.ShiftBoxVisible || !controls_.ShiftBox.Contains(index)) return false;
    FocusControl(Control::ShiftBox);
    controls_.ShiftBox.Select(index);
    ShiftBoxChange(Control::ShiftBox);
    return true;
  });
}

bool StepEditor::TypeSlope(double degrees) {
  return Recorded([&] {
    const SpinEdit& spin = controls_.RxSpinEdit1;
    if (!controls_.RxSpinEdit1Visible || !(degrees >= spin.min && degrees <= spin.max)) return false;
    FocusControl(Control::RxSpinEdit1);
    ShowSpinValue(Control::RxSpinEdit1, degrees);
    return true;
  });
}

bool StepEditor::DragSlopeBar(int tenths) {
  return Recorded([&] {
    const TrackBar& bar = controls_.TrackAngle1;
    if (!controls_.TrackAngle1Visible || tenths < bar.min || tenths > bar.max) return false;
    FocusControl(Control::TrackAngle1);
    MoveBar(Control::TrackAngle1, tenths);
    return true;
  });
}

bool StepEditor::TypeMaxSlope(double degrees) {
  return Recorded([&] {
    const SpinEdit& spin = controls_.RxSpinEdit2;
    if (!(degrees >= spin.min && degrees <= spin.max)) return false;
    FocusControl(Control::RxSpinEdit2);
    ShowSpinValue(Control::RxSpinEdit2, degrees);
    return true;
  });
}

bool StepEditor::DragMaxSlopeBar(int tenths) {
  return Recorded([&] {
    const TrackBar& bar = controls_.TrackAngle2;
    if (tenths < bar.min || tenths > bar.max) return false;
    FocusControl(Control::TrackAngle2);
    MoveBar(Control::TrackAngle2, tenths);
    return true;
  });
}

bool StepEditor::DragPositionBar(int position) {
  return Recorded([&] {
    const TrackBar& bar = controls_.PositBar;
    if (position < bar.min || position > bar.max) return false;
    FocusControl(Control::PositBar);
    MoveBar(Control::PositBar, position);
    return true;
  });
}

bool StepEditor::SetAuto(bool checked) {
  return Recorded([&] {
    if (!controls_.CheckBoxVisible) return false;
    FocusControl(Control::CheckBox);
    ShowCheckBox(checked);
    return true;
  });
}

bool StepEditor::ChooseStepTab(int index) {
  return Recorded([&] {
    ListControl& tabs = controls_.TabControl2;
    if (!tabs.Contains(index)) return false;
    if (index == tabs.Last() && index != tabs.index && NewTabAdds() && !CanAddStep()) return false;
    FocusControl(Control::TabControl2);
    if (index == tabs.index) return true;  // a tab control reports only a new tab
    tabs.Select(index);
    TabControl2Change(Control::TabControl2);
    return true;
  });
}

bool StepEditor::ChooseDataTab(int index) {
  return Recorded([&] {
    ListControl& tabs = controls_.TabControl3;
    if (!tabs.Contains(index)) return false;
    FocusControl(Control::TabControl3);
    if (index == tabs.index) return true;
    tabs.Select(index);
    TabControl3Change(Control::TabControl3);
    return true;
  });
}

bool StepEditor::ChooseSideTab(int index) {
  return Recorded([&] {
    ListControl& tabs = controls_.TabControl1;
    if (!tabs.Contains(index)) return false;
    FocusControl(Control::TabControl1);
    if (index == tabs.index) return true;
    tabs.Select(index);
    CrownButtonClick(Control::TabControl1);
    return true;
  });
}

void StepEditor::ClickCrownButton() {
  Recorded([&] {
    FocusControl(Control::CrownButton);
    CrownButtonClick(Control::CrownButton);
    return true;
  });
}

// The step menu and the window's background take no input focus.
bool StepEditor::ClickNewStep() {
  return Recorded([&] {
    if (NewTabAdds() && !CanAddStep()) return false;
    NewStepClick(Control::NewStep);
    return true;
  });
}

bool StepEditor::ClickClearNext() {
  return Recorded([&] {
    if (K() == H() && !CanAddStep()) return false;
    ClearnextClick(Control::Clearnext);
    return true;
  });
}

void StepEditor::ClickBackground() {
  Recorded([&] {
    FormClick(Control::Form);
    return true;
  });
}

}  // namespace brillora
