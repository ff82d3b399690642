// The picture window's renderer driven as the window drives it, with a
// recorder in place of the window's worker: what each change makes stale,
// and how often the refined pass is asked for and abandoned.
#include <gtest/gtest.h>

#include <QPainter>
#include <memory>
#include <vector>

#include "light/illumination_model.h"
#include "model/editor_observer.h"
#include "model/step_editor.h"
#include "trace/ray_tracer.h"
#include "view/paint_polygons.h"
#include "view/picture_renderer.h"
#include "view/screen_scale.h"
#include "view/view_matrix.h"

namespace brillora {
namespace {

constexpr int kWidth = 210, kHeight = 190;

// The window's part: the renderer's calls written down.
struct RecordingHost {
  RendererHost Calls() {
    return RendererHost{[this](RefineRequest request) {
                          requests.push_back(std::move(request));
                          return static_cast<unsigned>(requests.size());
                        },
                        [this] { ++cancels; }, [this] { ++repaints; }};
  }
  std::vector<RefineRequest> requests;
  int cancels = 0;
  int repaints = 0;
};

// The window's paint: the polygons brought up to date, the picture drawn.
QImage Painted(PictureRenderer& renderer) {
  QImage picture(kWidth, kHeight, QImage::Format_RGB32);
  QPainter painter(&picture);
  renderer.Update();
  renderer.Paint(painter, picture.rect());
  return picture;
}

// The same picture drawn here, from a trace of its own.
QImage FastPictureOf(const Stone& stone, const Frame& view, const PictureSettings& settings,
                     const IlluminationModel& light, int width = kWidth, int height = kHeight) {
  RayTracer tracer;
  ArrayOfFOS screen;
  const ScreenScale scale = FastScale(width, height);
  tracer.RayTrace(stone, view, screen, settings.maxLevel, scale.Scale, scale.CentreY, TraceOptionsOf(settings),
                  light);
  QImage picture(width, height, QImage::Format_RGB32);
  PaintPolygons(picture, screen, PaintStyleOf(settings, light.BGColor()));
  return picture;
}

bool SamePixels(const FasetOnScreen& a, const FasetOnScreen& b) {
  if (a.Polygon.size() != b.Polygon.size()) return false;
  for (std::size_t k = 0; k < a.Polygon.size(); ++k) {
    if (a.Polygon[k].X != b.Polygon[k].X || a.Polygon[k].Y != b.Polygon[k].Y) return false;
  }
  return true;
}

// What the application does with the editor's notices and actions: the
// picture is given every stone rebuilt and, after every action, the
// settings with the step selected.
class PictureFeed : public EditorObserver {
 public:
  explicit PictureFeed(PictureRenderer& renderer) : renderer_(renderer) {}
  void StoneRebuilt() override {
    if (editor != nullptr) renderer_.SetStone(editor->State().stone);
  }
  void PushSettings(PictureSettings settings) {
    settings.selectedStep = editor->SelectedStep();
    renderer_.SetSettings(settings);
  }
  const StepEditor* editor = nullptr;

 private:
  PictureRenderer& renderer_;
};

PictureSettings Traced(int maxLevel) {
  PictureSettings settings;
  settings.maxLevel = maxLevel;
  return settings;
}

class PictureRendererTest : public ::testing::Test {
 protected:
  void SetUp() override {
    feed.editor = &editor;
    renderer.SetSize(kWidth, kHeight);
    renderer.SetStone(editor.State().stone);
    feed.PushSettings(Traced(5));
  }
  // A refined pass of the present state in progress, with the counts cleared.
  void AwaitRefined() {
    Painted(renderer);
    ASSERT_TRUE(renderer.StartRefinedPass());
    host = RecordingHost{};
  }

