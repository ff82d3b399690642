// A GemCad design that is not made of tiers opens as a fixed stone: looked
// at, weighed, analysed, printed, exported and saved as the GemCad design it
// is, with no editing control in sight, until a design of steps comes back.

#include <QAction>
#include <QDoubleSpinBox>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QSignalSpy>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <algorithm>
#include <cmath>
#include <memory>

#include "analysis/light_figures.h"
#include "analysis/light_performance_window.h"
#include "io/gemcad_file.h"
#include "support/gemcad_binary_writer.h"
#include "modal_answers.h"
#include "output/alignment_window.h"
#include "output/sheet_layout.h"
#include "output/sheet_painter.h"
#include "trace/frame.h"
#include "params/parameters_window.h"
#include "ui/brillora_app.h"
#include "ui/design_window.h"
#include "view/picture_window.h"

using namespace brillora;

namespace {

constexpr double kPi = 3.14159265358979323846;
// Generous: a sanitized build computes the tilt curves many times slower.
constexpr int kWait = 180000;

// Without turns or mirrors: one pavilion main is steeper and further out than
// the other three. Girdle corners at radius 1 / cos 22.5 degrees.
const QByteArray kLopsided =
    "GemCad 5.0\ng 96 0\ny 1 n\nI 1.760\nH Lopsided\n"
    "a -43 0.95 0 n P1 24 48\n"
    "a -40 0.98 72\n"
    "a 90 1 0 12 24 36 48 60 72 84\n"
    "a 35 0.9 0 12 24 36 48 60 72 84\n"
    "a 0 0.4 0 n T\n";
const QString kLine = "GemCad design: 21 facets in 5 tiers; view, trace and export only";

void Write(const QString& path, const QByteArray& text) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(text);
}

// The stone's volume in the file's unit, found column by column: over each
// point of a fine grid the stone reaches from the highest of the planes
// facing down to the lowest of those facing up, where no upright plane
// excludes the point.
double VolumeByColumns(const GemCadDesign& design) {
  struct Plane {
    double nx, ny, nz, d;
  };
  std::vector<Plane> planes;
  for (const GemCadTier& tier : design.tiers) {
    for (const GemCadFacet& facet : tier.facets) {
      const double azimuth = 2 * kPi * facet.index / design.gearTeeth;
      const double slope = std::abs(tier.angle) * kPi / 180;
      planes.push_back({std::sin(slope) * std::sin(azimuth), std::sin(slope) * std::cos(azimuth),
                        std::signbit(tier.angle) ? -std::cos(slope) : std::cos(slope), tier.distance});
    }
  }
  constexpr int kCells = 1500;
  constexpr double kReach = 1.1;
  const double cell = 2 * kReach / kCells;
  double volume = 0;
  for (int i = 0; i < kCells; ++i) {
    for (int j = 0; j < kCells; ++j) {
      const double x = -kReach + (i + 0.5) * cell;
      const double y = -kReach + (j + 0.5) * cell;
      double top = INFINITY;
      double bottom = -INFINITY;
      bool inside = true;
      for (const Plane& p : planes) {
        const double room = p.d - p.nx * x - p.ny * y;
        if (std::abs(p.nz) < 1e-12) {
          inside = inside && room >= 0;
        } else if (p.nz > 0) {
          top = std::min(top, room / p.nz);
        } else {
          bottom = std::max(bottom, room / p.nz);
        }
      }
      if (inside && top > bottom) volume += (top - bottom) * cell * cell;
    }
  }
  return volume;
}

}  // namespace

class FixedStoneTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    QVERIFY(folder_.isValid());
    app_ = std::make_unique<BrilloraApp>(QDir(folder_.path()));
    app_->Start({});
    QVERIFY(QTest::qWaitForWindowExposed(&app_->Picture()));
    file_ = QDir(folder_.path()).filePath("lopsided.asc");
    Write(file_, kLopsided);
  }
  void cleanup() { app_.reset(); }

  void opensAfterTheMisfitIsToldWithNoEditingControls();
  void isTracedWeighedAndAnalysed();
  void printsItsTiersAndExportsAndSavesTheGemCadDesign();
  void aDroppedOneOpensTooAndADesignOfStepsBringsTheControlsBack();
  void theBinaryFormOpensAsTheTextDoes();

 private:
  // Opens the lopsided design, the misfit told as it opens.
  void OpenLopsided(QWidget* dropTarget = nullptr);

  QTemporaryDir folder_;
  QString file_;
  std::unique_ptr<BrilloraApp> app_;
};

