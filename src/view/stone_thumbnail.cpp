#include "view/stone_thumbnail.h"

#include <span>

#include "light/illumination_model.h"
#include "trace/ray_tracer.h"
#include "view/export_picture.h"
#include "view/screen_scale.h"

namespace brillora {

std::optional<QImage> StoneThumbnail(const Stone& stone, const TraceOptions& options, int size) {
  IlluminationModel light;
  RayTracer tracer;
  ArrayOfFOS polygons;
  const auto traceAt = [&](const ScreenScale& scale) -> std::span<const ArrayOfFOS> {
    tracer.RayTrace(stone, IdentityFrame(), polygons, kThumbnailLevel, scale.Scale, scale.CentreY, options, light);
    return {&polygons, 1};
  };
  const PaintStyle style{light.BGColor(), true, false, -1};
  return ExportPicture(size, size, traceAt, style);
}

}  // namespace brillora
