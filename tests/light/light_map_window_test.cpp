// The light map window driven as a user would, on the offscreen platform.
#include <QAction>
#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <algorithm>
#include <cmath>
#include <memory>

#include "light/light_map_window.h"
#include "light/made_surroundings.h"
#include "message_catcher.h"
#include "ui/brillora_app.h"
#include "ui/design_window.h"
#include "view/picture_window.h"

using namespace brillora;

namespace {

// The summed colour of the picture window's polygons.
LinearColor StoneColour(const PictureWindow& picture) {
  LinearColor sum;
  for (const FasetOnScreen& p : picture.Screen()) {
    sum.R += p.Color.R;
    sum.G += p.Color.G;
    sum.B += p.Color.B;
  }
  return sum;
}

bool SameFrame(const Frame& a, const Frame& b) { return a == b; }

void Drag(QWidget* w, Qt::MouseButton button, QPoint from, QPoint to, int steps) {
  QTest::mousePress(w, button, {}, from);
  for (int i = 1; i <= steps; ++i) {
    const QPoint at = from + (to - from) * i / steps;
    QMouseEvent move(QEvent::MouseMove, at, w->mapToGlobal(at), Qt::NoButton, button, Qt::NoModifier);
    QApplication::sendEvent(w, &move);
  }
  QTest::mouseRelease(w, button, {}, to);
}

// Counts the paints of a widget.
class PaintCounter : public QObject {
 public:
  explicit PaintCounter(QWidget* w) { w->installEventFilter(this); }
  int count = 0;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++count;
    return false;
  }
};

// Answers the open-picture dialog with a file, or cancels it, once it shows.
void AnswerDialog(QFileDialog& dialog, const QString& file) {
  QTimer::singleShot(0, &dialog, [&dialog, file] {
    QTRY_VERIFY(dialog.isVisible());
    if (file.isEmpty()) {
      dialog.reject();
    } else {
      dialog.selectFile(file);
      static_cast<QDialog&>(dialog).accept();
    }
  });
}

void DropFile(QWidget* w, const QString& file, bool& accepted) {
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(file)});
  QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(w, &enter);
  accepted = enter.isAccepted();
  QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(w, &drop);
}

// The pixels of a bar drawn in the highlight colour's hue: the channel, the
// thumb and the ticks are greys, so only a band would count.
int HighlightedPixels(QSlider* bar) {
  const QImage image = bar->grab().toImage();
  const QColor highlight = bar->palette().color(QPalette::Highlight);
  int count = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QColor pixel = image.pixelColor(x, y);
      const int gap = std::abs(pixel.hslHue() - highlight.hslHue());
      count += pixel.hslSaturation() > 60 && std::min(gap, 360 - gap) < 30;
    }
  }
  return count;
}

}  // namespace

class LightMapWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    QVERIFY(folder_.isValid());
    QVERIFY(QDir(folder_.path()).mkpath("GEM_DAT"));
    app_ = std::make_unique<BrilloraApp>(QDir(folder_.path()));
    app_->Start({});
    // Traced to depth 12, so that the surroundings colour the stone.
    app_->Design().Menu().numbered.last()->trigger();
    QTRY_VERIFY(!app_->Picture().Rebuild());
    QVERIFY(!app_->Picture().Screen().empty());
  }
  void cleanup() { app_.reset(); }

  void controlsCarryTheirNamesTextsAndRanges();
  void rayTracingShowsItAndTheCloseBoxClearsTheMark();
  void showingKeepsTheModeOfThePressedButton();
  void pagesShowOnlyInTheirModes();
  void rightDragTurnsTheSurroundingsAgainstTheStone();
  void leftDragTurnsGridAndSpotsButNotColours();
  void zoneEditsKeepTheirOrderAndEnterAppliesATypedValue();
  void headAndBodyButtonsFollowTheirRules();
  void pictureFromFileColoursTheStoneAndABadOneIsRefused();
  void lampsAndAsetAreMadeFromTheLoadMenus();
  void paintingTheBackPictureColoursTheBackground();
  void dropsAreTakenInThePicturesModeOnly();
  void screenPictureRunsUntilAFileIsChosen();
  void displayFollowsThePictureOnlyWhileShown();
  void trackBarsDrawNoBandToTheThumb();

 private:
  LightMapWindow& Map() { return app_->LightMap(); }
  template <typename W>
  W* Find(const char* name) {
    W* w = Map().findChild<W*>(name);
    if (w == nullptr) qWarning() << "no control" << name;
    return w;
  }
  void ShowMap() {
    app_->Design().Menu().Racetracking1->trigger();
    QTRY_VERIFY(Map().isVisible());
  }
  QString Bmp(const QString& name, QColor colour) {
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(colour);
    const QString file = QDir(folder_.path()).filePath(name);
    image.save(file, "BMP");
    return file;
  }

  QTemporaryDir folder_;
  std::unique_ptr<BrilloraApp> app_;
};

