#include "model/step_editor.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <utility>

#include "model/default_design.h"
#include "model/design_limits.h"
#include "model/facet_construction.h"
#include "model/gear.h"
#include "model/girdle.h"
#include "model/number_text.h"
#include "model/selected_step.h"
#include "model/units.h"

namespace brillora {

namespace {

int IndexOfSymmetry(int symOrder) {
  const std::string text = std::to_string(symOrder);
  for (std::size_t i = 0; i < kSymmetryItems.size(); ++i) {
    if (kSymmetryItems[i] == text) return static_cast<int>(i);
  }
  return -1;
}

int ShownNumber(const ListControl& list) { return std::stoi(list.items.at(list.index)); }

}  // namespace

StepEditor::StepEditor(EditorObserver& observer) : observer_(observer) { StartWithDefaultDesign(); }

StepEditor::StepEditor(const Design& design, EditorObserver& observer) : observer_(observer) {
  if (!InstallDesign(design)) StartWithDefaultDesign();
}

int StepEditor::SelectedStep() const { return brillora::SelectedStep(state_, controls_.TabControl2.index); }

// The last tier's plane depends on the turn of the element after it, the
// placeholder, which the editor keeps a copy of the first tier. The placeholder
// is refreshed before the planes of a side are computed, so that the stone shown
// is always the one its steps give (and the one a saved design gives when it is
// opened again), whatever edits of the first tier came since the step tabs were
// last refreshed.
void StepEditor::FollowFirstTier(MasStep& steps) { steps.back() = steps[1]; }

void StepEditor::CarryFirstTier(const TStep& source, TStep& target) const {
  if (source.Split == 0) {
    target.Shift = source.Shift;
    target.Split = 0;
  } else if (source.Shift == 0) {
    target.Split = source.Split;
  } else {
    // Within one turn of the gear: carried back and forth between the sides
    // the split would otherwise grow past anything a file holds.
    target.Split = WithinOneTurn(source.Shift - source.Split, state_.GearNotches);
  }
}

bool StepEditor::CarriedFrom(const TStep& source, const TStep& target) const {
  TStep carried = target;
  CarryFirstTier(source, carried);
  return carried.Split == target.Split && carried.Shift == target.Shift;
}

int StepEditor::HalfSector() const { return HalfSectorNotches(state_.SymOrder, state_.GearNotches); }

void StepEditor::StartWithDefaultDesign() {
  const Design design = DefaultDesign();
  state_.CrownSteps = design.CrownSteps;
  state_.PavilionSteps = design.PavilionSteps;
  state_.IsCrown = true;
  state_.Changed = true;
  controls_.SymBox.Select(IndexOfSymmetry(8));
  SymBoxChange(Control::None);
  TabControl2Change(Control::None);
  PositBarChange(Control::None);
}

bool StepEditor::InstallDesign(const Design& design) {
  const int symmetry = IndexOfSymmetry(design.SymOrder);
  if (symmetry < 0 || design.CrownSteps.size() < 3 || design.PavilionSteps.size() < 3) return false;
  FitTabSelectionsTo(design);
  state_.CrownSteps = design.CrownSteps;
  state_.PavilionSteps = design.PavilionSteps;
  controls_.SymBox.Select(symmetry);
  state_.Changed = true;
  opening_ = true;
  SymBoxChange(Control::None);
  controls_.TabControl2.Select(0);
  PositBarChange(Control::None);
  TabControl2Change(Control::None);
  opening_ = false;
  ShowMaxSlopeOfDesign();
  history_.Clear();
  dragStart_.reset();
  savedRevision_ = revision_ = ++lastRevision_;
  return true;
}

// The Max Slope shows the main tier of the design installed, so that its
// arrows and bar move from there rather than rescale the design from the
// slope the controls showed before. Only shown: the design stays as it is.
void StepEditor::ShowMaxSlopeOfDesign() {
  if (MainTier() >= H()) return;  // no main tier yet, only its placeholder
  controls_.RxSpinEdit2.value = controls_.RxSpinEdit2.Fit(Step(MainTier()).Angle);
  controls_.TrackAngle2.position = controls_.TrackAngle2.Fit(controls_.RxSpinEdit2.value * 10);
}

bool StepEditor::ApplyDesign(const Design& design) {
  return Recorded([&] {
    const auto sameSteps = [](const MasStep& a, const MasStep& b) {
      if (a.size() != b.size()) return false;
      for (std::size_t k = 0; k < a.size(); ++k) {
        if (a[k].Split != b[k].Split || a[k].Shift != b[k].Shift || a[k].Auto != b[k].Auto) return false;
      }
      return true;
    };
    if (design.SymOrder != state_.SymOrder || design.GearNotches != state_.GearNotches ||
        !sameSteps(design.CrownSteps, state_.CrownSteps) || !sameSteps(design.PavilionSteps, state_.PavilionSteps)) {
      return false;
    }
    state_.CrownSteps = design.CrownSteps;
    state_.PavilionSteps = design.PavilionSteps;
    state_.Changed = true;
    // On the "New" tab the step-tab rule would make the placeholder a step.
    ListControl& tabs = controls_.TabControl2;
    if (tabs.index == tabs.Last() && tabs.Last() > 0) tabs.Select(tabs.Last() - 1);
    // The step-tab rule shows the selected step's new values and ends in the
    // rebuild of both sides; the Max Slope shows the main tier's slope as the
    // side switch shows it.
    TabControl2Change(Control::None);
    const double mainSlope = Step(MainTier()).Angle;
    if (mainSlope >= controls_.RxSpinEdit2.min && mainSlope <= controls_.RxSpinEdit2.max) {
      ShowSpinValue(Control::RxSpinEdit2, mainSlope);
    }
    return true;
  });
}

void StepEditor::CompleteEdit(const EditorSnapshot& before) {
  if (!DesignsDiffer(before.state, state_)) return;
  history_.Record(before);
  revision_ = ++lastRevision_;
}

void StepEditor::Restore(EditorSnapshot snapshot) {
  state_ = std::move(snapshot.state);
  controls_ = std::move(snapshot.controls);
  revision_ = snapshot.revision;
  observer_.PictureStale();
  observer_.StoneRebuilt();
}

bool StepEditor::Undo() {
  EndDrag();
  auto target = history_.Undo(Snap());
  if (!target) return false;
  Restore(std::move(*target));
  return true;
}

bool StepEditor::Redo() {
  EndDrag();
  auto target = history_.Redo(Snap());
  if (!target) return false;
  Restore(std::move(*target));
  return true;
}

void StepEditor::BeginDrag() {
  if (!dragStart_ && !recording_) dragStart_ = Snap();
}

void StepEditor::EndDrag() {
  if (!dragStart_) return;
  const EditorSnapshot before = std::move(*dragStart_);
  dragStart_.reset();
  CompleteEdit(before);
}

// The symmetry rule runs with the step tab of the design being replaced. A
// selected tab that the new design does not have would make it read past the
// new steps, so such a selection moves to the first tab before the new steps
// are installed.
void StepEditor::FitTabSelectionsTo(const Design& design) {
  const MasStep& steps = state_.IsCrown ? design.CrownSteps : design.PavilionSteps;
  const int last = static_cast<int>(steps.size()) - 1;
  if (controls_.TabControl2.index + 1 > last) controls_.TabControl2.Select(0);
}

// The rebuild that every edit ends with.
void StepEditor::FormClick(Control sender) {
  const int k = K();
  if (state_.Changed) {
    // CurSteps is the edited side's own array, so the planes land in that side.
    // The placeholder is shown, and may be edited, only on the "New" tab.
    MasStep& steps = state_.CurSteps();
    if (k != H()) FollowFirstTier(steps);
    // Its turn enters the last tier's plane. A design opened again gets a
    // copy of the first tier there, so the planes are computed with the first
    // tier's turn even while the "New" tab gives the placeholder one of its own.
    const int shownShift = steps.back().Shift;
    steps.back().Shift = steps[1].Shift;
    BuildStepPlanes(state_.IsCrown ? +1 : -1, state_.SymOrder, state_.GearNotches, steps);
    steps.back().Shift = shownShift;
  }
  if (sender == Control::TabControl2) state_.SoundName = "Create";
  if (sender != Control::RxSpinEdit1) ShowSpinValue(Control::RxSpinEdit1, Step(k).Angle);
  // On the main tier the Max Slope follows the slope shown; if it changes, its
  // rule finds the tier already at that slope and only rebuilds, so this run
  // carries on with Changed already cleared.
  if (k == MainTier()) ShowSpinValue(Control::RxSpinEdit2, controls_.RxSpinEdit1.value);
  if (state_.Changed) observer_.PictureStale();
  if (!state_.SoundName.empty()) observer_.PlaySound(state_.SoundName);
  state_.SoundName.clear();
  if (state_.Changed) {
    state_.stone = std::make_shared<const Stone>(
        BuildStone(state_.SymOrder, state_.CrownSteps, state_.PavilionSteps));
  }
  observer_.StoneRebuilt();
  if (state_.Changed) TabControl3Change(Control::None);
  state_.Changed = false;
}

void StepEditor::SymBoxChange(Control sender) {
  state_.SymOrder = ShownNumber(controls_.SymBox);
  state_.GearNotches = GearNotchesFor(state_.SymOrder);
  controls_.Label5 = std::to_string(state_.GearNotches) + "-notch Gear";

  // The list offers the splits of the new gear; a step keeps its own Split even
  // where the list can no longer show it.
  ListControl& split = controls_.SplitBox;
  const int remembered = split.index;
  split.items.clear();
  for (int s = 0; s < HalfSector(); ++s) split.items.push_back(std::to_string(s));
  const int shown = std::clamp(remembered, 0, split.Last());
  split.Select(std::min(Step(K()).Split, shown));

  if (sender == Control::SymBox) {
    state_.Changed = true;
    state_.SoundName = "Tik";
  }
  SplitBoxChange(sender);
}

void StepEditor::SplitBoxChange(Control sender) {
  const int k = K();
  if (sender == Control::SplitBox) {
    state_.Changed = true;
    state_.SoundName = "Tik";
    Step(k).Split = ShownNumber(controls_.SplitBox);
    // The shift list of a split tier beyond the first offers 0 alone: the
    // tier takes the turn it shows (see SplitTierTurns).
    if (SplitTierTurns(state_.CurSteps(), k)) Step(k).Shift = 0;
  }
  const int h = HalfSector();
  const bool unsplit = Step(k).Split == 0 && Step(k - 1).Split == 0;
  ListControl& shift = controls_.ShiftBox;
  shift.items.clear();
  if (unsplit) {
    for (int s = 1 - h; s <= h; ++s) shift.items.push_back(std::to_string(s));
    shift.Select(Step(k).Shift + h - 1);
  } else {
    // A split tier turns only by whole half sectors, and only the first tier can.
    shift.items.push_back("0");
    if (k == 1) shift.items.push_back(std::to_string(h));
    shift.Select(Step(k).Shift == 0 ? 0 : 1);
  }
  controls_.ShiftBoxVisible = k == 1 || unsplit;
  controls_.Label4Visible = controls_.ShiftBoxVisible;
  ShiftBoxChange(sender);
}

void StepEditor::ShiftBoxChange(Control sender) {
  if (sender == Control::ShiftBox) {
    state_.Changed = true;
    state_.SoundName = "Tik";
    Step(K()).Shift = ShownNumber(controls_.ShiftBox);
  }
  if (state_.Changed) {
    // Both sides start from the same girdle outline, so the first tier's
    // rotation is carried to the other side. A design opened after it was
    // saved from an edit of the other side holds that side's turn carried
    // here; carried back it would change, so it is kept as it is.
    TStep& target = state_.OtherSteps().at(1);
    if (!(opening_ && CarriedFrom(target, Step(1)))) CarryFirstTier(Step(1), target);
    FollowFirstTier(state_.OtherSteps());
    BuildStepPlanes(state_.IsCrown ? -1 : +1, state_.SymOrder, state_.GearNotches, state_.OtherSteps());
  }
  FormClick(sender);
}

void StepEditor::TrackAngle1Change(Control) {
  if (focus_ == Control::TrackAngle1) {
    ShowSpinValue(Control::RxSpinEdit1, controls_.TrackAngle1.position / 10.0);
  }
}

void StepEditor::TrackAngle1Enter(Control) { ShowCheckBox(false); }

void StepEditor::RxSpinEdit1Change(Control sender) {
  const double value = controls_.RxSpinEdit1.value;
  MoveBar(Control::TrackAngle1, value * 10);
  TStep& step = Step(K());
  // A typed tier steeper than the control reaches (an imported upright
  // girdle) shows the control's steepest: showing it is no edit of the tier.
  const bool shownOnly = !step.Auto && value == controls_.RxSpinEdit1.Fit(step.Angle);
  if (value != step.Angle && !shownOnly && !opening_) {
    step.Angle = value;
    state_.Changed = true;
    FormClick(sender);
  }
}

void StepEditor::TrackAngle2Change(Control) {
  if (focus_ == Control::TrackAngle2) {
    ShowSpinValue(Control::RxSpinEdit2, controls_.TrackAngle2.position / 10.0);
  }
}

void StepEditor::RxSpinEdit2Change(Control sender) {
  const double value = controls_.RxSpinEdit2.value;
  MoveBar(Control::TrackAngle2, value * 10);
  const int j = MainTier();
  if (value == Step(j).Angle || value == controls_.RxSpinEdit2.Fit(Step(j).Angle) || opening_) {
    FormClick(sender);
    return;
  }
  // A steeper or flatter main tier scales the tangents of every later typed
  // tier by the same ratio, so that the cut keeps its proportions.
  const double ratio = std::tan(Radians(value)) / std::tan(Radians(Step(j).Angle));
  Step(j).Angle = value;
  for (int m = j + 1; m <= H(); ++m) {
    TStep& step = Step(m);
    if (!step.Auto) {
      step.Angle = WithinSlopeRange(Degrees(std::atan(std::tan(Radians(step.Angle)) * ratio)));
    }
  }
  state_.Changed = true;
  FormClick(sender);
}

void StepEditor::PositBarChange(Control sender) {
  const int k = K();
  const int position = controls_.PositBar.position;
  double value;
  if (OnGirdleTab()) {
    const double thickness = position / 1000.0;
    value = GirdlePosit(thickness, Step(1).Angle);
    controls_.Label6 = "Girdle thickness = " + FormatFixed(thickness, 4, 3);
  } else {
    value = position / 100.0;
    controls_.Label6 = "Position = " + FormatFixed(value, 4, 2);
  }
  // A position finer than the bar's steps (an imported design's), or beyond
  // its ends, shows as the nearest the bar has: showing it is no edit.
  const double shown =
      OnGirdleTab() ? GirdleThickness(Step(1).Posit, Step(1).Angle) * 1000 : 100 * Step(k).Posit;
  const bool shownOnly = position == controls_.PositBar.Fit(shown);
  if (value != Step(k).Posit && !shownOnly && sender == Control::PositBar && !opening_) {
    Step(k).Posit = value;
    state_.Changed = true;
  }
  if (sender != Control::None) FormClick(sender);
}

void StepEditor::CheckBoxClick(Control sender) {
  TStep& step = Step(K());
  if (controls_.CheckBox != step.Auto) {
    step.Auto = controls_.CheckBox;
    // A derived slope may be flatter than any a file holds; typed from now on,
    // it becomes the nearest one that is (the one RxSpinEdit1 shows).
    if (!step.Auto) step.Angle = WithinSlopeRange(step.Angle);
    state_.Changed = true;
    FormClick(sender);
  }
}

void StepEditor::RebuildStepTabs(int k) {
  const int h = H();
  ListControl& steps = controls_.TabControl2;
  ListControl& data = controls_.TabControl3;
  const int previousData = data.index;
  steps.items.clear();
  data.items.clear();
  if (state_.IsCrown) {
    steps.items.push_back("Girdle");
    data.items.push_back("Girdle");
    for (int t = 1; t <= h - 2; ++t) {
      steps.items.push_back(std::to_string(t));
      data.items.push_back(std::to_string(t));
    }
  } else {
    for (int t = 1; t <= h - 1; ++t) {
      steps.items.push_back(std::to_string(t));
      data.items.push_back(std::to_string(t));
    }
  }
  steps.items.push_back("New");
  data.items.push_back(state_.IsCrown ? "Table" : "Culet");
  steps.Select(k - 1);
  data.Select(previousData);
}

void StepEditor::TabControl2Change(Control sender) {
  MasStep& s = state_.CurSteps();
  const int k = K();
  // "New": the placeholder, a copy of the first tier, becomes a real step when
  // its position lies inside the stone.
  if (k == static_cast<int>(controls_.TabControl2.items.size()) && s.at(k).Posit < 1.0) {
    s.resize(static_cast<std::size_t>(k) + 2);
    s[k + 1] = TStep{};
    s[k] = s[k - 1];
    s[k].Auto = true;
    // A copy of a turned split first tier keeps its facets where the first
    // tier has them, and takes no turn of its own.
    if (SplitTierTurns(s, k)) s[k].Shift = 0;
    if (state_.IsCrown && k == 2) {
      // The first tier above the girdle is the main tier at the Max Slope.
      s[k].Posit = 0.7;
      s[k].Angle = controls_.RxSpinEdit2.value;
      s[k].Auto = false;
    }
    state_.SoundName = "Create";
    state_.Changed = true;
  }
  RebuildStepTabs(k);
  if (sender != Control::None) TabControl3Change(sender);

  const int h = HalfSector();
  controls_.ShiftBox.Select(Step(k).Shift + h - 1);
  controls_.SplitBox.Select(Step(k).Split);
  if (OnGirdleTab()) {
    MoveBar(Control::PositBar, GirdleThickness(Step(1).Posit, Step(1).Angle) * 1000);
  } else {
    MoveBar(Control::PositBar, 100 * Step(k).Posit);
  }
  PositBarChange(Control::None);
  ShowCheckBox(Step(k).Auto);

  // A placeholder that turns differently changes the last tier's plane, so the
  // stone is built again when the copy turns it.
  if (Step(H()).Shift != Step(1).Shift) state_.Changed = true;
  Step(H()) = Step(1);

  const bool slopeShown = k != MainTier();
  controls_.TrackAngle1Visible = slopeShown;
  controls_.RxSpinEdit1Visible = slopeShown;
  controls_.FacetAngleLabelVisible = slopeShown;
  controls_.CheckBoxVisible = slopeShown && !OnGirdleTab();
  SplitBoxChange(sender);
}

void StepEditor::TabControl3Change(Control) {
  const MasStep& s = state_.CurSteps();
  const int last = H();
  // While a new design is installed the data tabs may still be those of the old
  // one; a tab beyond the new steps shows the last one ("Table" or "Culet").
  const int k3 = std::min(controls_.TabControl3.index + 1, last);
  const auto distance = [](const TStep& step) { return step.Facets.empty() ? 0.0 : step.Facets[0].D; };
  if (k3 != last) {
    controls_.FacetAngle2Label = "Facet Slope =\t" + FormatFixed(s[k3].Angle, 4, 1);
    controls_.DistLabel = "Distance =\t" + FormatFixed(distance(s[k3]), 4, 3);
  } else {
    controls_.FacetAngle2Label = "Facet Slope =\t0";
    controls_.DistLabel = "Distance =\t" + FormatFixed(distance(s[0]), 4, 3);
  }
}

void StepEditor::NewStepClick(Control sender) {
  controls_.TabControl2.Select(controls_.TabControl2.Last());
  TabControl2Change(sender);
}

void StepEditor::ClearnextClick(Control sender) {
  const int k = K();
  MasStep& s = state_.CurSteps();
  // On the "New" tab this keeps one element more: the placeholder, a copy of
  // the first tier, becomes a step, which takes no turn if it is split.
  s.resize(static_cast<std::size_t>(k) + 2);
  if (SplitTierTurns(s, k)) s[k].Shift = 0;
  state_.Changed = true;
  TabControl2Change(sender);
}

void StepEditor::CrownButtonClick(Control sender) {
  controls_.TabControl2.Select(0);
  if (sender != Control::TabControl1 && sender != Control::None && pictureShowsCrown_ == state_.IsCrown) {
    observer_.TurnStoneOver();
  }
  state_.IsCrown = !state_.IsCrown;
  controls_.TabControl1Font = state_.IsCrown ? kCrownTabColor : kPavilionTabColor;
  const int j = MainTier();
  controls_.TabControl1.Select(2 - j);
  ShowSpinValue(Control::RxSpinEdit2, Step(j).Angle);
  TabControl2Change(sender);
}

bool StepEditor::SelectFacetStep(int step) {
  return Recorded([&] {
    if (!StepTabOf(state_, step)) return false;
    if (StepIsOnCrown(state_, step) != state_.IsCrown) CrownButtonClick(Control::None);
    state_.SoundName = "Click";
    controls_.TabControl2.Select(*StepTabOf(state_, step));
    TabControl2Change(Control::Picture);
    return true;
  });
}

}  // namespace brillora
