// Dragging the stone retraces it on every mouse move: a trace of the picture
// window's 450 x 467 view must stay far below a frame. A broken stone, cut
// short at the tracer's cap, must stay well under a second.
#include <benchmark/benchmark.h>

#include <string>

#include "io/design_file.h"
#include "light/illumination_model.h"
#include "model/facet_construction.h"
#include "trace/ray_tracer.h"

namespace {

struct Sample {
  brillora::Stone stone;
  double refractiveIndex;
};

// `name` in GEM_DAT, or a path from the source folder.
Sample Load(const std::string& name) {
  const std::string folder = name.find('/') == std::string::npos ? "/GEM_DAT/" : "/";
  brillora::DesignReadResult read =
      brillora::OpenDesignFile(std::string(BRILLORA_SOURCE_DIR) + folder + name);
  return {brillora::ConstructStone(read.design), read.refractiveIndex};
}

// A crown view turned a little, as while dragging: no facet is seen face on.
brillora::Frame DragView() {
  brillora::Frame view = brillora::IdentityFrame();
  brillora::RotateFrame(view, 0.3, 0.7, 0.25);
  return view;
}

void TraceView(benchmark::State& state, const std::string& name, bool turned) {
  const Sample sample = Load(name);
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
// Over a million beams in full, 100 000 at the cap.
BENCHMARK_CAPTURE(TraceView, BrokenStone, std::string("tests/trace/broken_stone.brl"), false)
    ->Arg(12)
    ->Unit(benchmark::kMillisecond);

}  // namespace
