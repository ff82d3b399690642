#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model/design.h"
#include "optimize/merit.h"
#include "optimize/proportions.h"

namespace brillora {

// What a design is worth to the search: its figures and merit, or why it
// cannot count.
struct Judgement {
  MeritFigures figures;
  double merit = 0.0;
  Proportions proportions;
  std::optional<std::string> infeasible;  // the reason; nothing for a design that counts

  bool Feasible() const { return !infeasible; }
};

// Judges designs made from one start: a design counts when its stone cuts
// every tier with the facets the start's stone has and keeps the limits on
// its proportions. One that does not gets no merit: no figures can outweigh it.
class DesignJudge {
 public:
  DesignJudge(const Design& start, const MeritSettings& merit, const ProportionLimits& limits, int threads);

  // Nothing when `stop` said so before the figures were complete.
  std::optional<Judgement> Judge(const Design& design, const MeritEvaluator::Stop& stop = {});
  // The merit of the design's stone whether or not it counts, as a cutting
  // error would leave it.
  std::optional<double> RawMerit(const Design& design, const MeritEvaluator::Stop& stop = {});

  MeritEvaluator& Evaluator() { return evaluator_; }
  const ProportionLimits& Limits() const { return limits_; }

 private:
  std::string StructureChange(const std::vector<int>& facets, const Design& design) const;

  MeritEvaluator evaluator_;
  ProportionLimits limits_;
  std::vector<int> startFacets_;
};

// The side and element of a step of the construction order (the culet 0,
// the table last); the culet and the table are element 0 of their side.
struct SideElement {
  bool crown = false;
  int element = 0;
};
SideElement StepOfConstructionOrder(const Design& design, int step);

}  // namespace brillora
