#include "model/selected_step.h"

namespace brillora {

namespace {

int PavilionEntries(const DesignState& state) {
  return static_cast<int>(state.PavilionSteps.size());
}

}  // namespace

// The construction order runs culet (0), pavilion tiers from the culet outward,
// crown tiers from the girdle inward, table; placeholders are left out. So the
// crown's girdle tier (tab 0) follows the P - 2 pavilion entries before it.
int SelectedStep(const DesignState& state, int tabIndex) {
  const int p = PavilionEntries(state);
  return state.IsCrown ? p + tabIndex - 1 : p - tabIndex - 2;
}

bool StepIsOnCrown(const DesignState& state, int step) { return step >= PavilionEntries(state) - 1; }

std::optional<int> StepTabOf(const DesignState& state, int step) {
  const int p = PavilionEntries(state);
  const int last = p + static_cast<int>(state.CrownSteps.size()) - 3;  // the table
  if (step < 0 || step > last) return std::nullopt;
  return state.IsCrown ? step - p + 1 : p - step - 2;
}

}  // namespace brillora
