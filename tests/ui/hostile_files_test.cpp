// The desktop given paths that are no design files, and saving over links and
// read-only files: the messages of the design files, nothing blocks, nothing
// is lost.

#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include "message_catcher.h"
#include "ui/brillora_app.h"
#include "ui/design_window.h"

using brillora::BrilloraApp;

class HostileFilesTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { app_ = std::make_unique<BrilloraApp>(QDir(folder_.path())); }
  void cleanup() { app_.reset(); }

  void startsWithTheDefaultDesignWhenTheNamedOneIsNoFile() {
    const QString fifo = folder_.filePath("fifo.brl");
    QCOMPARE(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    MessageCatcher catcher;
    app_->Start({fifo});  // would block for ever on opening the FIFO
    QCOMPARE(catcher.Texts(), QStringList{"Invalid File Format"});
    QVERIFY(app_->Design().State().stone != nullptr);
  }

  void openingAnEndlessFileIsRefused() {
    app_->Start({});
    const QString endless = folder_.filePath("zero.brl");
    QVERIFY(QFile::link("/dev/zero", endless));
    MessageCatcher catcher;
    QVERIFY(!app_->Design().OpenDesign(endless));
    QCOMPARE(catcher.Texts(), QStringList{"Invalid File Format"});
  }

  void readOnlyDesignIsNotReplaced() {
    app_->Start({});
    const QString locked = folder_.filePath("locked.brl");
    QFile file(locked);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("old");
    file.close();
    QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    MessageCatcher catcher;
    QVERIFY(!app_->Design().SaveDesign(locked));
    QCOMPARE(catcher.Texts().size(), 1);
    QVERIFY2(catcher.Texts().first().contains("Existing file " + locked + " is not writable"),
             qPrintable(catcher.Texts().first()));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("old"));
  }

  void savingThroughALinkKeepsTheLink() {
    app_->Start({});
    const QString target = folder_.filePath("target.brl");
    const QString link = folder_.filePath("link.brl");
    QVERIFY(QFile::link("target.brl", link));
    QVERIFY(app_->Design().SaveDesign(link));
    QVERIFY(QFileInfo(link).isSymLink());
    QVERIFY(QFileInfo(target).isFile());
    QVERIFY(app_->Design().OpenDesign(link));
  }

 private:
  QTemporaryDir folder_;
  std::unique_ptr<BrilloraApp> app_;
};

QTEST_MAIN(HostileFilesTest)
#include "hostile_files_test.moc"
