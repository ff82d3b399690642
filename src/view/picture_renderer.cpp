#include "view/picture_renderer.h"

#include <cassert>
#include <utility>

#include "light/illumination_model.h"
#include "view/paint_lines.h"
#include "view/screen_scale.h"

namespace brillora {

PictureRenderer::PictureRenderer(const IlluminationModel& light, RendererHost host)
    : light_(light), host_(std::move(host)) {}

void PictureRenderer::SetStone(std::shared_ptr<const Stone> stone) {
  if (stone == stone_) return;
  stone_ = std::move(stone);
  Invalidate({.trace = true});
}

void PictureRenderer::SetView(const Frame& view) {
  if (view == view_) return;
  view_ = view;
  Invalidate({.trace = true});
}

void PictureRenderer::SetSettings(const PictureSettings& settings) {
  if (settings == settings_) return;
  const PictureSettings before = std::exchange(settings_, settings);
  if (!SameTrace(before, settings)) {
    Invalidate({.trace = true});
    return;
  }
  // The highlight shows in plain mode only, and turning anti-aliasing on
  // leaves the fast picture as it is until an idle moment.
  const bool drawing = before.edges != settings.edges ||
                       (Plain(settings) && before.selectedStep != settings.selectedStep) ||
                       (before.antiAliasing && !settings.antiAliasing);
  if (drawing) Invalidate({});
}

void PictureRenderer::SetSize(int width, int height) {
  if (width == width_ && height == height_) return;
  width_ = width;
  height_ = height;
  Invalidate({.mapping = true});
}

void PictureRenderer::Recolour() { Invalidate({.colours = true}); }

void PictureRenderer::Retrace() { Invalidate({.trace = true}); }

void PictureRenderer::Redraw() { Invalidate({}); }

void PictureRenderer::HoldRefinedPass(bool held) {
  held_ = held;
  Invalidate({});
}

void PictureRenderer::Invalidate(Stale stale) {
  retrace_ = retrace_ || stale.trace;
  remap_ = remap_ || stale.mapping;
  recolour_ = recolour_ || stale.colours;
  // Whatever refined picture was shown, or is being drawn, no longer fits.
  if (refined_ == Refined::Awaited) host_.cancelRefined();
  refined_ = Refined::None;
  awaited_ = 0;
  refinedPicture_ = QImage();
  host_.repaint();
}

bool PictureRenderer::Update() {
  const ScreenScale scale = FastScale(width_, height_);
  if (retrace_) {
    traces_.Trace(*stone_, view_, settings_.maxLevel, scale, Options(), settings_.dispersion, light_);
  } else {
    // The beams are still those of the last trace, made with the same settings.
    if (remap_) traces_.ToScreen(scale);
    if (recolour_) traces_.Recolour(light_, Plain(settings_));
  }
  const bool changed = retrace_ || remap_ || recolour_;
  retrace_ = remap_ = recolour_ = false;
  return changed;
}

PaintStyle PictureRenderer::Style() const { return PaintStyleOf(settings_, light_.BGColor()); }

void PictureRenderer::Paint(QPainter& painter, const QRect& area) {
  assert(!retrace_ && !remap_ && !recolour_);
  if (refined_ == Refined::Shown) {
    assert(refinedPicture_.size() == QSize(width_, height_));
    painter.drawImage(area, refinedPicture_, area);
    return;
  }
  PaintRectLines(area, traces_.Lines(), Style(), painter);
  if (refined_ == Refined::None && !held_) refined_ = Refined::Due;
}

bool PictureRenderer::StartRefinedPass() {
  if (refined_ != Refined::Due || !settings_.antiAliasing || held_) return false;
  // Due only after the fast picture of the present state was drawn: the
  // polygons are up to date and the request draws what they show.
  assert(!retrace_ && !remap_ && !recolour_);
  awaited_ = host_.requestRefined(
      RefineRequest{stone_,  light_.Snapshot(), view_,   settings_.maxLevel, Options(),
                    Style(), width_,            height_, settings_.dispersion});
  assert(awaited_ != 0);
  refined_ = Refined::Awaited;
  return true;
}

bool PictureRenderer::AcceptRefined(QImage picture, unsigned request) {
  // A picture of a request no longer awaited shows an older state.
  if (refined_ != Refined::Awaited || request != awaited_) return false;
  assert(picture.size() == QSize(width_, height_));
  refinedPicture_ = std::move(picture);
  refined_ = Refined::Shown;
  awaited_ = 0;
  host_.repaint();
  return true;
}

RefineRequest PictureRenderer::RequestAt(int width, int height) const {
  PaintStyle style = Style();
  style.SelectedStep = -1;
  return RefineRequest{stone_, light_.Snapshot(), view_,  settings_.maxLevel,  Options(),
                       style,  width,             height, settings_.dispersion};
}

}  // namespace brillora
