// The light-performance figures of the brilliant-style sample: one face-up
// view, and the full tilt curves (two axes, 61 angles each) on one and on two
// threads. Its symmetries leave a sixteenth of the face-up view to trace and
// a half of each tilted one.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "analysis/light_figures.h"
#include "analysis/tilt_curve.h"
#include "io/design_file.h"
#include "model/facet_construction.h"

namespace brillora {
namespace {

struct Brilliant {
  Design design;
  Stone stone;
};

const Brilliant& TheBrilliant() {
  static const Brilliant brilliant = [] {
    Brilliant b;
    b.design = OpenDesignFile(std::filesystem::path(BRILLORA_SOURCE_DIR) / "GEM_DAT" / "RoundBrilliant.brl").design;
    Design copy = b.design;
    b.stone = ConstructStone(copy);
    return b;
  }();
  return brilliant;
}

void BM_FaceUpFigures(benchmark::State& state) {
  const Stone& stone = TheBrilliant().stone;
  LightAnalyzer analyzer;
  const AnalysisSettings settings{10, static_cast<int>(state.range(0)), 2.42};
  for (auto _ : state) benchmark::DoNotOptimize(analyzer.Analyze(stone, IdentityFrame(), settings));
}
BENCHMARK(BM_FaceUpFigures)->Arg(9)->Arg(5)->Unit(benchmark::kMillisecond);

// The same view traced whole, as for a design without symmetry.
void BM_FaceUpFiguresWholeView(benchmark::State& state) {
  const Stone& stone = TheBrilliant().stone;
  LightAnalyzer analyzer;
  for (auto _ : state)
    benchmark::DoNotOptimize(analyzer.Analyze(stone, IdentityFrame(), {10, 9, 2.42}, StoneSymmetry{}));
}
BENCHMARK(BM_FaceUpFiguresWholeView)->Unit(benchmark::kMillisecond);

void BM_TiltCurves(benchmark::State& state) {
  const Brilliant& b = TheBrilliant();
  const TiltSettings tilt{30, 1, DefaultAzimuths(b.design.SymOrder)};
  const int threads = static_cast<int>(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(TiltCurves(b.stone, {10, 9, 2.42}, tilt, threads));
}
BENCHMARK(BM_TiltCurves)->Arg(1)->Arg(2)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace brillora
