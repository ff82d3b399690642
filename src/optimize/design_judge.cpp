#include "optimize/design_judge.h"

#include "optimize/candidate_stone.h"
#include "optimize/design_variable.h"

namespace brillora {

SideElement StepOfConstructionOrder(const Design& design, int step) {
  const int pavilionTiers = static_cast<int>(design.PavilionSteps.size()) - 2;
  if (step <= pavilionTiers) return {false, step == 0 ? 0 : pavilionTiers + 1 - step};
  const int crownTiers = static_cast<int>(design.CrownSteps.size()) - 2;
  const int crownElement = step - pavilionTiers;
  return {true, crownElement > crownTiers ? 0 : crownElement};
}

DesignJudge::DesignJudge(const Design& start, const MeritSettings& merit, const ProportionLimits& limits, int threads)
    : evaluator_(merit, start.SymOrder, threads), limits_(limits),
      startFacets_(FacetsPerStep(CandidateStone(start), start)) {}

std::string DesignJudge::StructureChange(const std::vector<int>& facets, const Design& design) const {
  for (std::size_t m = 0; m < facets.size() && m < startFacets_.size(); ++m) {
    if (facets[m] == startFacets_[m]) continue;
    const SideElement at = StepOfConstructionOrder(design, static_cast<int>(m));
    const DesignSide side = at.crown ? DesignSide::Crown : DesignSide::Pavilion;
    const std::string name = at.element == 0 ? (at.crown ? "the table" : "the culet")
                                              : SideName(side) + " step " + StepLabel(side, at.element);
    return name + " would have " + std::to_string(facets[m]) + " facets instead of " +
           std::to_string(startFacets_[m]);
  }
  return "the stone would cut other tiers";
}

std::optional<Judgement> DesignJudge::Judge(const Design& design, const MeritEvaluator::Stop& stop) {
  Judgement j;
  const Stone stone = CandidateStone(design);
  if (stone.AllFacets.empty()) {
    j.infeasible = "the planes bound no stone";
    return j;
  }
  const std::vector<int> facets = FacetsPerStep(stone, design);
  if (facets != startFacets_) {
    j.infeasible = StructureChange(facets, design);
    return j;
  }
  j.proportions = ProportionsOf(stone);
  j.infeasible = BrokenLimit(limits_, j.proportions);
  if (j.infeasible) return j;
  const std::optional<MeritFigures> figures = evaluator_.Figures(stone, stop);
  if (!figures) return std::nullopt;
  j.figures = *figures;
  j.merit = MeritOf(j.figures, evaluator_.Settings().weights);
  return j;
}

std::optional<double> DesignJudge::RawMerit(const Design& design, const MeritEvaluator::Stop& stop) {
  const std::optional<MeritFigures> figures = evaluator_.Figures(CandidateStone(design), stop);
  if (!figures) return std::nullopt;
  return MeritOf(*figures, evaluator_.Settings().weights);
}

}  // namespace brillora
