// Every drag of a slider rebuilds the stone: planes of both sides, then the
// polyhedron. This must stay far below a frame for the samples, and below half
// a second for any design the reader accepts, up to its 500 steps a side.
#include <benchmark/benchmark.h>

#include <stdexcept>
#include <string>

#include "io/design_file.h"
#include "model/facet_construction.h"
#include "support/long_design.h"

namespace {

brillora::Design Sample(const std::string& name) {
  return brillora::OpenDesignFile(std::string(BRILLORA_SOURCE_DIR) + "/GEM_DAT/" + name).design;
}

void Build(benchmark::State& state, const brillora::Design& original) {
  std::size_t facets = 0;
  for (auto _ : state) {
    brillora::Design design = original;
    const brillora::Stone stone = brillora::ConstructStone(design);
    facets = stone.AllFacets.size();
    benchmark::DoNotOptimize(stone.AllVertices.data());
  }
  state.counters["facets"] = static_cast<double>(facets);
}

void BuildWholeStone(benchmark::State& state, const std::string& name) { Build(state, Sample(name)); }

// A long design as a file may hold it. The writer keeps two decimals, which
// would make many neighbouring tiers alike; the reader takes any, so the
// design is used as made. The reader's check that it accepts the step counts.
brillora::Design Accepted(const brillora::Design& design) {
  const auto read = brillora::ReadDesignText(brillora::DesignFileText(design, 1.54, "Date", "Time"));
  if (!read.ok()) throw std::runtime_error("the reader refuses the long design: " + read.error);
  return design;
}

// Args: steps a side, symmetry order, whether the tiers split.
void BuildLongDesign(benchmark::State& state) {
  Build(state, Accepted(brillora::testing::LongDesign(static_cast<int>(state.range(0)),
                                                      static_cast<int>(state.range(1)), state.range(2) != 0)));
}

// The long design with every tier after the first shrunk to the axis: a
// thousand planes through one point, which the sector-wise way cannot build.
void BuildLongDesignClosingOnTheAxis(benchmark::State& state) {
  brillora::Design d = brillora::testing::LongDesign(static_cast<int>(state.range(0)),
                                                     static_cast<int>(state.range(1)), true);
  for (brillora::MasStep* side : {&d.CrownSteps, &d.PavilionSteps}) {
    for (std::size_t k = 2; k + 1 < side->size(); ++k) (*side)[k].Posit = 0.0;
  }
  Build(state, Accepted(d));
}

BENCHMARK_CAPTURE(BuildWholeStone, Default, std::string("Default.brl"))->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BuildWholeStone, RoundBrilliant, std::string("RoundBrilliant.brl"))
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BuildWholeStone, Round48, std::string("Round48.brl"))->Unit(benchmark::kMicrosecond);
BENCHMARK(BuildLongDesign)
    ->ArgNames({"steps", "N", "split"})
    ->Args({64, 48, 1})
    ->Args({100, 48, 1})
    ->Args({200, 48, 1})
    ->Args({500, 48, 1})
    ->Args({500, 48, 0})
    ->Args({500, 24, 1})
    ->Args({500, 8, 1})
    ->Args({500, 3, 1})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BuildLongDesignClosingOnTheAxis)
    ->ArgNames({"steps", "N"})
    ->Args({500, 48})
    ->Args({500, 8})
    ->Unit(benchmark::kMillisecond);

}  // namespace