void LightMapWindowTest::controlsCarryTheirNamesTextsAndRanges() {
  QCOMPARE(Map().objectName(), QString("LightMap"));
  QCOMPARE(Map().windowTitle(), QString("  The Map of Illumination"));
  // The left panel is 129 wide, or wider where its texts need it; the display
  // beside it keeps its width.
  const int panel = Find<QWidget>("Panel4")->width();
  QVERIFY(panel >= 129);
  QCOMPARE(Map().size(), QSize(panel + 260, 260));
  QVERIFY(Find<QToolButton>("BWButton")->isChecked());
  for (const char* name : {"RBButton", "UPButton", "CMButton"}) QVERIFY(!Find<QToolButton>(name)->isChecked());
  QCOMPARE(Find<QToolButton>("CMButton")->property("Tag").toInt(), 3);
  auto* pages = Find<QTabWidget>("PageControl");
  QCOMPARE(pages->count(), 3);
  QCOMPARE(pages->tabText(0), QString("Zones"));
  QCOMPARE(pages->tabText(1), QString("Front"));
  QCOMPARE(pages->tabText(2), QString("Back"));
  QCOMPARE(pages->currentWidget()->objectName(), QString("FrontPage"));
  QCOMPARE(Find<QSpinBox>("RxSpinEdit1")->value(), 30);
  QCOMPARE(Find<QSpinBox>("RxSpinEdit2")->value(), 60);
  QCOMPARE(Find<QSpinBox>("RxSpinEdit3")->value(), 90);
  QCOMPARE(Find<QSpinBox>("RxSpinEdit3")->maximum(), 180);
  QCOMPARE(Find<QSlider>("TrackBarUP3")->maximum(), 180);
  QCOMPARE(Find<QToolButton>("ClearFButton")->toolTip(), QString("Paint Environment"));
  QCOMPARE(Find<QToolButton>("LoadButton")->toolTip(), QString("Load Picture"));
  QCOMPARE(Find<QToolButton>("HeadButton")->toolTip(), QString("Observers Head"));
  QCOMPARE(Find<QToolButton>("BodyButton")->toolTip(), QString("Observers Body"));
  QCOMPARE(Find<QToolButton>("HeadButton")->property("ImageIndex").toInt(), 3);
  QCOMPARE(Find<QToolButton>("BodyButton")->property("ImageIndex").toInt(), 5);
  auto* law = Find<QComboBox>("ComboBox1");
  QCOMPARE(law->count(), 4);
  QCOMPARE(law->currentText(), QString("Const"));
  QCOMPARE(law->itemText(3), QString("Cos^4"));
  QCOMPARE(Find<QWidget>("PaintBox1")->size(), QSize(39, 22));
  QCOMPARE(Find<QLabel>("Label1")->text(), QString("Head radius = 0 deg."));
  auto* head = Find<QSlider>("BodyTrackBar");
  QCOMPARE(head->maximum(), 30);
  QCOMPARE(head->pageStep(), 5);
  QCOMPARE(Find<QLabel>("Label2")->text(), QString("BG Brightness = 100%."));
  QCOMPARE(Find<QSlider>("TrackBarBGC")->value(), 100);
  QCOMPARE(Find<QSlider>("TrackBarBGC")->toolTip(), QString("Background Brightness"));
  QVERIFY(Find<QToolButton>("ClearBButton") != nullptr);
  QVERIFY(Find<QToolButton>("ToolButton2") != nullptr);
  auto* reset = Find<QPushButton>("Button1");
  QCOMPARE(reset->text(), QString("Reset"));
  QCOMPARE(reset->toolTip(), QString("Reset to initial Position"));
  QCOMPARE(Find<QAction>("LoadPicturefromFile1")->text(), QString("Load Picture from File"));
  QCOMPARE(Find<QAction>("GetPicturefromscreen1")->text(), QString("Get Picture from screen"));
  QCOMPARE(Find<QAction>("MenuItem1")->text(), QString("Load Picture from File"));
  QVERIFY(Find<QMenu>("PopupMenu1") != nullptr);
  QVERIFY(Find<QMenu>("PopupMenu2") != nullptr);
  QFileDialog& dialog = Map().OpenPictureDialog();
  QCOMPARE(dialog.nameFilters(), QStringList({"All (*.jpg;*.bmp;*.gif) (*.jpg *.bmp *.gif)", "JPEG Image File (*.jpg)",
                                              "Bitmaps (*.bmp)", "CompuServe GIF Image (*.gif)"}));
  QVERIFY(dialog.selectedFiles().value(0).endsWith("/Texture/Pyramids.jpg"));
  QCOMPARE(QFileInfo(dialog.selectedFiles().value(0)).absolutePath(),
           QDir(folder_.path()).absoluteFilePath("Texture"));
  QCOMPARE(Map().Timer1().interval(), 200);
  QVERIFY(!Map().Timer1().isActive());
  QVERIFY(Map().findChild<QColorDialog*>("ColorDialog") != nullptr);
}

