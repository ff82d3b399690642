#include "sheet_painter_test.h"

#include <QTest>

#include "output/sheet_painter.h"
#include "output_fixture.h"
#include "view/linear_to_color.h"

using namespace brillora;

namespace {

SheetSubject Subject(const OutputFixture& fixture, bool edges) {
  SheetSubject subject{fixture.Request(0, 0), fixture.State().CrownSteps, fixture.State().PavilionSteps, 2.417};
  subject.view.style.Edges = edges;
  // "Non-transparent": every facet in its own light, none of them black.
  subject.view.maxLevel = -1;
  return subject;
}

int CountColour(const QImage& image, QRgb colour) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) count += image.pixel(x, y) == colour;
  return count;
}

QImage DrawImage(SheetPainter& painter, const SheetSubject& subject) {
  QImage page(320, 320, QImage::Format_RGB32);
  page.fill(Qt::white);
  QPainter canvas(&page);
  painter.DrawSheet(canvas, SheetArea{10, 10, 300, 300, true, 1, 1}, ContentKind::Image, subject);
  return page;
}

}  // namespace

void SheetPainterTest::outlinesOnlyWithEdges() {
  OutputFixture fixture;
  SheetPainter painter;
  const QImage withEdges = DrawImage(painter, Subject(fixture, true));
  const QImage without = DrawImage(painter, Subject(fixture, false));
  QVERIFY(!painter.Polygons().empty());
  bool blackFacet = false;
  for (const FasetOnScreen& p : painter.Polygons()) blackFacet |= LinearToColor(p.Color, 1) == 0;
  QVERIFY(!blackFacet);  // so that any black pixel is an outline
  QVERIFY2(CountColour(withEdges, qRgb(0, 0, 0)) > 500, qPrintable(QString::number(CountColour(withEdges, qRgb(0, 0, 0)))));
  QCOMPARE(CountColour(without, qRgb(0, 0, 0)), 0);
  // No background: the paper outside the stone and outside the rectangle stays white.
  QCOMPARE(without.pixel(12, 12), qRgb(255, 255, 255));
  QCOMPARE(without.pixel(5, 160), qRgb(255, 255, 255));
  QVERIFY(CountColour(without, qRgb(255, 255, 255)) < 320 * 320 - 10000);
}

void SheetPainterTest::previewHasItsFrameAndBothHalves() {
  OutputFixture fixture;
  SheetPainter painter;
  const QImage preview = painter.PreviewSheet(300, 300, 0.05, 0.05, ContentKind::DataSheet, Subject(fixture, true));
  QCOMPARE(preview.size(), QSize(301, 301));
  // The dotted frame: grey and white in turn along each edge of the 300 x 300
  // pixels the preview box shows.
  const auto grey = [&](QPoint from, QPoint step) {
    int count = 0;
    for (QPoint p = from; preview.rect().contains(p) && p.x() < 300 && p.y() < 300; p += step)
      count += preview.pixel(p) == QColor(Qt::gray).rgb();
    return count;
  };
  for (const auto& [from, step] : {std::pair{QPoint(0, 0), QPoint(1, 0)}, {QPoint(0, 299), QPoint(1, 0)},
                                   {QPoint(0, 0), QPoint(0, 1)}, {QPoint(299, 0), QPoint(0, 1)}}) {
    const int count = grey(from, step);
    QVERIFY2(count > 60 && count < 240, qPrintable(QString("%1 along %2, %3").arg(count).arg(from.x()).arg(from.y())));
  }
  // The crown picture spans (0, 9) to (141, 150), the pavilion the half below.
  const auto inked = [&](int x0, int y0, int x1, int y1) {
    int ink = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) ink += preview.pixel(x, y) != qRgb(255, 255, 255);
    return ink;
  };
  QVERIFY(inked(1, 10, 141, 150) > 2000);
  QVERIFY(inked(1, 160, 141, 300) > 2000);
  // Text right of the pictures, on the heading line of the crown.
  QVERIFY(inked(150, 9, 300, 18) > 20);
}

void SheetPainterTest::stoneStaysRoundOnUnequalDots() {
  // Twice as many dots down as across: the octagon must be twice as many
  // pixels high as wide to be regular on paper.
  OutputFixture fixture;
  SheetPainter painter;
  QImage page(240, 440, QImage::Format_RGB32);
  page.fill(Qt::white);
  {
    QPainter canvas(&page);
    painter.DrawSheet(canvas, SheetArea{10, 10, 200, 400, true, 0.02, 0.01}, ContentKind::Image, Subject(fixture, true));
  }
  QRect inked;
  for (int y = 0; y < page.height(); ++y)
    for (int x = 0; x < page.width(); ++x)
      if (page.pixel(x, y) != qRgb(255, 255, 255)) inked |= QRect(x, y, 1, 1);
  QVERIFY(inked.width() > 150);
  QVERIFY2(std::abs(inked.height() - 2 * inked.width()) <= 4,
           qPrintable(QString("%1 x %2").arg(inked.width()).arg(inked.height())));
}
