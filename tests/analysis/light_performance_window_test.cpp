// The Light Performance window on the offscreen platform, alone and as the
// application shows it.
#include <QAction>
#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineSeries>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include "analysis/light_figures.h"
#include "analysis/light_performance_window.h"
#include "io/design_file.h"
#include "model/facet_construction.h"
#include "ui/brillora_app.h"
#include "ui/design_window.h"

using namespace brillora;

namespace {

// Generous: a sanitized build computes the tilt curves many times slower.
constexpr int kWait = 180000;

std::shared_ptr<const Stone> Brilliant() {
  DesignReadResult read = OpenDesignFile(BRILLORA_SOURCE_DIR "/GEM_DAT/RoundBrilliant.brl");
  return std::make_shared<const Stone>(ConstructStone(read.design));
}

QString Shown(const QWidget& window, const char* name) {
  const auto* label = window.findChild<QLabel*>(name);
  return label ? label->text() : QString("(no %1)").arg(name);
}

QString Percent(double share) { return QString::number(100 * share, 'f', 2) + " %"; }

// Waits for the tilt chart of the request the window awaits now.
bool WaitForTilt(LightPerformanceWindow& window, QSignalSpy& spy) {
  const auto done = [&] {
    for (const QList<QVariant>& call : spy) {
      if (call.at(0).toUInt() == window.AwaitedRequest()) return true;
    }
    return false;
  };
  return QTest::qWaitFor(done, kWait);
}

}  // namespace

class LightPerformanceWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void showsTheFiguresOfTheStoneAndItsTiltChart();
  void followsTheHeadAndDepthAndDropsAbandonedRequests();
  void theViewMenuOpensItAndItFollowsTheDesign();
};

void LightPerformanceWindowTest::showsTheFiguresOfTheStoneAndItsTiltChart() {
  LightPerformanceWindow window;
  QCOMPARE(window.windowTitle(), QString("Light Performance"));
  QCOMPARE(window.objectName(), QString("LightPerformance"));
  const auto stone = Brilliant();
  window.SetStone(stone, 8);
  window.SetMaterial(2.42, 0.044);
  QCOMPARE(window.AwaitedRequest(), 0u);  // nothing is computed for a hidden window
  QSignalSpy tilt(&window, &LightPerformanceWindow::tiltShown);
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  QVERIFY(window.AwaitedRequest() != 0);
  QVERIFY(WaitForTilt(window, tilt));

  LightAnalyzer analyzer;
  const LightFigures f = analyzer.Analyze(*stone, IdentityFrame(), {10, 9, 2.42, 0.044});
  QCOMPARE(Shown(window, "IsoValue"), Percent(f.Iso));
  QCOMPARE(Shown(window, "CosValue"), Percent(f.Cos));
  QCOMPARE(Shown(window, "Sc2Value"), Percent(f.Sc2));
  QCOMPARE(Shown(window, "TableIsoValue"), Percent(f.TableIso));
  QCOMPARE(Shown(window, "TableCosValue"), Percent(f.TableCos));
  QCOMPARE(Shown(window, "TableSc2Value"), Percent(f.TableSc2));
  QCOMPARE(Shown(window, "LeakageValue"), Percent(f.Leakage));
  QCOMPARE(Shown(window, "HeadShadowValue"), Percent(f.HeadShadow));
  QCOMPARE(Shown(window, "UnresolvedValue"), Percent(f.Unresolved));
  QCOMPARE(Shown(window, "StateLabel"), QString());
  // All of the brilliant's light is followed to the depth.
  QCOMPARE(Shown(window, "ErrorBoundValue"), QString("0.00 %"));
  QCOMPARE(Shown(window, "FireValue"), Percent(f.Fire));
  QCOMPARE(Shown(window, "SpreadValue"), QString::number(f.Spread, 'f', 3) + "°");
  QCOMPARE(Shown(window, "AsetRedValue"), Percent(f.AsetRed));
  QCOMPARE(Shown(window, "AsetGreenValue"), Percent(f.AsetGreen));
  QCOMPARE(Shown(window, "AsetBlueValue"), Percent(f.HeadShadow));
  QCOMPARE(Shown(window, "AsetBlackValue"), Percent(f.Leakage));
  QVERIFY(f.Fire > 0.05);
  // The bar: red from the left, then green, blue and black, grey for the rest.
  auto* bar = window.findChild<QWidget*>("AsetBar");
  QVERIFY(bar != nullptr);
  const QImage drawn = bar->grab().toImage();
  const auto colourAt = [&](double share) { return drawn.pixelColor(int(share * drawn.width()), drawn.height() / 2); };
  QCOMPARE(colourAt(f.AsetRed / 2), QColor(220, 0, 0));
  QCOMPARE(colourAt(f.AsetRed + f.AsetGreen / 2), QColor(0, 170, 0));
  QCOMPARE(colourAt(f.Iso + f.HeadShadow / 2), QColor(0, 0, 220));
  QCOMPARE(colourAt(f.Iso + f.HeadShadow + f.Leakage / 2), QColor(0, 0, 0));
  QCOMPARE(colourAt(1 - f.Unresolved / 2), QColor(190, 190, 190));

  // Three figures on each of the two axes, over 61 angles, the face-up ISO at 0.
  const auto* view = window.findChild<QChartView*>("TiltChart");
  QVERIFY(view != nullptr);
  const QList<QAbstractSeries*> series = view->chart()->series();
  QCOMPARE(series.size(), 6);
  const auto* iso = qobject_cast<QLineSeries*>(series.front());
  QVERIFY(iso != nullptr);
  QCOMPARE(iso->count(), 61);
  QCOMPARE(iso->at(30).x(), 0.0);
  QVERIFY(std::abs(iso->at(30).y() - 100 * f.Iso) < 1e-6);
}

