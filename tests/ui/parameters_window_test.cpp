#include "parameters_window_test.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include "model/default_design.h"
#include "model/facet_construction.h"
#include "params/parameters_window.h"
#include "params/stone_parameters.h"
#include "ui/brillora_app.h"
#include "ui/design_window.h"
#include "widgets/nt_track_bar.h"
#include "window_activation.h"

using namespace brillora;

namespace {

// Picks the entry with `text` from the list, as a click in the drop-down does.
void Choose(QComboBox* combo, const QString& text) {
  const int index = combo->findText(text);
  QVERIFY2(index >= 0, qPrintable(text));
  combo->setCurrentIndex(index);
  emit combo->activated(index);
}

QStringList Items(QComboBox* combo) {
  QStringList items;
  for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
  return items;
}

// Replaces the text of the list's edit field in one paste.
void Paste(QComboBox* combo, const QString& text) {
  QApplication::clipboard()->setText(text);
  combo->lineEdit()->setFocus();
  QTest::keyClick(combo->lineEdit(), Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(combo->lineEdit(), Qt::Key_V, Qt::ControlModifier);
}

void ClickPage(QTabWidget* pages, int index) {
  QTest::mouseClick(pages->tabBar(), Qt::LeftButton, {}, pages->tabBar()->tabRect(index).center());
  QCOMPARE(pages->currentIndex(), index);
}

// Every label of the page that shows has room for its whole text, descenders
// included, in the font it is drawn in.
void CheckLabelsFit(QWidget* page) {
  for (QLabel* label : page->findChildren<QLabel*>()) {
    if (!label->isVisible()) continue;
    const QFontMetrics metrics = label->fontMetrics();
    QVERIFY2(label->height() >= metrics.height(), qPrintable(label->objectName()));
    QVERIFY2(label->width() >= metrics.horizontalAdvance(label->text()), qPrintable(label->objectName()));
  }
}

}  // namespace

void ParametersWindowTest::init() {
  params_ = std::make_unique<StoneParameters>();
  Design design = DefaultDesign();
  params_->SetStone(std::make_shared<const Stone>(ConstructStone(design)));
  params_->SetPictureWidth(400);
  window_ = std::make_unique<ParametersWindow>(*params_);
  window_->show();
  QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
}

void ParametersWindowTest::cleanup() {
  window_.reset();
  params_.reset();
}

void ParametersWindowTest::startsWithDiamond() {
  auto* sg = window_->findChild<QComboBox*>("SGBox");
  auto* ri = window_->findChild<QComboBox*>("RIBox");
  QCOMPARE(sg->currentText(), QString("3.52 Diamond"));
  QCOMPARE(ri->currentText(), QString("2.42 Diamond"));
  QCOMPARE(sg->count(), 25);
  QVERIFY(Items(sg).contains("2.67 Skapolite"));
  QVERIFY(Items(sg).contains("3.95 Zircon (low)"));
  QCOMPARE(window_->findChild<TNTrackBar*>("RIBar")->value(), 242);
  QCOMPARE(window_->findChild<TNTrackBar*>("RIBar")->minimum(), 100);
  QCOMPARE(window_->findChild<TNTrackBar*>("RIBar")->maximum(), 300);
  QCOMPARE(window_->findChild<TNTrackBar*>("RIBar")->ThumbLength(), 14);
  QVERIFY(!window_->findChild<QCheckBox*>("CustomCheckBox")->isChecked());
  QVERIFY(window_->findChild<QLabel*>("RILabel")->isHidden());
  QCOMPARE(window_->findChild<QLineEdit*>("Size")->text(), QString("10"));
  QCOMPARE(window_->windowTitle(), QString("  Parameters"));
  for (const auto& [name, text] : {std::pair{"WeightLabel", "Weight ="}, std::pair{"CrownH", "Crown Height ="},
                                   std::pair{"PavilionH", "Pavilion Height ="}, std::pair{"TotalH", "Total Height ="},
                                   std::pair{"Label1", "Refractive Index"}, std::pair{"Label2", "Specific Gravity"},
                                   std::pair{"Label3", "Segment"}, std::pair{"Label4", "[mm]"}}) {
    QCOMPARE(window_->findChild<QLabel*>(name)->text(), QString(text));
  }
  // Showing the window computed the weight: 400 pixels wide, 100-pixel segment.
  QCOMPARE(window_->findChild<QLabel*>("Label5")->text(), QString("(0.250)"));
  QVERIFY(window_->findChild<QLabel*>("WL")->text().toDouble() > 0.0);
  QCOMPARE(window_->findChild<QAction*>("A")->text(), QString("Alfabatical arange"));
  QCOMPARE(window_->findChild<QAction*>("V")->text(), QString("Value arange"));
}

void ParametersWindowTest::corundumSelectsInBothLists() {
  QSignalSpy stale(window_.get(), &ParametersWindow::pictureStale);
  const QString weightBefore = window_->findChild<QLabel*>("WL")->text();
  Choose(window_->findChild<QComboBox*>("SGBox"), "4.00 Corundum");
  QCOMPARE(window_->findChild<QComboBox*>("RIBox")->currentText(), QString("1.77 Corundum"));
  QCOMPARE(window_->findChild<TNTrackBar*>("RIBar")->value(), 177);
  QCOMPARE(params_->RefractiveIndex(), 1.77);
  QVERIFY(stale.count() >= 1);
  // Denser material, same stone: heavier in proportion.
  const double ratio = window_->findChild<QLabel*>("WL")->text().toDouble() / weightBefore.toDouble();
  QVERIFY(std::abs(ratio - 4.00 / 3.52) < 0.01);
}

void ParametersWindowTest::customModeKeepsTheBarIndex() {
  auto* bar = window_->findChild<TNTrackBar*>("RIBar");
  window_->findChild<QTabWidget*>("PageControl1")->setCurrentIndex(1);
  bar->setFocus(Qt::TabFocusReason);  // tabbing into the bar switches to custom mode
  QVERIFY(window_->findChild<QCheckBox*>("CustomCheckBox")->isChecked());
  QVERIFY(window_->findChild<QLabel*>("RILabel")->isVisible());
  bar->setValue(200);
  QCOMPARE(params_->RefractiveIndex(), 2.00);
  QCOMPARE(window_->findChild<QLabel*>("RILabel")->text(), QString("Refractive Index = 2.00"));
  Choose(window_->findChild<QComboBox*>("SGBox"), "4.00 Corundum");
  QCOMPARE(params_->SpecificGravity(), 4.00);
  QCOMPARE(window_->findChild<QComboBox*>("RIBox")->currentText(), QString("1.77 Corundum"));
  QCOMPARE(params_->RefractiveIndex(), 2.00);
  QCOMPARE(bar->value(), 200);
  // The keyboard moves the bar by its page size.
  QTest::keyClick(bar, Qt::Key_PageUp);
  QCOMPARE(bar->value(), 210);
  QCOMPARE(params_->RefractiveIndex(), 2.10);
}

void ParametersWindowTest::listFocusLeavesCustomMode() {
  auto* check = window_->findChild<QCheckBox*>("CustomCheckBox");
  auto* ri = window_->findChild<QComboBox*>("RIBox");
  window_->findChild<QTabWidget*>("PageControl1")->setCurrentIndex(1);
  check->click();
  QVERIFY(check->isChecked());
  QVERIFY(params_->Custom());
  const QColor text = ri->lineEdit()->palette().color(QPalette::Base);
  QCOMPARE(text, window_->palette().color(QPalette::WindowText));
  QTest::mouseClick(ri->lineEdit(), Qt::LeftButton);
  QVERIFY(!check->isChecked());
  QVERIFY(window_->findChild<QLabel*>("RILabel")->isHidden());
  QCOMPARE(ri->lineEdit()->palette().color(QPalette::Base), window_->palette().color(QPalette::Base));
  QCOMPARE(params_->RefractiveIndex(), 2.42);
}

void ParametersWindowTest::sortingOrders() {
  auto* sg = window_->findChild<QComboBox*>("SGBox");
  window_->findChild<QAction*>("A")->trigger();
  const QStringList byName = Items(sg);
  QCOMPARE(byName.mid(0, 3), QStringList({"4.05 Almandine", "1.07 Amber", "3.02 Amblygonite"}));
  QCOMPARE(sg->currentText(), QString("3.52 Diamond"));
  QCOMPARE(window_->findChild<QComboBox*>("RIBox")->itemText(0), QString("1.78 Almandine"));
  window_->findChild<QAction*>("V")->trigger();
  QCOMPARE(Items(sg).mid(0, 2), QStringList({"1.07 Amber", "2.10 Opal"}));
  QCOMPARE(sg->currentText(), QString("3.52 Diamond"));
  QCOMPARE(sg->itemText(sg->currentIndex()), QString("3.52 Diamond"));
}

void ParametersWindowTest::typedTextThatIsNoNumberRecomputesNothing() {
  auto* sg = window_->findChild<QComboBox*>("SGBox");
  auto* wl = window_->findChild<QLabel*>("WL");
  // Move the segment without recomputing: a recomputation would now change the labels.
  params_->SetSegmentEnd({220, 20});
  const QString weight = wl->text();
  const QString ratio = window_->findChild<QLabel*>("Label5")->text();
  Paste(sg, "3.5x");
  QCOMPARE(sg->currentText(), QString("3.5x"));
  QCOMPARE(wl->text(), weight);
  QCOMPARE(window_->findChild<QLabel*>("Label5")->text(), ratio);
  QCOMPARE(params_->SpecificGravity(), 3.52);
  // A bare number is a value of its own and recomputes.
  Paste(sg, "3.00");
  QCOMPARE(params_->SpecificGravity(), 3.00);
  QVERIFY(wl->text() != weight);
  QCOMPARE(window_->findChild<QComboBox*>("RIBox")->currentText(), QString("2.42 Diamond"));
}

void ParametersWindowTest::sizeEdit() {
  auto* size = window_->findChild<QLineEdit*>("Size");
  auto* ch = window_->findChild<QLabel*>("CH");
  const double crown = ch->text().toDouble();
  size->selectAll();
  QTest::keyClicks(size, "20");
  QCOMPARE(params_->Size(), 20.0);
  QVERIFY(std::abs(ch->text().toDouble() - 2 * crown) <= 0.011);
  const QString doubled = ch->text();
  QTest::keyClicks(size, "x");  // "20x": kept out, labels stay
  QCOMPARE(ch->text(), doubled);
  QCOMPARE(params_->Size(), 20.0);
}

void ParametersWindowTest::loadedIndex() {
  auto* bar = window_->findChild<TNTrackBar*>("RIBar");
  auto* label = window_->findChild<QLabel*>("RILabel");
  QSignalSpy stale(window_.get(), &ParametersWindow::pictureStale);
  // The file's index is the one in use, shown as it is; the bar comes as near as it goes.
  params_->ApplyLoadedIndex(1.654);
  QVERIFY(window_->findChild<QCheckBox*>("CustomCheckBox")->isChecked());
  QCOMPARE(bar->value(), 165);
  QCOMPARE(params_->RefractiveIndex(), 1.654);
  QCOMPARE(label->text(), QString("Refractive Index = 1.654"));
  QVERIFY(!label->isHidden());
  QCOMPARE(stale.count(), 1);  // traced again with the new index
  params_->ApplyLoadedIndex(4.5);
  QCOMPARE(bar->value(), 300);
  QCOMPARE(params_->RefractiveIndex(), 4.5);
  QCOMPARE(label->text(), QString("Refractive Index = 4.50"));
  // Moving the bar is the user's change: the index follows the bar from then on.
  bar->setValue(299);
  QCOMPARE(params_->RefractiveIndex(), 2.99);
  QCOMPARE(label->text(), QString("Refractive Index = 2.99"));
}

void ParametersWindowTest::focusComingBackKeepsTheLoadedIndex() {
  window_->hide();
  QTemporaryDir folder;
  QVERIFY(folder.isValid());
  BrilloraApp app{QDir(folder.path())};
  app.Start({});
  ParametersWindow& window = app.ParametersView();
  StoneParameters& params = app.Parameters();
  auto* pages = window.findChild<QTabWidget*>("PageControl1");
  auto* ri = window.findChild<QComboBox*>("RIBox");
  auto* check = window.findChild<QCheckBox*>("CustomCheckBox");
  app.Design().Menu().Weight1->trigger();
  Reactivate(window);
  // The user works on the first page with another material, then opens a design.
  Choose(window.findChild<QComboBox*>("SGBox"), "4.00 Corundum");
  QTest::mouseClick(window.findChild<QComboBox*>("SGBox")->lineEdit(), Qt::LeftButton);
  QCOMPARE(params.RefractiveIndex(), 1.77);
  QVERIFY(app.Design().OpenDesign(QString(BRILLORA_SOURCE_DIR) + "/GEM_DAT/RoundBrilliant.brl"));
  QVERIFY(check->isChecked());
  QCOMPARE(params.RefractiveIndex(), 2.42);
  app.Design().Menu().Weight1->trigger();
  Reactivate(window);

  // Showing the page moves the focus into the list; that is not the user entering it.
  ClickPage(pages, 1);
  QVERIFY(ri->hasFocus());
  ClickPage(pages, 0);
  ClickPage(pages, 1);
  QVERIFY(ri->hasFocus());
  QVERIFY(check->isChecked());
  QCOMPARE(params.RefractiveIndex(), 2.42);
  QCOMPARE(window.findChild<QLabel*>("RILabel")->text(), QString("Refractive Index = 2.42"));

  // Deactivated and activated again: the focus comes back to the list.
  Reactivate(window);
  QVERIFY(ri->hasFocus());
  // A popup closing hands the focus back too.
  auto* popup = window.findChild<QMenu*>("PopupMenu1");
  popup->popup(ri->mapToGlobal(QPoint(5, 5)));
  QTRY_VERIFY(popup->isVisible());
  popup->close();
  QTRY_VERIFY(ri->hasFocus());
  QVERIFY(check->isChecked());
  QCOMPARE(params.RefractiveIndex(), 2.42);

  // The user clicking into the list does enter it: the index follows the material again.
  QTest::mouseClick(window.findChild<QComboBox*>("SGBox")->lineEdit(), Qt::LeftButton);
  ClickPage(pages, 1);
  QTest::mouseClick(ri->lineEdit(), Qt::LeftButton);
  QVERIFY(!check->isChecked());
  QCOMPARE(params.RefractiveIndex(), 1.77);
}

void ParametersWindowTest::tabbingMovesBetweenListAndBar() {
  auto* ri = window_->findChild<QComboBox*>("RIBox");
  auto* bar = window_->findChild<TNTrackBar*>("RIBar");
  auto* check = window_->findChild<QCheckBox*>("CustomCheckBox");
  window_->findChild<QTabWidget*>("PageControl1")->setCurrentIndex(1);
  QVERIFY(QTest::qWaitForWindowActive(window_.get()));
  QTest::mouseClick(ri->lineEdit(), Qt::LeftButton);
  QVERIFY(!check->isChecked());
  QTest::keyClick(ri, Qt::Key_Tab);
  QVERIFY(bar->hasFocus());
  QVERIFY(check->isChecked());
  QTest::keyClick(bar, Qt::Key_Backtab);
  QVERIFY(ri->hasFocus());
  QVERIFY(!check->isChecked());
}

void ParametersWindowTest::labelsShowTheirWholeText() {
  auto* pages = window_->findChild<QTabWidget*>("PageControl1");
  QVERIFY(!window_->findChild<QLabel*>("WL")->text().isEmpty());
  params_->ApplyLoadedIndex(2.42);  // shows the index label too
  for (const int pixels : {0, 20}) {
    if (pixels > 0) {
      QFont font = window_->font();
      font.setPixelSize(pixels);
      window_->setFont(font);
    }
    for (int page = 0; page < pages->count(); ++page) {
      pages->setCurrentIndex(page);
      QApplication::processEvents();
      CheckLabelsFit(pages->widget(page));
    }
  }
}
