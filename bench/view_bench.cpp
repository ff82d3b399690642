// Speed of the drawing passes: the fast pass and the refined pass at the
// picture window's usual size, and exports of large pictures.
#include <cmath>
#include <numbers>
#include <random>

#include <benchmark/benchmark.h>

#include "model/default_design.h"
#include "model/facet_construction.h"
#include "view/paint_polygons.h"
#include "view/paint_smooth.h"
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

