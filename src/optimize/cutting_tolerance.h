#pragma once

#include <vector>

#include "model/design.h"
#include "optimize/design_judge.h"
#include "optimize/design_variable.h"

namespace brillora {

// What a cutting error of one control step costs: the change in merit when
// the value is cut that much below (minus) or above (plus) the design's, each
// computed anew on the stone the error leaves.
struct VariableTolerance {
  DesignVariable variable;
  double step = 0.0;   // 0.1 degree for a slope, one step of the position bar
  double minus = 0.0;  // merit(value - step) - merit(value)
  double plus = 0.0;   // merit(value + step) - merit(value)
};

// The tolerances of the variables of a design whose merit is `merit`; nothing
// when `stop` said so before the end.
std::optional<std::vector<VariableTolerance>> CuttingTolerances(const Design& design,
                                                                const std::vector<DesignVariable>& variables,
                                                                double merit, DesignJudge& judge,
                                                                const MeritEvaluator::Stop& stop = {});

// For every slope of both sides that the construction does not derive, the
// change in merit, in per cent, that a slope cut 0.1 degree off costs in the
// worse direction, by element of each side's step array (the data sheet's
// column); nothing when stopped.
struct StepSlopeCosts {
  std::vector<std::optional<double>> crown;
  std::vector<std::optional<double>> pavilion;
};
std::optional<StepSlopeCosts> SlopeCostsByStep(const Design& design, const MeritSettings& merit, int threads,
                                               const MeritEvaluator::Stop& stop = {});

}  // namespace brillora