void FixedStoneTest::OpenLopsided(QWidget* dropTarget) {
  ModalAnswers answers({Press(QMessageBox::Ok)});
  if (dropTarget != nullptr) {
    DropFiles(dropTarget, {file_});
  } else {
    QVERIFY(app_->Design().OpenDesign(file_));
  }
  QVERIFY(answers.AllGiven());
  QVERIFY2(answers.texts.front().startsWith("This GemCad design does not fit the tiers of a design: "),
           qPrintable(answers.texts.front()));
  QVERIFY(app_->Design().Fixed() != nullptr);
}

void FixedStoneTest::opensAfterTheMisfitIsToldWithNoEditingControls() {
  DesignWindow& design = app_->Design();
  OpenLopsided();
  QCOMPARE(design.windowTitle(), QString("lopsided.asc"));
  const auto* line = design.findChild<QLabel*>("FixedStoneLabel");
  QVERIFY(line->isVisible());
  QCOMPARE(line->text(), kLine);
  for (const char* control : {"Panel3", "SymBox", "TabControl1", "TabControl2", "RxSpinEdit1", "RxSpinEdit2",
                              "TrackAngle1", "TrackAngle2", "PositBar", "SplitBox", "CheckBox"}) {
    QWidget* widget = design.findChild<QWidget*>(control);
    QVERIFY2(widget != nullptr && !widget->isVisible(), control);
  }
  QVERIFY(!design.Menu().Optimize1->isVisible());
  QVERIFY(!design.Menu().Undo1->isEnabled());
  QVERIFY(!design.Menu().Redo1->isEnabled());
  // The material it is seen in is not part of it: nothing to ask on closing.
  app_->Parameters().ApplyLoadedIndex(2.42, 0.044);
  QCOMPARE(design.windowTitle(), QString("lopsided.asc"));
  // The side switch stays: it turns the stone over.
  QSignalSpy flipped(&app_->Picture(), &PictureWindow::flipped);
  const bool crown = app_->Picture().ShowsCrown();
  design.findChild<QToolButton*>("CrownButton")->click();
  QCOMPARE(flipped.size(), 1);
  QCOMPARE(app_->Picture().ShowsCrown(), !crown);
  ModalAnswers none({});
  QVERIFY(design.ConfirmClose());
  QVERIFY(none.texts.isEmpty());
}

