// The Optimize window in the program, driven as a user would on the
// offscreen platform: a search of the opened design, Apply as one edit that
// undo takes back exactly, and an edit of the design that cancels a search.
#include <QAction>
#include <QApplication>
#include <QDoubleSpinBox>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "io/design_file.h"
#include "optimize/optimize_window.h"
#include "ui/brillora_app.h"
#include "ui/design_menu.h"
#include "ui/design_window.h"

using namespace brillora;

namespace {

// Every number of the design as it is held, and its file's text.
void CompareExactly(const Design& a, const Design& b) {
  QCOMPARE(a.SymOrder, b.SymOrder);
  QCOMPARE(a.GearNotches, b.GearNotches);
  for (const auto& [x, y] : {std::pair{&a.CrownSteps, &b.CrownSteps}, std::pair{&a.PavilionSteps, &b.PavilionSteps}}) {
    QCOMPARE(x->size(), y->size());
    for (std::size_t k = 0; k < x->size(); ++k) {
      QCOMPARE((*x)[k].Shift, (*y)[k].Shift);
      QCOMPARE((*x)[k].Split, (*y)[k].Split);
      QCOMPARE((*x)[k].Auto, (*y)[k].Auto);
      const QByteArray at = QByteArray::number(static_cast<qulonglong>(k)) + " of " + QByteArray::number(x->size());
      QVERIFY2((*x)[k].Angle == (*y)[k].Angle,
               at + ": " + QByteArray::number((*x)[k].Angle, 'g', 17) + " " + QByteArray::number((*y)[k].Angle, 'g', 17));
      QVERIFY2((*x)[k].Posit == (*y)[k].Posit, at);
    }
  }
  QCOMPARE(DesignFileText(a, 2.42, "", ""), DesignFileText(b, 2.42, "", ""));
}

}  // namespace

class OptimizeWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    QVERIFY(folder_.isValid());
    app_ = std::make_unique<BrilloraApp>(QDir(folder_.path()));
    app_->Start({QString(BRILLORA_SOURCE_DIR) + "/GEM_DAT/RoundBrilliant.brl"});
  }
  void cleanup() { app_.reset(); }

  void theItemFollowsLightPerformanceUnderView() {
    const DesignMenu& menu = app_->Design().Menu();
    QCOMPARE(menu.Optimize1->text(), QString("Optimize"));
    auto* view = qobject_cast<QMenu*>(menu.LightPerformance1->parent());
    QVERIFY(view != nullptr);
    QCOMPARE(view->title(), QString("View"));
    const QList<QAction*> items = view->actions();
    const qsizetype at = items.indexOf(menu.LightPerformance1);
    QVERIFY(at >= 0);
    QCOMPARE(items.value(at + 1), menu.Optimize1);
    menu.Optimize1->trigger();
    QVERIFY(app_->Optimizer().isVisible());
  }

  void applyIsOneEditThatUndoTakesBackExactly() {
    DesignWindow& design = app_->Design();
    OptimizeWindow& window = app_->Optimizer();
    design.Menu().Optimize1->trigger();
    const Design start = design.State().AsDesign();
    window.findChild<QDoubleSpinBox*>("TiltSpin")->setValue(0);
    window.findChild<QSpinBox*>("EvaluationsSpin")->setValue(24);
    auto* apply = window.findChild<QPushButton*>("ApplyButton");
    QVERIFY(!apply->isEnabled());

    QSignalSpy shown(&window, &OptimizeWindow::resultShown);
    QTest::mouseClick(window.findChild<QPushButton*>("StartButton"), Qt::LeftButton);
    QVERIFY(window.Running());
    QVERIFY(shown.wait(120000));
    QVERIFY(!window.Running());
    QVERIFY(window.Result().has_value());
    QVERIFY(window.Result()->improved);
    QVERIFY(window.findChild<QTableWidget*>("ResultTable")->rowCount() > 0);
    // Nothing enters the design until asked.
    CompareExactly(design.State().AsDesign(), start);

    QVERIFY(apply->isEnabled());
    QTest::mouseClick(apply, Qt::LeftButton);
    const Design applied = design.State().AsDesign();
    CompareExactly(applied, window.Result().has_value() ? window.Result()->result.design : applied);
    QVERIFY(applied.PavilionSteps[1].Angle != start.PavilionSteps[1].Angle ||
            applied.CrownSteps[2].Angle != start.CrownSteps[2].Angle);

    QVERIFY(design.Menu().Undo1->isEnabled());
    design.Menu().Undo1->trigger();
    CompareExactly(design.State().AsDesign(), start);
    QVERIFY(!design.Menu().Undo1->isEnabled());
    design.Menu().Redo1->trigger();
    CompareExactly(design.State().AsDesign(), applied);
  }

  void anEditOfTheDesignCancelsTheSearch() {
    DesignWindow& design = app_->Design();
    OptimizeWindow& window = app_->Optimizer();
    design.Menu().Optimize1->trigger();
    window.findChild<QSpinBox*>("EvaluationsSpin")->setValue(100000);
    QTest::mouseClick(window.findChild<QPushButton*>("StartButton"), Qt::LeftButton);
    QVERIFY(window.Running());
    auto* maxSlope = design.findChild<QDoubleSpinBox*>("RxSpinEdit2");
    QVERIFY(maxSlope != nullptr);
    maxSlope->setValue(maxSlope->value() - 1);
    QVERIFY(!window.Running());
    QVERIFY(!window.Result().has_value());
    QVERIFY(!window.findChild<QPushButton*>("ApplyButton")->isEnabled());
  }

 private:
  QTemporaryDir folder_;
  std::unique_ptr<BrilloraApp> app_;
};

QTEST_MAIN(OptimizeWindowTest)
#include "optimize_window_test.moc"
