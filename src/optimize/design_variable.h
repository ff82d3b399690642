#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/design.h"

namespace brillora {

enum class DesignSide { Crown, Pavilion };
enum class VariedQuantity { Slope, Position };

// One number of a design that the optimizer may change: the slope or the
// position of a step. For the crown's girdle tier the position is the girdle's
// thickness, as the position bar and the design files give it.
struct DesignVariable {
  DesignSide side = DesignSide::Crown;
  int element = 2;  // index in the side's step array: the crown's girdle is 1
  VariedQuantity quantity = VariedQuantity::Slope;

  bool operator==(const DesignVariable&) const = default;
};

struct ValueRange {
  double low = 0.0;
  double high = 0.0;
};

const MasStep& StepsOf(const Design& design, DesignSide side);
MasStep& StepsOf(Design& design, DesignSide side);
// The steps of a side that are tiers of the stone (without the table or
// culet and the placeholder): elements 1 .. count.
int TierCount(const Design& design, DesignSide side);

// The label of the step's tab in the design window: "girdle" for the crown's
// girdle tier, else the tier's number on its side.
std::string StepLabel(DesignSide side, int element);
std::string SideName(DesignSide side);
// "crown:1:slope", as brillora-cli's --vary takes it.
std::string VariableName(const DesignVariable& variable);

bool IsGirdleThickness(const DesignVariable& variable);
// True when the construction derives the step's slope from the step before
// (Auto on a tier after the first). The first tier of a side always keeps its
// typed slope, whatever its Auto flag says.
bool FollowsPredecessor(const Design& design, DesignSide side, int element);

// A variable named SIDE:STEP:slope|position, checked against the design; or
// the message that says what is wrong with the name.
struct VariableParse {
  std::optional<DesignVariable> variable;
  std::string error;
};
VariableParse ParseVariable(std::string_view text, const Design& design);

// The slopes of the crown's and the pavilion's main tiers (those the Max Slope
// controls set), where the design has them.
std::vector<DesignVariable> DefaultVariables(const Design& design);
// Every slope and position the optimizer may vary.
std::vector<DesignVariable> AllVariables(const Design& design);

// The value as the editor shows it: a slope in degrees, a tier's position, or
// the girdle's thickness.
double ValueOf(const Design& design, const DesignVariable& variable);
void SetValue(Design& design, const DesignVariable& variable, double value);

// What the editor's controls let the value be.
ValueRange EditorRange(const DesignVariable& variable);
// One step of the position bar in the variable's own terms: 0.01 of a tier's
// position, 0.001 of the girdle's thickness. Slopes: 0.1 degree, a step of
// the slope bar.
double ControlStep(const DesignVariable& variable);
// Where the search may take the value: the editor's range narrowed to
// `rangeDegrees` either side of the start for a slope, and for a position to
// three steps of the position bar per degree (±0.15 of a tier's position for
// the default 5 degrees).
ValueRange SearchRange(const Design& design, const DesignVariable& variable, double rangeDegrees);

}  // namespace brillora
