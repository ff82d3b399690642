#include "window_placement_test.h"

#include <QGuiApplication>
#include <QHash>
#include <QScreen>
#include <QTest>

#include "ui/design_window.h"
#include "view/picture_window.h"

using namespace brillora;

namespace {

QRect Available() { return QGuiApplication::primaryScreen()->availableGeometry(); }

void ShowAll(const BrilloraApp& app) {
  for (QWidget* window : app.Windows()) {
    window->show();
    QVERIFY2(QTest::qWaitForWindowExposed(window), qPrintable(window->objectName()));
  }
  QTest::qWait(20);  // whatever the placement does once a window is exposed
}

// The moves of each window after it was first shown.
class MovesAfterShow : public QObject {
 public:
  explicit MovesAfterShow(const std::vector<QWidget*>& windows) {
    for (QWidget* window : windows) window->installEventFilter(this);
  }
  QHash<QObject*, int> moves;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show && !moves.contains(watched)) moves.insert(watched, 0);
    if (event->type() == QEvent::Move && moves.contains(watched)) ++moves[watched];
    return false;
  }
};

}  // namespace

void WindowPlacementTest::init() {
  QVERIFY(programFolder_.isValid());
  app_ = std::make_unique<BrilloraApp>(QDir(programFolder_.path()));
}

void WindowPlacementTest::cleanup() { app_.reset(); }

void WindowPlacementTest::everyFrameLiesOnTheAvailableArea() {
  app_->Start({});
  ShowAll(*app_);
  const QRect available = Available();
  for (QWidget* window : app_->Windows()) {
    const QRect frame = window->frameGeometry();
    // The platform frames its windows, so the caption strip is counted.
    QVERIFY2(frame.top() < window->geometry().top(), qPrintable(window->objectName()));
    QVERIFY2(available.contains(frame), qPrintable(window->objectName() + QString(" at %1, %2 %3 x %4")
                                                                    .arg(frame.x())
                                                                    .arg(frame.y())
                                                                    .arg(frame.width())
                                                                    .arg(frame.height())));
  }
  const QRect design = app_->Design().frameGeometry();
  const QRect picture = app_->Picture().frameGeometry();
  QCOMPARE(design.topLeft(), available.topLeft());
  // Beside the design window, touching it and not over it.
  QCOMPARE(picture.left(), design.right() + 1);
  QCOMPARE(picture.top(), available.top());
  QVERIFY(!picture.intersects(design));
}

void WindowPlacementTest::windowsStandInPlaceWhenFirstShown() {
  const MovesAfterShow watch(app_->Windows());
  app_->Start({});
  ShowAll(*app_);
  for (QWidget* window : app_->Windows()) {
    QVERIFY2(watch.moves.contains(window), qPrintable(window->objectName()));
    // Not moved once shown: the frame stood where it stands from the start.
    QVERIFY2(watch.moves.value(window) == 0, qPrintable(window->objectName()));
  }
}

void WindowPlacementTest::aFrameTheDesktopPutElsewhereIsPlacedAgain() {
  QWidget window;
  window.resize(300, 200);
  WindowPlacement placement;
  placement.Place(window, FrameSpot::Centre);
  // A desktop that frames a window only when it shows it may put it elsewhere.
  const QRect available = Available();
  window.move(available.topLeft() + QPoint(7, 9));
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  const QSize frame = window.frameGeometry().size();
  const QPoint centred(available.x() + (available.width() - frame.width()) / 2,
                       available.y() + (available.height() - frame.height()) / 2);
  QTRY_COMPARE(window.frameGeometry().topLeft(), centred);
  // From then on the position is the user's.
  window.move(centred + QPoint(40, 30));
  window.hide();
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  QTest::qWait(20);
  QCOMPARE(window.frameGeometry().topLeft(), centred + QPoint(40, 30));
}

void WindowPlacementTest::framePositionsKeepTheCaptionOnTheArea() {
  // An area below a 30-pixel panel.
  const QRect area(0, 30, 800, 570);
  QCOMPARE(FramePosition(area, QSize(207, 444), FrameSpot::TopLeft), QPoint(0, 30));
  QCOMPARE(FramePosition(area, QSize(454, 471), FrameSpot::RightOf, QRect(0, 30, 207, 444)), QPoint(207, 30));
  QCOMPARE(FramePosition(area, QSize(264, 234), FrameSpot::Centre), QPoint(268, 198));
  // Beside a window too far right, the frame gives way to the area's edge.
  QCOMPARE(FramePosition(area, QSize(454, 471), FrameSpot::RightOf, QRect(400, 30, 201, 444)), QPoint(346, 30));
  // A frame larger than the area keeps its caption on it.
  QCOMPARE(FramePosition(area, QSize(1000, 700), FrameSpot::Centre), QPoint(0, 30));
  QCOMPARE(FramePosition(area, QSize(454, 700), FrameSpot::RightOf, QRect(0, 30, 207, 444)), QPoint(207, 30));
}
