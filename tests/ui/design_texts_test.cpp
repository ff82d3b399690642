#include "design_texts_test.h"

#include <QApplication>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <functional>

#include "model/step_editor.h"
#include "params/parameters_window.h"
#include "ui/design_window.h"
#include "widgets/title_width.h"

using namespace brillora;

namespace {

// Every label of the window that shows has the room its whole text needs in
// the font it is drawn in, tabs included; and the window is wide enough for
// its title bar to show the whole title.
void CheckTextsFit(QWidget& window, const QString& state) {
  QApplication::processEvents();
  for (QLabel* label : window.findChildren<QLabel*>()) {
    if (!label->isVisible()) continue;
    const QString where = state + ": " + label->objectName() + " \"" + label->text() + "\"";
    const QRect needed =
        label->fontMetrics().boundingRect(QRect(), Qt::TextExpandTabs | Qt::TextShowMnemonic, label->text());
    QVERIFY2(label->contentsRect().width() >= needed.width(), qPrintable(where));
    QVERIFY2(label->contentsRect().height() >= label->fontMetrics().height(), qPrintable(where));
  }
  QVERIFY2(window.width() >= TitleBarWidth(window), qPrintable(state + ": title \"" + window.windowTitle() + "\""));
}

// Runs the check at the window's own font, then with 20-pixel text.
void AtBothSizes(QWidget& window, const std::function<void(const QString&)>& check) {
  check("default");
  QFont large = window.font();
  large.setPixelSize(20);
  window.setFont(large);
  QApplication::processEvents();
  check("20 px");
}

}  // namespace

void DesignTextsTest::init() {
  QVERIFY(programFolder_.isValid());
  app_ = std::make_unique<BrilloraApp>(QDir(programFolder_.path()));
  app_->Start({});
}

void DesignTextsTest::cleanup() { app_.reset(); }

void DesignTextsTest::designWindowLabelsAndTitleFit() {
  DesignWindow& design = app_->Design();
  QVERIFY(QTest::qWaitForWindowExposed(&design));
  AtBothSizes(design, [&](const QString& size) {
    // The texts the labels take in use: the girdle's thickness, a position, a
    // tier's slope and distance, each side, and a long file name as the title.
    QVERIFY(design.OpenDesign(QString(BRILLORA_SOURCE_DIR) + "/GEM_DAT/RoundBrilliant.brl"));
    design.findChild<QTabBar*>("TabControl1")->setCurrentIndex(0);
    CheckTextsFit(design, size + ", girdle");
    design.findChild<QTabBar*>("TabControl2")->setCurrentIndex(2);
    design.findChild<QTabBar*>("TabControl3")->setCurrentIndex(1);
    CheckTextsFit(design, size + ", tier 2");
    // A changed design marks the title.
    auto* maxSlope = design.findChild<QDoubleSpinBox*>("RxSpinEdit2");
    maxSlope->setValue(maxSlope->value() + 1);
    QCOMPARE(design.windowTitle(), QString("RoundBrilliant.brl *"));
    CheckTextsFit(design, size + ", changed");
    design.findChild<QToolButton*>("CrownButton")->click();
    design.findChild<QTabBar*>("TabControl2")->setCurrentIndex(1);
    CheckTextsFit(design, size + ", pavilion");
    QVERIFY(design.SaveDesign(programFolder_.filePath("A design with a rather long name of its own.brl")));
    QCOMPARE(design.windowTitle(), QString("A design with a rather long name of its own.brl"));
    CheckTextsFit(design, size + ", long title");
  });
}

void DesignTextsTest::parametersWindowLabelsAndTitleFit() {
  ParametersWindow& window = app_->ParametersView();
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  auto* pages = window.findChild<QTabWidget*>("PageControl1");
  AtBothSizes(window, [&](const QString& size) {
    // An index as a file may hold it, longer than the bar shows.
    app_->Parameters().ApplyLoadedIndex(2.417);
    for (int page = 0; page < pages->count(); ++page) {
      pages->setCurrentIndex(page);
      CheckTextsFit(window, size + ", page " + QString::number(page));
    }
  });
}
