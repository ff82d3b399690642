#include "model/editor_controls.h"

#include <algorithm>
#include <cmath>

#include "model/gear.h"
#include "model/number_text.h"

namespace brillora {

std::string_view ControlName(Control control) {
  switch (control) {
    case Control::None: return "";
    case Control::SymBox: return "SymBox";
    case Control::SplitBox: return "SplitBox";
    case Control::ShiftBox: return "ShiftBox";
    case Control::TrackAngle1: return "TrackAngle1";
    case Control::RxSpinEdit1: return "RxSpinEdit1";
    case Control::TrackAngle2: return "TrackAngle2";
    case Control::RxSpinEdit2: return "RxSpinEdit2";
    case Control::PositBar: return "PositBar";
    case Control::CheckBox: return "CheckBox";
    case Control::TabControl1: return "TabControl1";
    case Control::TabControl2: return "TabControl2";
    case Control::TabControl3: return "TabControl3";
    case Control::CrownButton: return "CrownButton";
    case Control::NewStep: return "NewStep";
    case Control::Clearnext: return "Clearnext";
    case Control::Form: return "Form";
    case Control::Picture: return "Picture";
  }
  return "";
}

void ListControl::Select(int wanted) { index = std::clamp(wanted, 0, std::max(0, Last())); }

int TrackBar::Fit(double wanted) const {
  if (!(wanted >= min)) return min;  // also an undefined number
  if (wanted >= max) return max;
  return static_cast<int>(RoundHalfEven(wanted));
}

double SpinEdit::Fit(double wanted) const {
  if (!(wanted >= min)) return min;
  return std::min(wanted, max);
}

EditorControls EditorControls::AsDesigned() {
  EditorControls c;
  for (auto item : kSymmetryItems) c.SymBox.items.emplace_back(item);
  c.SymBox.index = 6;  // 8
  c.Label5 = "96-notch Gear";
  for (int s = 0; s < 6; ++s) c.SplitBox.items.push_back(std::to_string(s));
  for (int shift = -5; shift <= 6; ++shift) c.ShiftBox.items.push_back(std::to_string(shift));
  c.ShiftBox.index = 5;  // 0
  c.TabControl1.items = {"Crown", "Pavilion"};
  c.TabControl2.items = {"Girdle", "1", "New"};
  c.TabControl3.items = {"Girdle", "1", "Table"};
  return c;
}

std::vector<std::string_view> EditorControls::VisibleControls() const {
  std::vector<std::string_view> names;
  if (ShiftBoxVisible) names.push_back("ShiftBox");
  if (Label4Visible) names.push_back("Label4");
  if (TrackAngle1Visible) names.push_back("TrackAngle1");
  if (RxSpinEdit1Visible) names.push_back("RxSpinEdit1");
  if (FacetAngleLabelVisible) names.push_back("FacetAngleLabel");
  if (CheckBoxVisible) names.push_back("CheckBox");
  return names;
}

}  // namespace brillora
