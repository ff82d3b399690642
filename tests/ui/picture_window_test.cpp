#include "picture_window_test.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QElapsedTimer>
#include <QImage>
#include <QMenu>
#include <QSet>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>
#include <QToolButton>

#include "light/illumination_model.h"
#include "model/step_editor.h"
#include "params/stone_parameters.h"
#include "params/parameters_window.h"
#include "trace/ray_tracer.h"
#include "ui/design_window.h"
#include "view/paint_lines.h"
#include "view/paint_polygons.h"
#include "view/paint_smooth.h"
#include "view/picture_traces.h"
#include "view/picture_window.h"
#include "view/screen_scale.h"

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

// The window's state drawn here at once, without the window's tracer or its
// worker: a trace at window size, then the fast pass, or the same beams mapped
// five times larger and the refined pass.
struct StatePictures {
  QImage fast;
  QImage refined;
};

StatePictures PicturesOfTheState(BrilloraApp& app) {
  const PictureWindow& picture = app.Picture();
  const PictureSettings s = app.Design().CurrentSettings();
  TraceOptions options;
  options.RefractiveIndex = app.Parameters().RefractiveIndex();
  options.SurfaceRefl = s.surfaceReflections;
  options.Reflected = s.reflected;
  const int w = picture.width(), h = picture.height();
  const ScreenScale fast = FastScale(w, h), fine = FineScale(w, h);
  RayTracer tracer;
  ArrayOfFOS screen, fineScreen;
  tracer.RayTrace(*app.Design().State().stone, picture.View(), screen, s.maxLevel, fast.Scale, fast.CentreY, options,
                  app.Light());
  const PaintStyle style{app.Light().BGColor(), s.edges, s.maxLevel < 0, s.selectedStep};
  StatePictures pictures{QImage(w, h, QImage::Format_RGB32), QImage(w, h, QImage::Format_RGB32)};
  PaintPolygons(pictures.fast, screen, style);
  tracer.BeamsToScreenCopy(fine.Scale, fine.CentreY, screen, fineScreen);
  PaintSmooth(pictures.refined, fineScreen, style);
  return pictures;
}

// The fast picture of the state traced at the three lines of a material of
// that dispersion, one channel each.
QImage ThreeLinePicture(BrilloraApp& app, double dispersion) {
  const PictureWindow& picture = app.Picture();
  const PictureSettings s = app.Design().CurrentSettings();
  TraceOptions options;
  options.RefractiveIndex = app.Parameters().RefractiveIndex();
  options.SurfaceRefl = s.surfaceReflections;
  options.Reflected = s.reflected;
  const int w = picture.width(), h = picture.height();
  PictureTraces traces;
  traces.Trace(*app.Design().State().stone, picture.View(), s.maxLevel, FastScale(w, h), options, dispersion,
               app.Light());
  QImage image(w, h, QImage::Format_RGB32);
  PaintLines(image, traces.Lines(), PaintStyle{app.Light().BGColor(), s.edges, s.maxLevel < 0, s.selectedStep});
  return image;
}

QImage Shown(QWidget& w) { return w.grab().toImage().convertToFormat(QImage::Format_RGB32); }

