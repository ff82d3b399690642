#include "output/sheet_painter.h"

#include <QFont>
#include <QFontMetrics>
#include <QPolygon>

#include "view/linear_to_color.h"
#include "view/paint_lines.h"
#include "view/screen_scale.h"

namespace brillora {

namespace {

void WriteTexts(QPainter& canvas, const std::vector<SheetText>& texts) {
  QFont font("Times New Roman");
  int height = -1;
  for (const SheetText& t : texts) {
    if (t.fontHeight != height) {
      height = t.fontHeight;
      font.setPixelSize(height);
      canvas.setFont(font);
    }
    canvas.drawText(QPoint(t.x, t.y + canvas.fontMetrics().ascent()), QString::fromStdString(t.text));
  }
}

}  // namespace

Frame FromBelowFrame() {
  Frame frame = IdentityFrame();
  frame[8] = -1;
  return frame;
}

void SheetPainter::DrawStoneImage(const Frame& view, const SheetPicture& rect, QPainter& canvas,
                                  const SheetSubject& subject) {
  const int rw = rect.right - rect.left + 1;
  const int rh = rect.bottom - rect.top + 1;
  if (!subject.view.stone || !subject.view.light || rw < 2 || rh < 2) return;
  const ScreenScale scale = FastScale(rw, rh);
  traces_.Trace(*subject.view.stone, view, subject.view.maxLevel, scale, subject.view.options,
                subject.view.dispersion, *subject.view.light);
  const std::span<const ArrayOfFOS> lines = traces_.Lines();
  const auto corner = [&](const ScreenPoint& p) {
    const int y = rect.stretchY == 1.0 ? p.Y : scale.CentreY + qRound((p.Y - scale.CentreY) * rect.stretchY);
    return QPoint(p.X + rect.left, y + rect.top);
  };
  const bool edges = subject.view.style.Edges;
  const auto draw = [&](QPainter& painter, const ArrayOfFOS& polygons, QPoint offset) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    QPolygon points;
    for (const FasetOnScreen& polygon : polygons) {
      const QColor colour = ToQColor(LinearToColor(polygon.Color, 1));
      painter.setBrush(colour);
      painter.setPen(QPen(edges ? QColor(Qt::black) : colour, 0));
      points.resize(static_cast<int>(polygon.Polygon.size()));
      for (int i = 0; i < points.size(); ++i) points[i] = corner(polygon.Polygon[static_cast<std::size_t>(i)]) - offset;
      painter.drawPolygon(points);
    }
    painter.restore();
  };
  if (lines.size() == 1) {
    draw(canvas, lines[0], {});
    return;
  }
  // The lines cover the same outline; their pictures span its corners.
  QRect bounds;
  for (const ArrayOfFOS& polygons : lines) {
    for (const FasetOnScreen& polygon : polygons) {
      for (const ScreenPoint& p : polygon.Polygon) bounds |= QRect(corner(p), QSize(1, 1));
    }
  }
  if (bounds.isEmpty()) return;
  QImage picture(bounds.size(), QImage::Format_RGB32), line(bounds.size(), QImage::Format_RGB32);
  if (picture.isNull() || line.isNull()) return;
  for (std::size_t k = 0; k < lines.size(); ++k) {
    QImage& target = k == 0 ? picture : line;
    target.fill(Qt::white);
    QPainter painter(&target);
    draw(painter, lines[k], bounds.topLeft());
    painter.end();
    if (k > 0) TakeChannel(picture, line, static_cast<int>(k));
  }
  canvas.drawImage(bounds.topLeft(), picture);
}

void SheetPainter::DrawSheet(QPainter& canvas, const SheetArea& area, ContentKind kind,
                             const SheetSubject& subject) {
  const SheetLayout layout =
      kind == ContentKind::Image ? ImageLayout(area)
      : subject.gemCadTiers      ? GemCadSheetLayout(area, *subject.gemCadTiers, subject.refractiveIndex)
                                 : DataSheetLayout(area, subject.crown, subject.pavilion, subject.refractiveIndex,
                                                   subject.tolerances ? &*subject.tolerances : nullptr);
  for (const SheetPicture& picture : layout.pictures) {
    const Frame view = picture.seen == SheetPicture::Seen::CurrentView ? subject.view.view
                       : picture.seen == SheetPicture::Seen::FromFront ? IdentityFrame()
                                                                        : FromBelowFrame();
    DrawStoneImage(view, picture, canvas, subject);
  }
  canvas.setPen(Qt::black);
  WriteTexts(canvas, layout.texts);
}

QImage SheetPainter::PreviewSheet(int w, int h, double scaleX, double scaleY, ContentKind kind,
                                  const SheetSubject& subject) {
  QImage preview(w + 1, h + 1, QImage::Format_RGB32);
  if (preview.isNull()) return preview;
  preview.fill(Qt::white);
  QPainter painter(&preview);
  DrawSheet(painter, SheetArea{0, 0, w, h, false, scaleX, scaleY}, kind, subject);
  // The frame runs along the outermost pixels of the w x h box that shows the
  // preview, so that all four edges are seen.
  painter.setPen(QPen(Qt::gray, 0, Qt::DotLine));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(0, 0, w - 1, h - 1);
  return preview;
}

}  // namespace brillora
