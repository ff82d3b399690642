#include "design_controls_test.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionSpinBox>
#include <QTabBar>
#include <QTest>
#include <QToolButton>

#include "model/editor_controls.h"
#include "model/step_editor.h"
#include "model/selected_step.h"
#include "ui/design_window.h"
#include "widgets/nt_track_bar.h"
#include "view/picture_window.h"
#include "window_activation.h"

using namespace brillora;

namespace {

QStringList Tabs(const QTabBar* tabs) {
  QStringList texts;
  for (int i = 0; i < tabs->count(); ++i) texts << tabs->tabText(i);
  return texts;
}

void ClickTab(QTabBar* tabs, int index) {
  QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(index).center());
}

void Choose(QComboBox* combo, const QString& text) {
  const int index = combo->findText(text);
  QVERIFY2(index >= 0, qPrintable(text));
  combo->setCurrentIndex(index);
  emit combo->activated(index);
}

}  // namespace

void DesignControlsTest::init() {
  QVERIFY(programFolder_.isValid());
  app_ = std::make_unique<BrilloraApp>(QDir(programFolder_.path()));
  app_->Start({});
  QVERIFY(QTest::qWaitForWindowExposed(&app_->Design()));
}

void DesignControlsTest::cleanup() { app_.reset(); }

void DesignControlsTest::defaultDesignShowsInTheControls() {
  DesignWindow& w = app_->Design();
  QCOMPARE(w.findChild<QComboBox*>("SymBox")->currentText(), QString("8"));
  QCOMPARE(w.findChild<QLabel*>("Label5")->text(), QString("96-notch Gear"));
  QCOMPARE(w.findChild<QDoubleSpinBox*>("RxSpinEdit2")->value(), 40.0);
  QCOMPARE(w.findChild<TNTrackBar*>("TrackAngle2")->value(), 400);
  QCOMPARE(Tabs(w.findChild<QTabBar*>("TabControl2")), QStringList({"Girdle", "1", "New"}));
  QCOMPARE(Tabs(w.findChild<QTabBar*>("TabControl3")), QStringList({"Girdle", "1", "Table"}));
  QCOMPARE(w.findChild<QTabBar*>("TabControl2")->currentIndex(), 0);
  QCOMPARE(w.findChild<QLabel*>("Label6")->text(), QString("Girdle thickness = 0.070"));
  QCOMPARE(w.findChild<TNTrackBar*>("PositBar")->value(), 70);
  QCOMPARE(w.findChild<QTabBar*>("TabControl1")->currentIndex(), 0);
  QCOMPARE(w.findChild<QTabBar*>("TabControl1")->tabTextColor(0), QColor(200, 0, 0));
  // On the girdle tab the slope controls show, Auto does not.
  QVERIFY(w.findChild<TNTrackBar*>("TrackAngle1")->isVisible());
  QVERIFY(!w.findChild<QCheckBox*>("CheckBox")->isVisible());
  QVERIFY(!w.State().stone->AllFacets.empty());
}

void DesignControlsTest::symmetryChangesGearAndRebuildsOnce() {
  DesignWindow& w = app_->Design();
  QSignalSpy rebuilt(&w, &DesignWindow::stoneRebuilt);
  const auto facetsBefore = w.State().stone->AllFacets.size();
  Choose(w.findChild<QComboBox*>("SymBox"), "5");
  QCOMPARE(rebuilt.count(), 1);
  QCOMPARE(w.State().SymOrder, 5);
  QCOMPARE(w.findChild<QLabel*>("Label5")->text(), QString("80-notch Gear"));
  QVERIFY(w.State().stone->AllFacets.size() < facetsBefore);
  QVERIFY(app_->Picture().Rebuild());
  Choose(w.findChild<QComboBox*>("SymBox"), "16");
  QCOMPARE(rebuilt.count(), 2);
  QCOMPARE(w.findChild<QLabel*>("Label5")->text(), QString("96-notch Gear"));
  // h = 96 / 16 / 2 = 3: splits 0 .. 2.
  QCOMPARE(w.findChild<QComboBox*>("SplitBox")->count(), 3);
}

