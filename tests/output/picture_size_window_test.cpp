#include "picture_size_window_test.h"

#include <sys/resource.h>

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "message_catcher.h"
#include "output/picture_size_window.h"
#include "output_fixture.h"
#include "ui/brillora_app.h"
#include "ui/design_window.h"
#include "view/picture_window.h"

using namespace brillora;

namespace {

struct ExportWindow {
  OutputFixture fixture;
  QStringList sounds;
  PictureSizeWindow window{[this](int w, int h) { return fixture.Request(w, h); },
                           [this](const QString& name) { sounds << name; }};

  QSpinBox* Spin(const char* name) { return window.findChild<QSpinBox*>(name); }
  QToolButton* Button(const char* name) { return window.findChild<QToolButton*>(name); }
  void SetSize(int w, int h) {
    Spin("RxSpinEditX")->setValue(w);
    Spin("RxSpinEditY")->setValue(h);
  }
  // Shown as the item shows it, without the modal loop.
  void Show(ExportItem item) {
    window.Prepare(item);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
  }
  // Clicks the file button and answers the save dialog with a filter and a name.
  void SaveAs(const QString& filter, const QString& file) {
    QTimer::singleShot(0, [this, filter, file] {
      QFileDialog& dialog = window.SaveDialog();
      dialog.selectNameFilter(filter);
      dialog.selectFile(file);
      QMetaObject::invokeMethod(&dialog, "accept");
    });
    QTest::mouseClick(Button("ButtonF"), Qt::LeftButton);
  }
};

QByteArray FileStart(const QString& file) {
  QFile f(file);
  return f.open(QIODevice::ReadOnly) ? f.read(4) : QByteArray();
}

long PeakMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024;
}

}  // namespace

void PictureSizeWindowTest::controlsAsTheyOpen() {
  ExportWindow e;
  QCOMPARE(e.window.windowTitle(), QString("Size"));
  QVERIFY(e.window.windowFlags() & Qt::WindowStaysOnTopHint);
  QCOMPARE(e.window.findChild<QLabel*>("Label1")->text(), QString("Width"));
  QCOMPARE(e.window.findChild<QLabel*>("Label2")->text(), QString("Height"));
  // The arrows step from 100 to 9000; the start is 1000.
  for (const char* name : {"RxSpinEditX", "RxSpinEditY"}) {
    QSpinBox* spin = e.Spin(name);
    QCOMPARE(spin->value(), 1000);
    spin->setValue(101);
    spin->stepBy(-5);
    QCOMPARE(spin->value(), 100);
    spin->stepDown();
    QCOMPARE(spin->value(), 100);
    spin->setValue(8999);
    spin->stepBy(5);
    QCOMPARE(spin->value(), 9000);
    spin->setValue(1000);
  }
  QCOMPARE(e.Button("ButtonF")->toolTip(), QString("Copy image to File"));
  QCOMPARE(e.Button("ButtonC")->toolTip(), QString("Copy Image to Clipboard"));
  QFileDialog& dialog = e.window.SaveDialog();
  QCOMPARE(dialog.defaultSuffix(), QString("bmp"));
  QCOMPARE(dialog.nameFilters(), QStringList({"BitMap (*.bmp)", "JPeg (*.jpg)", "CompuServe GIF Image (*.gif)",
                                              "PNG (*.png)"}));
  QVERIFY(!dialog.testOption(QFileDialog::DontConfirmOverwrite));
  QCOMPARE(QFileInfo(dialog.selectedFiles().value(0)).completeBaseName(), QString("Picture"));

  // Each item shows its own button, in the same place. The first showing
  // leaves the window where it was placed; later ones open it at the pointer.
  QCursor::setPos(QPoint(123, 145));
  e.window.move(210, 160);
  e.Show(ExportItem::File);
  QVERIFY(e.Button("ButtonF")->isVisible());
  QVERIFY(!e.Button("ButtonC")->isVisible());
  QCOMPARE(e.window.pos(), QPoint(210, 160));
  const QRect place = e.Button("ButtonF")->geometry();
  e.window.hide();
  e.Show(ExportItem::File);
  QCOMPARE(e.window.pos(), QCursor::pos());
  e.window.Prepare(ExportItem::Clipboard);
  QVERIFY(!e.Button("ButtonF")->isVisible());
  QVERIFY(e.Button("ButtonC")->isVisible());
  QTRY_COMPARE(e.Button("ButtonC")->geometry(), place);
  QVERIFY(!e.window.findChild<QProgressBar*>("ExportProgress")->isVisible());

  // Open shows the window modally.
  bool modal = false;
  QTimer::singleShot(0, [&] {
    modal = QApplication::activeModalWidget() == &e.window;
    e.window.reject();
  });
  e.window.Open(ExportItem::File);
  QVERIFY(modal);
}

