// Speed of one repaint of the light map display: the texture, the grid, the
// spots of the brilliant-style sample traced to depth 12 and the labels, at
// the display's size when the window opens and enlarged to 800 x 800.
#include <optional>

#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include "io/design_file.h"
#include "light/illumination_model.h"
#include "light/light_map_painter.h"
#include "light/light_map_texture.h"
#include "model/facet_construction.h"
#include "trace/ray_tracer.h"
#include "view/screen_scale.h"

namespace brillora {
namespace {

// The labels need fonts, and fonts a running application.
class OffscreenGui {
 public:
  OffscreenGui() {
    if (QGuiApplication::instance() == nullptr) app_.emplace(argc_, argv_);
  }

 private:
  char name_[15] = "brillora-bench";
  char option_[10] = "-platform";
  char platform_[10] = "offscreen";
  char* argv_[4] = {name_, option_, platform_, nullptr};
  int argc_ = 3;
  std::optional<QGuiApplication> app_;
};

void BM_LightMapRepaint(benchmark::State& state) {
  const OffscreenGui gui;
  DesignReadResult read = OpenDesignFile(std::string(BRILLORA_SOURCE_DIR) + "/GEM_DAT/RoundBrilliant.brl");
  const Stone stone = ConstructStone(read.design);
  TraceOptions options;
  options.RefractiveIndex = read.refractiveIndex;
  IlluminationModel light;
  RayTracer tracer;
  ArrayOfFOS polygons;
  const ScreenScale scale = FastScale(450, 467);  // the picture window at start
  tracer.RayTrace(stone, IdentityFrame(), polygons, 12, scale.Scale, scale.CentreY, options, light);
  LightMapPainter painter;
  painter.Resize(QSize(static_cast<int>(state.range(0)), static_cast<int>(state.range(1))));
  painter.Project(light.MapView());
  for (auto _ : state) {
    QImage picture = painter.Paint(light, polygons, kButtonFace);
    benchmark::DoNotOptimize(picture.constBits());
  }
  state.counters["polygons"] = static_cast<double>(polygons.size());
}
// 260 x 235: the display of the window as it opens.
BENCHMARK(BM_LightMapRepaint)->Args({260, 235})->Args({800, 800})->Unit(benchmark::kMillisecond);

// The texture alone, in grey light and in the pictures mode.
void BM_LightMapTexture(benchmark::State& state) {
  IlluminationModel light;
  light.SetSourceMode(static_cast<int>(state.range(0)));
  std::vector<std::uint8_t> rgb;
  for (auto _ : state) {
    PaintMapTexture(light, {240, 240, 240}, rgb);
    benchmark::DoNotOptimize(rgb.data());
  }
}
BENCHMARK(BM_LightMapTexture)->Arg(0)->Arg(3)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace brillora
