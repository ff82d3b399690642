#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace brillora {

// The controls of the design window that the step editing rules read and write,
// and the other senders a rule can be started by. `None` is a rule started by
// another rule or by the program rather than by a control.
enum class Control {
  None,
  SymBox,
  SplitBox,
  ShiftBox,
  TrackAngle1,
  RxSpinEdit1,
  TrackAngle2,
  RxSpinEdit2,
  PositBar,
  CheckBox,
  TabControl1,
  TabControl2,
  TabControl3,
  CrownButton,
  NewStep,    // "New Step" in the step menu
  Clearnext,  // "Clear next Steps" in the step menu
  Form,       // the design window's background or Panel3
  Picture,    // the picture window (a double click on a facet)
};

std::string_view ControlName(Control control);

// A drop-down list or a set of tabs: its items and the selected one.
struct ListControl {
  std::vector<std::string> items;
  int index = 0;

  // Selects an item by its index; an index outside the items selects the
  // nearest item, so that a list always shows one of its own entries.
  void Select(int wanted);
  bool Contains(int i) const { return i >= 0 && i < static_cast<int>(items.size()); }
  int Last() const { return static_cast<int>(items.size()) - 1; }
};

// A track bar: integer positions within a fixed range.
struct TrackBar {
  int min = 1;
  int max = 1;
  int position = 1;

  // The position a bar takes when asked for `wanted`: rounded half to even and
  // held within the range (an undefined number goes to the minimum).
  int Fit(double wanted) const;
};

// A spin edit for real numbers within a fixed range.
struct SpinEdit {
  double min = 0.0;
  double max = 0.0;
  double value = 0.0;

  // The value the edit shows when given `wanted`: held within the range.
  double Fit(double wanted) const;
};

struct RgbColor {
  int r = 0;
  int g = 0;
  int b = 0;
  bool operator==(const RgbColor&) const = default;
};

inline constexpr RgbColor kCrownTabColor{200, 0, 0};
inline constexpr RgbColor kPavilionTabColor{0, 0, 200};

// What the step controls show. The window mirrors this state into its widgets
// and forwards the user's actions to the editor; it keeps no logic of its own.
struct EditorControls {
  ListControl SymBox;
  std::string Label5;  // the gear: G followed by "-notch Gear"
  ListControl SplitBox;
  ListControl ShiftBox;
  TrackBar TrackAngle1{1, 890, 890};
  SpinEdit RxSpinEdit1{0.01, 89.0, 89.0};
  bool CheckBox = true;
  TrackBar PositBar{1, 200, 70};
  std::string Label6 = "Position";
  TrackBar TrackAngle2{1, 890, 400};
  SpinEdit RxSpinEdit2{0.01, 89.0, 40.0};
  ListControl TabControl1;  // the side tabs show pictures; the items name them
  RgbColor TabControl1Font = kCrownTabColor;
  ListControl TabControl2;
  ListControl TabControl3;
  std::string FacetAngle2Label = "Facet Slope";
  std::string DistLabel = "Distance";

  // Controls the rules show and hide; every other control is always shown.
  bool ShiftBoxVisible = true;  // with Label4 "Shift"
  bool Label4Visible = true;
  bool TrackAngle1Visible = true;  // with RxSpinEdit1 and FacetAngleLabel
  bool RxSpinEdit1Visible = true;
  bool FacetAngleLabelVisible = true;
  bool CheckBoxVisible = true;

  // The controls as the design window is made, before any rule runs.
  static EditorControls AsDesigned();

  // Names of the shown controls among those the rules show and hide.
  std::vector<std::string_view> VisibleControls() const;
};

}  // namespace brillora
