#include "app_windows_test.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

#include "light/light_map_window.h"
#include "message_catcher.h"
#include "model/default_design.h"
#include "output/picture_size_window.h"
#include "params/parameters_window.h"
#include "ui/about_window.h"
#include "ui/brillora_app.h"
#include "ui/design_window.h"
#include "widgets/nt_track_bar.h"
#include "ui/progress_window.h"
#include "ui/screenshots.h"
#include "ui/sound_player.h"
#include "view/picture_window.h"

using namespace brillora;

namespace {

QString Sample(const QString& name) { return QString(BRILLORA_SOURCE_DIR) + "/GEM_DAT/" + name; }

QString WriteText(const QDir& folder, const QString& name, const QByteArray& text) {
  const QString path = folder.filePath(name);
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return {};
  file.write(text);
  return path;
}

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void DropFiles(QWidget* target, const QStringList& files) {
  QMimeData data;
  QList<QUrl> urls;
  for (const QString& f : files) urls << QUrl::fromLocalFile(f);
  data.setUrls(urls);
  const QPointF at(10, 10);
  QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &enter);
  QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &drop);
}

// A valid one-sample silent WAV file.
QByteArray SilentWav() {
  QByteArray wav;
  const auto u32 = [&](quint32 v) { for (int i = 0; i < 4; ++i) wav.append(char((v >> (8 * i)) & 0xff)); };
  const auto u16 = [&](quint16 v) { for (int i = 0; i < 2; ++i) wav.append(char((v >> (8 * i)) & 0xff)); };
  wav.append("RIFF");
  u32(38);
  wav.append("WAVEfmt ");
  u32(16);
  u16(1);
  u16(1);
  u32(8000);
  u32(16000);
  u16(2);
  u16(16);
  wav.append("data");
  u32(2);
  u16(0);
  return wav;
}

// A track bar that lets the test ask its style where the channel and the thumb are.
class ProbedTrackBar : public TNTrackBar {
 public:
  QRect Channel() const {
    QStyleOptionSlider option;
    initStyleOption(&option);
    return style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
  }
  QRect ThumbAt(int value) const {
    QStyleOptionSlider option;
    initStyleOption(&option);
    option.sliderPosition = value;
    option.sliderValue = value;
    return style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
  }
};

// The channel, the thumb and the background are greys; the highlight colour is
// clearly saturated, and anything drawn from it keeps its hue.
bool LooksHighlighted(QColor pixel, QColor highlight) {
  const int gap = std::abs(pixel.hslHue() - highlight.hslHue());
  return pixel.hslSaturation() > 60 && std::min(gap, 360 - gap) < 30;
}

// The columns in [from, to] of the channel's middle row that look highlighted.
QList<int> HighlightedColumns(ProbedTrackBar& bar, int from, int to) {
  const QImage image = bar.grab().toImage();
  const int y = bar.Channel().center().y();
  QList<int> columns;
  for (int x = from; x <= to; ++x) {
    if (LooksHighlighted(image.pixelColor(x, y), bar.palette().color(QPalette::Highlight))) columns << x;
  }
  return columns;
}

}  // namespace

void AppWindowsTest::init() {
  QVERIFY(programFolder_.isValid());
  QVERIFY(QDir(programFolder_.path()).mkpath("GEM_DAT"));
  app_ = std::make_unique<BrilloraApp>(QDir(programFolder_.path()));
}

void AppWindowsTest::cleanup() { app_.reset(); }

void AppWindowsTest::windowsExistInTheirOrder() {
  app_->Start({});
  QStringList names;
  for (QWidget* window : app_->Windows()) {
    QVERIFY(window != nullptr);
    QVERIFY(window->isWindow());
    names << window->objectName();
  }
  QCOMPARE(names, QStringList({"Picture", "Weight", "Form1", "AboutBox", "Alignment", "LightMap", "Progress",
                               "PictureSize"}));
  QVERIFY(app_->Picture().isVisible());
  QVERIFY(app_->Design().isVisible());
  QVERIFY(!app_->ParametersView().isVisible());
  QCOMPARE(app_->Design().windowTitle(), QString("  Brillora."));
  QCOMPARE(app_->ParametersView().windowTitle(), QString("  Parameters"));
  QCOMPARE(app_->Progress().windowTitle(), QString("  Progress"));
  QCOMPARE(app_->LightMap().windowTitle(), QString("  The Map of Illumination"));
  QCOMPARE(app_->Picture().CaptionText(), QString("Crown"));
  QVERIFY(app_->Design().windowFlags() & Qt::WindowStaysOnTopHint);
  QCOMPARE(app_->Design().pos(), QPoint(0, 0));
  // The picture window stands beside the design window.
  QCOMPARE(app_->Picture().pos().x(), app_->Design().frameGeometry().width());
  QCOMPARE(app_->Picture().size(), QSize(450, 467));
  QCOMPARE(app_->Picture().minimumSize(), QSize(450, 467));
  // The default design: 8-fold on the 96 gear.
  QCOMPARE(app_->Design().State().SymOrder, 8);
  QCOMPARE(app_->Design().findChild<QComboBox*>("SymBox")->currentText(), QString("8"));
  QCOMPARE(app_->Design().findChild<QLabel*>("Label5")->text(), QString("96-notch Gear"));
  QVERIFY(!app_->Design().State().stone->AllFacets.empty());
  // Painting shows the crown caption in red.
  QVERIFY(QTest::qWaitForWindowExposed(&app_->Picture()));
  app_->Picture().repaint();
  QCOMPARE(app_->Picture().CaptionText(), QString("  Crown"));
  QCOMPARE(app_->Picture().CaptionColour().red() > 0, true);
  QCOMPARE(app_->Picture().CaptionColour().blue(), 0);
}

