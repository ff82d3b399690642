#include "kit_helpers_test.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QTest>
#include <QUrl>
#include <QWidget>

#include "widgets/control_mirror.h"
#include "widgets/file_drop.h"
#include "widgets/title_width.h"
#include "widgets/wait_cursor.h"

using namespace brillora;

void KitHelpersTest::dropTakesTheFirstFileCut() {
  QMimeData files;
  files.setUrls({QUrl::fromLocalFile("/tmp/" + QString(300, 'a') + ".brl"), QUrl::fromLocalFile("/tmp/b.brl")});
  QDragEnterEvent enter(QPoint(1, 1), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
  enter.setAccepted(false);
  WelcomeFiles(&enter);
  QVERIFY(enter.isAccepted());
  QDropEvent drop(QPointF(1, 1), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
  drop.setAccepted(false);
  const std::optional<QString> taken = TakeDroppedFile(&drop, 256);
  QVERIFY(taken.has_value());
  QCOMPARE(*taken, ("/tmp/" + QString(300, 'a')).left(256));
  QVERIFY(drop.isAccepted());
  const std::optional<QString> whole = TakeDroppedFile(&drop, 257);
  QCOMPARE(whole->size(), 257);

  // Text without files is neither welcome nor taken.
  QMimeData text;
  text.setText("not a file");
  QDragEnterEvent textEnter(QPoint(1, 1), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
  textEnter.setAccepted(false);
  WelcomeFiles(&textEnter);
  QVERIFY(!textEnter.isAccepted());
  QDropEvent textDrop(QPointF(1, 1), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
  textDrop.setAccepted(false);
  QVERIFY(!TakeDroppedFile(&textDrop, 256).has_value());
  QVERIFY(!textDrop.isAccepted());
}

void KitHelpersTest::waitCursorLastsItsScope() {
  QVERIFY(QApplication::overrideCursor() == nullptr);
  {
    const WaitCursor wait;
    QVERIFY(QApplication::overrideCursor() != nullptr);
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    {
      const WaitCursor nested;
      QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    }
    QVERIFY(QApplication::overrideCursor() != nullptr);
  }
  QVERIFY(QApplication::overrideCursor() == nullptr);
}

void KitHelpersTest::titleWidthGrowsWithTheTitle() {
  QWidget window;
  window.setWindowTitle("  Brillora.");
  const int shortTitle = TitleBarWidth(window);
  const QFontMetrics metrics(QApplication::font("QMdiSubWindowTitleBar"));
  QVERIFY(shortTitle > metrics.horizontalAdvance("  Brillora."));
  const QString longer = "A rather long design name.brl *";
  window.setWindowTitle(longer);
  QCOMPARE(TitleBarWidth(window) - shortTitle,
           metrics.horizontalAdvance(longer) - metrics.horizontalAdvance("  Brillora."));
}

void KitHelpersTest::shownValuesDoNotComeBackAsEdits() {
  QSpinBox spin;
  QSlider bar;
  QSignalSpy spinChanged(&spin, &QSpinBox::valueChanged);
  QSignalSpy barChanged(&bar, &QSlider::valueChanged);
  ShowValue(&spin, 0, 90, 45);
  ShowPosition(&bar, 1, 890, 400);
  QCOMPARE(spin.value(), 45);
  QCOMPARE(spin.maximum(), 90);
  QCOMPARE(bar.value(), 400);
  QCOMPARE(bar.minimum(), 1);
  QCOMPARE(spinChanged.count(), 0);
  QCOMPARE(barChanged.count(), 0);
  // Out of range: the widget's own limits hold.
  ShowValue(&spin, 0, 90, 120);
  QCOMPARE(spin.value(), 90);
}
