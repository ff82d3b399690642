#include "ui/side_icons.h"

#include <QPainter>
#include <QPixmap>
#include <QPolygonF>

namespace brillora {

namespace {

// A brilliant in profile on a 32 x 20 grid; the girdle lies at y = 8.
QIcon SideIcon(bool crown) {
  QPixmap pixmap(32, 20);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  const QPolygonF crownShape({{1, 8}, {8, 2}, {24, 2}, {31, 8}});
  const QPolygonF pavilionShape({{1, 8}, {31, 8}, {16, 19}});
  const QColor filled = crown ? QColor(200, 0, 0) : QColor(0, 0, 200);
  painter.setPen(QPen(Qt::black, 1));
  painter.setBrush(crown ? filled : Qt::white);
  painter.drawPolygon(crownShape);
  painter.setBrush(crown ? Qt::white : filled);
  painter.drawPolygon(pavilionShape);
  return QIcon(pixmap);
}

}  // namespace

QIcon CrownIcon() { return SideIcon(true); }
QIcon PavilionIcon() { return SideIcon(false); }

}  // namespace brillora
