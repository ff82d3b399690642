#include "light/light_map_painter.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>

#include "light/light_map_texture.h"
#include "light/ray_spots.h"

namespace brillora {

namespace {

QPoint ToQPoint(ScreenPoint p) { return {p.X, p.Y}; }

void DrawRings(QPainter& painter, const GlobeGrid& grid, bool frontUp) {
  painter.setPen(frontUp ? QColor(255, 0, 0) : QColor(0, 0, 255));
  painter.setBrush(Qt::NoBrush);
  for (const auto& arc : grid.Arcs()) {
    QPolygon line;
    for (ScreenPoint p : arc) line << ToQPoint(p);
    painter.drawPolyline(line);
  }
}

void DrawSpots(QPainter& painter, const std::vector<RaySpot>& spots) {
  for (const RaySpot& spot : spots) {
    if (spot.Pixel) {
      const QPoint at = ToQPoint(spot.Corners.front());
      painter.setPen(QColor(255, 255, 255));
      painter.drawPoint(at);
      continue;
    }
    const QColor grey(spot.Grey, spot.Grey, spot.Grey);
    painter.setPen(grey);
    painter.setBrush(grey);
    QPolygon corners;
    corners.reserve(static_cast<int>(spot.Corners.size()));
    for (ScreenPoint p : spot.Corners) corners << ToQPoint(p);
    painter.drawPolygon(corners);
  }
}

void DrawLabels(QPainter& painter, const GlobeGrid& grid) {
  QFont font("Sans Serif");
  font.setPixelSize(10);
  font.setStyleStrategy(QFont::NoAntialias);  // plain yellow on black, as on the old display
  painter.setFont(font);
  const QFontMetrics metrics(font);
  for (const GlobeLabel& label : grid.Labels()) {
    const QString text = QString::fromStdString(label.Text);
    const QRect box(ToQPoint(label.At), QSize(metrics.horizontalAdvance(text), metrics.height()));
    painter.fillRect(box, Qt::black);
    painter.setPen(QColor(255, 255, 0));
    painter.drawText(box, Qt::AlignLeft | Qt::AlignTop, text);
  }
}

}  // namespace

LightMapPainter::LightMapPainter() { Project(IdentityFrame()); }

void LightMapPainter::Project(const Frame& mapView) {
  grid_.Project(mapView);
  grid_.Layout(square_);
}

void LightMapPainter::Resize(QSize size) {
  size_ = size;
  square_ = SquareOfDisplay(size.width(), size.height());
  grid_.Layout(square_);
}

QImage LightMapPainter::Paint(const IlluminationModel& model, const ArrayOfFOS& polygons, QColor face) {
  QImage target(size_, QImage::Format_RGB32);
  if (target.isNull()) return target;
  target.fill(face);
  PaintMapTexture(model, {static_cast<std::uint8_t>(face.red()), static_cast<std::uint8_t>(face.green()),
                          static_cast<std::uint8_t>(face.blue())},
                  texture_);
  const QImage texture(texture_.data(), kTextureSize, kTextureSize, kTextureSize * 3, QImage::Format_RGB888);
  QPainter painter(&target);
  const QRect square(square_.Left, square_.Top, square_.Width(), square_.Height());
  if (square.width() > 0) painter.drawImage(square, texture);
  painter.setPen(Qt::black);
  painter.setBrush(Qt::NoBrush);
  painter.drawEllipse(square.adjusted(0, 0, -1, -1));
  DrawRings(painter, grid_, model.MapView()[8] > 0);
  DrawSpots(painter, RaySpots(polygons, model.MapView(), square_.Height()));
  DrawLabels(painter, grid_);
  return target;
}

}  // namespace brillora