void LightPerformanceWindowTest::followsTheHeadAndDepthAndDropsAbandonedRequests() {
  LightPerformanceWindow window;
  const auto stone = Brilliant();
  window.SetStone(stone, 8);
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  QSignalSpy faceUp(&window, &LightPerformanceWindow::figuresShown);
  QSignalSpy tilt(&window, &LightPerformanceWindow::tiltShown);

  // A drag: many values in a row, each abandoning the one before.
  auto* head = window.findChild<QDoubleSpinBox*>("HeadSpin");
  auto* depth = window.findChild<QSpinBox*>("DepthSpin");
  QVERIFY(head != nullptr && depth != nullptr);
  for (double h = 2; h <= 20; h += 0.5) head->setValue(h);
  depth->setValue(4);
  const unsigned last = window.AwaitedRequest();
  QVERIFY(WaitForTilt(window, tilt));
  for (const QList<QVariant>& call : faceUp) QCOMPARE(call.at(0).toUInt(), last);
  for (const QList<QVariant>& call : tilt) QCOMPARE(call.at(0).toUInt(), last);

  LightAnalyzer analyzer;
  const LightFigures f = analyzer.Analyze(*stone, IdentityFrame(), {20, 4, 2.42});
  QCOMPARE(Shown(window, "IsoValue"), Percent(f.Iso));
  QCOMPARE(Shown(window, "HeadShadowValue"), Percent(f.HeadShadow));
  QCOMPARE(Shown(window, "UnresolvedValue"), Percent(f.Unresolved));
}

void LightPerformanceWindowTest::theViewMenuOpensItAndItFollowsTheDesign() {
  QTemporaryDir folder;
  BrilloraApp app{QDir(folder.path())};
  app.Start({});
  // "Light Performance" comes right after "Parameters" in "View".
  QMenu* view = nullptr;
  for (QAction* item : app.Design().menuBar()->actions()) {
    if (item->text().remove('&') == "View") view = item->menu();
  }
  QVERIFY(view != nullptr);
  const QList<QAction*> items = view->actions();
  const qsizetype parameters = items.indexOf(app.Design().Menu().Weight1);
  QVERIFY(parameters >= 0 && parameters + 1 < items.size());
  QCOMPARE(items[parameters + 1]->text(), QString("Light Performance"));
  QCOMPARE(items[parameters + 1]->objectName(), QString("LightPerformance1"));

  LightPerformanceWindow& window = app.LightPerformance();
  QVERIFY(!window.isVisible());
  QSignalSpy tilt(&window, &LightPerformanceWindow::tiltShown);
  items[parameters + 1]->trigger();
  QVERIFY(window.isVisible());
  QVERIFY(WaitForTilt(window, tilt));
  const QString defaultIso = Shown(window, "IsoValue");

  QVERIFY(app.Design().OpenDesign(BRILLORA_SOURCE_DIR "/GEM_DAT/RoundBrilliant.brl"));
  QVERIFY(WaitForTilt(window, tilt));
  LightAnalyzer analyzer;
  const LightFigures f =
      analyzer.Analyze(*app.Design().State().stone, IdentityFrame(), {10, 9, app.Parameters().RefractiveIndex()});
  QCOMPARE(Shown(window, "IsoValue"), Percent(f.Iso));
  QVERIFY(Shown(window, "IsoValue") != defaultIso);
}

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  LightPerformanceWindowTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "light_performance_window_test.moc"