void FixedStoneTest::isTracedWeighedAndAnalysed() {
  DesignWindow& design = app_->Design();
  PictureWindow& picture = app_->Picture();
  OpenLopsided();
  QVERIFY(picture.Rebuild());
  QVERIFY(!picture.Screen().empty());
  QCOMPARE(design.State().stone.get(), design.Fixed()->state.stone.get());

  // A double click on the table selects the table's tier, the file's fifth.
  QTest::mouseDClick(&picture, Qt::LeftButton, {}, QPoint(picture.width() / 2, picture.height() / 2));
  QCOMPARE(design.CurrentSettings().selectedStep, 4);

  // Weight and heights, with the girdle's corners at radius 1 in the picture.
  design.Menu().Weight1->trigger();
  QVERIFY(app_->ParametersView().isVisible());
  const StoneParameters& parameters = app_->Parameters();
  const WeightReport& report = parameters.Report();
  const double mmPerModelUnit = parameters.Size() / report.segmentRatio / 2;
  const double mmPerFileUnit = mmPerModelUnit * std::cos(kPi / 8);
  const double cm = mmPerFileUnit / 10;
  const double carats = 5 * parameters.SpecificGravity() * cm * cm * cm * VolumeByColumns(design.Fixed()->design);
  QVERIFY2(std::abs(report.measures.weightCarats / carats - 1) < 1e-3,
           qPrintable(QString("%1 ct against %2 ct").arg(report.measures.weightCarats).arg(carats)));
  // The table at 0.4; the culet where the two pavilion planes of the same
  // tier meet the others, below the centre.
  QVERIFY(std::abs(report.measures.crownHeightMm - 0.4 * mmPerFileUnit) < 1e-6);
  QVERIFY(report.measures.pavilionHeightMm > 0.9 * mmPerFileUnit);

  // The Light Performance window analyses the stone shown.
  QSignalSpy tilt(&app_->LightPerformance(), &LightPerformanceWindow::tiltShown);
  design.Menu().LightPerformance1->trigger();
  QVERIFY(QTest::qWaitFor([&] { return !tilt.isEmpty() && tilt.last().at(0).toUInt() ==
                                                              app_->LightPerformance().AwaitedRequest(); },
                          kWait));
  LightAnalyzer analyzer;
  const LightFigures f = analyzer.Analyze(*design.State().stone, IdentityFrame(),
                                          {10, 9, parameters.RefractiveIndex(), parameters.Dispersion()});
  QVERIFY(f.Iso > 0);
  const auto* iso = app_->LightPerformance().findChild<QLabel*>("IsoValue");
  QCOMPARE(iso->text(), QString::number(100 * f.Iso, 'f', 2) + " %");
}

void FixedStoneTest::printsItsTiersAndExportsAndSavesTheGemCadDesign() {
  DesignWindow& design = app_->Design();
  OpenLopsided();
  const QDir folder(folder_.path());

  // The data sheet lists the file's tiers, crown above, pavilion below.
  const SheetSubject subject = app_->Alignment().Subject(false);
  QVERIFY(subject.gemCadTiers.has_value());
  const SheetLayout sheet = GemCadSheetLayout({0, 0, 800, 1000}, *subject.gemCadTiers, 1.76);
  const auto lineOf = [&](const std::string& text) {
    const auto at = std::find_if(sheet.texts.begin(), sheet.texts.end(),
                                 [&](const SheetText& shown) { return shown.text == text; });
    return at == sheet.texts.end() ? -1 : at->y;
  };
  QVERIFY(lineOf("P1") > 500);
  QCOMPARE(lineOf("00-24-48"), lineOf("P1"));
  QCOMPARE(lineOf("43.00"), lineOf("P1"));
  QVERIFY(lineOf("P2") > lineOf("P1"));
  QCOMPARE(lineOf("72"), lineOf("P2"));
  QVERIFY(lineOf("T") > 0 && lineOf("T") < 500);
  QVERIFY(lineOf("00-12-24-36-48-60-72-84") > 0);

  // Export GemCad Design writes the design itself, in the index in use.
  app_->Parameters().ApplyLoadedIndex(1.54, std::nullopt);
  {
    ModalAnswers answers({TypeName("GemCad design (*.asc)", folder.filePath("out"))});
    design.Menu().ExportGemCad1->trigger();
    QVERIFY(answers.AllGiven());
    QVERIFY(answers.texts.isEmpty());
  }
  const GemCadReadResult exported = ReadGemCadFile(folder.filePath("out.asc").toStdString());
  QVERIFY2(exported.ok(), exported.error.c_str());
  QCOMPARE(exported.design.refractiveIndex, 1.54);
  QCOMPARE(exported.design.tiers.size(), std::size_t{5});
  QVERIFY(std::abs(exported.design.tiers[1].distance - 0.98) < 1e-9);
  QCOMPARE(exported.design.symmetry, 1);

  // The 3D model: as many triangles as the facets' fans give.
  {
    ModalAnswers answers({TypeName("STL model (*.stl)", folder.filePath("out"))});
    design.Menu().Export3D1->trigger();
    QVERIFY(answers.AllGiven());
  }
  QFile stl(folder.filePath("out.stl"));
  QVERIFY(stl.open(QIODevice::ReadOnly));
  const QByteArray model = stl.readAll();
  std::size_t triangles = 0;
  for (const TFacet& facet : design.State().stone->AllFacets) triangles += facet.Points.size() - 2;
  QVERIFY(triangles >= 21);
  QCOMPARE(static_cast<std::size_t>(model.size()), 84 + 50 * triangles);

  // Save Data writes the GemCad design, never a design of steps.
  {
    ModalAnswers answers({TypeName("", folder.filePath("kept.brl"))});
    design.Menu().Save1->trigger();
    QVERIFY(answers.AllGiven());
  }
  QVERIFY(!QFile::exists(folder.filePath("kept.brl")));
  const GemCadReadResult saved = ReadGemCadFile(folder.filePath("kept.asc").toStdString());
  QVERIFY2(saved.ok(), saved.error.c_str());
  QCOMPARE(saved.design.tiers.size(), std::size_t{5});
  QCOMPARE(saved.design.headings, std::vector<std::string>{"Lopsided"});
  QCOMPARE(design.windowTitle(), QString("kept.asc"));
}

