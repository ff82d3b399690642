// The progress window: a tool window without system buttons, and closing it
// by any means during an animation's preparation cancels as "Cancel" does.
#include <QAction>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>
#include <memory>

#include "ui/brillora_app.h"
#include "ui/design_window.h"
#include "ui/progress_window.h"
#include "view/picture_window.h"

using namespace brillora;

class ProgressWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    QVERIFY(folder_.isValid());
    app_ = std::make_unique<BrilloraApp>(QDir(folder_.path()));
    app_->Start({});
    QVERIFY(QTest::qWaitForWindowExposed(&app_->Picture()));
  }
  void cleanup() { app_.reset(); }

  void aToolWindowWithoutSystemButtons() {
    ProgressWindow& window = app_->Progress();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    for (const Qt::WindowFlags flags : {window.windowFlags(), window.windowHandle()->flags()}) {
      QCOMPARE(flags & Qt::WindowType_Mask, Qt::Tool);
      QVERIFY(flags.testFlag(Qt::WindowTitleHint));
      for (const Qt::WindowType button : {Qt::WindowSystemMenuHint, Qt::WindowCloseButtonHint,
                                          Qt::WindowMinimizeButtonHint, Qt::WindowMaximizeButtonHint,
                                          Qt::WindowContextHelpButtonHint}) {
        QVERIFY2(!flags.testFlag(button), qPrintable(QString::number(button, 16)));
      }
    }
  }

  void closingDuringPreparationCancels() {
    PictureWindow& picture = app_->Picture();
    const QPointer<ProgressWindow> window = &app_->Progress();
    QAction* jpg = app_->Design().Menu().animations[2];
    app_->Design().Menu().numbered[11]->trigger();  // 12 reflections: a longer preparation
    QSignalSpy progress(&picture, &PictureWindow::animationProgress);
    jpg->trigger();
    QTRY_VERIFY(progress.count() >= 3);
    QVERIFY(window->isVisible());

    QVERIFY(window->close());  // as the desktop's close command does
    QVERIFY(!window.isNull());
    QVERIFY(!window->isVisible());
    for (QAction* item : app_->Design().Menu().animations) QVERIFY(!item->isChecked());
    QVERIFY(!picture.Animation().Running());
    const int announced = static_cast<int>(progress.count());
    QTest::qWait(200);
    QCOMPARE(progress.count(), announced);

    // The next preparation shows the window again, with its Cancel.
    jpg->trigger();
    QTRY_VERIFY(window->isVisible());
    QTest::mouseClick(window->findChild<QPushButton*>("ExitButton"), Qt::LeftButton);
    QVERIFY(!jpg->isChecked());
    QVERIFY(!picture.Animation().Running());
  }

 private:
  QTemporaryDir folder_;
  std::unique_ptr<BrilloraApp> app_;
};

QTEST_MAIN(ProgressWindowTest)
#include "progress_window_test.moc"
