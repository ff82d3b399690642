// render_icon SVG SIZE OUT.png: the application icon drawn at SIZE x SIZE
// pixels, for the desktop's icon theme and the window icon.
#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>
#include <iostream>

int main(int argc, char* argv[]) {
  if (argc != 4) {
    std::cerr << "usage: render_icon SVG SIZE OUT.png\n";
    return 2;
  }
  QSvgRenderer svg{QString::fromLocal8Bit(argv[1])};
  const int size = QString::fromLocal8Bit(argv[2]).toInt();
  if (!svg.isValid() || size < 1 || size > 1024) {
    std::cerr << "render_icon: cannot draw " << argv[1] << " at " << argv[2] << " pixels\n";
    return 1;
  }
  QImage icon(size, size, QImage::Format_ARGB32_Premultiplied);
  icon.fill(Qt::transparent);
  QPainter painter(&icon);
  painter.setRenderHint(QPainter::Antialiasing);
  svg.render(&painter);
  painter.end();
  if (!icon.save(QString::fromLocal8Bit(argv[3]), "PNG")) {
    std::cerr << "render_icon: cannot write " << argv[3] << '\n';
    return 1;
  }
  return 0;
}
