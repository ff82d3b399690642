#include "window_activation.h"

#include <QTest>
#include <QWidget>

void Reactivate(QWidget& window) {
  QWidget other;
  other.show();
  other.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&other));
  window.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&window));
  QVERIFY(window.isActiveWindow());
}
