#include "view/refined_pass.h"

#include "view/screen_scale.h"

namespace brillora {

std::optional<QImage> RefinedPass::Draw(const RefineRequest& request, const StopCheck& stop) {
  if (!request.stone || !request.light || request.width <= 0 || request.height <= 0) return std::nullopt;
  if (stop && stop()) return std::nullopt;
  const ScreenScale fine = FineScale(request.width, request.height);
  tracer_.RayTrace(*request.stone, request.view, fine_, request.maxLevel, fine.Scale, fine.CentreY,
                   request.options, *request.light);
  QImage picture(request.width, request.height, QImage::Format_RGB32);
  if (picture.isNull()) return std::nullopt;
  if (PaintSmooth(picture, fine_, request.style, stop) != SmoothResult::Done) return std::nullopt;
  return picture;
}

}  // namespace brillora