void AppWindowsTest::designWindowControlsCarryTheirNames() {
  DesignWindow& design = app_->Design();
  for (const char* name :
       {"Panel3", "Label1", "SymBox", "Label5", "TabControl1", "MaxAngleLabel", "RxSpinEdit2", "TrackAngle2",
        "TabControl2", "Label2", "SplitBox", "Label4", "ShiftBox", "FacetAngleLabel", "RxSpinEdit1", "TrackAngle1",
        "CheckBox", "Label6", "PositBar", "TabControl3", "FacetAngle2Label", "DistLabel", "CrownButton"}) {
    QVERIFY2(design.findChild<QWidget*>(name) != nullptr, name);
  }
  QCOMPARE(design.findChild<QLabel*>("Label1")->text(), QString("Symmetry Order"));
  QCOMPARE(design.findChild<QLabel*>("MaxAngleLabel")->text(), QString("Max Slope  ="));
  QCOMPARE(design.findChild<QLabel*>("FacetAngleLabel")->text(), QString("Facet Slope  ="));
  QCOMPARE(design.findChild<QWidget*>("CheckBox")->toolTip(), QString("Automatic Facet Meeting"));
  QCOMPARE(design.findChild<QWidget*>("Label6")->toolTip(), QString("Position of next Step of Facets"));
  QCOMPARE(design.findChild<QWidget*>("TabControl2")->toolTip(), QString("Steps"));
  QStringList orders;
  auto* symBox = design.findChild<QComboBox*>("SymBox");
  for (int i = 0; i < symBox->count(); ++i) orders << symBox->itemText(i);
  QCOMPARE(orders, QStringList({"2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "16", "24", "36", "48"}));
  for (const char* name : {"TrackAngle1", "TrackAngle2", "PositBar"}) {
    auto* bar = design.findChild<TNTrackBar*>(name);
    QVERIFY2(bar != nullptr, name);
    QCOMPARE(bar->size(), QSize(160, 24));
    QCOMPARE(bar->tickInterval(), 100);
    QCOMPARE(bar->pageStep(), 10);
    QVERIFY(!bar->SelRangeVisible());
  }
  QCOMPARE(design.findChild<TNTrackBar*>("PositBar")->maximum(), 200);
  QCOMPARE(design.findChild<TNTrackBar*>("PositBar")->value(), 70);
  QCOMPARE(design.findChild<TNTrackBar*>("TrackAngle1")->maximum(), 890);
  QCOMPARE(design.Steps().Clearnext->text(), QString("Clear next Steps"));
  QCOMPARE(design.Steps().NewStep->text(), QString("New Step"));
  QCOMPARE(design.Player().objectName(), QString("MediaPlayer1"));
  // Dialogs: filters, default extension, first name.
  QCOMPARE(design.SaveDialog().defaultSuffix(), QString("brl"));
  QCOMPARE(design.SaveDialog().nameFilters(), QStringList({"Shape (*.brl)", "Text File (*.txt)"}));
  QCOMPARE(design.OpenDialog().defaultSuffix(), QString("brl"));
  QCOMPARE(design.OpenDialog().nameFilters().size(), 4);
  QCOMPARE(design.OpenDialog().nameFilters().last(), QString("GemCad (*.asc *.gem)"));
  QVERIFY(design.OpenDialog().nameFilters().first().startsWith("All(*.brl;*.txt)"));
  app_->Start({});
  QCOMPARE(QDir(design.OpenDialog().directory()).absolutePath(), QDir(programFolder_.filePath("GEM_DAT")).absolutePath());
}

void AppWindowsTest::mainMenuItemsCarryTheirTags() {
  DesignWindow& design = app_->Design();
  struct Expected {
    const char* name;
    const char* text;
    int tag;
  };
  const Expected items[] = {
      {"Data1", "Data", 2}, {"Image2", "Image", 1}, {"ImagetoClipboard1", "Image to Clipboard", 0},
      {"Save1", "Save Data", 0}, {"Open1", "Open Data", 0}, {"Gallery1", "Gallery", 0},
      {"SaveImagetoFile1", "Save Image to File", 0},
      {"ImagetoClipboard2", "Copy Image to Clipboard", 0}, {"SurfaceRefl", "Surface Reflections", 0},
      {"N11", "Non-transparent", 0}, {"Reflected", "Reflected", 1}, {"N21", "Transparent", 1},
      {"Edges", "Edges", 0}, {"AA", "Anti-Aliasing", 0}, {"Racetracking1", "Ray Tracing", 3},
      {"AnimationTrc", "Tracing", 0}, {"AnimationPol", "Polygons Animation", 1},
      {"AnimationJPG", "JPG Animation", 2}, {"AnimationBMP", "BMP Animation", 3},
      {"AnimationGIF", "GIF Animation", 4}, {"Weight1", "Parameters", 0}, {"Help1", "Help", 0},
      {"About1", "&About", 0}, {"Reflections", "N of Reflections", 0}};
  for (const Expected& e : items) {
    const QList<QAction*> found = design.findChildren<QAction*>(e.name);
    QVERIFY2(!found.isEmpty(), e.name);
    QCOMPARE(found.first()->text(), QString(e.text));
    QCOMPARE(Tag(found.first()), e.tag);
    QVERIFY2(found.first()->isEnabled(), e.name);
  }
  QCOMPARE(design.Menu().Help1->shortcut(), QKeySequence(Qt::Key_F1));
  // Check marks at start.
  QVERIFY(design.Menu().SurfaceRefl->isChecked());
  QVERIFY(design.Menu().N11->isChecked());
  QVERIFY(design.Menu().Edges->isChecked());
  QVERIFY(design.Menu().AA->isChecked());
  QVERIFY(!design.Menu().Racetracking1->isChecked());
  QVERIFY(!design.Menu().Dispersion->isChecked());
  // The twelve numbered items, "1" .. "12" with Tags 2 .. 13.
  QCOMPARE(design.Menu().numbered.size(), 12);
  for (int i = 1; i <= 12; ++i) {
    QAction* item = design.Menu().numbered[i - 1];
    QCOMPARE(item->text(), QString::number(i));
    QCOMPARE(Tag(item), i + 1);
    QCOMPARE(item->actionGroup(), design.Menu().reflectionGroup);
  }
  // Separators after "Surface Reflections", and around "Ray Tracing".
  const QList<QAction*> reflections = design.Menu().Reflections->actions();
  QVERIFY(reflections.at(1)->isSeparator());
  QCOMPARE(reflections.at(2), design.Menu().N11);
  // "Dispersion" last, after a separator of its own.
  QCOMPARE(reflections.back(), design.Menu().Dispersion);
  QCOMPARE(design.Menu().Dispersion->text(), QString("Dispersion"));
  QVERIFY(design.Menu().Dispersion->isCheckable());
  QVERIFY(reflections.at(reflections.size() - 2)->isSeparator());
  // Top-level menus in order.
  QStringList titles;
  for (QAction* a : design.menuBar()->actions()) titles << a->text();
  QCOMPARE(titles, QStringList({"Print", "File", "View", "Help", "&About"}));
}

void AppWindowsTest::reflectionItemsActAsRadioItems() {
  app_->Start({});
  DesignWindow& design = app_->Design();
  QCOMPARE(design.ReflectionCount(), 0);
  QVERIFY(QTest::qWaitForWindowExposed(&app_->Picture()));
  app_->Picture().repaint();
  QVERIFY(!app_->Picture().Rebuild());
  design.Menu().N21->trigger();
  QCOMPARE(design.ReflectionCount(), 1);
  QVERIFY(design.Menu().N21->isChecked());
  QVERIFY(!design.Menu().N11->isChecked());
  QVERIFY(app_->Picture().Rebuild());
  design.Menu().Reflected->trigger();
  QCOMPARE(design.ReflectionCount(), 1);
  QVERIFY(design.Menu().Reflected->isChecked());
  QVERIFY(!design.Menu().N21->isChecked());
  design.Menu().numbered[11]->trigger();
  QCOMPARE(design.ReflectionCount(), 13);
  int checked = 0;
  for (QAction* a : design.Menu().reflectionGroup->actions()) checked += a->isChecked() ? 1 : 0;
  QCOMPARE(checked, 1);
  // Choosing the checked item again keeps it.
  design.Menu().numbered[11]->trigger();
  QVERIFY(design.Menu().numbered[11]->isChecked());
  // Surface reflections toggle and ask for a new trace.
  app_->Picture().repaint();
  design.Menu().SurfaceRefl->trigger();
  QVERIFY(!design.Menu().SurfaceRefl->isChecked());
  QVERIFY(app_->Picture().Rebuild());
}

void AppWindowsTest::edgesRepaintWithoutNewTrace() {
  app_->Start({});
  DesignWindow& design = app_->Design();
  QVERIFY(QTest::qWaitForWindowExposed(&app_->Picture()));
  app_->Picture().repaint();
  QVERIFY(!app_->Picture().Rebuild());
  design.Menu().Edges->trigger();
  QVERIFY(!design.Menu().Edges->isChecked());
  design.Menu().AA->trigger();
  QVERIFY(!design.Menu().AA->isChecked());
  QVERIFY(!app_->Picture().Rebuild());
}

void AppWindowsTest::animationItemsExcludeEachOther() {
  const QList<QAction*>& items = app_->Design().Menu().animations;
  items[0]->trigger();
  QVERIFY(items[0]->isChecked());
  items[4]->trigger();  // GIF while Tracing runs: Tracing stops
  QVERIFY(!items[0]->isChecked());
  QVERIFY(items[4]->isChecked());
  items[4]->trigger();  // clicking a running animation stops it
  QVERIFY(!items[4]->isChecked());
  items[2]->trigger();
  app_->Progress().findChild<QPushButton*>("ExitButton")->click();
  for (QAction* a : items) QVERIFY(!a->isChecked());
  // Cancel with nothing running only clears marks.
  app_->Progress().findChild<QPushButton*>("ExitButton")->click();
  for (QAction* a : items) QVERIFY(!a->isChecked());
}

void AppWindowsTest::rayTracingShowsTheLightMap() {
  app_->Start({});
  app_->Design().Menu().Racetracking1->trigger();
  QVERIFY(app_->LightMap().isVisible());
  app_->Design().Menu().Racetracking1->trigger();
  QVERIFY(!app_->LightMap().isVisible());
}

void AppWindowsTest::parametersItemShowsWeights() {
  app_->Start({});
  auto* wl = app_->ParametersView().findChild<QLabel*>("WL");
  QVERIFY(wl->text().isEmpty());
  app_->Design().Menu().Weight1->trigger();
  QVERIFY(app_->ParametersView().isVisible());
  // The default stone weighs something positive at 10 mm over a 100-pixel segment.
  QVERIFY(!wl->text().isEmpty());
  QVERIFY(wl->text().trimmed().toDouble() > 0.0);
  QCOMPARE(app_->ParametersView().findChild<QLabel*>("Label5")->text(), QString("(0.222)"));
  const double crown = app_->ParametersView().findChild<QLabel*>("CH")->text().toDouble();
  const double pavilion = app_->ParametersView().findChild<QLabel*>("PH")->text().toDouble();
  const double total = app_->ParametersView().findChild<QLabel*>("TH")->text().toDouble();
  QVERIFY(crown > 0.0 && pavilion > 0.0);
  QVERIFY(std::abs(total - crown - pavilion) <= 0.011);
}

void AppWindowsTest::openingSamplesAndBadFiles() {
  app_->Start({});
  DesignWindow& design = app_->Design();
  QVERIFY(design.OpenDesign(Sample("Dodecagon12.brl")));
  QCOMPARE(design.windowTitle(), QString("Dodecagon12.brl"));
  QCOMPARE(design.State().SymOrder, 12);
  QCOMPARE(design.findChild<QComboBox*>("SymBox")->currentText(), QString("12"));
  QVERIFY(app_->Parameters().Custom());
  QVERIFY(!app_->ParametersView().isVisible());
  const auto crownBefore = design.State().CrownSteps.size();

  QDir folder(programFolder_.path());
  const QString wrongType = WriteText(folder, "design.xyz", ReadAll(Sample("Dodecagon12.brl")));
  const QString broken = WriteText(folder, "broken.brl", "13 Order of Symmetry\r\n");
  {
    MessageCatcher catcher;
    QVERIFY(!design.OpenDesign(wrongType));
    QVERIFY(!design.OpenDesign(broken));
    QCOMPARE(catcher.Texts(), QStringList({"Invalid File Type", "Invalid File Format"}));
  }
  QCOMPARE(design.State().SymOrder, 12);
  QCOMPARE(design.State().CrownSteps.size(), crownBefore);
  QCOMPARE(design.windowTitle(), QString("Dodecagon12.brl"));
}

// Two girdle facets enclose nothing: the file reads, the stone is empty, and
// every window shows what an empty stone gives rather than failing.
void AppWindowsTest::aDesignWithoutAStoneShowsOnlyTheBackground() {
  app_->Start({});
  DesignWindow& design = app_->Design();
  const QString open = WriteText(QDir(programFolder_.path()), "open.brl",
                                 "2 Order of Symmetry\r\n2 Steps of Crown\r\nStep\tAngle\tSplit\tShift\tPosit\tAuto\r\n"
                                 "1\t89.00\t0\t0\t0.40\t0\r\n2\t40.00\t0\t0\t0.70\t0\r\n1 Steps of Pavilion\r\n"
                                 "Step\tAngle\tSplit\tShift\tPosit\tAuto\r\n1\t40.00\t0\t0\t0.20\t1\r\n"
                                 "2.420 Refractive Index\r\n");
  QVERIFY(design.OpenDesign(open));
  QVERIFY(design.State().stone->AllFacets.empty());
  design.Menu().numbered[11]->trigger();
  design.Menu().Weight1->trigger();
  PictureWindow& picture = app_->Picture();
  QTRY_VERIFY(picture.RefinedShown());
  QVERIFY(picture.Screen().empty());
  const QImage shown = picture.grab().toImage();
  const QRgb background = shown.pixel(shown.width() / 2, shown.height() / 2);
  for (const QPoint at : {QPoint(2, 2), QPoint(shown.width() - 3, shown.height() / 3)})
    QCOMPARE(shown.pixel(at), background);
  QCOMPARE(app_->Parameters().Report().measures.weightCarats, 0.0);
}

void AppWindowsTest::droppedFilesOpenOnlyTheFirst() {
  app_->Start({});
  QDir folder(programFolder_.path());
  const QString broken = WriteText(folder, "broken.brl", "garbage");
  MessageCatcher catcher;
  DropFiles(&app_->Design(), {Sample("Hexagon6.brl"), broken});
  QCOMPARE(app_->Design().State().SymOrder, 6);
  QCOMPARE(app_->Design().windowTitle(), QString("Hexagon6.brl"));
  DropFiles(&app_->Picture(), {Sample("Round48.brl"), broken});
  QCOMPARE(app_->Design().State().SymOrder, 48);
  QCOMPARE(app_->Design().windowTitle(), QString("Round48.brl"));
  QVERIFY(catcher.Texts().isEmpty());
  DropFiles(&app_->Picture(), {broken, Sample("Hexagon6.brl")});
  QCOMPARE(catcher.Texts(), QStringList({"Invalid File Format"}));
  QCOMPARE(app_->Design().State().SymOrder, 48);
}

void AppWindowsTest::commandLineArgument() {
  app_->Start({Sample("Hexagon6.brl")});
  QCOMPARE(app_->Design().State().SymOrder, 6);
  QCOMPARE(app_->Design().windowTitle(), QString("Hexagon6.brl"));
  QVERIFY(app_->Picture().isVisible());

  app_ = std::make_unique<BrilloraApp>(QDir(programFolder_.path()));
  const QString broken = WriteText(QDir(programFolder_.path()), "broken.brl", "8 Order of Symmetry\r\n");
  MessageCatcher catcher;
  app_->Start({broken});
  QCOMPARE(catcher.Texts(), QStringList({"Invalid File Format"}));
  const Design fallback = DefaultDesign();
  QCOMPARE(app_->Design().State().CrownSteps.size(), fallback.CrownSteps.size());
  QCOMPARE(app_->Design().State().PavilionSteps.size(), fallback.PavilionSteps.size());
  QCOMPARE(app_->Design().windowTitle(), QString("  Brillora."));
  QVERIFY(!app_->Design().State().stone->AllFacets.empty());
}

void AppWindowsTest::saveAndReadBack() {
  app_->Start({Sample("RoundBrilliant.brl")});
  DesignWindow& design = app_->Design();
  const DesignState before = design.State();
  const QString saved = QDir(programFolder_.path()).filePath("copy.txt");
  QVERIFY(design.SaveDesign(saved));
  QVERIFY(ReadAll(saved).startsWith(QByteArray::number(before.SymOrder) + " Order of Symmetry\r\n"));
  QVERIFY(design.OpenDesign(Sample("Hexagon6.brl")));
  QVERIFY(design.OpenDesign(saved));
  QCOMPARE(design.State().SymOrder, before.SymOrder);
  QCOMPARE(design.State().CrownSteps.size(), before.CrownSteps.size());
  QCOMPARE(design.State().PavilionSteps.size(), before.PavilionSteps.size());
  for (std::size_t i = 1; i + 1 < before.PavilionSteps.size(); ++i) {
    QCOMPARE(design.State().PavilionSteps[i].Angle, before.PavilionSteps[i].Angle);
    QCOMPARE(design.State().PavilionSteps[i].Split, before.PavilionSteps[i].Split);
  }
  // A name without a design extension is silently not written.
  const QString other = QDir(programFolder_.path()).filePath("copy.doc");
  MessageCatcher catcher;
  QVERIFY(!design.SaveDesign(other));
  QVERIFY(!QFile::exists(other));
  QVERIFY(catcher.Texts().isEmpty());
}

void AppWindowsTest::failedSaveIsReportedAndKeepsTheOldFile() {
  app_->Start({});
  DesignWindow& design = app_->Design();
  QDir folder(programFolder_.path());
  MessageCatcher catcher;
  const QString nowhere = folder.filePath("missing/shape.brl");
  QVERIFY(!design.SaveDesign(nowhere));
  QCOMPARE(catcher.Texts().size(), 1);
  QVERIFY(catcher.Texts().first().contains("shape.brl"));
  QVERIFY(!QFile::exists(nowhere));
  // A folder standing where the file should go stays as it was, content and all.
  QVERIFY(folder.mkpath("inway.brl"));
  const QString inside = WriteText(QDir(folder.filePath("inway.brl")), "keep.txt", "old");
  QVERIFY(!design.SaveDesign(folder.filePath("inway.brl")));
  QCOMPARE(catcher.Texts().size(), 2);
  QVERIFY(catcher.Texts().last().contains("inway.brl"));
  QCOMPARE(ReadAll(inside), QByteArray("old"));
  // No half-written file is left behind.
  const QStringList leftovers = folder.entryList(QDir::Files | QDir::Hidden).filter("inway");
  QVERIFY2(leftovers.isEmpty(), qPrintable(leftovers.join(",")));
}

void AppWindowsTest::soundCuesPlayOnlyExistingFiles() {
  DesignWindow& design = app_->Design();
  QSignalSpy played(&design.Player(), &SoundPlayer::cuePlayed);
  design.Sound("Tik");
  design.Sound("");
  QCOMPARE(played.count(), 0);
  QVERIFY(QDir(programFolder_.path()).mkpath("Sound"));
  QCOMPARE(design.Player().FileFor("Tik"), QDir(programFolder_.path()).filePath("Sound/Tik.wav"));
  WriteText(QDir(programFolder_.filePath("Sound")), "Tik.wav", SilentWav());
  design.Sound("Tik");
  design.Sound("Create");
  QCOMPARE(played.count(), 1);
  QCOMPARE(played.first().first().toString(), QString("Tik"));
  // Reading a design plays "Create".
  WriteText(QDir(programFolder_.filePath("Sound")), "Create.wav", SilentWav());
  QVERIFY(design.OpenDesign(Sample("Hexagon6.brl")));
  QCOMPARE(played.last().first().toString(), QString("Create"));
  // The export items play "Type".
  WriteText(QDir(programFolder_.filePath("Sound")), "Type.wav", SilentWav());
  QTimer::singleShot(0, [this] { app_->PictureSize().reject(); });
  design.Menu().ImagetoClipboard1->trigger();
  QCOMPARE(played.last().first().toString(), QString("Type"));
  QCOMPARE(design.ManualFile(), QDir(programFolder_.path()).filePath("Manual.pdf"));
}

void AppWindowsTest::helpReportsAManualItCannotOpen() {
  app_->Start({});
  DesignWindow& design = app_->Design();
  const QString manual = QDir(programFolder_.path()).absoluteFilePath("Manual.pdf");
  const QString message = "Cannot open the manual \"" + QDir::toNativeSeparators(manual) + "\".";
  {
    MessageCatcher catcher;
    design.Menu().Help1->trigger();
    QCOMPARE(catcher.Texts(), QStringList({message}));
  }
  // The offscreen platform opens no documents: a manual that is there but
  // cannot be opened is reported the same way.
  QVERIFY(!WriteText(QDir(programFolder_.path()), "Manual.pdf", "%PDF-1.4\n").isEmpty());
  MessageCatcher catcher;
  design.Menu().Help1->trigger();
  QCOMPARE(catcher.Texts(), QStringList({message}));
}

void AppWindowsTest::measuringSegmentFollowsTheParametersPage() {
  app_->Start({});
  PictureWindow& picture = app_->Picture();
  StoneParameters& params = app_->Parameters();
  QVERIFY(!picture.SegmentShown());
  // Hidden parameters window: a press on a segment end does not move it.
  QTest::mousePress(&picture, Qt::LeftButton, {}, QPoint(120, 20));
  QTest::mouseMove(&picture, QPoint(200, 60));
  QTest::mouseRelease(&picture, Qt::LeftButton, {}, QPoint(200, 60));
  QCOMPARE(params.SegmentEnd().x, 120);

  app_->Design().Menu().Weight1->trigger();
  QVERIFY(picture.SegmentShown());
  auto* wl = app_->ParametersView().findChild<QLabel*>("WL");
  const QString before = wl->text();
  // A press within 4 pixels of the end drags it; the weight follows.
  QTest::mousePress(&picture, Qt::LeftButton, {}, QPoint(117, 22));
  QTest::mouseMove(&picture, QPoint(220, 20));
  QTest::mouseRelease(&picture, Qt::LeftButton, {}, QPoint(220, 20));
  QCOMPARE(params.SegmentEnd().x, 220);
  QCOMPARE(params.SegmentEnd().y, 20);
  QVERIFY(wl->text() != before);
  // Twice the segment for the same size: an eighth of the weight.
  QVERIFY(std::abs(wl->text().toDouble() * 8.0 - before.toDouble()) < 0.1 * before.toDouble());
  // A press 5 pixels away turns nothing into a drag.
  QTest::mousePress(&picture, Qt::LeftButton, {}, QPoint(225, 20));
  QTest::mouseMove(&picture, QPoint(300, 100));
  QTest::mouseRelease(&picture, Qt::LeftButton, {}, QPoint(300, 100));
  QCOMPARE(params.SegmentEnd().x, 220);

  // The segment is drawn in pure red only while the first page is shown.
  QImage shown = picture.grab().toImage();
  QCOMPARE(QColor(shown.pixel(100, 20)), QColor(255, 0, 0));
  app_->ParametersView().findChild<QTabWidget*>("PageControl1")->setCurrentIndex(1);
  QVERIFY(!picture.SegmentShown());
  QImage hidden = picture.grab().toImage();
  QVERIFY(QColor(hidden.pixel(100, 20)) != QColor(255, 0, 0));
  QTest::mousePress(&picture, Qt::LeftButton, {}, QPoint(220, 20));
  QTest::mouseMove(&picture, QPoint(240, 40));
  QTest::mouseRelease(&picture, Qt::LeftButton, {}, QPoint(240, 40));
  QCOMPARE(params.SegmentEnd().x, 220);
}

void AppWindowsTest::trackBarSelectionBand() {
  TNTrackBar bar;
  bar.setRange(0, 100);
  bar.setValue(40);
  bar.resize(160, 24);
  bar.SetSelStart(10);
  bar.SetSelEnd(90);
  QVERIFY(!bar.SelectionBandShown());
  const QImage without = bar.grab().toImage();
  bar.SetSelRangeVisible(true);
  QVERIFY(bar.SelectionBandShown());
  QCOMPARE(bar.value(), 40);
  const QImage with = bar.grab().toImage();
  QVERIFY(with != without);
  QVERIFY(bar.property("SelRangeVisible").toBool());
  // The thumb is 18 pixels long unless set otherwise.
  QStyleOptionSlider option;
  option.initFrom(&bar);
  QCOMPARE(bar.style()->pixelMetric(QStyle::PM_SliderLength, &option, &bar), 18);
  bar.SetThumbLength(14);
  QCOMPARE(bar.style()->pixelMetric(QStyle::PM_SliderLength, &option, &bar), 14);
}

void AppWindowsTest::trackBarChannelShowsOnlyTheSelection() {
  ProbedTrackBar bar;
  bar.setRange(0, 100);
  bar.setValue(80);
  bar.resize(160, 24);
  const QRect channel = bar.Channel();
  const QRect thumb = bar.ThumbAt(80);
  QVERIFY(thumb.left() - channel.left() > 60);
  // Hidden band: the channel is plain from its start to the thumb and beyond it.
  QCOMPARE(HighlightedColumns(bar, channel.left(), thumb.left() - 1), QList<int>());
  QCOMPARE(HighlightedColumns(bar, thumb.right() + 1, channel.right()), QList<int>());
  // A hidden selection is not drawn either.
  bar.SetSelStart(20);
  bar.SetSelEnd(50);
  QCOMPARE(HighlightedColumns(bar, channel.left(), thumb.left() - 1), QList<int>());

  // Shown band: highlighted exactly between the thumb's centres at 20 and 50.
  bar.SetSelRangeVisible(true);
  QCOMPARE(bar.value(), 80);
  const int from = bar.ThumbAt(20).center().x();
  const int to = bar.ThumbAt(50).center().x();
  QVERIFY(to - from > 20);
  QList<int> inside;
  for (int x = from + 1; x < to; ++x) inside << x;
  QCOMPARE(HighlightedColumns(bar, from + 1, to - 1), inside);
  QCOMPARE(HighlightedColumns(bar, channel.left(), from - 2), QList<int>());
  QCOMPARE(HighlightedColumns(bar, to + 2, thumb.left() - 1), QList<int>());
  QCOMPARE(HighlightedColumns(bar, thumb.right() + 1, channel.right()), QList<int>());

  // Hidden again at run time: the position stays and the band goes.
  bar.SetSelRangeVisible(false);
  QCOMPARE(bar.value(), 80);
  QCOMPARE(HighlightedColumns(bar, channel.left(), channel.right()), QList<int>());
}

void AppWindowsTest::progressAndAboutWindows() {
  ProgressWindow& progress = app_->Progress();
  progress.ShowProgress(42);
  QCOMPARE(progress.findChild<QProgressBar*>("ProgressBar1")->value(), 42);
  QCOMPARE(progress.windowTitle(), QString("  Progress of the Data Preparing 42%"));
  QCOMPARE(progress.findChild<QPushButton*>("ExitButton")->text(), QString("Cancel"));
  QStringList texts;
  for (QLabel* label : app_->About().findChildren<QLabel*>()) texts << label->text();
  QVERIFY(texts.contains("Brillora"));
  QVERIFY(texts.contains("Release Version 1.01"));
  // "About" shows the box modally.
  bool wasModal = false;
  QTimer::singleShot(0, [&] {
    wasModal = QApplication::activeModalWidget() == &app_->About();
    app_->About().accept();
  });
  app_->Design().Menu().About1->trigger();
  QVERIFY(wasModal);
}

void AppWindowsTest::screenshotsAreWritten() {
  app_->Start({});
  const QString folder = programFolder_.filePath("shots");
  QString error;
  QVERIFY2(WriteScreenshots(*app_, folder, error), qPrintable(error));
  for (QWidget* window : app_->Windows()) {
    QImage image(QDir(folder).filePath(window->objectName() + ".png"));
    QVERIFY2(!image.isNull(), qPrintable(window->objectName()));
    QVERIFY(image.width() > 50);
  }
}

void AppWindowsTest::maximizedPictureMakesOthersTranslucent() {
  app_->Start({});
  PictureWindow& picture = app_->Picture();
  picture.showMaximized();
  QTRY_VERIFY(picture.isMaximized());
  picture.repaint();
  for (QWidget* w : std::initializer_list<QWidget*>{&app_->Design(), &app_->PictureSize(), &app_->ParametersView(),
                                                    &app_->Progress()}) {
    QVERIFY2(std::abs(w->windowOpacity() - 200.0 / 255.0) < 0.01, qPrintable(w->objectName()));
  }
  picture.showNormal();
  QTRY_VERIFY(!picture.isMaximized());
  picture.repaint();
  QCOMPARE(app_->Design().windowOpacity(), 1.0);
}

void AppWindowsTest::closingEndsTheRunAndAsksAboutTheClipboard() {
  app_->Start({});
  app_->Design().Menu().animations[1]->trigger();
  // A picture goes to the clipboard through the export window.
  PictureSizeWindow& size = app_->PictureSize();
  size.findChild<QSpinBox*>("RxSpinEditX")->setValue(100);
  size.findChild<QSpinBox*>("RxSpinEditY")->setValue(100);
  QTimer::singleShot(0, &size, [&size] { QTest::mouseClick(size.findChild<QToolButton*>("ButtonC"), Qt::LeftButton); });
  app_->Design().Menu().ImagetoClipboard2->trigger();
  QVERIFY(size.ClipboardUsed());
  MessageCatcher catcher;
  QVERIFY(app_->Picture().close());
  QCOMPARE(catcher.Texts(), QStringList({"Do you want to keep picture in Clipboard?"}));
  for (QWidget* window : app_->Windows()) QVERIFY2(!window->isVisible(), qPrintable(window->objectName()));
  for (QAction* a : app_->Design().Menu().animations) QVERIFY(!a->isChecked());
}

void AppWindowsTest::closingTheDesignWindowClosesThePicture() {
  app_->Start({});
  MessageCatcher catcher;
  QVERIFY(app_->Design().close());
  QVERIFY(!app_->Picture().isVisible());
  QVERIFY(!app_->Design().isVisible());
  // No image went to the clipboard: no question.
  QVERIFY(catcher.Texts().isEmpty());
}
