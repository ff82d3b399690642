#include "view/paint_polygons.h"

#include <QPen>
#include <QPoint>
#include <QVarLengthArray>

#include "view/linear_to_color.h"

namespace brillora {

void DrawScreenPolygon(QPainter& painter, const FasetOnScreen& polygon, const PaintStyle& style,
                       int penWidth, int rowOffset) {
  const QColor fill = ToQColor(LinearToColor(polygon.Color, HighlightFactor(polygon, style)));
  // Without edges the outline takes the polygon's unhighlighted colour, so it
  // disappears into the fill except on a highlighted facet's rim.
  const QColor outline = style.Edges ? kEdgeColor : ToQColor(LinearToColor(polygon.Color, 1));
  painter.setBrush(fill);
  painter.setPen(QPen(outline, penWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  QVarLengthArray<QPoint, 64> points;
  for (const ScreenPoint& p : polygon.Polygon) points.append(QPoint(p.X, p.Y - rowOffset));
  painter.drawPolygon(points.data(), static_cast<int>(points.size()));
}

void PaintPolygons(QImage& target, const ArrayOfFOS& screen, const PaintStyle& style) {
  target.fill(ToQColor(LinearToColor(style.Background, 1)));
  QPainter painter(&target);
  painter.setRenderHint(QPainter::Antialiasing, false);
  for (const FasetOnScreen& polygon : screen) DrawScreenPolygon(painter, polygon, style, 1, 0);
}

void PaintRect(const QRect& rect, const ArrayOfFOS& screen, const PaintStyle& style,
               QPainter& canvas) {
  QImage bitmap(rect.x() + rect.width(), rect.y() + rect.height(), QImage::Format_RGB888);
  if (bitmap.isNull()) return;
  PaintPolygons(bitmap, screen, style);
  canvas.drawImage(rect.topLeft(), bitmap, rect);
}

}  // namespace brillora