  IlluminationModel light;
  RecordingHost host;
  PictureRenderer renderer{light, host.Calls()};
  PictureFeed feed{renderer};
  StepEditor editor{feed};
};

TEST_F(PictureRendererTest, SlopeEditAbandonsTheRefinedPassOnce) {
  AwaitRefined();
  ASSERT_TRUE(editor.DragSlopeBar(300));
  feed.PushSettings(renderer.Settings());
  EXPECT_EQ(host.cancels, 1);
  EXPECT_TRUE(renderer.TraceDue());
  EXPECT_FALSE(renderer.StartRefinedPass());  // not before the edit is drawn

  EXPECT_TRUE(Painted(renderer) == FastPictureOf(*editor.State().stone, IdentityFrame(), renderer.Settings(), light));
  ASSERT_TRUE(renderer.StartRefinedPass());
  EXPECT_EQ(host.cancels, 1);
  ASSERT_EQ(host.requests.size(), 1u);
  EXPECT_EQ(host.requests[0].stone, editor.State().stone);
  EXPECT_EQ(host.requests[0].style.SelectedStep, editor.SelectedStep());

  // The picture of the abandoned request never shows; the new one does.
  const QImage refined(kWidth, kHeight, QImage::Format_RGB32);
  EXPECT_FALSE(renderer.AcceptRefined(refined, 0));
  EXPECT_TRUE(renderer.AcceptRefined(refined, 1));
  EXPECT_TRUE(renderer.RefinedShown());
  // A drag is many edits: each abandons the pass of the one before once.
  for (int tenths = 301; tenths <= 305; ++tenths) {
    ASSERT_TRUE(editor.DragSlopeBar(tenths));
    feed.PushSettings(renderer.Settings());
    Painted(renderer);
    ASSERT_TRUE(renderer.StartRefinedPass());
  }
  EXPECT_EQ(host.cancels, 1 + 4);
  EXPECT_EQ(host.requests.size(), 1u + 5);
}

TEST_F(PictureRendererTest, EachChangeMakesStaleOnlyWhatItMust) {
  const Stone& stone = *editor.State().stone;
  // Settings equal to those shown, and a step selected in traced mode, where
  // nothing is highlighted: nothing at all.
  AwaitRefined();
  PictureSettings settings = renderer.Settings();
  renderer.SetSettings(settings);
  settings.selectedStep += 1;
  renderer.SetSettings(settings);
  renderer.SetView(IdentityFrame());
  EXPECT_EQ(host.cancels + host.repaints, 0);

  // Edges: drawn again from the same trace.
  settings.edges = false;
  renderer.SetSettings(settings);
  EXPECT_EQ(host.cancels, 1);
  EXPECT_FALSE(renderer.TraceDue());
  EXPECT_TRUE(Painted(renderer) == FastPictureOf(stone, IdentityFrame(), settings, light));

  // The size: the same beams mapped to the new pixels.
  AwaitRefined();
  renderer.SetSize(kWidth + 40, kHeight - 30);
  EXPECT_EQ(host.cancels, 1);
  EXPECT_FALSE(renderer.TraceDue());
  ASSERT_TRUE(renderer.Update());
  RayTracer tracer;
  ArrayOfFOS fresh;
  const ScreenScale scale = FastScale(kWidth + 40, kHeight - 30);
  tracer.RayTrace(stone, IdentityFrame(), fresh, settings.maxLevel, scale.Scale, scale.CentreY,
                  TraceOptionsOf(settings), light);
  ASSERT_EQ(renderer.Screen().size(), fresh.size());
  for (std::size_t i = 0; i < fresh.size(); ++i) EXPECT_TRUE(SamePixels(renderer.Screen()[i], fresh[i])) << i;
  renderer.SetSize(kWidth, kHeight);

  // The surroundings: the same beams in new colours, on the new background.
  AwaitRefined();
  light.SetSourceMode(1);
  renderer.Recolour();
  EXPECT_EQ(host.cancels, 1);
  EXPECT_FALSE(renderer.TraceDue());
  EXPECT_TRUE(Painted(renderer) == FastPictureOf(stone, IdentityFrame(), settings, light));

  // A setting the tracer reads, and the view: traced again.
  AwaitRefined();
  settings.refractiveIndex = 1.54;
  renderer.SetSettings(settings);
  Frame turned = IdentityFrame();
  MouseTurn(turned, 100, 100, 140, 90, kWidth);
  renderer.SetView(turned);
  EXPECT_EQ(host.cancels, 1);  // both changes wait for one trace
  EXPECT_TRUE(renderer.TraceDue());
  EXPECT_TRUE(Painted(renderer) == FastPictureOf(stone, turned, settings, light));
}

TEST_F(PictureRendererTest, HighlightChangesThePlainPictureOnly) {
  feed.PushSettings(Traced(-1));
  AwaitRefined();
  PictureSettings settings = renderer.Settings();
  ASSERT_TRUE(editor.ChooseStepTab(1));  // the main tier: the same stone, another step
  feed.PushSettings(settings);
  EXPECT_NE(renderer.Settings().selectedStep, settings.selectedStep);
  EXPECT_EQ(host.cancels, 1);
  EXPECT_FALSE(renderer.TraceDue());
  const QImage highlighted = Painted(renderer);
  EXPECT_TRUE(highlighted == FastPictureOf(*editor.State().stone, IdentityFrame(), renderer.Settings(), light));
  EXPECT_FALSE(highlighted == FastPictureOf(*editor.State().stone, IdentityFrame(), settings, light));
}

TEST_F(PictureRendererTest, AntiAliasingAndAnimationsHoldTheRefinedPass) {
  AwaitRefined();
  PictureSettings settings = renderer.Settings();
  settings.antiAliasing = false;
  renderer.SetSettings(settings);
  EXPECT_EQ(host.cancels, 1);
  EXPECT_FALSE(renderer.AcceptRefined(QImage(kWidth, kHeight, QImage::Format_RGB32), 1));
  Painted(renderer);
  EXPECT_TRUE(renderer.RefinePending());  // due, and kept waiting
  EXPECT_FALSE(renderer.StartRefinedPass());
  // Turned on again: the refined picture of the fast one shown, no new trace.
  settings.antiAliasing = true;
  renderer.SetSettings(settings);
  EXPECT_EQ(host.repaints, 1);
  EXPECT_FALSE(renderer.TraceDue());
  EXPECT_TRUE(renderer.StartRefinedPass());

  renderer.HoldRefinedPass(true);
  EXPECT_EQ(host.cancels, 2);
  Painted(renderer);
  EXPECT_FALSE(renderer.RefinePending());
  EXPECT_FALSE(renderer.StartRefinedPass());
  renderer.HoldRefinedPass(false);
  Painted(renderer);
  EXPECT_TRUE(renderer.StartRefinedPass());
  EXPECT_EQ(host.requests.size(), 2u);
  EXPECT_EQ(host.cancels, 2);
}

}  // namespace
}  // namespace brillora
