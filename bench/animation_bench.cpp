// Speed of the animations: preparing the 100 frames of each prepared variant
// at the picture window's usual size, and showing one stored frame.
#include <string>

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QPainter>

#include "io/design_file.h"
#include "light/illumination_model.h"
#include "model/facet_construction.h"
#include "view/animation_frame.h"
#include "view/animation_player.h"

namespace brillora {
namespace {

constexpr int kWindowWidth = 450, kWindowHeight = 467;

// The brilliant-style sample at 12 reflections in grey light, as the picture
// window hands it to an animation.
AnimationScene Brilliant() {
  DesignReadResult read = OpenDesignFile(std::string(BRILLORA_SOURCE_DIR) + "/GEM_DAT/RoundBrilliant.brl");
  AnimationScene scene;
  scene.stone = std::make_shared<const Stone>(ConstructStone(read.design));
  const IlluminationModel light;
  scene.light = light.Snapshot();
  scene.background = light.BGColor();
  scene.maxLevel = 12;
  scene.options.RefractiveIndex = read.refractiveIndex;
  scene.width = kWindowWidth;
  scene.height = kWindowHeight;
  return scene;
}

AnimationHost QuietHost(QImage* shown = nullptr) {
  return AnimationHost{[](int) {},
                       [] {},
                       [](const Frame&) {},
                       [shown](const QImage& frame) {
                         if (shown) *shown = frame;
                       },
                       [] { return LinearColor{0.3, 0.3, 0.3}; },
                       [](AnimationVariant, AnimationEnd) {}};
}

// The player needs an application object for its timer, not a running loop.
struct Application {
  int argc = 1;
  char name[16] = "brillora-bench";
  char* argv[2] = {name, nullptr};
  QCoreApplication application{argc, argv};
};

AnimationVariant Variant(const benchmark::State& state) { return static_cast<AnimationVariant>(state.range(0)); }

// Tracing, drawing and keeping all 100 frames, as the progress window shows.
void BM_AnimationPreparation(benchmark::State& state) {
  Application application;
  const AnimationScene scene = Brilliant();
  AnimationPlayer player(QuietHost());
  for (auto _ : state) {
    player.Start(Variant(state), scene);
    for (int i = 0; i < kAnimationFrames; ++i) player.Step();
    if (player.Preparing() || !player.Running()) state.SkipWithError("the preparation did not finish");
  }
  state.counters["MB"] = static_cast<double>(player.Store()->Bytes()) / 1e6;
}
BENCHMARK(BM_AnimationPreparation)
    ->ArgName("variant")
    ->Arg(1)
    ->Arg(2)
    ->Arg(3)
    ->Arg(4)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// One turn of playback: the next stored frame decoded (or drawn, for the
// polygons) and painted onto a window-sized surface like the window's.
void BM_ShowStoredFrame(benchmark::State& state) {
  Application application;
  QImage shown;
  AnimationPlayer player(QuietHost(&shown));
  player.Start(Variant(state), Brilliant());
  for (int i = 0; i < kAnimationFrames; ++i) player.Step();
  QImage window(kWindowWidth, kWindowHeight, QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    player.Step();
    QPainter painter(&window);
    painter.drawImage(0, 0, shown);
    painter.end();
    benchmark::DoNotOptimize(window.constBits());
  }
}
BENCHMARK(BM_ShowStoredFrame)->ArgName("variant")->Arg(1)->Arg(2)->Arg(3)->Arg(4)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace brillora
