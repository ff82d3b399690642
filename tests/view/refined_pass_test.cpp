#include <gtest/gtest.h>

#include "light/illumination_model.h"
#include "model/default_design.h"
#include "model/facet_construction.h"
#include "trace/ray_tracer.h"
#include "view/paint_smooth.h"
#include "view/refined_pass.h"
#include "view/screen_scale.h"
#include "view/view_matrix.h"

namespace brillora {
namespace {

Stone DefaultStone() {
  Design design = DefaultDesign();
  return ConstructStone(design);
}

// The refined picture as the window drew it on its own thread: a trace at
// window size, mapped again five times larger, then the refined pass.
QImage RefinedOfFastTrace(const RefineRequest& r) {
  RayTracer tracer;
  ArrayOfFOS screen, fine;
  const ScreenScale fast = FastScale(r.width, r.height), big = FineScale(r.width, r.height);
  tracer.RayTrace(*r.stone, r.view, screen, r.maxLevel, fast.Scale, fast.CentreY, r.options, *r.light);
  tracer.BeamsToScreenCopy(big.Scale, big.CentreY, screen, fine);
  QImage picture(r.width, r.height, QImage::Format_RGB32);
  EXPECT_EQ(PaintSmooth(picture, fine, r.style), SmoothResult::Done);
  return picture;
}

RefineRequest Request(std::shared_ptr<const Stone> stone, std::shared_ptr<const IlluminationModel> light, int width,
                      int height) {
  RefineRequest r;
  r.stone = std::move(stone);
  r.light = light;
  r.maxLevel = 11;
  r.style = PaintStyle{light->BGColor(), true, false, -1};
  r.width = width;
  r.height = height;
  return r;
}

TEST(RefinedPass, SamePixelsAsTheFastTraceMappedFiveTimesLarger) {
  const auto stone = std::make_shared<const Stone>(DefaultStone());
  IlluminationModel light;
  RefinedPass pass;

  RefineRequest crown = Request(stone, light.Snapshot(), 450, 467);
  std::optional<QImage> drawn = pass.Draw(crown);
  ASSERT_TRUE(drawn);
  EXPECT_TRUE(*drawn == RefinedOfFastTrace(crown)) << "crown, 12 reflections";

  // Odd sizes, a turned view in red and blue light, without surface reflections.
  light.SetSourceMode(1);
  RefineRequest turned = Request(stone, light.Snapshot(), 301, 257);
  MouseTurn(turned.view, 100, 100, 160, 70, 301);
  turned.options.SurfaceRefl = false;
  drawn = pass.Draw(turned);
  ASSERT_TRUE(drawn);
  EXPECT_TRUE(*drawn == RefinedOfFastTrace(turned)) << "turned view";

  // The pavilion in zones, untraced, a step highlighted and no edges.
  light.SetSourceMode(2);
  RefineRequest plain = Request(stone, light.Snapshot(), 460, 480);
  FlipView(plain.view);
  plain.maxLevel = -1;
  plain.style = PaintStyle{light.BGColor(), false, true, 1};
  drawn = pass.Draw(plain);
  ASSERT_TRUE(drawn);
  EXPECT_TRUE(*drawn == RefinedOfFastTrace(plain)) << "plain pavilion";
}

TEST(RefinedPass, StopCheckAbandonsAndAnEmptyRequestDrawsNothing) {
  const auto stone = std::make_shared<const Stone>(DefaultStone());
  IlluminationModel light;
  RefinedPass pass;
  const RefineRequest request = Request(stone, light.Snapshot(), 450, 467);
  int asked = 0;
  EXPECT_FALSE(pass.Draw(request, [&asked] { return ++asked > 5; }));
  EXPECT_EQ(asked, 6);
  EXPECT_FALSE(pass.Draw(RefineRequest{}));
  // Abandoning leaves nothing behind that spoils the next picture.
  const std::optional<QImage> drawn = pass.Draw(request);
  ASSERT_TRUE(drawn);
  EXPECT_TRUE(*drawn == RefinedOfFastTrace(request));
}

TEST(IlluminationSnapshot, SharedUntilAChangeAndWithoutTheOwnersCallback) {
  IlluminationModel light;
  int calls = 0;
  light.OnChanged = [&calls] { ++calls; };
  const auto first = light.Snapshot();
  EXPECT_EQ(light.Snapshot(), first);
  EXPECT_FALSE(first->OnChanged);
  light.SetSourceMode(1);
  EXPECT_EQ(calls, 1);
  const auto second = light.Snapshot();
  EXPECT_NE(second, first);
  // The old snapshot keeps the old surroundings; the new one has the change.
  EXPECT_EQ(first->SourceMode(), 0);
  EXPECT_EQ(second->SourceMode(), 1);
  const Vec3 down{0, 0, -1};
  EXPECT_EQ(second->Lookup(down).B, light.Lookup(down).B);
  EXPECT_GT(second->Lookup(down).B, 0.5);
}

}  // namespace
}  // namespace brillora
