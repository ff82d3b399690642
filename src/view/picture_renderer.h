#pragma once

#include <QImage>
#include <QPainter>
#include <QRect>
#include <functional>
#include <memory>
#include <span>

#include "model/design.h"
#include "trace/beam_optics.h"
#include "trace/frame.h"
#include "trace/screen_polygon.h"
#include "view/paint_style.h"
#include "view/picture_settings.h"
#include "view/picture_traces.h"
#include "view/refined_pass.h"

namespace brillora {

class IlluminationModel;

// What the renderer asks of the window that shows its picture.
struct RendererHost {
  // Has a worker draw the refined picture of the request; the request's
  // number, never 0. The picture comes back through AcceptRefined.
  std::function<unsigned(RefineRequest request)> requestRefined;
  // Abandons the refined picture being drawn or waiting to be.
  std::function<void()> cancelRefined;
  // The picture to show changed: paint it again.
  std::function<void()> repaint;
};

// The picture of the picture window, without the window: what it shows (the
// stone, the view, the settings, the size, the surroundings), the trace of
// it, the fast picture drawn from that trace and the scheduling of the
// refined one. Every change passes through one point, which decides what the
// change makes stale (the trace, the pixels of the polygons, their colours,
// or only the drawing) and abandons the refined pass at most once; the work
// itself waits until the picture is next drawn, so that changes arriving
// together are traced once.
class PictureRenderer {
 public:
  PictureRenderer(const IlluminationModel& light, RendererHost host);
  PictureRenderer(const PictureRenderer&) = delete;
  PictureRenderer& operator=(const PictureRenderer&) = delete;

  // What the picture shows. A value equal to the one shown changes nothing.
  void SetStone(std::shared_ptr<const Stone> stone);
  void SetView(const Frame& view);
  void SetSettings(const PictureSettings& settings);
  void SetSize(int width, int height);
  // The surroundings changed: the polygons take their new colours, and the
  // background its new colour, without a new trace.
  void Recolour();
  // The view is traced again before it is next drawn, though nothing changed.
  void Retrace();
  // The picture is drawn anew; the refined one, if any, goes.
  void Redraw();
  // While held (an animation plays), no refined pass is started or shown.
  void HoldRefinedPass(bool held);

  const std::shared_ptr<const Stone>& ShownStone() const { return stone_; }
  const Frame& View() const { return view_; }
  const PictureSettings& Settings() const { return settings_; }
  TraceOptions Options() const { return TraceOptionsOf(settings_); }

  // Brings the polygons up to date with what the picture shows: a trace, a
  // new mapping to pixels or new colours, as the changes since the last call
  // need. True when the polygons changed.
  bool Update();
  // The view must be traced again before it is drawn.
  bool TraceDue() const { return retrace_; }
  // The polygons of the last Update, in pixels of the picture: with
  // dispersion, those of its first (red) line.
  const ArrayOfFOS& Screen() const { return traces_.First(); }
  // Every trace of the last Update, one or three (PictureTraces::Lines).
  std::span<const ArrayOfFOS> Lines() const { return traces_.Lines(); }

  // Draws `area` of the picture: the refined picture while it is current,
  // otherwise the fast pass, after which a refined pass is due. The polygons
  // must be up to date (Update).
  void Paint(QPainter& painter, const QRect& area);
  // Has the refined pass that is due drawn, unless anti-aliasing is off or a
  // pass is held; the window calls it once it is idle. True when it asked.
  bool StartRefinedPass();
  // A refined picture finished by the worker: shown, and true, only when it
  // is that of the request awaited.
  bool AcceptRefined(QImage picture, unsigned request);
  // A refined pass is due and not yet asked for.
  bool RefinePending() const { return refined_ == Refined::Due; }
  // The refined picture replaced the fast one.
  bool RefinedShown() const { return refined_ == Refined::Shown; }
  // The refined picture shown, while RefinedShown.
  const QImage& RefinedPicture() const { return refinedPicture_; }

  // What the refined pass would draw of the present view at another size,
  // highlighting no step: the export and the printed image draw this.
  RefineRequest RequestAt(int width, int height) const;

 private:
  // What a change makes stale, beyond the picture shown (any change).
  struct Stale {
    bool trace = false;    // the beams: the stone, the view, a setting the tracer reads
    bool mapping = false;  // their pixels: the size
    bool colours = false;  // their colours: the surroundings
  };
  // The refined picture of the present state.
  enum class Refined {
    None,      // the fast picture of the state is not drawn yet
    Due,       // the fast picture is drawn; a refined pass waits for an idle moment
    Awaited,   // a worker draws it
    Shown,     // it replaced the fast picture
  };

  // The one point every change passes through.
  void Invalidate(Stale stale);
  PaintStyle Style() const;

  const IlluminationModel& light_;
  RendererHost host_;
  std::shared_ptr<const Stone> stone_ = std::make_shared<const Stone>();
  Frame view_ = IdentityFrame();
  PictureSettings settings_;
  int width_ = 0;
  int height_ = 0;
  bool held_ = false;

  PictureTraces traces_;
  bool retrace_ = true;
  bool remap_ = false;
  bool recolour_ = false;

  Refined refined_ = Refined::None;
  unsigned awaited_ = 0;  // the request whose picture may be shown, while Awaited
  QImage refinedPicture_;
};

}  // namespace brillora
