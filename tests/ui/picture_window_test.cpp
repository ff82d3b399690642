#include "picture_window_test.h"

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QMenu>
#include <QSet>
#include <QTabBar>
#include <QTest>
#include <QToolButton>

#include "ui/design_window.h"
#include "view/picture_window.h"

using namespace brillora;

namespace {

int DistinctColours(const QImage& image) {
  QSet<QRgb> colours;
  for (int y = 0; y < image.height(); y += 3) {
    for (int x = 0; x < image.width(); x += 3) colours.insert(image.pixel(x, y));
  }
  return colours.size();
}

void Drag(QWidget* w, QPoint from, QPoint to, int steps) {
  QTest::mousePress(w, Qt::LeftButton, {}, from);
  for (int i = 1; i <= steps; ++i) {
    const QPoint at = from + (to - from) * i / steps;
    QMouseEvent move(QEvent::MouseMove, at, w->mapToGlobal(at), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &move);
  }
  QTest::mouseRelease(w, Qt::LeftButton, {}, to);
}

}  // namespace

void PictureWindowTest::init() {
  QVERIFY(programFolder_.isValid());
  app_ = std::make_unique<BrilloraApp>(QDir(programFolder_.path()));
  app_->Start({});
  QVERIFY(QTest::qWaitForWindowExposed(&app_->Picture()));
}

void PictureWindowTest::cleanup() { app_.reset(); }

void PictureWindowTest::pictureIsNotUniform() {
  PictureWindow& picture = app_->Picture();
  const QImage shown = picture.grab().toImage();
  QVERIFY(DistinctColours(shown) >= 3);
  QVERIFY(!picture.Screen().empty());
  // Traced with reflections it still shows a stone.
  app_->Design().Menu().numbered[11]->trigger();
  QVERIFY(picture.Rebuild());
  const QImage traced = picture.grab().toImage();
  QVERIFY(!picture.Rebuild());
  QVERIFY(DistinctColours(traced) >= 3);
  QVERIFY(traced != shown);
}

void PictureWindowTest::refinedPassFollowsAntiAliasing() {
  PictureWindow& picture = app_->Picture();
  picture.Repaint();
  QTRY_VERIFY(picture.RefinedShown());
  QVERIFY(!picture.RefinePending());
  app_->Design().Menu().AA->trigger();  // off
  QVERIFY(!picture.Rebuild());
  QVERIFY(!picture.RefinedShown());
  picture.repaint();
  QTest::qWait(50);
  QVERIFY(!picture.RefinedShown());
  QVERIFY(picture.RefinePending());
  // A resize re-maps the beams without a new trace.
  const auto polygons = picture.Screen().size();
  picture.resize(600, 500);
  QVERIFY(!picture.Rebuild());
  QCOMPARE(picture.Screen().size(), polygons);
}

void PictureWindowTest::fullWidthDragTurnsHalfATurn() {
  PictureWindow& picture = app_->Picture();
  picture.repaint();
  QCOMPARE(picture.CaptionText(), QString("  Crown"));
  const int w = picture.width();
  Drag(&picture, QPoint(0, 200), QPoint(w, 200), 40);
  // Half a turn about the vertical axis: the view's z axis points away.
  QVERIFY(picture.View()[8] < -0.99f);
  QVERIFY(!picture.ShowsCrown());
  picture.repaint();
  QCOMPARE(picture.CaptionText(), QString("  Pavilion"));
  QVERIFY(DistinctColours(picture.grab().toImage()) >= 3);
}

void PictureWindowTest::resetRestoresTheInitialView() {
  PictureWindow& picture = app_->Picture();
  Drag(&picture, QPoint(100, 200), QPoint(300, 260), 10);
  QVERIFY(picture.View()[8] < 0.99f);
  QAction* reset = picture.findChild<QAction*>("GetinitialPosition");
  QCOMPARE(reset->text(), QString("Reset to initial Position"));
  reset->trigger();
  QCOMPARE(picture.View()[8], 1.0f);
  QVERIFY(picture.Rebuild());
}

void PictureWindowTest::doubleClickSelectsTheStepWithoutTurning() {
  DesignWindow& design = app_->Design();
  PictureWindow& picture = app_->Picture();
  // Edit the pavilion while the crown stays in view.
  auto* sides = design.findChild<QTabBar*>("TabControl1");
  QTest::mouseClick(sides, Qt::LeftButton, {}, sides->tabRect(1).center());
  QVERIFY(!design.State().IsCrown);
  QVERIFY(picture.ShowsCrown());
  picture.repaint();
  // A facet of the crown's main tier lies between the table and the girdle.
  const QPoint onTier(picture.width() / 2, picture.height() / 10);
  QTest::mouseDClick(&picture, Qt::LeftButton, {}, onTier);
  QVERIFY(design.State().IsCrown);
  QVERIFY(picture.ShowsCrown());
  QCOMPARE(design.findChild<QTabBar*>("TabControl2")->currentIndex(), 1);
  QCOMPARE(sides->currentIndex(), 0);
  // Outside every polygon nothing happens.
  QTest::mouseDClick(&picture, Qt::LeftButton, {}, QPoint(2, 2));
  QCOMPARE(design.findChild<QTabBar*>("TabControl2")->currentIndex(), 1);
}

void PictureWindowTest::sideSwitchFlipsAndShowsTheDuration() {
  DesignWindow& design = app_->Design();
  PictureWindow& picture = app_->Picture();
  design.findChild<QToolButton*>("CrownButton")->click();
  QVERIFY(!picture.ShowsCrown());
  bool isNumber = false;
  design.windowTitle().toLongLong(&isNumber);
  QVERIFY2(isNumber, qPrintable(design.windowTitle()));
  picture.repaint();
  QCOMPARE(picture.CaptionText(), QString("  Pavilion"));
  design.findChild<QToolButton*>("CrownButton")->click();
  QVERIFY(picture.ShowsCrown());
}

void PictureWindowTest::pointInBeam() {
  FlatPoint a{0, 0}, b{1, 0}, c{1, 1}, d{0, 1};
  const std::vector<FlatPoint*> square{&a, &b, &c, &d};
  QVERIFY(PointInBeam(square, FlatPoint{0.5, 0.5}));
  QVERIFY(PointInBeam(square, FlatPoint{0.9, 0.1}));
  QVERIFY(!PointInBeam(square, FlatPoint{1.5, 0.5}));  // beside: no edge crossed
  QVERIFY(!PointInBeam(square, FlatPoint{0.5, 1.5}));  // above
  QVERIFY(!PointInBeam(square, FlatPoint{0.5, -0.5}));  // below
  QVERIFY(!PointInBeam({&a, &b}, FlatPoint{0.5, 0.0}));  // no area
  // The tracer's corner order is the one in which the inside test holds.
  int insideCount = 0;
  for (const FasetOnScreen& polygon : app_->Picture().Screen()) {
    if (polygon.Beam == nullptr) continue;
    FlatPoint centre{0, 0};
    for (const FlatPoint* p : polygon.Beam->Points) {
      centre.X += p->X / polygon.Beam->Points.size();
      centre.Y += p->Y / polygon.Beam->Points.size();
    }
    insideCount += PointInBeam(polygon.Beam->Points, centre) ? 1 : 0;
  }
  QCOMPARE(insideCount, static_cast<int>(app_->Picture().Screen().size()));
}