void PictureSizeWindowTest::extensionFollowsTheFilter() {
  QTemporaryDir folder;
  ExportWindow e;
  e.SetSize(120, 130);
  e.Show(ExportItem::File);
  e.SaveAs("JPeg (*.jpg)", folder.filePath("Stone.bmp"));
  QTRY_VERIFY(!e.window.Busy());
  QTRY_VERIFY(!e.window.isVisible());  // done: the window closes
  QVERIFY(!QFile::exists(folder.filePath("Stone.bmp")));
  QCOMPARE(FileStart(folder.filePath("Stone.jpg")).left(2), QByteArray("\xFF\xD8"));
  const QImage written(folder.filePath("Stone.jpg"));
  QCOMPARE(written.size(), QSize(120, 130));
  QCOMPARE(e.window.SaveDialog().defaultSuffix(), QString("jpg"));
  QCOMPARE(e.sounds, QStringList({"BGrownd"}));

  // The fourth filter writes a PNG whatever the typed name ends in.
  e.Show(ExportItem::File);
  e.SaveAs("PNG (*.png)", folder.filePath("Stone.gif"));
  QTRY_VERIFY(!e.window.isVisible());
  QCOMPARE(FileStart(folder.filePath("Stone.png")), QByteArray("\x89PNG"));
  QVERIFY(!QFile::exists(folder.filePath("Stone.gif")));
}

void PictureSizeWindowTest::enterCopiesToTheClipboard() {
  QApplication::clipboard()->clear();
  ExportWindow e;
  e.SetSize(140, 110);
  e.Show(ExportItem::Clipboard);
  QSignalSpy filled(&e.window, &PictureSizeWindow::clipboardFilled);
  e.Spin("RxSpinEditX")->setFocus();
  QTest::keyClick(e.Spin("RxSpinEditX"), Qt::Key_Return);
  QTRY_VERIFY(!e.window.isVisible());
  QCOMPARE(QApplication::clipboard()->image().size(), QSize(140, 110));
  QVERIFY(e.window.ClipboardUsed());
  QCOMPARE(filled.count(), 1);
  // The picture is the refined view of the stone: not one colour.
  const QImage copied = QApplication::clipboard()->image();
  QVERIFY(copied.pixel(70, 55) != copied.pixel(2, 2));
}

void PictureSizeWindowTest::escapeExportsNothing() {
  QApplication::clipboard()->clear();
  ExportWindow e;
  e.Show(ExportItem::Clipboard);
  e.Spin("RxSpinEditY")->setFocus();
  QTest::keyClick(e.Spin("RxSpinEditY"), Qt::Key_Escape);
  QVERIFY(!e.window.isVisible());
  QTest::qWait(100);
  QVERIFY(QApplication::clipboard()->image().isNull());
  QVERIFY(!e.window.ClipboardUsed());
  QVERIFY(e.sounds.isEmpty());
}