void DesignControlsTest::girdleThicknessBar() {
  DesignWindow& w = app_->Design();
  QSignalSpy rebuilt(&w, &DesignWindow::stoneRebuilt);
  auto* bar = w.findChild<TNTrackBar*>("PositBar");
  bar->setFocus();
  QTest::keyClick(bar, Qt::Key_PageUp);
  QCOMPARE(bar->value(), 80);
  QCOMPARE(w.findChild<QLabel*>("Label6")->text(), QString("Girdle thickness = 0.080"));
  QCOMPARE(rebuilt.count(), 1);
  // The stored position is the thickness over the girdle tier's slope.
  const TStep& girdle = w.State().CrownSteps[1];
  QVERIFY(std::abs((1.0 - girdle.Posit) * std::tan(girdle.Angle * M_PI / 180.0) - 0.080) < 1e-9);
}

void DesignControlsTest::slopeSpinEndsAuto() {
  DesignWindow& w = app_->Design();
  // Add a tier above the main one: a copied tier with Auto on.
  ClickTab(w.findChild<QTabBar*>("TabControl2"), 2);
  QCOMPARE(Tabs(w.findChild<QTabBar*>("TabControl2")), QStringList({"Girdle", "1", "2", "New"}));
  auto* check = w.findChild<QCheckBox*>("CheckBox");
  QVERIFY(check->isVisible());
  QVERIFY(check->isChecked());
  QSignalSpy rebuilt(&w, &DesignWindow::stoneRebuilt);
  auto* spin = w.findChild<QDoubleSpinBox*>("RxSpinEdit1");
  spin->setFocus();  // typing a slope turns automatic meeting off
  QVERIFY(!check->isChecked());
  const double before = spin->value();
  QTest::keyClick(spin, Qt::Key_Up);
  QCOMPARE(spin->value(), before + 0.01);
  const int k = w.findChild<QTabBar*>("TabControl2")->currentIndex() + 1;
  QCOMPARE(w.State().CrownSteps[k].Angle, spin->value());
  QVERIFY(!w.State().CrownSteps[k].Auto);
  QCOMPARE(w.findChild<TNTrackBar*>("TrackAngle1")->value(), static_cast<int>(std::lround(spin->value() * 10)));
  QVERIFY(rebuilt.count() >= 1);
}

void DesignControlsTest::newStepTabAndStepMenu() {
  DesignWindow& w = app_->Design();
  auto* tabs = w.findChild<QTabBar*>("TabControl2");
  w.Steps().NewStep->trigger();
  QCOMPARE(Tabs(tabs), QStringList({"Girdle", "1", "2", "New"}));
  w.Steps().NewStep->trigger();
  QCOMPARE(Tabs(tabs), QStringList({"Girdle", "1", "2", "3", "New"}));
  ClickTab(tabs, 1);
  QCOMPARE(tabs->currentIndex(), 1);
  w.Steps().Clearnext->trigger();
  QCOMPARE(Tabs(tabs), QStringList({"Girdle", "1", "New"}));
  QCOMPARE(Tabs(w.findChild<QTabBar*>("TabControl3")), QStringList({"Girdle", "1", "Table"}));
}

void DesignControlsTest::sideSwitchTurnsTheStone() {
  DesignWindow& w = app_->Design();
  PictureWindow& picture = app_->Picture();
  QVERIFY(picture.ShowsCrown());
  w.findChild<QToolButton*>("CrownButton")->click();
  QVERIFY(!w.State().IsCrown);
  QCOMPARE(w.findChild<QTabBar*>("TabControl1")->currentIndex(), 1);
  QCOMPARE(w.findChild<QTabBar*>("TabControl1")->tabTextColor(0), QColor(0, 0, 200));
  QCOMPARE(Tabs(w.findChild<QTabBar*>("TabControl2")), QStringList({"1", "New"}));
  QCOMPARE(Tabs(w.findChild<QTabBar*>("TabControl3")), QStringList({"1", "Culet"}));
  QVERIFY(!picture.ShowsCrown());
  QVERIFY(QTest::qWaitForWindowExposed(&picture));
  picture.repaint();
  QCOMPARE(picture.CaptionText(), QString("  Pavilion"));
  // The side tab switches without turning the stone.
  ClickTab(w.findChild<QTabBar*>("TabControl1"), 0);
  QVERIFY(w.State().IsCrown);
  QVERIFY(!picture.ShowsCrown());
}

