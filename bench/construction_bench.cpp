// Every drag of a slider rebuilds the stone: planes of both sides, then the
// polyhedron. This must stay far below a frame.
#include <benchmark/benchmark.h>

#include <string>

#include "io/design_file.h"
#include "model/facet_construction.h"

namespace {

brillora::Design Sample(const std::string& name) {
  return brillora::OpenDesignFile(std::string(BRILLORA_SOURCE_DIR) + "/GEM_DAT/" + name).design;
}

void BuildWholeStone(benchmark::State& state, const std::string& name) {
  const brillora::Design original = Sample(name);
  std::size_t facets = 0;
  for (auto _ : state) {
    brillora::Design design = original;
    const brillora::Stone stone = brillora::ConstructStone(design);
    facets = stone.AllFacets.size();
    benchmark::DoNotOptimize(stone.AllVertices.data());
  }
  state.counters["facets"] = static_cast<double>(facets);
}

BENCHMARK_CAPTURE(BuildWholeStone, Default, std::string("Default.brl"))->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BuildWholeStone, RoundBrilliant, std::string("RoundBrilliant.brl"))
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BuildWholeStone, Round48, std::string("Round48.brl"))->Unit(benchmark::kMicrosecond);

}  // namespace