void PictureSizeWindowTest::saveDialogKeepsItsKeys() {
  QTemporaryDir folder;
  ExportWindow e;
  e.Show(ExportItem::File);
  // Escape in the save dialog cancels the dialog, not the export window.
  QTimer::singleShot(0, [&] {
    QFileDialog& dialog = e.window.SaveDialog();
    dialog.setDirectory(folder.path());
    QTest::keyClick(dialog.findChild<QLineEdit*>(), Qt::Key_Escape);
  });
  QTest::mouseClick(e.Button("ButtonF"), Qt::LeftButton);
  QVERIFY(!e.window.SaveDialog().isVisible());
  QVERIFY(e.window.isVisible());
  QVERIFY(!e.window.Busy());
  QVERIFY(QDir(folder.path()).entryList(QDir::Files).isEmpty());
}

void PictureSizeWindowTest::writeErrorNamesTheFileAndKeepsTheWindow() {
  QTemporaryDir folder;
  const QString missing = folder.filePath("no such folder/Stone");
  ExportWindow e;
  e.SetSize(100, 100);
  e.Show(ExportItem::File);
  MessageCatcher catcher;
  e.SaveAs("BitMap (*.bmp)", missing);
  QTRY_VERIFY(!e.window.Busy());
  QTRY_COMPARE(catcher.Texts().size(), 1);
  QVERIFY2(catcher.Texts().first().startsWith("Cannot write " + missing + ".bmp: "), qPrintable(catcher.Texts().first()));
  QVERIFY(catcher.Texts().first().size() > QString("Cannot write " + missing + ".bmp: ").size());
  QVERIFY(e.window.isVisible());
  QVERIFY(e.Button("ButtonF")->isEnabled());
}

void PictureSizeWindowTest::cancelLeavesTheOldFile() {
  QTemporaryDir folder;
  const QString file = folder.filePath("Old.png");
  {
    QFile old(file);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("old picture");
  }
  ExportWindow e;
  e.SetSize(9000, 9000);
  e.Show(ExportItem::File);
  // Replacing the old file is not the question here.
  e.window.SaveDialog().setOption(QFileDialog::DontConfirmOverwrite);
  e.SaveAs("PNG (*.png)", file);
  QVERIFY(e.window.Busy());
  auto* cancel = e.window.findChild<QPushButton*>("ExportCancel");
  QTRY_VERIFY(cancel->isVisible());
  QVERIFY(e.window.findChild<QProgressBar*>("ExportProgress")->isVisible());
  QCOMPARE(cancel->text(), QString("Cancel"));
  QTest::mouseClick(cancel, Qt::LeftButton);
  QVERIFY(!e.window.Busy());
  QVERIFY(e.window.isVisible());
  QFile old(file);
  QVERIFY(old.open(QIODevice::ReadOnly));
  QCOMPARE(old.readAll(), QByteArray("old picture"));
  QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList({"Old.png"}));
}

void PictureSizeWindowTest::largestPictureInBoundedMemory() {
  ExportWindow e;
  e.SetSize(9000, 9000);
  e.Show(ExportItem::Clipboard);
  QTest::mouseClick(e.Button("ButtonC"), Qt::LeftButton);
  QTRY_VERIFY_WITH_TIMEOUT(!e.window.Busy(), 240000);
  QCOMPARE(QApplication::clipboard()->image().size(), QSize(9000, 9000));
  // The picture alone is 324 MB; the five-fold bitmap (2 GB whole) is drawn in bands.
  const long peak = PeakMegabytes();
  qInfo("peak resident memory: %ld MB", peak);
#ifndef BRILLORA_SANITIZED  // the sanitizers keep freed bands in quarantine
  QVERIFY2(peak < 800, qPrintable(QString::number(peak)));
#endif
  QApplication::clipboard()->clear();
}