void DesignControlsTest::pictureSelectionSwitchesSideWithoutTurning() {
  DesignWindow& w = app_->Design();
  w.findChild<QToolButton*>("CrownButton")->click();
  QVERIFY(!w.State().IsCrown);
  const bool crownShown = app_->Picture().ShowsCrown();
  // The crown's main tier (its step tab 1) in construction order.
  DesignState crownSide = w.State();
  crownSide.IsCrown = true;
  const int mainTier = SelectedStep(crownSide, 1);
  QVERIFY(StepIsOnCrown(w.State(), mainTier));
  w.SelectFacetStep(mainTier);
  QVERIFY(w.State().IsCrown);
  QCOMPARE(app_->Picture().ShowsCrown(), crownShown);
  QCOMPARE(w.findChild<QTabBar*>("TabControl2")->currentIndex(), 1);
  QCOMPARE(w.findChild<QTabBar*>("TabControl1")->currentIndex(), 0);
}

void DesignControlsTest::openedDesignShowsInTheControls() {
  DesignWindow& w = app_->Design();
  QVERIFY(w.OpenDesign(QString(BRILLORA_SOURCE_DIR) + "/GEM_DAT/Round48.brl"));
  QCOMPARE(w.findChild<QComboBox*>("SymBox")->currentText(), QString("48"));
  QCOMPARE(w.findChild<QTabBar*>("TabControl2")->currentIndex(), 0);
  const int tiers = static_cast<int>(w.State().CurSteps().size()) - 2;
  QCOMPARE(w.findChild<QTabBar*>("TabControl2")->count(), tiers + 1);
}

void DesignControlsTest::maxSlopeMovesFromTheOpenedDesign() {
  DesignWindow& w = app_->Design();
  auto* maxSlope = w.findChild<QDoubleSpinBox*>("RxSpinEdit2");
  auto* bar = w.findChild<TNTrackBar*>("TrackAngle2");
  // Hexagon6: main tier at 48 degrees, the next typed tier at 38.
  QVERIFY(w.OpenDesign(QString(BRILLORA_SOURCE_DIR) + "/GEM_DAT/Hexagon6.brl"));
  QCOMPARE(maxSlope->value(), 48.0);
  QCOMPARE(bar->value(), 480);
  QCOMPARE(w.windowTitle(), QString("Hexagon6.brl"));  // showing it changed nothing
  // One click on the up arrow.
  QStyleOptionSpinBox option;
  option.initFrom(maxSlope);
  option.buttonSymbols = maxSlope->buttonSymbols();
  option.subControls = QStyle::SC_SpinBoxUp | QStyle::SC_SpinBoxDown | QStyle::SC_SpinBoxFrame;
  const QRect up = maxSlope->style()->subControlRect(QStyle::CC_SpinBox, &option, QStyle::SC_SpinBoxUp, maxSlope);
  QTest::mouseClick(maxSlope, Qt::LeftButton, {}, up.center());
  QCOMPARE(w.State().CrownSteps[2].Angle, 48.01);
  // The tier above keeps its proportion to the main tier: tan(a3) / tan(a2) stays.
  const double expected = std::atan(std::tan(38.0 * M_PI / 180) * std::tan(48.01 * M_PI / 180) /
                                    std::tan(48.0 * M_PI / 180)) * 180 / M_PI;
  QVERIFY(std::abs(w.State().CrownSteps[3].Angle - expected) < 1e-9);
  QVERIFY(std::abs(w.State().CrownSteps[3].Angle - 38.0) < 0.02);
  QCOMPARE(bar->value(), 480);

  // Opened while the pavilion is edited: the pavilion's main tier, 50 degrees
  // (the crown's is 45).
  w.Menu().Undo1->trigger();
  QCOMPARE(w.windowTitle(), QString("Hexagon6.brl"));
  w.findChild<QToolButton*>("CrownButton")->click();
  QCOMPARE(maxSlope->value(), 55.0);
  QVERIFY(w.OpenDesign(QString(BRILLORA_SOURCE_DIR) + "/GEM_DAT/Round48.brl"));
  QVERIFY(!w.State().IsCrown);
  QCOMPARE(maxSlope->value(), 50.0);
  QCOMPARE(bar->value(), 500);
}

