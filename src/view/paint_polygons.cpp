#include "view/paint_polygons.h"

#include "view/linear_to_color.h"
#include "view/pixel_rows.h"
#include "view/polygon_filler.h"
#include "view/polygon_outline.h"

namespace brillora {

void PaintPolygons(QImage& target, const ArrayOfFOS& screen, const PaintStyle& style) {
  if (target.format() != QImage::Format_RGB888 && target.format() != QImage::Format_RGB32)
    target = target.convertToFormat(QImage::Format_RGB888);
  target.fill(ToQColor(LinearToColor(style.Background, 1)));
  if (target.isNull()) return;
  PixelRows rows(
      target.bits(), target.bytesPerLine(), target.width(), target.height(),
      target.format() == QImage::Format_RGB32 ? PixelLayout::Rgb32 : PixelLayout::Rgb888);
  PolygonFiller filler;
  for (const FasetOnScreen& polygon : screen) {
    filler.Fill(rows, polygon.Polygon,
                LinearToColor(polygon.Color, HighlightFactor(polygon, style)));
    // Without edges the outline takes the polygon's unhighlighted colour, so it
    // disappears into the fill except on a highlighted facet's rim.
    OutlinePolygon(rows, polygon.Polygon,
                   style.Edges ? kEdgeColor : LinearToColor(polygon.Color, 1));
  }
}

void PaintRect(const QRect& rect, const ArrayOfFOS& screen, const PaintStyle& style,
               QPainter& canvas) {
  QImage bitmap(rect.x() + rect.width(), rect.y() + rect.height(), QImage::Format_RGB888);
  if (bitmap.isNull()) return;
  PaintPolygons(bitmap, screen, style);
  canvas.drawImage(rect.topLeft(), bitmap, rect);
}

}  // namespace brillora
