// Speed of the drawing passes: the fast pass and the refined pass at the
// picture window's usual size, the fast pass of a window enlarged to 1000 x
// 1000, and exports of large pictures.
#include <array>
#include <cmath>
#include <numbers>
#include <random>

#include <QPainter>
#include <benchmark/benchmark.h>

#include "io/design_file.h"
#include "light/illumination_model.h"
#include "model/facet_construction.h"
#include "trace/ray_tracer.h"
#include "view/paint_lines.h"
#include "view/paint_polygons.h"
#include "view/paint_smooth.h"
#include "view/picture_renderer.h"
#include "view/picture_traces.h"
#include "view/refined_pass.h"
#include "view/screen_scale.h"

namespace brillora {
namespace {

// Polygons like those of a deep trace: the stone's outline tiled by many small
// convex pieces, drawn in list order over each other.
ArrayOfFOS TracedLookingPolygons(int width, int height, int factor, int count) {
  std::mt19937 random(5);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  const ScreenScale s = factor == 1 ? FastScale(width, height) : FineScale(width, height);
  ArrayOfFOS result;
  for (int i = 0; i < count; ++i) {
    const double r = std::sqrt(unit(random)) * 0.95, a = unit(random) * 2 * std::numbers::pi;
    const double cx = r * std::cos(a), cy = r * std::sin(a);
    const double size = 0.01 + 0.06 * unit(random);
    const int corners = 3 + static_cast<int>(unit(random) * 5);
    FasetOnScreen polygon;
    for (int k = 0; k < corners; ++k) {
      const double t = 2 * std::numbers::pi * k / corners;
      polygon.Polygon.push_back(
          {static_cast<int>(std::lround(s.Scale * (cx + size * std::cos(t)) + s.Scale)),
           static_cast<int>(std::lround(s.Scale * (cy + size * std::sin(t)) + s.CentreY))});
    }
    polygon.Color = {unit(random), unit(random), unit(random)};
    result.push_back(std::move(polygon));
  }
  return result;
}

constexpr int kWindowWidth = 450, kWindowHeight = 467;
constexpr int kTracedPolygons = 1300;  // a round brilliant traced to depth 12 gives about 1260
const PaintStyle kStyle{{0.3, 0.3, 0.3}, true, false, -1};

// The brilliant-style sample as the picture window shows it: traced to
// depth 12 (the menu's "12") in grey light.
struct TracedSample {
  Stone stone;
  TraceOptions options;
  IlluminationModel light;
  TracedSample() {
    DesignReadResult read = OpenDesignFile(std::string(BRILLORA_SOURCE_DIR) + "/GEM_DAT/RoundBrilliant.brl");
    stone = ConstructStone(read.design);
    options.RefractiveIndex = read.refractiveIndex;
  }
};
constexpr int kDepth = 12;

// The picture window's paint at its width and height (the two arguments).
void BM_TraceAndFastPass(benchmark::State& state) {
  const int width = static_cast<int>(state.range(0)), height = static_cast<int>(state.range(1));
  TracedSample sample;
  RayTracer tracer;
  ArrayOfFOS screen;
  const ScreenScale s = FastScale(width, height);
  const PaintStyle style{sample.light.BGColor(), true, false, -1};
  QImage target(width, height, QImage::Format_RGB32);
  for (auto _ : state) {
    tracer.RayTrace(sample.stone, IdentityFrame(), screen, kDepth, s.Scale, s.CentreY, sample.options,
                    sample.light);
    PaintPolygons(target, screen, style);
    benchmark::DoNotOptimize(target.constBits());
  }
  state.counters["polygons"] = static_cast<double>(screen.size());
}
BENCHMARK(BM_TraceAndFastPass)
    ->Args({kWindowWidth, kWindowHeight})
    ->Args({1000, 1000})
    ->Unit(benchmark::kMillisecond);

// The picture window's paint after one change, through its renderer (the
// argument): 0 a new stone, traced again; 1 a new size, the beams mapped
// again; 2 new surroundings, the beams coloured again; 3 edges switched, the
// polygons drawn again.
void BM_PictureAfterChange(benchmark::State& state) {
  TracedSample sample;
  PictureSettings settings;
  settings.maxLevel = kDepth;
  settings.refractiveIndex = sample.options.RefractiveIndex;
  PictureRenderer renderer(sample.light, RendererHost{[](RefineRequest) { return 1u; }, [] {}, [] {}});
  renderer.SetSettings(settings);
  renderer.SetSize(kWindowWidth, kWindowHeight);
  const std::array stones{std::make_shared<const Stone>(sample.stone), std::make_shared<const Stone>(sample.stone)};
  renderer.SetStone(stones[0]);
  QImage target(kWindowWidth + 1, kWindowHeight + 1, QImage::Format_RGB32);
  QPainter painter(&target);
  int i = 0;
  for (auto _ : state) {
    ++i;
    switch (state.range(0)) {
      case 0: renderer.SetStone(stones[i % 2]); break;
      case 1: renderer.SetSize(kWindowWidth + i % 2, kWindowHeight + i % 2); break;
      case 2: renderer.Recolour(); break;
      default:
        settings.edges = i % 2 == 0;
        renderer.SetSettings(settings);
        break;
    }
    renderer.Update();
    renderer.Paint(painter, QRect(0, 0, kWindowWidth, kWindowHeight));
  }
  state.counters["polygons"] = static_cast<double>(renderer.Screen().size());
}
BENCHMARK(BM_PictureAfterChange)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);
// The picture window's paint of the sample with and without the "Dispersion"
// item (argument 1: three lines, diamond's dispersion), at 1000 x 1000: the
// fast pass with dispersion should take at most 3.5 times the fast pass
// without.
void BM_FastPassLines(benchmark::State& state) {
  const bool lines = state.range(0) != 0;
  constexpr int kSize = 1000;
  TracedSample sample;
  PictureTraces traces;
  const ScreenScale s = FastScale(kSize, kSize);
  const PaintStyle style{sample.light.BGColor(), true, false, -1};
  const std::optional<double> dispersion = lines ? std::optional<double>(0.044) : std::nullopt;
  QImage target(kSize, kSize, QImage::Format_RGB32);
  for (auto _ : state) {
    traces.Trace(sample.stone, IdentityFrame(), kDepth, s, sample.options, dispersion, sample.light);
    PaintLines(target, traces.Lines(), style);
    benchmark::DoNotOptimize(target.constBits());
  }
}
BENCHMARK(BM_FastPassLines)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_TraceOnly(benchmark::State& state) {
  TracedSample sample;
  RayTracer tracer;
  ArrayOfFOS screen;
  const ScreenScale s = FastScale(kWindowWidth, kWindowHeight);
  for (auto _ : state) {
    tracer.RayTrace(sample.stone, IdentityFrame(), screen, kDepth, s.Scale, s.CentreY, sample.options,
                    sample.light);
    benchmark::DoNotOptimize(screen.data());
  }
}
BENCHMARK(BM_TraceOnly)->Unit(benchmark::kMillisecond);

// The idle refinement: the same view mapped five times larger without a new
// trace, then the refined pass.
void BM_RefinedPassOfTrace(benchmark::State& state) {
  TracedSample sample;
  RayTracer tracer;
  ArrayOfFOS screen, fine;
  const ScreenScale s = FastScale(kWindowWidth, kWindowHeight);
  const ScreenScale f = FineScale(kWindowWidth, kWindowHeight);
  const PaintStyle style{sample.light.BGColor(), true, false, -1};
  tracer.RayTrace(sample.stone, IdentityFrame(), screen, kDepth, s.Scale, s.CentreY, sample.options,
                  sample.light);
  QImage target(kWindowWidth, kWindowHeight, QImage::Format_RGB32);
  for (auto _ : state) {
    tracer.BeamsToScreenCopy(f.Scale, f.CentreY, screen, fine);
    PaintSmooth(target, fine, style);
    benchmark::DoNotOptimize(target.constBits());
  }
}
BENCHMARK(BM_RefinedPassOfTrace)->Unit(benchmark::kMillisecond);

// The refined pass as the picture window's worker draws it: a trace of its
// own straight at the five-fold size, then the refined pass.
void BM_RefinedPassOwnTrace(benchmark::State& state) {
  TracedSample sample;
  RefineRequest request;
  request.stone = std::make_shared<const Stone>(sample.stone);
  request.light = sample.light.Snapshot();
  request.maxLevel = kDepth;
  request.options = sample.options;
  request.style = PaintStyle{sample.light.BGColor(), true, false, -1};
  request.width = kWindowWidth;
  request.height = kWindowHeight;
  RefinedPass pass;
  for (auto _ : state) {
    std::optional<QImage> picture = pass.Draw(request);
    benchmark::DoNotOptimize(picture);
  }
}
BENCHMARK(BM_RefinedPassOwnTrace)->Unit(benchmark::kMillisecond);

// An export of the traced sample at a chosen size.
void BM_TracedExport(benchmark::State& state) {
  const int side = static_cast<int>(state.range(0));
  TracedSample sample;
  RayTracer tracer;
  ArrayOfFOS fine;
  const ScreenScale f = FineScale(side, side);
  const PaintStyle style{sample.light.BGColor(), true, false, -1};
  for (auto _ : state) {
    QImage target(side, side, QImage::Format_RGB888);
    tracer.RayTrace(sample.stone, IdentityFrame(), fine, kDepth, f.Scale, f.CentreY, sample.options,
                    sample.light);
    if (PaintSmooth(target, fine, style) != SmoothResult::Done) state.SkipWithError("too large");
    benchmark::DoNotOptimize(target.constBits());
  }
}
BENCHMARK(BM_TracedExport)->Arg(4000)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_TracedExport)->Arg(9000)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_FastPassFill(benchmark::State& state) {
  const ArrayOfFOS screen = TracedLookingPolygons(kWindowWidth, kWindowHeight, 1, kTracedPolygons);
  // The picture window paints on a 32-bit bitmap, Qt's fastest.
  QImage target(kWindowWidth, kWindowHeight, QImage::Format_RGB32);
  for (auto _ : state) {
    PaintPolygons(target, screen, kStyle);
    benchmark::DoNotOptimize(target.constBits());
  }
}
BENCHMARK(BM_FastPassFill)->Unit(benchmark::kMillisecond);

void BM_RefinedPassFill(benchmark::State& state) {
  const ArrayOfFOS fine = TracedLookingPolygons(kWindowWidth, kWindowHeight, 5, kTracedPolygons);
  QImage target(kWindowWidth, kWindowHeight, QImage::Format_RGB888);
  for (auto _ : state) {
    PaintSmooth(target, fine, kStyle);
    benchmark::DoNotOptimize(target.constBits());
  }
}
BENCHMARK(BM_RefinedPassFill)->Unit(benchmark::kMillisecond);

// An export as the export window makes it: the target bitmap, then the refined
// pass run to its end. Run the 9000 one alone under /usr/bin/time -v for its
// peak memory.
void BM_Export(benchmark::State& state) {
  const int side = static_cast<int>(state.range(0));
  const ArrayOfFOS fine = TracedLookingPolygons(side, side, 5, kTracedPolygons);
  for (auto _ : state) {
    QImage target(side, side, QImage::Format_RGB888);
    if (PaintSmooth(target, fine, kStyle) != SmoothResult::Done) state.SkipWithError("too large");
    benchmark::DoNotOptimize(target.constBits());
  }
}
BENCHMARK(BM_Export)->Arg(4000)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_Export)->Arg(9000)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace brillora

