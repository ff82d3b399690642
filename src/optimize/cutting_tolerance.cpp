#include "optimize/cutting_tolerance.h"

#include <algorithm>

#include "model/design_limits.h"

namespace brillora {

std::optional<std::vector<VariableTolerance>> CuttingTolerances(const Design& design,
                                                                const std::vector<DesignVariable>& variables,
                                                                double merit, DesignJudge& judge,
                                                                const MeritEvaluator::Stop& stop) {
  std::vector<VariableTolerance> table;
  for (const DesignVariable& v : variables) {
    VariableTolerance t{v, ControlStep(v), 0.0, 0.0};
    const double value = ValueOf(design, v);
    for (const int sign : {-1, +1}) {
      Design cut = design;
      const double wrong = value + sign * t.step;
      SetValue(cut, v, v.quantity == VariedQuantity::Slope ? WithinSlopeRange(wrong) : wrong);
      const std::optional<double> changed = judge.RawMerit(cut, stop);
      if (!changed) return std::nullopt;
      (sign < 0 ? t.minus : t.plus) = *changed - merit;
    }
    table.push_back(t);
  }
  return table;
}

std::optional<StepSlopeCosts> SlopeCostsByStep(const Design& design, const MeritSettings& merit, int threads,
                                               const MeritEvaluator::Stop& stop) {
  std::vector<DesignVariable> slopes;
  for (const DesignVariable& v : AllVariables(design)) {
    if (v.quantity == VariedQuantity::Slope) slopes.push_back(v);
  }
  DesignJudge judge(design, merit, {}, threads);
  const std::optional<double> base = judge.RawMerit(design, stop);
  if (!base) return std::nullopt;
  const auto table = CuttingTolerances(design, slopes, *base, judge, stop);
  if (!table) return std::nullopt;
  StepSlopeCosts costs{std::vector<std::optional<double>>(design.CrownSteps.size()),
                       std::vector<std::optional<double>>(design.PavilionSteps.size())};
  for (const VariableTolerance& t : *table) {
    auto& side = t.variable.side == DesignSide::Crown ? costs.crown : costs.pavilion;
    side[static_cast<std::size_t>(t.variable.element)] = 100 * std::min(t.minus, t.plus);
  }
  return costs;
}

}  // namespace brillora