void FixedStoneTest::aDroppedOneOpensTooAndADesignOfStepsBringsTheControlsBack() {
  DesignWindow& design = app_->Design();
  QVERIFY(design.OpenDialog().nameFilters().contains("GemCad (*.asc *.gem)"));
  OpenLopsided(&app_->Picture());
  QCOMPARE(design.findChild<QLabel*>("FixedStoneLabel")->text(), kLine);
  const Stone* fixed = design.State().stone.get();

  {
    ModalAnswers none({});
    QVERIFY(design.OpenDesign(QString(BRILLORA_SOURCE_DIR) + "/GEM_DAT/Hexagon6.brl"));
    QVERIFY(none.texts.isEmpty());
  }
  QVERIFY(design.Fixed() == nullptr);
  QCOMPARE(design.State().SymOrder, 6);
  QVERIFY(design.State().stone.get() != fixed);
  QVERIFY(!design.findChild<QLabel*>("FixedStoneLabel")->isVisible());
  for (const char* control : {"Panel3", "TabControl1", "TabControl2", "RxSpinEdit2"}) {
    QVERIFY2(design.findChild<QWidget*>(control)->isVisible(), control);
  }
  QVERIFY(design.Menu().Optimize1->isVisible());
  // Editing works again, with its history.
  design.findChild<QDoubleSpinBox*>("RxSpinEdit2")->setValue(35.0);
  QVERIFY(design.Menu().Undo1->isEnabled());
  QCOMPARE(design.windowTitle(), QString("Hexagon6.brl *"));
}

// The same design in GemCad's binary form, dropped on the design window:
// the same message, the same line and the same stone.
void FixedStoneTest::theBinaryFormOpensAsTheTextDoes() {
  DesignWindow& design = app_->Design();
  OpenLopsided();
  const std::vector<TVertex> fromText = design.State().stone->AllVertices;
  const GemCadReadResult read = ReadGemCadText(kLopsided.toStdString());
  QVERIFY2(read.ok(), read.error.c_str());
  file_ = QDir(folder_.path()).filePath("lopsided.gem");
  Write(file_, QByteArray::fromStdString(testing::GemCadBinaryOf(read.design).bytes));
  OpenLopsided(&design);
  QCOMPARE(design.windowTitle(), QString("lopsided.gem"));
  QCOMPARE(design.findChild<QLabel*>("FixedStoneLabel")->text(), kLine);
  const std::vector<TVertex>& fromBinary = design.State().stone->AllVertices;
  QCOMPARE(fromBinary.size(), fromText.size());
  for (const TVertex& v : fromText) {
    QVERIFY(std::any_of(fromBinary.begin(), fromBinary.end(), [&](const TVertex& w) {
      return std::abs(v.x - w.x) < 1e-9 && std::abs(v.y - w.y) < 1e-9 && std::abs(v.z - w.z) < 1e-9;
    }));
  }
}

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  FixedStoneTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "fixed_stone_test.moc"
