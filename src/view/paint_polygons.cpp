#include "view/paint_polygons.h"

#include <QPen>
#include <QPoint>
#include <QVarLengthArray>

#include "view/linear_to_color.h"

namespace brillora {

PolygonPainter::PolygonPainter(QPainter& painter, const PaintStyle& style, int penWidth)
    : painter_(painter), style_(style), penWidth_(penWidth) {
  painter_.setRenderHint(QPainter::Antialiasing, false);
}

void PolygonPainter::Draw(const FasetOnScreen& polygon, int rowOffset) {
  const std::uint32_t fill = LinearToColor(polygon.Color, HighlightFactor(polygon, style_));
  // Without edges the outline takes the polygon's unhighlighted colour, so it
  // disappears into the fill except on a highlighted facet's rim.
  const std::uint32_t outline = style_.Edges ? kEdgeColor : LinearToColor(polygon.Color, 1);
  if (fill != fill_) {
    painter_.setBrush(ToQColor(fill));
    fill_ = fill;
  }
  if (outline != outline_) {
    painter_.setPen(QPen(ToQColor(outline), penWidth_, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    outline_ = outline;
  }
  QVarLengthArray<QPoint, 64> points;
  for (const ScreenPoint& p : polygon.Polygon) points.append(QPoint(p.X, p.Y - rowOffset));
  painter_.drawPolygon(points.data(), static_cast<int>(points.size()));
}

void PaintPolygons(QImage& target, const ArrayOfFOS& screen, const PaintStyle& style) {
  target.fill(ToQColor(LinearToColor(style.Background, 1)));
  QPainter painter(&target);
  PolygonPainter draw(painter, style, 1);
  for (const FasetOnScreen& polygon : screen) draw.Draw(polygon);
}

void PaintRect(const QRect& rect, const ArrayOfFOS& screen, const PaintStyle& style,
               QPainter& canvas) {
  QImage bitmap(rect.x() + rect.width(), rect.y() + rect.height(), QImage::Format_RGB888);
  if (bitmap.isNull()) return;
  PaintPolygons(bitmap, screen, style);
  canvas.drawImage(rect.topLeft(), bitmap, rect);
}

}  // namespace brillora
