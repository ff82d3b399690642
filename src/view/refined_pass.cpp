#include "view/refined_pass.h"

#include "view/paint_lines.h"
#include "view/screen_scale.h"

namespace brillora {

std::optional<QImage> RefinedPass::Draw(const RefineRequest& request, const StopCheck& stop) {
  if (!request.stone || !request.light || request.width <= 0 || request.height <= 0) return std::nullopt;
  if (stop && stop()) return std::nullopt;
  const ScreenScale fine = FineScale(request.width, request.height);
  traces_.Trace(*request.stone, request.view, request.maxLevel, fine, request.options, request.dispersion,
                *request.light);
  QImage picture(request.width, request.height, QImage::Format_RGB32);
  if (picture.isNull()) return std::nullopt;
  if (PaintSmoothLines(picture, traces_.Lines(), request.style, stop) != SmoothResult::Done) return std::nullopt;
  return picture;
}

}  // namespace brillora
