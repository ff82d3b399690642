// Dragging the stone retraces it on every mouse move: a trace of the picture
// window's 450 x 467 view must stay far below a frame. A broken stone, cut
// short at the tracer's cap, must stay well under a second.
#include <benchmark/benchmark.h>

#include <string>

#include "io/design_file.h"
#include "light/illumination_model.h"
#include "model/facet_construction.h"
#include "trace/ray_tracer.h"
#include "view/animation_frame.h"

namespace {

struct Sample {
  brillora::Stone stone;
  double refractiveIndex;
};

Sample Load(const std::string& name) {
  brillora::DesignReadResult read =
      brillora::OpenDesignFile(std::string(BRILLORA_SOURCE_DIR) + "/GEM_DAT/" + name);
  return {brillora::ConstructStone(read.design), read.refractiveIndex};
}

// Every facet twice over, as a construction gone wrong could leave them: the
// beams double at every level, 2.75 million of them in full for Default.brl.
Sample Doubled(const std::string& name) {
  Sample sample = Load(name);
  auto& facets = sample.stone.AllFacets;
  const std::size_t count = facets.size();
  for (std::size_t i = 0; i < count; ++i) facets.push_back(facets[i]);
  return sample;
}

// A crown view turned a little, as while dragging: no facet is seen face on.
brillora::Frame DragView() {
  brillora::Frame view = brillora::IdentityFrame();
  brillora::RotateFrame(view, 0.3, 0.7, 0.25);
  return view;
}

void TraceView(benchmark::State& state, const std::string& name, bool turned, bool doubled = false) {
  const Sample sample = doubled ? Doubled(name) : Load(name);
  const int maxLevel = static_cast<int>(state.range(0));
  const brillora::Frame view = turned ? DragView() : brillora::IdentityFrame();
  brillora::TraceOptions options;
  options.RefractiveIndex = sample.refractiveIndex;
  brillora::IlluminationModel light;
  brillora::RayTracer tracer;
  brillora::ArrayOfFOS polygons;
  std::size_t beams = 0;
  for (auto _ : state) {
    tracer.RayTrace(sample.stone, view, polygons, maxLevel, 224, 232, options, light);
    beams += polygons.size();
    benchmark::DoNotOptimize(polygons.data());
  }
  const double traces = static_cast<double>(state.iterations());
  state.counters["traces_per_s"] = benchmark::Counter(traces, benchmark::Counter::kIsRate);
  state.counters["beams_per_trace"] = static_cast<double>(beams) / traces;
  // Seconds per finished beam, shown with its SI prefix (ns, us).
  state.counters["time_per_beam"] =
      benchmark::Counter(static_cast<double>(beams), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// MaxLevel 0, 4 and 12: the menu's "Transparent", "4" and "12".
#define TRACE_BENCHMARK(label, file, turned)                                                 \
  BENCHMARK_CAPTURE(TraceView, label, std::string(file), turned)                           \
      ->Arg(0)                                                                             \
      ->Arg(4)                                                                             \
      ->Arg(12)                                                                            \
      ->Unit(benchmark::kMicrosecond)

TRACE_BENCHMARK(Default, "Default.brl", false);
TRACE_BENCHMARK(RoundBrilliant, "RoundBrilliant.brl", false);
TRACE_BENCHMARK(Round48, "Round48.brl", false);
TRACE_BENCHMARK(DefaultTurned, "Default.brl", true);
TRACE_BENCHMARK(RoundBrilliantTurned, "RoundBrilliant.brl", true);
TRACE_BENCHMARK(Round48Turned, "Round48.brl", true);
// Cut short at the tracer's cap.
BENCHMARK_CAPTURE(TraceView, BrokenStone, std::string("Default.brl"), false, true)
    ->Arg(12)
    ->Unit(benchmark::kMillisecond);

// The 100 frames of the wobble, traced by one tracer as the animation and
// brillora-cli animate trace them: one stone, a hundred views.
void AnimationTraces(benchmark::State& state, const std::string& name) {
  const Sample sample = Load(name);
  const int maxLevel = static_cast<int>(state.range(0));
  brillora::TraceOptions options;
  options.RefractiveIndex = sample.refractiveIndex;
  brillora::IlluminationModel light;
  brillora::RayTracer tracer;
  brillora::ArrayOfFOS polygons;
  for (auto _ : state) {
    for (int i = 0; i < brillora::kAnimationFrames; ++i) {
      tracer.RayTrace(sample.stone, brillora::AnimationFrame(i), polygons, maxLevel, 224, 232, options, light);
      benchmark::DoNotOptimize(polygons.data());
    }
  }
}
BENCHMARK_CAPTURE(AnimationTraces, RoundBrilliant, std::string("RoundBrilliant.brl"))
    ->Arg(0)
    ->Arg(12)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(AnimationTraces, Round48, std::string("Round48.brl"))->Arg(0)->Arg(12)->Unit(benchmark::kMillisecond);

}  // namespace
