#pragma once

#include <optional>

#include "model/design_state.h"

namespace brillora {

// The position in the construction order (the number a facet's Step carries)
// of the step that step tab `tabIndex` edits on the side being edited.
int SelectedStep(const DesignState& state, int tabIndex);

// The side a step of the construction order belongs to: true for the crown
// tiers and the table, false for the culet and the pavilion tiers.
bool StepIsOnCrown(const DesignState& state, int step);

// The step tab that shows a step of the construction order once its side is
// being edited. The table and the culet have no tab of their own: they give the
// "New" tab of their side. Nothing for a number outside the construction order.
std::optional<int> StepTabOf(const DesignState& state, int step);

}  // namespace brillora
