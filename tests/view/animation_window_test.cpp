// The animations as the user runs them from the design window's menu, with
// the progress window, on the offscreen platform.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QImage>
#include <QProgressBar>
#include <QPushButton>
#include <QSet>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "../ui/message_catcher.h"
#include "light/illumination_model.h"
#include "trace/ray_tracer.h"
#include "ui/brillora_app.h"
#include "ui/design_window.h"
#include "ui/progress_window.h"
#include "view/animation_frame.h"
#include "view/linear_to_color.h"
#include "view/paint_polygons.h"
#include "view/picture_window.h"
#include "view/screen_scale.h"

using namespace brillora;

namespace {

QImage Shown(QWidget& w) { return w.grab().toImage().convertToFormat(QImage::Format_RGB32); }

// The polygons of `view` traced at the window's size with its present settings.
ArrayOfFOS TracedView(BrilloraApp& app, const Frame& view) {
  const PictureSettings s = app.Design().CurrentSettings();
  TraceOptions options;
  options.RefractiveIndex = app.Parameters().RefractiveIndex();
  options.SurfaceRefl = s.surfaceReflections;
  options.Reflected = s.reflected;
  const ScreenScale fast = FastScale(app.Picture().width(), app.Picture().height());
  RayTracer tracer;
  ArrayOfFOS screen;
  tracer.RayTrace(*app.Design().State().stone, view, screen, s.maxLevel, fast.Scale, fast.CentreY, options,
                  app.Light());
  return screen;
}

// The fast picture of the window's own view, drawn here without the window.
QImage OwnView(BrilloraApp& app) {
  const PictureSettings s = app.Design().CurrentSettings();
  QImage picture(app.Picture().size(), QImage::Format_RGB32);
  PaintPolygons(picture, TracedView(app, app.Picture().View()),
                PaintStyle{app.Light().BGColor(), s.edges, s.maxLevel < 0, s.selectedStep});
  return picture;
}

QSet<QRgb> Colours(const QImage& image) {
  QSet<QRgb> colours;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) colours.insert(image.pixel(x, y) | 0xFF000000u);
  return colours;
}

QRgb Rgb(std::uint32_t color) { return qRgb(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF); }

}  // namespace

class AnimationWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();

  void bmpClickedTwiceStopsAndTracesTheOwnViewAgain();
  void cancelDuringJpgPreparationPlaysNothing();
  void progressCaptionFollowsTheFrames();
  void nonTransparentFramesArePlainFacetsWithoutHighlight();
  void gifWhileTracingRunsStopsTracingAndStartsGif();
  void refinedPassWaitsUntilTheAnimationEnds();
  void framesTooLargeForMemoryAreReported();
  void closingThePictureWindowStopsTheAnimation();

 private:
  QAction* Item(int tag) { return app_->Design().Menu().animations[tag]; }
  void WaitForPlayback();

  QTemporaryDir programFolder_;
  std::unique_ptr<BrilloraApp> app_;
};

void AnimationWindowTest::init() {
  QVERIFY(programFolder_.isValid());
  app_ = std::make_unique<BrilloraApp>(QDir(programFolder_.path()));
  app_->Start({});
  QVERIFY(QTest::qWaitForWindowExposed(&app_->Picture()));
}

void AnimationWindowTest::cleanup() { app_.reset(); }

void AnimationWindowTest::WaitForPlayback() {
  const AnimationPlayer& player = app_->Picture().Animation();
  QTRY_VERIFY_WITH_TIMEOUT(player.Running() && !player.Preparing(), 60000);
}

void AnimationWindowTest::bmpClickedTwiceStopsAndTracesTheOwnViewAgain() {
  PictureWindow& picture = app_->Picture();
  const QImage before = Shown(picture);
  Item(3)->trigger();
  QVERIFY(Item(3)->isChecked());
  QCOMPARE(picture.Animation().Running(), AnimationVariant::Bitmap);
  WaitForPlayback();
  QVERIFY(!app_->Progress().isVisible());
  QTest::qWait(200);  // a few frames off the top view
  QVERIFY(Shown(picture) != before);

  Item(3)->trigger();
  QVERIFY(!Item(3)->isChecked());
  QVERIFY(!picture.Animation().Running());
  QVERIFY(picture.Animation().Store() == nullptr);
  QVERIFY(picture.Rebuild());
  QCOMPARE(picture.View(), IdentityFrame());
  QCOMPARE(Shown(picture), OwnView(*app_));
  QVERIFY(!picture.Rebuild());
}

void AnimationWindowTest::cancelDuringJpgPreparationPlaysNothing() {
  PictureWindow& picture = app_->Picture();
  app_->Design().Menu().numbered[11]->trigger();  // 12 reflections: a longer preparation
  QSignalSpy progress(&picture, &PictureWindow::animationProgress);
  Item(2)->trigger();
  QTRY_VERIFY(progress.count() >= 3);
  QVERIFY(app_->Progress().isVisible());
  auto* cancel = app_->Progress().findChild<QPushButton*>("ExitButton");
  QCOMPARE(cancel->text(), QString("Cancel"));
  QTest::mouseClick(cancel, Qt::LeftButton);
  QCOMPARE(Shown(picture), OwnView(*app_));
  const int announced = static_cast<int>(progress.count());
  for (QAction* item : app_->Design().Menu().animations) QVERIFY(!item->isChecked());
  QVERIFY(!picture.Animation().Running());
  QVERIFY(picture.Animation().Store() == nullptr);
  QVERIFY(!app_->Progress().isVisible());
  QTest::qWait(200);
  QCOMPARE(progress.count(), announced);
}

