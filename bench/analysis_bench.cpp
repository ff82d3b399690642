// The light-performance figures of the brilliant-style sample: one face-up
// view, and the full tilt curves (two axes, 61 angles each) on one and on two
// threads. Its symmetries leave a sixteenth of the face-up view to trace and
// a half of each tilted one.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#include "analysis/light_figures.h"
#include "analysis/tilt_curve.h"
#include "io/design_file.h"
#include "io/gemcad_file.h"
#include "model/facet_construction.h"
#include "model/gemcad_design.h"
#include "support/hostile_gemcad.h"
#include "support/long_design.h"

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

// The goals for stones of many facets: the 48-fold sample's full tilt
// analysis (two axes, 61 angles, depth 9) under 2 s on 2 threads; a 500-step
// design's face-up figures under 1 s; a random GemCad design of 1,000 tiers
// and 5,000 facets within 1 s face up and 5 s for a +-5 degree tilt analysis.
// The largest error bound of the run is reported as a counter, in points.
struct Sample {
  Design design;
  Stone stone;
};

const Sample& Round48() {
  static const Sample sample = [] {
    Sample s;
    s.design = OpenDesignFile(std::filesystem::path(BRILLORA_SOURCE_DIR) / "GEM_DAT" / "Round48.brl").design;
    Design copy = s.design;
    s.stone = ConstructStone(copy);
    return s;
  }();
  return sample;
}

const Stone& Hostile() {
  static const Stone stone = GemCadStone(ReadGemCadText(testing::HostileGemCadText(1)).design);
  return stone;
}

double LargestBound(const std::vector<TiltCurve>& curves) {
  double bound = 0;
  for (const TiltCurve& c : curves) bound = std::max(bound, c.ErrorBound);
  return 100 * bound;
}

void BM_Round48TiltCurves(benchmark::State& state) {
  const Sample& s = Round48();
  const TiltSettings tilt{30, 1, DefaultAzimuths(s.design.SymOrder)};
  double bound = 0;
  for (auto _ : state) bound = LargestBound(*TiltCurves(s.stone, {10, 9, 1.55}, tilt, 2));
  state.counters["error_bound"] = bound;
}
BENCHMARK(BM_Round48TiltCurves)->UseRealTime()->Unit(benchmark::kMillisecond);

void BM_LongDesignFaceUp(benchmark::State& state) {
  Design design = testing::LongDesign(500, 48, true);
  const Stone stone = ConstructStone(design);
  LightAnalyzer analyzer;
  double bound = 0;
  for (auto _ : state) bound = 100 * analyzer.Analyze(stone, IdentityFrame(), {10, 9, 1.55}).ErrorBound;
  state.counters["error_bound"] = bound;
}
BENCHMARK(BM_LongDesignFaceUp)->Unit(benchmark::kMillisecond);

void BM_HostileFaceUp(benchmark::State& state) {
  LightAnalyzer analyzer;
  double bound = 0;
  for (auto _ : state) bound = 100 * analyzer.Analyze(Hostile(), IdentityFrame(), {10, 9, 2.42}).ErrorBound;
  state.counters["error_bound"] = bound;
}
BENCHMARK(BM_HostileFaceUp)->Unit(benchmark::kMillisecond);

void BM_HostileTiltCurves(benchmark::State& state) {
  const TiltSettings tilt{5, 1, DefaultAzimuths(1)};
  double bound = 0;
  for (auto _ : state) bound = LargestBound(*TiltCurves(Hostile(), {10, 9, 2.42}, tilt, 2));
  state.counters["error_bound"] = bound;
}
BENCHMARK(BM_HostileTiltCurves)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace brillora
