#include "file_dialog_test.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QScopeGuard>
#include <QTimer>
#include <memory>

#include "widgets/file_dialog.h"

using namespace brillora;

namespace {

const QStringList kShapeFilters = {"Shape (*.brl)", "Text File (*.txt)"};

void Write(const QString& path, const QByteArray& text) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(text);
}

QByteArray Read(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QLineEdit* NameField(QFileDialog& dialog) { return dialog.findChild<QLineEdit*>("fileNameEdit"); }

// Answers the message boxes that appear while it lives, in order, and
// records their texts.
class BoxAnswers : public QObject {
 public:
  explicit BoxAnswers(QList<QMessageBox::StandardButton> answers) : answers_(std::move(answers)) {
    connect(&timer_, &QTimer::timeout, this, [this] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr || answers_.isEmpty()) return;
      texts << box->text();
      box->button(answers_.takeFirst())->click();
    });
    timer_.start(5);
  }
  QStringList texts;

 private:
  QTimer timer_;
  QList<QMessageBox::StandardButton> answers_;
};

// Once the dialog shows, types a name and presses Return, `returns` times at
// most while the dialog stays open.
void TypeAndReturn(FileDialog& dialog, const QString& name, int returns = 1) {
  QTimer::singleShot(0, &dialog, [&dialog, name, returns] {
    QLineEdit* field = NameField(dialog);
    QVERIFY(field != nullptr);
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, name);
    for (int i = 0; i < returns && dialog.isVisible(); ++i) QTest::keyClick(field, Qt::Key_Return);
  });
}

FileDialog& ShapeDialog(std::unique_ptr<FileDialog>& holder, const QString& folder) {
  holder = std::make_unique<FileDialog>(nullptr, QFileDialog::AcceptSave, "SaveDialog1");
  holder->setNameFilters(kShapeFilters);
  holder->setDefaultSuffix("brl");
  holder->SetNameRule(WithFilterExtension);
  holder->setDirectory(folder);
  return *holder;
}

}  // namespace

void FileDialogTest::init() { QVERIFY(folder_.isValid()); }

void FileDialogTest::extensionFollowsTheFilter() {
  QCOMPARE(ExtensionOfFilter("JPeg (*.jpg)"), QString("jpg"));
  QCOMPARE(WithFilterExtension("/a/Stone.bmp", "JPeg (*.jpg)"), QString("/a/Stone.jpg"));
  QCOMPARE(WithFilterExtension("/a/Stone", "Text File (*.txt)"), QString("/a/Stone.txt"));
  // Only the last extension is the typed one; a folder's point is not.
  QCOMPARE(WithFilterExtension("/a.b/rb.v2.txt", "Shape (*.brl)"), QString("/a.b/rb.v2.brl"));
  QCOMPARE(WithFilterExtension("/a.b/rb", "Shape (*.brl)"), QString("/a.b/rb.brl"));

  // The dialog returns the file written and offers its extension next time.
  std::unique_ptr<FileDialog> holder;
  FileDialog& dialog = ShapeDialog(holder, folder_.path());
  dialog.selectNameFilter(kShapeFilters[1]);
  BoxAnswers answers({});
  TypeAndReturn(dialog, "rb1.brl");
  QCOMPARE(dialog.Ask(), QDir(folder_.path()).filePath("rb1.txt"));
  QCOMPARE(dialog.defaultSuffix(), QString("txt"));
  QVERIFY(answers.texts.isEmpty());
}

void FileDialogTest::replacingAskesAboutTheFileWritten() {
  const QDir folder(folder_.path());
  Write(folder.filePath("rb1.brl"), "old design");
  Write(folder.filePath("rb1.txt"), "notes");
  std::unique_ptr<FileDialog> holder;
  FileDialog& dialog = ShapeDialog(holder, folder_.path());
  dialog.selectNameFilter(kShapeFilters[0]);

  // "rb1.txt" under the Shape filter writes rb1.brl: that is the file asked about.
  // No keeps the dialog open for another try; Yes then takes it.
  const QString question = "rb1.brl already exists.\nDo you want to replace it?";
  BoxAnswers answers({QMessageBox::No, QMessageBox::Yes});
  TypeAndReturn(dialog, "rb1.txt", 2);
  QCOMPARE(dialog.Ask(), folder.filePath("rb1.brl"));
  QCOMPARE(answers.texts, QStringList({question, question}));
  // The dialog only names the file; nothing was written or removed.
  QCOMPARE(Read(folder.filePath("rb1.brl")), QByteArray("old design"));
  QCOMPARE(Read(folder.filePath("rb1.txt")), QByteArray("notes"));

  // A name whose own file exists but whose written file does not: no question.
  QFile::remove(folder.filePath("rb1.brl"));
  dialog.selectNameFilter(kShapeFilters[0]);
  BoxAnswers none({QMessageBox::No});
  TypeAndReturn(dialog, "rb1.txt");
  QCOMPARE(dialog.Ask(), folder.filePath("rb1.brl"));
  QVERIFY2(none.texts.isEmpty(), qPrintable(none.texts.join("|")));
}

void FileDialogTest::noQuestionWhenToldNotToAsk() {
  const QDir folder(folder_.path());
  Write(folder.filePath("rb2.brl"), "old");
  std::unique_ptr<FileDialog> holder;
  FileDialog& dialog = ShapeDialog(holder, folder_.path());
  dialog.selectNameFilter(kShapeFilters[0]);
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  BoxAnswers answers({QMessageBox::No});
  TypeAndReturn(dialog, "rb2.txt");
  QCOMPARE(dialog.Ask(), folder.filePath("rb2.brl"));
  QVERIFY(answers.texts.isEmpty());
  QVERIFY(dialog.testOption(QFileDialog::DontConfirmOverwrite));
}

void FileDialogTest::completerListClosesWithTheDialog() {
  const QDir folder(folder_.path());
  Write(folder.filePath("abc1.brl"), "1");
  Write(folder.filePath("abc2.brl"), "2");
  for (const QFileDialog::AcceptMode mode : {QFileDialog::AcceptSave, QFileDialog::AcceptOpen}) {
    FileDialog dialog(nullptr, mode, "Dialog");
    dialog.setDirectory(QDir::rootPath());
    QAbstractItemView* list = nullptr;
    BoxAnswers replace({QMessageBox::Yes});  // the save dialog asks about abc1.brl
    QTimer::singleShot(0, &dialog, [&] {
      // Whatever fails below, the dialog closes, so that the test goes on.
      const auto closeAnyway = qScopeGuard([&] {
        if (dialog.isVisible()) dialog.reject();
      });
      QLineEdit* field = NameField(dialog);
      dialog.activateWindow();
      QVERIFY(QTest::qWaitForWindowActive(&dialog));
      field->setFocus();
      QVERIFY(field->hasFocus());
      // A whole path typed: the completer lists the names it may end in.
      QTest::keyClicks(field, folder.filePath("abc"));
      QTRY_VERIFY(field->completer() != nullptr && field->completer()->popup()->isVisible());
      list = field->completer()->popup();
      QTest::keyClicks(field, "1.brl");
      QTest::keyClick(field, Qt::Key_Return);
      if (dialog.isVisible()) QTest::keyClick(field, Qt::Key_Return);
    });
    QCOMPARE(dialog.Ask(), folder.filePath("abc1.brl"));
    QVERIFY(list != nullptr);
    QApplication::processEvents();
    QVERIFY2(!list->isVisible(), mode == QFileDialog::AcceptOpen ? "open" : "save");
  }
}