void LightMapWindowTest::rayTracingShowsItAndTheCloseBoxClearsTheMark() {
  QAction* item = app_->Design().Menu().Racetracking1;
  QVERIFY(!Map().isVisible());
  item->trigger();
  QVERIFY(item->isChecked());
  QVERIFY(Map().isVisible());
  // The display's first size, which the benchmark of its repaint uses.
  QCOMPARE(Find<QWidget>("PaintBoxRays")->size(), QSize(260, 235));
  Map().close();
  QVERIFY(!Map().isVisible());
  QVERIFY(!item->isChecked());
  item->trigger();  // one click opens it again
  QVERIFY(Map().isVisible());
  QVERIFY(item->isChecked());
}

void LightMapWindowTest::showingKeepsTheModeOfThePressedButton() {
  ShowMap();
  Find<QToolButton>("UPButton")->click();
  QCOMPARE(app_->Light().SourceMode(), 2);
  Map().close();
  ShowMap();
  QCOMPARE(app_->Light().SourceMode(), 2);
  QVERIFY(Find<QToolButton>("UPButton")->isChecked());
  QVERIFY(!Find<QToolButton>("BWButton")->isChecked());
}

void LightMapWindowTest::pagesShowOnlyInTheirModes() {
  ShowMap();
  auto* pages = Find<QTabWidget>("PageControl");
  for (int mode = 0; mode < 4; ++mode) {
    Find<QToolButton>(std::array{"BWButton", "RBButton", "UPButton", "CMButton"}[static_cast<std::size_t>(mode)])->click();
    QCOMPARE(app_->Light().SourceMode(), mode);
    QCOMPARE(pages->isTabVisible(0), mode == 2);
    QCOMPARE(pages->isTabVisible(1), mode == 3);
    QCOMPARE(pages->isTabVisible(2), mode == 3);
    QCOMPARE(pages->isVisible(), mode >= 2);
  }
}

void LightMapWindowTest::rightDragTurnsTheSurroundingsAgainstTheStone() {
  ShowMap();
  QWidget* display = Find<QWidget>("PaintBoxRays");
  const LinearColor before = StoneColour(app_->Picture());
  const QImage shownBefore = Map().DisplayPicture();
  QCOMPARE(app_->Light().BGColor().R, 0.0);
  // Three quarters of the display's width: the surroundings turn by 135 degrees.
  Drag(display, Qt::RightButton, QPoint(20, 100), QPoint(20 + display->width() * 3 / 4, 100), 10);
  QVERIFY(!SameFrame(app_->Light().EnvTurn(), IdentityFrame()));
  QVERIFY(app_->Light().BGColor().R > 0.3);  // the sky now shows behind the stone
  const LinearColor after = StoneColour(app_->Picture());
  QVERIFY(std::abs(after.R - before.R) > 1e-3 * std::abs(before.R));
  QVERIFY(Map().DisplayPicture() != shownBefore);
  // The picture window shows the new colours.
  QTRY_VERIFY(!app_->Picture().Rebuild());
}