void AnimationWindowTest::progressCaptionFollowsTheFrames() {
  PictureWindow& picture = app_->Picture();
  ProgressWindow& window = app_->Progress();
  auto* bar = window.findChild<QProgressBar*>("ProgressBar1");
  QString captionAtFive;
  int barAtFive = -1;
  bool shownAtFive = false;
  connect(&picture, &PictureWindow::animationProgress, this, [&](int frame) {
    if (frame != 5) return;
    captionAtFive = window.windowTitle();
    barAtFive = bar->value();
    shownAtFive = window.isVisible();
  });
  Item(4)->trigger();
  WaitForPlayback();
  QCOMPARE(captionAtFive, QString("  Progress of the Data Preparing 5%"));
  QCOMPARE(barAtFive, 5);
  QVERIFY(shownAtFive);
  QCOMPARE(bar->value(), 99);
  QVERIFY(!window.isVisible());
  Item(4)->trigger();
}

void AnimationWindowTest::nonTransparentFramesArePlainFacetsWithoutHighlight() {
  PictureWindow& picture = app_->Picture();
  QVERIFY(app_->Design().Menu().N11->isChecked());
  const PictureSettings settings = app_->Design().CurrentSettings();
  QVERIFY(settings.selectedStep >= 0);
  // Every colour a plain frame may hold: the background and each facet's own.
  QSet<QRgb> plain{Rgb(LinearToColor(app_->Light().BGColor(), 1))};
  QSet<QRgb> highlighted;
  for (int i = 0; i < kAnimationFrames; ++i) {
    for (const FasetOnScreen& p : TracedView(*app_, AnimationFrame(i))) {
      plain.insert(Rgb(LinearToColor(p.Color, 1)));
      if (p.Step == settings.selectedStep) highlighted.insert(Rgb(LinearToColor(p.Color, 2)));
    }
  }
  highlighted.subtract(plain);
  // Facets of the selected step are in view: a highlight would show.
  QVERIFY(!highlighted.isEmpty());

  Item(1)->trigger();
  WaitForPlayback();
  for (int shot = 0; shot < 3; ++shot) {
    QTest::qWait(60);
    const QSet<QRgb> frame = Colours(Shown(picture));
    QVERIFY(frame.size() > 3);
    QVERIFY(!frame.contains(Rgb(kEdgeColor)));
    QVERIFY(!frame.intersects(highlighted));
    QVERIFY2(plain.contains(frame), "a colour that no plain facet has");
  }
  Item(1)->trigger();
}

void AnimationWindowTest::gifWhileTracingRunsStopsTracingAndStartsGif() {
  PictureWindow& picture = app_->Picture();
  Item(0)->trigger();
  QTRY_VERIFY(picture.View() != IdentityFrame());
  // The design window's controls stay live: an edit shows in the next frames.
  auto* symmetry = app_->Design().findChild<QComboBox*>("SymBox");
  symmetry->setCurrentIndex(symmetry->findText("5"));
  emit symmetry->activated(symmetry->currentIndex());
  QCOMPARE(picture.Animation().Running(), AnimationVariant::Tracing);
  QTest::qWait(100);
  QCOMPARE(Shown(picture), OwnView(*app_));

  Item(4)->trigger();
  QVERIFY(!Item(0)->isChecked());
  QVERIFY(Item(4)->isChecked());
  QCOMPARE(picture.Animation().Running(), AnimationVariant::Gif);
  QVERIFY(picture.Animation().Preparing());
  // "Tracing" left the view at the last frame it showed.
  const Frame last = picture.View();
  QVERIFY(last != IdentityFrame());
  WaitForPlayback();
  Item(4)->trigger();
  QVERIFY(!picture.Animation().Running());
  QCOMPARE(picture.View(), last);
}

void AnimationWindowTest::refinedPassWaitsUntilTheAnimationEnds() {
  PictureWindow& picture = app_->Picture();
  QTRY_VERIFY(picture.RefinedShown());
  Item(0)->trigger();
  QVERIFY(!picture.RefinedShown());
  QElapsedTimer clock;
  clock.start();
  int polls = 0;
  while (clock.elapsed() < 600) {
    QTest::qWait(20);
    ++polls;
    QVERIFY(!picture.RefinedShown());
    QVERIFY(!picture.RefinePending());
  }
  QVERIFY(polls > 5);
  Item(0)->trigger();
  QTRY_VERIFY(picture.RefinedShown());
}

void AnimationWindowTest::framesTooLargeForMemoryAreReported() {
  PictureWindow& picture = app_->Picture();
  picture.SetAnimationMemoryBudget(std::size_t{1} << 20);  // less than the hundred bitmaps need
  MessageCatcher messages;
  Item(3)->trigger();
  QTRY_VERIFY(!messages.Texts().isEmpty());
  QCOMPARE(messages.Texts(), QStringList{"The picture size is too high!"});
  QVERIFY(!Item(3)->isChecked());
  QVERIFY(!picture.Animation().Running());
  QVERIFY(!app_->Progress().isVisible());
  QCOMPARE(Shown(picture), OwnView(*app_));
}

void AnimationWindowTest::closingThePictureWindowStopsTheAnimation() {
  PictureWindow& picture = app_->Picture();
  Item(1)->trigger();
  WaitForPlayback();
  QVERIFY(picture.close());
  QVERIFY(!picture.Animation().Running());
  for (QAction* item : app_->Design().Menu().animations) QVERIFY(!item->isChecked());
}

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QApplication::setApplicationName("Brillora");
  AnimationWindowTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "animation_window_test.moc"
