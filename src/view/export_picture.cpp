#include "view/export_picture.h"

#include "view/paint_lines.h"

namespace brillora {

std::optional<QImage> ExportPicture(int width, int height, const PolygonsAt& polygonsAt,
                                    const PaintStyle& style) {
  QImage picture(width, height, QImage::Format_RGB888);
  if (picture.isNull()) return std::nullopt;
  const std::span<const ArrayOfFOS> fine = polygonsAt(FineScale(width, height));
  if (PaintSmoothLines(picture, fine, style) != SmoothResult::Done) return std::nullopt;
  return picture;
}

}  // namespace brillora