// Starts a refined pass of the present state and waits until the worker has it.
void StartRefinedPass(PictureWindow& picture) {
  picture.Repaint();
  // Painted at once: a later paint and the idle start may come in one turn of
  // the event loop, and the pending request would never be seen.
  picture.repaint();
  QVERIFY(picture.RefinePending());
  QTRY_VERIFY(!picture.RefinePending());
  QVERIFY(!picture.RefinedShown());
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

void PictureWindowTest::dispersionItemTracesThreeLines() {
  PictureWindow& picture = app_->Picture();
  DesignWindow& design = app_->Design();
  design.Menu().numbered[11]->trigger();
  design.Menu().AA->trigger();  // off: the fast picture stays shown
  const QImage plain = Shown(picture);
  QCOMPARE(plain, PicturesOfTheState(*app_).fast);

  QVERIFY(!design.Menu().Dispersion->isChecked());
  design.Menu().Dispersion->trigger();
  QVERIFY(design.CurrentSettings().dispersion);
  QCOMPARE(app_->Parameters().Dispersion(), 0.044);  // diamond's
  const QImage lines = Shown(picture);
  QCOMPARE(lines, ThreeLinePicture(*app_, 0.044));
  QVERIFY(lines != plain);

  // The Optic page's dispersion: 0 makes the three lines one, and the
  // material custom.
  auto* edit = app_->ParametersView().findChild<QDoubleSpinBox*>("DispersionEdit");
  QVERIFY(edit != nullptr);
  QCOMPARE(edit->value(), 0.044);
  edit->setValue(0.0);
  QVERIFY(app_->Parameters().Custom());
  QCOMPARE(app_->Parameters().Dispersion(), 0.0);
  QCOMPARE(Shown(picture), plain);
  edit->setValue(0.06);
  QCOMPARE(Shown(picture), ThreeLinePicture(*app_, 0.06));
  QCOMPARE(edit->maximum(), 0.3);
  QCOMPARE(edit->decimals(), 3);

  design.Menu().Dispersion->trigger();  // off
  QCOMPARE(Shown(picture), plain);
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

void PictureWindowTest::editDuringARefinedPassNeverShowsTheOlderPicture() {
  PictureWindow& picture = app_->Picture();
  DesignWindow& design = app_->Design();
  design.Menu().numbered[11]->trigger();  // 12 reflections and a large window: a long refined pass
  picture.resize(700, 700);
  const StatePictures before = PicturesOfTheState(*app_);
  QTRY_VERIFY(picture.RefinedShown());
  // The worker's picture is the one the window drew at once before it had a worker.
  QCOMPARE(picture.RefinedPicture(), before.refined);

  StartRefinedPass(picture);
  auto* symmetry = design.findChild<QComboBox*>("SymBox");
  symmetry->setCurrentIndex(symmetry->findText("5"));
  emit symmetry->activated(symmetry->currentIndex());
  const StatePictures after = PicturesOfTheState(*app_);
  QVERIFY(after.refined != before.refined);
  // The fast picture of the edit shows at once.
  QCOMPARE(Shown(picture), after.fast);
  // The first refined picture shown after the edit is the edit's.
  QElapsedTimer clock;
  clock.start();
  while (!picture.RefinedShown() && clock.elapsed() < 60000) QTest::qWait(1);
  QVERIFY(picture.RefinedShown());
  QCOMPARE(picture.RefinedPicture(), after.refined);
  QCOMPARE(Shown(picture), after.refined);
}

void PictureWindowTest::antiAliasingOffDuringARefinedPassKeepsTheFastPicture() {
  PictureWindow& picture = app_->Picture();
  app_->Design().Menu().numbered[11]->trigger();
  picture.resize(700, 700);
  QTRY_VERIFY(picture.RefinedShown());
  StartRefinedPass(picture);
  app_->Design().Menu().AA->trigger();  // off
  const StatePictures state = PicturesOfTheState(*app_);
  // Long enough for the abandoned pass to have ended many times over.
  for (int i = 0; i < 40; ++i) {
    QTest::qWait(25);
    QVERIFY(!picture.RefinedShown());
  }
  QVERIFY(picture.RefinePending());
  QCOMPARE(Shown(picture), state.fast);
}

void PictureWindowTest::quittingDuringARefinedPassIsClean() {
  PictureWindow& picture = app_->Picture();
  app_->Design().Menu().numbered[11]->trigger();
  picture.resize(700, 700);
  QTRY_VERIFY(picture.RefinedShown());
  StartRefinedPass(picture);
  QVERIFY(picture.close());
  // The windows go with the pass still running; its thread ends with them,
  // and nothing it might have sent reaches a window that is gone.
  app_.reset();
  QTest::qWait(50);
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

void PictureWindowTest::sideSwitchKnowsTheSideTheMouseTurnedTo() {
  DesignWindow& design = app_->Design();
  PictureWindow& picture = app_->Picture();
  QSignalSpy flips(&picture, &PictureWindow::flipped);
  Drag(&picture, QPoint(0, 200), QPoint(picture.width(), 200), 40);
  QVERIFY(!picture.ShowsCrown());
  QVERIFY(!design.Editor()->PictureShowsCrown());
  auto* button = design.findChild<QToolButton*>("CrownButton");
  // Leaving the crown, which is out of view: the stone stays as it is.
  button->click();
  QVERIFY(!design.State().IsCrown);
  QCOMPARE(flips.count(), 0);
  QVERIFY(!picture.ShowsCrown());
  // Leaving the pavilion, which is in view: the stone turns over.
  button->click();
  QVERIFY(design.State().IsCrown);
  QCOMPARE(flips.count(), 1);
  QVERIFY(picture.ShowsCrown());
  QVERIFY(design.Editor()->PictureShowsCrown());
  // The reset turns the pavilion away again, and says so.
  Drag(&picture, QPoint(0, 200), QPoint(picture.width(), 200), 40);
  QVERIFY(!design.Editor()->PictureShowsCrown());
  picture.findChild<QAction*>("GetinitialPosition")->trigger();
  QVERIFY(design.Editor()->PictureShowsCrown());
}

void PictureWindowTest::settingsArriveAsOneValue() {
  DesignWindow& design = app_->Design();
  PictureWindow& picture = app_->Picture();
  picture.repaint();
  QVERIFY(picture.Settings() == design.CurrentSettings());
  design.Menu().Edges->trigger();
  QVERIFY(!picture.Settings().edges);
  QVERIFY(!picture.Rebuild());  // drawn again, not traced
  design.Menu().numbered[2]->trigger();  // "3": Tag 4
  QCOMPARE(picture.Settings().maxLevel, 3);
  QVERIFY(picture.Rebuild());
  picture.repaint();
  design.Menu().SurfaceRefl->trigger();
  QVERIFY(!picture.Settings().surfaceReflections);
  QVERIFY(picture.Rebuild());
  picture.repaint();
  auto* steps = design.findChild<QTabBar*>("TabControl2");
  QTest::mouseClick(steps, Qt::LeftButton, {}, steps->tabRect(1).center());
  QCOMPARE(picture.Settings().selectedStep, design.Editor()->SelectedStep());
  QVERIFY(!picture.Rebuild());  // the same stone
  // An index read with a design is traced at once.
  app_->Parameters().ApplyLoadedIndex(1.76);
  QCOMPARE(picture.Settings().refractiveIndex, 1.76);
  QVERIFY(picture.Rebuild());
  QVERIFY(picture.Settings() == design.CurrentSettings());
  QCOMPARE(Shown(picture), PicturesOfTheState(*app_).fast);
}
