#include "light/observer_icons.h"

#include <QPainter>
#include <QPixmap>

namespace brillora {

QIcon ObserverIcon(int image) {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  // A masked part is drawn solid, an unmasked one as an outline.
  const bool masked = image == 2 || image == 4;
  const bool head = image == 2 || image == 3;
  painter.setPen(QPen(Qt::black, 1));
  painter.setBrush(masked ? QBrush(Qt::black) : Qt::NoBrush);
  if (head) {
    painter.drawEllipse(QRectF(3.5, 2.5, 9, 10));
  } else {
    painter.drawEllipse(QRectF(5.5, 1.5, 5, 5));
    painter.drawRoundedRect(QRectF(2.5, 7.5, 11, 8), 3, 3);
  }
  return QIcon(pixmap);
}

}  // namespace brillora