void PictureSizeWindowTest::menuItemsOpenTheWindow() {
  QTemporaryDir folder;
  BrilloraApp app{QDir(folder.path())};
  app.Start({});
  PictureSizeWindow& window = app.PictureSize();
  const DesignMenu& menu = app.Design().Menu();
  const auto opened = [&](QAction* item) {
    QString shown;
    QTimer::singleShot(0, [&] {
      if (QApplication::activeModalWidget() == &window) {
        shown = window.findChild<QToolButton*>("ButtonF")->isVisible() ? "F" : "";
        shown += window.findChild<QToolButton*>("ButtonC")->isVisible() ? "C" : "";
      }
      window.reject();
    });
    item->trigger();
    return shown;
  };
  // The first opening stands in the middle of the screen, the next at the pointer.
  const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
  QCursor::setPos(available.topLeft() + QPoint(40, 30));
  QRect first;
  QTimer::singleShot(0, [&] { first = window.frameGeometry(); });
  QCOMPARE(opened(menu.SaveImagetoFile1), QString("F"));
  QVERIFY2((first.center() - available.center()).manhattanLength() <= 2,
           qPrintable(QString("%1, %2").arg(first.center().x()).arg(first.center().y())));
  QCOMPARE(window.pos(), first.topLeft());
  QCOMPARE(opened(menu.ImagetoClipboard1), QString("C"));
  QCOMPARE(window.pos(), QCursor::pos());
  QCOMPARE(opened(menu.ImagetoClipboard2), QString("C"));

  // A picture put on the clipboard makes the picture window ask when it closes.
  window.findChild<QSpinBox*>("RxSpinEditX")->setValue(100);
  window.findChild<QSpinBox*>("RxSpinEditY")->setValue(100);
  QTimer::singleShot(0, [&] { QTest::mouseClick(window.findChild<QToolButton*>("ButtonC"), Qt::LeftButton); });
  menu.ImagetoClipboard2->trigger();
  QCOMPARE(QApplication::clipboard()->image().size(), QSize(100, 100));
  MessageCatcher catcher;
  QVERIFY(app.Picture().close());
  QCOMPARE(catcher.Texts(), QStringList({"Do you want to keep picture in Clipboard?"}));
}

void PictureSizeWindowTest::sizesOutsideTheRangeAreRefused() {
  QApplication::clipboard()->clear();
  QTemporaryDir folder;
  ExportWindow e;
  e.window.SaveDialog().setDirectory(folder.path());
  const auto type = [&](const char* name, const QString& text) {
    QSpinBox* spin = e.Spin(name);
    e.window.activateWindow();  // the message box took the activation
    QVERIFY(QTest::qWaitForWindowActive(&e.window));
    spin->setFocus();
    QTRY_VERIFY(spin->hasFocus());
    spin->selectAll();
    QTest::keyClicks(spin, text);
  };
  const QString message = "The picture must be from 100 to 9000 pixels wide and high: %1 x %2 is not drawn.";
  e.Show(ExportItem::Clipboard);
  for (const auto& [width, height] : {std::pair{"50", "1000"}, {"1000", "9001"}, {"0", "99"}}) {
    type("RxSpinEditX", width);
    type("RxSpinEditY", height);
    MessageCatcher catcher;
    QTest::keyClick(e.Spin("RxSpinEditY"), Qt::Key_Return);
    QCOMPARE(catcher.Texts(), QStringList{message.arg(width, height)});
    // Nothing is drawn and the typed size stays for the user to mend.
    QVERIFY(!e.window.Busy());
    QVERIFY(e.window.isVisible());
    QCOMPARE(e.Spin("RxSpinEditX")->text(), QString(width));
    QCOMPARE(e.Spin("RxSpinEditY")->text(), QString(height));
  }
  QVERIFY(e.sounds.isEmpty());
  QVERIFY(QApplication::clipboard()->image().isNull());
  QVERIFY(!e.window.ClipboardUsed());

  // The file button asks for no file then.
  e.Show(ExportItem::File);
  MessageCatcher catcher;
  bool asked = false;
  QTimer::singleShot(200, [&] {
    asked = e.window.SaveDialog().isVisible();
    if (asked) e.window.SaveDialog().reject();
  });
  QTest::mouseClick(e.Button("ButtonF"), Qt::LeftButton);
  QTest::qWait(300);
  QVERIFY(!asked);
  QCOMPARE(catcher.Texts(), QStringList{message.arg("0", "99")});
  QVERIFY(QDir(folder.path()).entryList(QDir::Files).isEmpty());
}
