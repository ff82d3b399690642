#include "optimize/candidate_stone.h"

#include "model/facet_construction.h"

namespace brillora {

void FollowFirstTiers(Design& design) {
  for (MasStep* steps : {&design.CrownSteps, &design.PavilionSteps}) {
    if (steps->size() >= 3) steps->back() = (*steps)[1];
  }
}

Stone CandidateStone(const Design& design) {
  Design built = design;
  FollowFirstTiers(built);
  return ConstructStone(built);
}

std::vector<int> FacetsPerStep(const Stone& stone, const Design& design) {
  // The construction order holds every element but the two placeholders.
  const std::size_t steps = design.CrownSteps.size() + design.PavilionSteps.size();
  std::vector<int> counts(steps >= 2 ? steps - 2 : 0, 0);
  for (const TFacet& facet : stone.AllFacets) {
    if (facet.Step >= 0 && static_cast<std::size_t>(facet.Step) < counts.size()) ++counts[facet.Step];
  }
  return counts;
}

}  // namespace brillora
