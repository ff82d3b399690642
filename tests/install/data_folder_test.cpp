// Where the desktop program finds what it reads beside itself: in its own
// folder first (the build folder), else in the installed data folder; and an
// installed program offers no folder of its data to write into.

#include <QDir>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTest>
#include <optional>

#include "ui/brillora_app.h"
#include "ui/data_folder.h"
#include "ui/design_window.h"

using brillora::BrilloraApp;
using brillora::DataFolder;

class DataFolderTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    root_.emplace();
    QVERIFY(root_->isValid());
    QVERIFY(Root().mkpath("bin"));
  }
  void cleanup() { root_.reset(); }

  void theProgramsOwnFolderComesFirst() {
    QVERIFY(Root().mkpath("bin/GEM_DAT"));
    QVERIFY(Root().mkpath(kInstalled + "/GEM_DAT"));
    QCOMPARE(DataFolder(Bin()).canonicalPath(), Bin().canonicalPath());
  }

  void anInstalledProgramReadsTheInstalledDataFolder() {
    QVERIFY(Root().mkpath(kInstalled + "/GEM_DAT"));
    const QDir data(Root().filePath(kInstalled));
    QCOMPARE(DataFolder(Bin()).canonicalPath(), data.canonicalPath());

    BrilloraApp app(DataFolder(Bin()));
    app.Start({});
    const auto* open = app.Design().findChild<QFileDialog*>("OpenDialog1");
    QVERIFY(open != nullptr);
    QCOMPARE(open->directory().canonicalPath(), QDir(data.filePath("GEM_DAT")).canonicalPath());
    // The data folder belongs to the installation: no save starts there.
    for (QWidget* window : app.Windows()) {
      for (const QFileDialog* dialog : window->findChildren<QFileDialog*>()) {
        if (dialog->acceptMode() != QFileDialog::AcceptSave) continue;
        const QString folder = dialog->directory().canonicalPath();
        QVERIFY2(!folder.startsWith(data.canonicalPath()),
                 qPrintable(dialog->objectName() + " starts in " + folder));
      }
    }
  }

  void withoutDataAnywhereTheProgramsFolderStays() {
    QCOMPARE(DataFolder(Bin()).canonicalPath(), Bin().canonicalPath());
  }

 private:
  const QString kInstalled = QDir::cleanPath("bin/" BRILLORA_DATA_FROM_PROGRAM);
  QDir Root() const { return QDir(root_->path()); }
  QDir Bin() const { return QDir(root_->filePath("bin")); }

  std::optional<QTemporaryDir> root_;
};

QTEST_MAIN(DataFolderTest)
#include "data_folder_test.moc"
