#include "optimize/design_variable.h"

#include <algorithm>
#include <charconv>

#include "model/girdle.h"

namespace brillora {

namespace {

// The editor's slope controls run from 0.01 to 89 degrees, its position bar
// from 1 to 200.
constexpr ValueRange kSlopes{0.01, 89.0};
constexpr int kBarLeast = 1;
constexpr int kBarMost = 200;
constexpr double kSlopeStep = 0.1;
constexpr double kTierPositionStep = 0.01;
constexpr double kThicknessStep = 0.001;
constexpr double kBarStepsPerDegree = 3.0;

int MainTier(DesignSide side) { return side == DesignSide::Crown ? 2 : 1; }

std::optional<int> ElementOfLabel(std::string_view label, DesignSide side) {
  if (label == "girdle" || label == "Girdle") {
    if (side == DesignSide::Crown) return 1;
    return std::nullopt;
  }
  int number = 0;
  const auto [end, error] = std::from_chars(label.data(), label.data() + label.size(), number);
  if (error != std::errc() || end != label.data() + label.size() || number < 1) return std::nullopt;
  return side == DesignSide::Crown ? number + 1 : number;
}

std::string Labels(const Design& design, DesignSide side) {
  const int count = TierCount(design, side);
  if (count < 1) return "no steps";
  const std::string first = StepLabel(side, 1);
  if (count == 1) return "the step " + first;
  return "the steps " + first + (count > 2 ? ", " : " and ") + (count > 2 ? StepLabel(side, 2) + " .. " : "") +
         StepLabel(side, count);
}

}  // namespace

const MasStep& StepsOf(const Design& design, DesignSide side) {
  return side == DesignSide::Crown ? design.CrownSteps : design.PavilionSteps;
}

MasStep& StepsOf(Design& design, DesignSide side) {
  return side == DesignSide::Crown ? design.CrownSteps : design.PavilionSteps;
}

int TierCount(const Design& design, DesignSide side) {
  return std::max(0, static_cast<int>(StepsOf(design, side).size()) - 2);
}

std::string StepLabel(DesignSide side, int element) {
  if (side == DesignSide::Crown) return element == 1 ? "girdle" : std::to_string(element - 1);
  return std::to_string(element);
}

std::string SideName(DesignSide side) { return side == DesignSide::Crown ? "crown" : "pavilion"; }

std::string VariableName(const DesignVariable& variable) {
  return SideName(variable.side) + ":" + StepLabel(variable.side, variable.element) + ":" +
         (variable.quantity == VariedQuantity::Slope ? "slope" : "position");
}

bool IsGirdleThickness(const DesignVariable& variable) {
  return variable.side == DesignSide::Crown && variable.element == 1 && variable.quantity == VariedQuantity::Position;
}

bool FollowsPredecessor(const Design& design, DesignSide side, int element) {
  const MasStep& steps = StepsOf(design, side);
  return element > 1 && steps.at(static_cast<std::size_t>(element)).Auto;
}

VariableParse ParseVariable(std::string_view text, const Design& design) {
  const auto bad = [&](const std::string& why) { return VariableParse{std::nullopt, std::string(text) + ": " + why}; };
  const std::size_t first = text.find(':');
  const std::size_t second = first == std::string_view::npos ? first : text.find(':', first + 1);
  if (second == std::string_view::npos || text.find(':', second + 1) != std::string_view::npos) {
    return bad("give SIDE:STEP:slope or SIDE:STEP:position");
  }
  const std::string_view sideText = text.substr(0, first);
  const std::string_view stepText = text.substr(first + 1, second - first - 1);
  const std::string_view quantityText = text.substr(second + 1);
  DesignVariable v;
  if (sideText == "crown") {
    v.side = DesignSide::Crown;
  } else if (sideText == "pavilion") {
    v.side = DesignSide::Pavilion;
  } else {
    return bad("the side is crown or pavilion");
  }
  if (quantityText == "slope") {
    v.quantity = VariedQuantity::Slope;
  } else if (quantityText == "position") {
    v.quantity = VariedQuantity::Position;
  } else {
    return bad("the quantity is slope or position");
  }
  const std::optional<int> element = ElementOfLabel(stepText, v.side);
  if (!element || *element > TierCount(design, v.side)) {
    return bad("no such step: the " + SideName(v.side) + " has " + Labels(design, v.side));
  }
  v.element = *element;
  if (FollowsPredecessor(design, v.side, v.element)) {
    return bad("the step is Auto: its slope follows the step before it, and only steps that are not Auto vary");
  }
  return {v, ""};
}

std::vector<DesignVariable> DefaultVariables(const Design& design) {
  std::vector<DesignVariable> variables;
  for (DesignSide side : {DesignSide::Crown, DesignSide::Pavilion}) {
    const int main = MainTier(side);
    if (main <= TierCount(design, side) && !FollowsPredecessor(design, side, main)) {
      variables.push_back({side, main, VariedQuantity::Slope});
    }
  }
  return variables;
}

std::vector<DesignVariable> AllVariables(const Design& design) {
  std::vector<DesignVariable> variables;
  for (DesignSide side : {DesignSide::Crown, DesignSide::Pavilion}) {
    for (int k = 1; k <= TierCount(design, side); ++k) {
      if (FollowsPredecessor(design, side, k)) continue;
      variables.push_back({side, k, VariedQuantity::Slope});
      variables.push_back({side, k, VariedQuantity::Position});
    }
  }
  return variables;
}

double ValueOf(const Design& design, const DesignVariable& variable) {
  const TStep& step = StepsOf(design, variable.side).at(static_cast<std::size_t>(variable.element));
  if (variable.quantity == VariedQuantity::Slope) return step.Angle;
  if (IsGirdleThickness(variable)) return GirdleThickness(step.Posit, step.Angle);
  return step.Posit;
}

void SetValue(Design& design, const DesignVariable& variable, double value) {
  TStep& step = StepsOf(design, variable.side).at(static_cast<std::size_t>(variable.element));
  if (variable.quantity == VariedQuantity::Position) {
    step.Posit = IsGirdleThickness(variable) ? GirdlePosit(value, step.Angle) : value;
    return;
  }
  // The girdle keeps its thickness when its slope changes, as a cutter's
  // girdle does.
  if (variable.side == DesignSide::Crown && variable.element == 1) {
    const double thickness = GirdleThickness(step.Posit, step.Angle);
    step.Angle = value;
    step.Posit = GirdlePosit(thickness, value);
    return;
  }
  step.Angle = value;
}

ValueRange EditorRange(const DesignVariable& variable) {
  if (variable.quantity == VariedQuantity::Slope) return kSlopes;
  const double unit = ControlStep(variable);
  return {kBarLeast * unit, kBarMost * unit};
}

double ControlStep(const DesignVariable& variable) {
  if (variable.quantity == VariedQuantity::Slope) return kSlopeStep;
  return IsGirdleThickness(variable) ? kThicknessStep : kTierPositionStep;
}

ValueRange SearchRange(const Design& design, const DesignVariable& variable, double rangeDegrees) {
  const double start = ValueOf(design, variable);
  const double half = variable.quantity == VariedQuantity::Slope
                          ? rangeDegrees
                          : rangeDegrees * kBarStepsPerDegree * ControlStep(variable);
  const ValueRange editor = EditorRange(variable);
  // A start outside the editor's range (a design file may hold one) stays
  // within reach.
  return {std::min(start, std::max(editor.low, start - half)), std::max(start, std::min(editor.high, start + half))};
}

}  // namespace brillora
