// The optimizer on the brilliant-style sample in diamond: one merit (9 views,
// 5 traced after the stone's mirrors), the search over the two main slopes
// and over every slope and position that is not Auto, and the cutting
// tolerances of ten values. Two threads, as the speed goals count them.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "io/design_file.h"
#include "model/step_editor.h"
#include "optimize/candidate_stone.h"
#include "optimize/cutting_tolerance.h"
#include "optimize/optimizer.h"

namespace brillora {
namespace {

constexpr int kThreads = 2;

// The design as the desktop holds it once the sample is opened.
const Design& Brilliant() {
  static const Design design = [] {
    const DesignReadResult read =
        OpenDesignFile(std::filesystem::path(BRILLORA_SOURCE_DIR) / "GEM_DAT" / "RoundBrilliant.brl");
    EditorObserver quiet;
    return StepEditor(read.design, quiet).CurrentDesign();
  }();
  return design;
}

MeritSettings Diamond() {
  MeritSettings merit;
  merit.analysis.RefractiveIndex = 2.42;
  return merit;
}

void BM_CandidateStone(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(CandidateStone(Brilliant()));
}
BENCHMARK(BM_CandidateStone)->Unit(benchmark::kMillisecond);

void BM_Merit(benchmark::State& state) {
  const Stone stone = CandidateStone(Brilliant());
  MeritEvaluator evaluator(Diamond(), Brilliant().SymOrder, static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(evaluator.Figures(stone));
}
BENCHMARK(BM_Merit)->Arg(1)->Arg(2)->UseRealTime()->Unit(benchmark::kMillisecond);

void Search(benchmark::State& state, std::vector<DesignVariable> variables) {
  OptimizeSettings settings;
  settings.variables = std::move(variables);
  settings.merit = Diamond();
  settings.threads = kThreads;
  int evaluations = 0;
  double gain = 0;
  for (auto _ : state) {
    const OptimizeResult r = Optimize(Brilliant(), settings);
    evaluations = r.evaluations;
    gain = r.result.judgement.merit - r.start.judgement.merit;
  }
  state.counters["evaluations"] = evaluations;
  state.counters["variables"] = static_cast<double>(settings.variables.size());
  state.counters["gain_percent"] = 100 * gain;
}

// Goal: under 2 s from start to result, global phase included.
void BM_OptimizeMainSlopes(benchmark::State& state) { Search(state, DefaultVariables(Brilliant())); }
BENCHMARK(BM_OptimizeMainSlopes)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(1);

// Goal: under 30 s.
void BM_OptimizeEverySlopeAndPosition(benchmark::State& state) { Search(state, AllVariables(Brilliant())); }
BENCHMARK(BM_OptimizeEverySlopeAndPosition)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(1);

// Goal: under 0.5 s for ten values.
void BM_ToleranceOfTenValues(benchmark::State& state) {
  std::vector<DesignVariable> variables = AllVariables(Brilliant());
  variables.resize(10);
  DesignJudge judge(Brilliant(), Diamond(), {}, kThreads);
  const double merit = *judge.RawMerit(Brilliant());
  for (auto _ : state) benchmark::DoNotOptimize(CuttingTolerances(Brilliant(), variables, merit, judge));
}
BENCHMARK(BM_ToleranceOfTenValues)->UseRealTime()->Unit(benchmark::kMillisecond);

// The global phase against the local refinement alone, with the same budget,
// from the sample's own slopes and from starts away from them: the merits
// found, in per cent, as counters.
void BM_GlobalVersusLocal(benchmark::State& state) {
  Design start = Brilliant();
  const double shift = static_cast<double>(state.range(0));
  start.CrownSteps[2].Angle += shift;
  start.PavilionSteps[1].Angle -= shift / 2;
  OptimizeSettings settings;
  settings.merit = Diamond();
  settings.threads = kThreads;
  double global = 0, local = 0;
  for (auto _ : state) {
    settings.globalPhase = true;
    global = Optimize(start, settings).result.judgement.merit;
    settings.globalPhase = false;
    local = Optimize(start, settings).result.judgement.merit;
  }
  state.counters["global_merit"] = 100 * global;
  state.counters["local_merit"] = 100 * local;
}
BENCHMARK(BM_GlobalVersusLocal)->Arg(0)->Arg(-4)->Arg(4)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace brillora