void DesignControlsTest::focusMovedByHidingAControlIsNotTheUsers() {
  DesignWindow& w = app_->Design();
  QVERIFY(QTest::qWaitForWindowActive(&w));
  auto* stepTabs = w.findChild<QTabBar*>("TabControl2");
  auto* shiftBox = w.findChild<QComboBox*>("ShiftBox");
  // A split main tier and a tier above it, copied with its split and Auto on:
  // that tier hides the shift list.
  ClickTab(stepTabs, 1);
  Choose(w.findChild<QComboBox*>("SplitBox"), "1");
  ClickTab(stepTabs, 2);
  QCOMPARE(Tabs(stepTabs), QStringList({"Girdle", "1", "2", "New"}));
  QVERIFY(!shiftBox->isVisible());
  QVERIFY(w.State().CrownSteps[3].Auto);
  // The user tabs into the shift list on the girdle tab, then picks tier 2.
  ClickTab(stepTabs, 0);
  QVERIFY(shiftBox->isVisible());
  shiftBox->setFocus(Qt::TabFocusReason);
  QVERIFY(shiftBox->hasFocus());
  ClickTab(stepTabs, 2);
  // Hiding the list moved the focus on into the slope edit; entering that would end Auto.
  QVERIFY(w.findChild<QDoubleSpinBox*>("RxSpinEdit1")->hasFocus());
  QVERIFY(w.State().CrownSteps[3].Auto);
  QVERIFY(w.findChild<QCheckBox*>("CheckBox")->isChecked());
}

void DesignControlsTest::focusComingBackWithTheWindowKeepsAuto() {
  DesignWindow& w = app_->Design();
  QVERIFY(QTest::qWaitForWindowActive(&w));
  auto* stepTabs = w.findChild<QTabBar*>("TabControl2");
  auto* spin = w.findChild<QDoubleSpinBox*>("RxSpinEdit1");
  // The user makes tier 2 and clicks into its slope edit (which ends its Auto),
  // then makes tier 3 (Auto on) without leaving the edit.
  ClickTab(stepTabs, 1);
  ClickTab(stepTabs, 2);
  QTest::mouseClick(spin, Qt::LeftButton);
  QVERIFY(spin->hasFocus());
  QVERIFY(!w.State().CrownSteps[3].Auto);
  ClickTab(stepTabs, 3);
  QCOMPARE(Tabs(stepTabs), QStringList({"Girdle", "1", "2", "3", "New"}));
  QVERIFY(w.State().CrownSteps[4].Auto);
  // Another window is active for a while; coming back returns the focus to the edit.
  Reactivate(w);
  QVERIFY(spin->hasFocus());
  QVERIFY(w.State().CrownSteps[4].Auto);
  QVERIFY(w.findChild<QCheckBox*>("CheckBox")->isChecked());
}

void DesignControlsTest::widgetsStartAsTheControlsAreDesigned() {
  BrilloraApp fresh{QDir(programFolder_.path())};
  const EditorControls designed = EditorControls::AsDesigned();
  DesignWindow& w = fresh.Design();
  for (const auto& [name, bar] : {std::pair{"TrackAngle1", designed.TrackAngle1},
                                  std::pair{"TrackAngle2", designed.TrackAngle2},
                                  std::pair{"PositBar", designed.PositBar}}) {
    auto* widget = w.findChild<TNTrackBar*>(name);
    QCOMPARE(widget->minimum(), bar.min);
    QCOMPARE(widget->maximum(), bar.max);
    QCOMPARE(widget->value(), bar.position);
  }
  for (const auto& [name, spin] : {std::pair{"RxSpinEdit1", designed.RxSpinEdit1},
                                   std::pair{"RxSpinEdit2", designed.RxSpinEdit2}}) {
    auto* widget = w.findChild<QDoubleSpinBox*>(name);
    QCOMPARE(widget->minimum(), spin.min);
    QCOMPARE(widget->maximum(), spin.max);
    QCOMPARE(widget->value(), spin.value);
    QCOMPARE(widget->singleStep(), 0.01);
  }
  QCOMPARE(w.findChild<QComboBox*>("SymBox")->currentText(), QString("8"));
  QCOMPARE(w.findChild<QCheckBox*>("CheckBox")->isChecked(), designed.CheckBox);
  QCOMPARE(Tabs(w.findChild<QTabBar*>("TabControl2")), QStringList({"Girdle", "1", "New"}));
}