void LightMapWindowTest::leftDragTurnsGridAndSpotsButNotColours() {
  ShowMap();
  QWidget* display = Find<QWidget>("PaintBoxRays");
  const LinearColor before = StoneColour(app_->Picture());
  const QImage shownBefore = Map().DisplayPicture();
  const Frame envBefore = app_->Light().EnvTurn();
  Drag(display, Qt::LeftButton, QPoint(60, 60), QPoint(120, 90), 6);
  QVERIFY(!SameFrame(app_->Light().MapView(), IdentityFrame()));
  QVERIFY(SameFrame(app_->Light().EnvTurn(), envBefore));
  const LinearColor after = StoneColour(app_->Picture());
  QCOMPARE(after.R, before.R);
  QCOMPARE(after.B, before.B);
  QVERIFY(Map().DisplayPicture() != shownBefore);
  // Reset brings the display back.
  Find<QPushButton>("Button1")->click();
  QVERIFY(SameFrame(app_->Light().MapView(), IdentityFrame()));
  QCOMPARE(Map().DisplayPicture(), shownBefore);
}

void LightMapWindowTest::zoneEditsKeepTheirOrderAndEnterAppliesATypedValue() {
  ShowMap();
  Find<QToolButton>("UPButton")->click();
  auto* first = Find<QSpinBox>("RxSpinEdit1");
  auto* second = Find<QSpinBox>("RxSpinEdit2");
  QCOMPARE(first->maximum(), 60);
  QCOMPARE(Find<QSlider>("TrackBarUP2")->minimum(), 30);
  first->setFocus();
  first->selectAll();
  QTest::keyClicks(first, "45");
  QCOMPARE(app_->Light().Settings().ZoneAngles[0], 30.0);  // not before Enter
  QTest::keyClick(first, Qt::Key_Return);
  QCOMPARE(first->value(), 45);
  QCOMPARE(app_->Light().Settings().ZoneAngles[0], 45.0);
  QCOMPARE(second->minimum(), 45);
  // Beyond the second angle cannot be typed, nor reached by the arrows.
  first->selectAll();
  QTest::keyClicks(first, "75");
  QTest::keyClick(first, Qt::Key_Return);
  QVERIFY(first->value() <= second->value());
  for (int i = 0; i < 80; ++i) QTest::keyClick(first, Qt::Key_Up);
  QCOMPARE(first->value(), 60);
  QCOMPARE(app_->Light().Settings().ZoneAngles[0], 60.0);
  // The third track bar cannot go below the second angle.
  auto* third = Find<QSlider>("TrackBarUP3");
  third->setFocus();
  for (int i = 0; i < 200; ++i) QTest::keyClick(third, Qt::Key_Left);
  QCOMPARE(Find<QSpinBox>("RxSpinEdit3")->value(), 60);
  QCOMPARE(app_->Light().Settings().ZoneAngles[2], 60.0);
}

void LightMapWindowTest::headAndBodyButtonsFollowTheirRules() {
  ShowMap();
  auto* head = Find<QToolButton>("HeadButton");
  auto* body = Find<QToolButton>("BodyButton");
  body->click();
  QVERIFY(head->isChecked());
  QVERIFY(body->isChecked());
  QCOMPARE(head->property("ImageIndex").toInt(), 2);
  QCOMPARE(body->property("ImageIndex").toInt(), 4);
  head->click();
  QVERIFY(!head->isChecked());
  QVERIFY(!body->isChecked());
  Find<QSlider>("BodyTrackBar")->setValue(20);
  QVERIFY(head->isChecked());
  QCOMPARE(Find<QLabel>("Label1")->text(), QString("Head radius = 20 deg."));
  QVERIFY(app_->Light().Settings().HeadOn);
  QCOMPARE(app_->Light().Settings().HeadAngle, 20);
  Find<QComboBox>("ComboBox1")->setCurrentIndex(2);
  QCOMPARE(app_->Light().Settings().IntensityLaw, 2);
  Find<QSlider>("TrackBarBGC")->setValue(50);
  QCOMPARE(Find<QLabel>("Label2")->text(), QString("BG Brightness = 50%."));
}

