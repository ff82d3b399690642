#pragma once

#include <memory>
#include <optional>

#include <QImage>

#include "model/design.h"
#include "trace/beam_optics.h"
#include "trace/beam_shader.h"
#include "trace/frame.h"
#include "view/paint_smooth.h"
#include "view/paint_style.h"
#include "view/picture_traces.h"

namespace brillora {

// Everything the refined picture of one state of the window depends on, held
// by value or as immutable shared values, so that another thread can draw it
// while the window goes on changing.
struct RefineRequest {
  std::shared_ptr<const Stone> stone;
  std::shared_ptr<const BeamShader> light;  // a snapshot of the surroundings
  Frame view = IdentityFrame();
  int maxLevel = -1;
  TraceOptions options;
  PaintStyle style;
  int width = 0;  // of the picture, as the window shows it
  int height = 0;
  // The material's dispersion when the picture is traced at three lines.
  std::optional<double> dispersion;
};

// The refined pass of one request, with tracers of its own: the view is
// traced straight at five times the picture's size (the beams do not depend
// on the scale, only their pixels do) and drawn anti-aliased.
class RefinedPass {
 public:
  // The 32-bit picture, or nullopt when `stop` abandoned it, memory refused
  // it or the request lacks its stone or light.
  std::optional<QImage> Draw(const RefineRequest& request, const StopCheck& stop = {});

 private:
  PictureTraces traces_;
};

}  // namespace brillora
