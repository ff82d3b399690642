// Undo and redo from the keyboard in every window, the caption mark of a
// changed design and the question when the program closes with it, driven
// as a user would on the offscreen platform.

#include <QAction>
#include <QApplication>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFileDialog>
#include <QTabBar>
#include <QDropEvent>
#include <QMessageBox>
#include <QMimeData>
#include <QUrl>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "io/design_file.h"
#include "modal_answers.h"
#include "io/gemcad_file.h"
#include "ui/design_exports.h"
#include "params/parameters_window.h"
#include "ui/brillora_app.h"
#include "ui/design_window.h"
#include "widgets/nt_track_bar.h"
#include "view/picture_window.h"

using namespace brillora;

namespace {

void ActivateAndPress(QWidget& window, QKeyCombination keys) {
  window.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&window));
  QTest::keyClick(&window, keys.key(), keys.keyboardModifiers());
}

}  // namespace

class DesignHistoryTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    QVERIFY(folder_.isValid());
    app_ = std::make_unique<BrilloraApp>(QDir(folder_.path()));
    app_->Start({});
  }
  void cleanup() { app_.reset(); }

  void keysUndoAndRedoInEveryWindow() {
    DesignWindow& design = app_->Design();
    auto* maxSlope = design.findChild<QDoubleSpinBox*>("RxSpinEdit2");
    QVERIFY(maxSlope != nullptr);
    QCOMPARE(maxSlope->value(), 40.0);
    QVERIFY(!design.Menu().Undo1->isEnabled());
    maxSlope->setValue(35.0);
    QCOMPARE(design.windowTitle(), QString("  Brillora. *"));
    QVERIFY(design.Menu().Undo1->isEnabled());

    ActivateAndPress(app_->Picture(), Qt::CTRL | Qt::Key_Z);
    QCOMPARE(maxSlope->value(), 40.0);
    QCOMPARE(design.windowTitle(), QString("  Brillora."));
    QVERIFY(!design.Menu().Undo1->isEnabled());

    ActivateAndPress(design, Qt::CTRL | Qt::Key_Y);
    QCOMPARE(maxSlope->value(), 35.0);
    ActivateAndPress(design, Qt::CTRL | Qt::Key_Z);
    QCOMPARE(maxSlope->value(), 40.0);

    app_->ParametersView().show();
    ActivateAndPress(app_->ParametersView(), Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
    QCOMPARE(maxSlope->value(), 35.0);

    // In the number field the keys undo the design, not the field's text.
    design.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&design));
    maxSlope->setFocus();
    QTest::keyClick(maxSlope, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(maxSlope->value(), 40.0);
  }

  void aDragFromPressToReleaseIsOneStep() {
    DesignWindow& design = app_->Design();
    auto* bar = design.findChild<TNTrackBar*>("TrackAngle2");
    QVERIFY(bar != nullptr);
    const int start = bar->value();
    bar->setSliderDown(true);
    for (int v : {410, 420, 430, 440}) bar->setValue(v);
    bar->setSliderDown(false);
    QCOMPARE(design.State().CrownSteps[2].Angle, 44.0);
    design.Menu().Undo1->trigger();
    QCOMPARE(bar->value(), start);
    QCOMPARE(design.State().CrownSteps[2].Angle, 40.0);
    QVERIFY(!design.Menu().Undo1->isEnabled());
  }

  // Typing rebuilds the stone at every key; the history keeps one step per
  // number entered, with Enter, the focus leaving or an arrow.
  void aTypedNumberIsOneStep() {
    DesignWindow& design = app_->Design();
    design.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&design));
    auto* maxSlope = design.findChild<QDoubleSpinBox*>("RxSpinEdit2");
    maxSlope->setFocus();
    QTest::keyClick(maxSlope, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(maxSlope, Qt::Key_4);
    QCOMPARE(design.State().CrownSteps[2].Angle, 4.0);  // the stone follows the typing
    QTest::keyClick(maxSlope, Qt::Key_5);
    QCOMPARE(design.State().CrownSteps[2].Angle, 45.0);
    QTest::keyClick(maxSlope, Qt::Key_Return);
    design.Menu().Undo1->trigger();
    QCOMPARE(design.State().CrownSteps[2].Angle, 40.0);
    QCOMPARE(maxSlope->value(), 40.0);
    QVERIFY(!design.Menu().Undo1->isEnabled());
    design.Menu().Redo1->trigger();
    QCOMPARE(design.State().CrownSteps[2].Angle, 45.0);

    // A tier's slope typed and left with Tab: one step; an arrow after it: one more.
    design.Steps().NewStep->trigger();
    auto* slope = design.findChild<QDoubleSpinBox*>("RxSpinEdit1");
    const int k = 3;
    slope->setFocus(Qt::MouseFocusReason);  // entering the field turns Auto off
    const double before = design.State().CrownSteps[k].Angle;
    QVERIFY(before != 30.0);
    QTest::keyClick(slope, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(slope, "30");
    QTest::keyClick(slope, Qt::Key_Tab);
    QCOMPARE(design.State().CrownSteps[k].Angle, 30.0);
    slope->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(slope, Qt::Key_Up);
    QCOMPARE(design.State().CrownSteps[k].Angle, 30.01);
    design.Menu().Undo1->trigger();
    QCOMPARE(design.State().CrownSteps[k].Angle, 30.0);
    design.Menu().Undo1->trigger();
    QCOMPARE(design.State().CrownSteps[k].Angle, before);
    QVERIFY(!design.State().CrownSteps[k].Auto);

    // Undo while a number is still being typed takes back the whole number.
    maxSlope->setFocus();
    QTest::keyClick(maxSlope, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(maxSlope, "38");
    QCOMPARE(design.State().CrownSteps[2].Angle, 38.0);
    QTest::keyClick(maxSlope, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(design.State().CrownSteps[2].Angle, 45.0);
  }

  // A side of 500 steps, the most a design file holds: New Step and the New
  // tab say so and add nothing, so nothing unreadable can be saved.
  void aFullSideAddsNoStepAndSaysWhy() {
    QByteArray crown = "1\t89.00\t0\t0\t0.70\t1\r\n";
    for (int k = 2; k <= 500; ++k) crown += QByteArray::number(k) + "\t" + QByteArray::number(50 - k / 20) + ".00\t0\t0\t0.95\t0\r\n";
    const QString path = QDir(folder_.path()).filePath("full.brl");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("8 Order of Symmetry\r\n500 Steps of Crown\r\nh\r\n" + crown +
               "1 Steps of Pavilion\r\nh\r\n1\t41.00\t0\t0\t0.20\t0\r\n2.42 Refractive Index\r\n");
    file.close();
    DesignWindow& design = app_->Design();
    QVERIFY(design.OpenDesign(path));
    const std::size_t steps = design.State().CrownSteps.size();
    auto* tabs = design.findChild<QTabBar*>("TabControl2");
    QVERIFY(tabs != nullptr);
    const std::vector<std::function<void()>> adds = {[&] { design.Steps().NewStep->trigger(); },
                                                     [&] { tabs->setCurrentIndex(tabs->count() - 1); }};
    for (const auto& add : adds) {
      ModalAnswers answers({Press(QMessageBox::Ok)});
      add();
      QVERIFY(answers.AllGiven());
      QCOMPARE(answers.texts, QStringList({"A side has at most 500 steps"}));
      QCOMPARE(design.State().CrownSteps.size(), steps);
      QVERIFY(!design.Menu().Undo1->isEnabled());
    }
    QVERIFY(tabs->currentIndex() != tabs->count() - 1);  // the tab shown is the editor's
  }

  void closingAChangedDesignAsks() {
    DesignWindow& design = app_->Design();
    PictureWindow& picture = app_->Picture();
    design.findChild<QDoubleSpinBox*>("RxSpinEdit2")->setValue(35.0);
    {
      ModalAnswers answers({Press(QMessageBox::Cancel)});
      QVERIFY(!picture.close());
      QCOMPARE(answers.texts, QStringList({"Save changes to the design?"}));
      QVERIFY(picture.isVisible());
      QVERIFY(design.isVisible());
    }
    {
      // Save, then the dialog is cancelled: the program stays open.
      ModalAnswers answers({Press(QMessageBox::Save), CancelDialog()});
      QVERIFY(!design.close());
      QCOMPARE(answers.texts, QStringList({"Save changes to the design?"}));
      QVERIFY(design.isVisible());
    }
    {
      // Save to a file: written, and the program ends.
      const QString file = QDir(folder_.path()).filePath("kept.brl");
      design.SaveDialog().setDirectory(folder_.path());
      design.SaveDialog().selectFile("kept");
      ModalAnswers answers(
          {Press(QMessageBox::Save), InFileDialog([](QFileDialog& dialog) { static_cast<QDialog&>(dialog).accept(); })});
      QVERIFY(design.close());
      QVERIFY(QFileInfo::exists(file));
      QVERIFY(OpenDesignFile(file.toStdString()).ok());
      QVERIFY(!picture.isVisible());
      QVERIFY(!design.isVisible());
    }
  }

  void exportsWriteTheDesignAndTheModel() {
    DesignWindow& design = app_->Design();
    QCOMPARE(design.Menu().ExportGemCad1->text(), QString("Export GemCad Design"));
    QCOMPARE(design.Menu().Export3D1->text(), QString("Export 3D Model"));
    QVERIFY(design.OpenDesign(QString(BRILLORA_SOURCE_DIR) + "/GEM_DAT/RoundBrilliant.brl"));
    const QDir folder(folder_.path());
    QVERIFY(ExportGemCadDesign(&design, design.State().AsDesign(), 2.42, "RoundBrilliant", folder.filePath("rb.asc")));
    QVERIFY(Export3DModel(&design, design.State(), folder.filePath("rb.stl")));
    QVERIFY(QFileInfo(folder.filePath("rb.stl")).size() > 84);
    const GemCadReadResult read = ReadGemCadFile(folder.filePath("rb.asc").toStdString());
    QVERIFY2(read.ok(), read.error.c_str());
    QCOMPARE(read.design.headings.front(), std::string("RoundBrilliant"));
    // A failed write is reported and writes nothing.
    ModalAnswers answers({Press(QMessageBox::Ok)});
    QVERIFY(!Export3DModel(&design, design.State(), "/nonexistent-folder/x.stl"));
    QCOMPARE(answers.texts.size(), 1);
  }

  void aFittingGemCadDesignOpensForEditingAndAnotherKeepsTheDesign() {
    DesignWindow& design = app_->Design();
    const QDir folder(folder_.path());
    QVERIFY(design.OpenDesign(QString(BRILLORA_SOURCE_DIR) + "/GEM_DAT/Hexagon6.brl"));
    const Design hexagon = design.State().AsDesign();
    QVERIFY(ExportGemCadDesign(&design, hexagon, 1.54, "Hexagon6", folder.filePath("hex.asc")));
    QVERIFY(design.OpenDesign(QString(BRILLORA_SOURCE_DIR) + "/GEM_DAT/Default.brl"));
    // Dropped on the picture window.
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(folder.filePath("hex.asc"))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&app_->Picture(), &enter);
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&app_->Picture(), &drop);
    QCOMPARE(design.windowTitle(), QString("hex.asc"));
    QCOMPARE(design.State().SymOrder, 6);
    QCOMPARE(design.State().CrownSteps.size(), hexagon.CrownSteps.size());
    QVERIFY2(!design.Menu().Undo1->isEnabled(), "opening starts a new history");

    // The usual GemCad girdle stands at 90 degrees: it opens as tiers, and
    // the girdle stays at 90 though the slope controls stop at 89.
    QFile square(folder.filePath("square.asc"));
    QVERIFY(square.open(QIODevice::WriteOnly));
    square.write("GemCad 5.0\ng 96 0\ny 4 y\na -45 0.70710678 0 24 48 72\na 90 1 0 24 48 72\n"
                 "a 45 1.06066017 0 24 48 72\na 0 1 0\n");
    square.close();
    QVERIFY(design.OpenDesign(square.fileName()));
    QCOMPARE(design.windowTitle(), QString("square.asc"));
    QCOMPARE(design.State().SymOrder, 4);
    QCOMPARE(design.State().CrownSteps[1].Angle, 90.0);
    QVERIFY(design.State().stone && !design.State().stone->AllFacets.empty());
    // Looking at the crown tier and back at the girdle, whose thickness is
    // beyond the position bar's end, edits nothing.
    const std::vector<TVertex> opened = design.State().stone->AllVertices;
    auto* crownTabs = design.findChild<QTabBar*>("TabControl2");
    QVERIFY(crownTabs);
    for (const int tab : {1, 0}) {
      QTest::mouseClick(crownTabs, Qt::LeftButton, {}, crownTabs->tabRect(tab).center());
      QCOMPARE(crownTabs->currentIndex(), tab);
    }
    QCOMPARE(design.State().CrownSteps[1].Angle, 90.0);
    QVERIFY(design.State().stone->AllVertices == opened);
    QCOMPARE(design.windowTitle(), QString("square.asc"));

    // Facets open to the top enclose no stone, not even a fixed one: the
    // message says so and the design stays.
    QFile odd(folder.filePath("odd.asc"));
    QVERIFY(odd.open(QIODevice::WriteOnly));
    odd.write("GemCad 5.0\ng 96 0\ny 4 y\na -45 0.70710678 0 24 48 72\na 90 1 0 24 48 72\n");
    odd.close();
    ModalAnswers answers({Press(QMessageBox::Ok)});
    QVERIFY(!design.OpenDesign(odd.fileName()));
    QCOMPARE(answers.texts.size(), 1);
    QVERIFY2(answers.texts.front().contains("enclose no stone"), qPrintable(answers.texts.front()));
    QCOMPARE(design.State().SymOrder, 4);
    QCOMPARE(design.windowTitle(), QString("square.asc"));
  }

  void discardEndsTheRunAndSavingClearsTheMark() {
    DesignWindow& design = app_->Design();
    design.findChild<QDoubleSpinBox*>("RxSpinEdit2")->setValue(35.0);
    const QString file = QDir(folder_.path()).filePath("saved.brl");
    QVERIFY(design.SaveDesign(file));
    QCOMPARE(design.windowTitle(), QString("saved.brl"));
    design.findChild<QDoubleSpinBox*>("RxSpinEdit2")->setValue(36.0);
    QCOMPARE(design.windowTitle(), QString("saved.brl *"));
    {
      // Opening over the change asks first; Discard lets the file replace it.
      ModalAnswers answers({Press(QMessageBox::Discard)});
      QVERIFY(design.OpenDesign(file));
      QCOMPARE(answers.texts, QStringList({"Save changes to the design?"}));
    }
    QCOMPARE(design.windowTitle(), QString("saved.brl"));
    QCOMPARE(design.State().CrownSteps[2].Angle, 35.0);
    QVERIFY2(!design.Menu().Undo1->isEnabled(), "opening starts a new history");
    design.findChild<QDoubleSpinBox*>("RxSpinEdit2")->setValue(37.0);
    QCOMPARE(design.windowTitle(), QString("saved.brl *"));
    ModalAnswers answers({Press(QMessageBox::Discard)});
    QVERIFY(app_->Picture().close());
    QCOMPARE(answers.texts, QStringList({"Save changes to the design?"}));
    QVERIFY(!design.isVisible());
  }

 private:
  QTemporaryDir folder_;
  std::unique_ptr<BrilloraApp> app_;
};

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  DesignHistoryTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "design_history_test.moc"