void LightMapWindowTest::pictureFromFileColoursTheStoneAndABadOneIsRefused() {
  ShowMap();
  Find<QToolButton>("CMButton")->click();
  const LinearColor black = StoneColour(app_->Picture());
  const QString red = Bmp("red.bmp", QColor(255, 0, 0));
  AnswerDialog(Map().OpenPictureDialog(), red);
  Find<QAction>("LoadPicturefromFile1")->trigger();
  const LinearColor lit = StoneColour(app_->Picture());
  QVERIFY(lit.R > black.R + 0.1);
  QCOMPARE(lit.G, 0.0);
  // The disk shows the picture.
  const QImage shown = Map().DisplayPicture();
  int redPixels = 0;
  for (int y = 0; y < shown.height(); ++y)
    for (int x = 0; x < shown.width(); ++x) redPixels += shown.pixelColor(x, y) == QColor(255, 0, 0) ? 1 : 0;
  QVERIFY(redPixels > 10000);

  const QString broken = QDir(folder_.path()).filePath("broken.jpg");
  QFile file(broken);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write("not a picture");
  file.close();
  const std::vector<std::uint8_t> kept = app_->Light().Picture(PictureSide::Front).Source;
  MessageCatcher catcher;
  Map().LoadEnvPicture(broken, PictureSide::Front);
  QCOMPARE(catcher.Texts(), QStringList({"Invalid graphic file format."}));
  QVERIFY(app_->Light().Picture(PictureSide::Front).Source == kept);
  QCOMPARE(StoneColour(app_->Picture()).R, lit.R);
}

// Both Load menus make the Lamps and ASET surroundings in code: the front
// picture made, the back one black.
void LightMapWindowTest::lampsAndAsetAreMadeFromTheLoadMenus() {
  ShowMap();
  Find<QToolButton>("CMButton")->click();
  for (const char* suffix : {"1", "2"}) {
    app_->LightMap().findChild<QAction*>(QString("Lamps") + suffix)->trigger();
    QVERIFY(app_->Light().Picture(PictureSide::Front).Source == LampsPicture());
    const std::vector<std::uint8_t>& back = app_->Light().Picture(PictureSide::Back).Source;
    QVERIFY(std::all_of(back.begin(), back.end(), [](std::uint8_t b) { return b == 0; }));
    const LinearColor lamps = StoneColour(app_->Picture());
    QCOMPARE(lamps.R, lamps.G);  // white lamps: no colour without dispersion

    Find<QAction>((QString("ASET") + suffix).toUtf8().constData())->trigger();
    QVERIFY(app_->Light().Picture(PictureSide::Front).Source == AsetPicture(10));
    const LinearColor aset = StoneColour(app_->Picture());
    QVERIFY(aset.R > 0.1 && aset.G > 0.1 && aset.B > 0.1);
    QVERIFY(aset.R != aset.G);
  }
}

void LightMapWindowTest::paintingTheBackPictureColoursTheBackground() {
  ShowMap();
  Find<QToolButton>("CMButton")->click();
  QCOMPARE(app_->Light().BGColor().G, 0.0);
  QColorDialog& colours = Map().ColorDialog();
  QTimer::singleShot(0, &colours, [&colours] {
    QTRY_VERIFY(colours.isVisible());
    colours.setCurrentColor(QColor(0, 255, 0));
    colours.accept();
  });
  Find<QToolButton>("ClearBButton")->click();
  // Straight behind the stone the back picture is green, at full brightness.
  QCOMPARE(app_->Light().BGColor().G, 1.0);
  Find<QSlider>("TrackBarBGC")->setValue(50);
  QCOMPARE(app_->Light().BGColor().G, 0.5);
  // A cancelled dialog changes nothing.
  QTimer::singleShot(0, &colours, [&colours] {
    QTRY_VERIFY(colours.isVisible());
    colours.setCurrentColor(QColor(255, 0, 0));
    colours.reject();
  });
  Find<QToolButton>("ClearBButton")->click();
  QCOMPARE(app_->Light().BGColor().R, 0.0);
  QCOMPARE(app_->Light().BGColor().G, 0.5);
}

void LightMapWindowTest::dropsAreTakenInThePicturesModeOnly() {
  ShowMap();
  const QString blue = Bmp("blue.bmp", QColor(0, 0, 255));
  const std::vector<std::uint8_t> black = app_->Light().Picture(PictureSide::Front).Source;
  bool accepted = true;
  DropFile(&Map(), blue, accepted);
  QVERIFY(!accepted);
  QVERIFY(app_->Light().Picture(PictureSide::Front).Source == black);
  Find<QToolButton>("CMButton")->click();
  Find<QTabWidget>("PageControl")->setCurrentIndex(2);  // "Back"
  DropFile(&Map(), blue, accepted);
  QVERIFY(accepted);
  QCOMPARE(app_->Light().Picture(PictureSide::Back).Source[2], std::uint8_t{255});
  QVERIFY(app_->Light().Picture(PictureSide::Front).Source == black);
}

void LightMapWindowTest::screenPictureRunsUntilAFileIsChosen() {
  ShowMap();
  Find<QToolButton>("CMButton")->click();
  app_->Light().FillPicture(PictureSide::Front, 50, 60, 70);
  Find<QAction>("GetPicturefromscreen1")->trigger();
  QVERIFY(Map().Timer1().isActive());
  QCOMPARE(app_->Light().Picture(PictureSide::Front).Source[0], std::uint8_t{0});
  QTest::qWait(450);  // a tick or two; the corners stay black around the grab
  QCOMPARE(app_->Light().Picture(PictureSide::Front).Source[0], std::uint8_t{0});
  // Choosing "Load Picture from File" on the front page stops it, even when cancelled.
  AnswerDialog(Map().OpenPictureDialog(), QString());
  Find<QAction>("LoadPicturefromFile1")->trigger();
  QVERIFY(!Map().Timer1().isActive());
}

void LightMapWindowTest::displayFollowsThePictureOnlyWhileShown() {
  QWidget* display = Find<QWidget>("PaintBoxRays");
  PaintCounter paints(display);
  QWidget* picture = &app_->Picture();
  Drag(picture, Qt::LeftButton, QPoint(100, 200), QPoint(160, 230), 4);
  QTRY_VERIFY(!app_->Picture().Rebuild());
  QTest::qWait(50);
  QCOMPARE(paints.count, 0);
  ShowMap();
  QTRY_VERIFY(paints.count > 0);
  const QImage before = Map().DisplayPicture();
  const int seen = paints.count;
  Drag(picture, Qt::LeftButton, QPoint(100, 200), QPoint(200, 180), 4);
  QTRY_VERIFY(paints.count > seen);
  // The spots moved with the stone, the surroundings did not.
  QVERIFY(Map().DisplayPicture() != before);
}

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QApplication::setApplicationName("Brillora");
  LightMapWindowTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "light_map_window_test.moc"

void LightMapWindowTest::trackBarsDrawNoBandToTheThumb() {
  ShowMap();
  // The zones page, then the picture pages, each bar near its far end.
  QTest::mouseClick(Find<QToolButton>("UPButton"), Qt::LeftButton);
  for (const char* name : {"TrackBarUP1", "TrackBarUP2", "TrackBarUP3", "BodyTrackBar", "TrackBarBGC"}) {
    if (QString(name) == "BodyTrackBar") {
      QTest::mouseClick(Find<QToolButton>("CMButton"), Qt::LeftButton);
      Find<QTabWidget>("PageControl")->setCurrentWidget(Find<QWidget>("FrontPage"));
    }
    if (QString(name) == "TrackBarBGC") Find<QTabWidget>("PageControl")->setCurrentWidget(Find<QWidget>("BackPage"));
    QSlider* bar = Find<QSlider>(name);
    QVERIFY2(bar->isVisible(), name);
    bar->setValue(bar->maximum() - (bar->maximum() - bar->minimum()) / 8);
    QVERIFY2(bar->sliderPosition() > bar->minimum(), name);
    QCOMPARE(bar->property("SelRangeVisible"), QVariant(false));
    QVERIFY2(HighlightedPixels(bar) == 0, qPrintable(QString("%1: %2").arg(name).arg(HighlightedPixels(bar))));
  }
}
