// Work that must not be lost: a changed design is offered for saving before
// anything replaces it, a save asks before replacing the file it really
// writes, and the clipboard question comes as the program ends. Driven as a
// user would on the offscreen platform, in the program's own event loop where
// the end of the program is concerned.

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFileDialog>
#include <QPrinterInfo>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <memory>

#include "io/design_file.h"
#include "light/light_map_window.h"
#include "modal_answers.h"
#include "output/alignment_window.h"
#include "output/picture_size_window.h"
#include "ui/brillora_app.h"
#include "ui/design_window.h"
#include "view/picture_window.h"
#include "widgets/file_dialog.h"

using namespace brillora;

namespace {

const QString kUnsaved = "Save changes to the design?";
const QString kClipboard = "Do you want to keep picture in Clipboard?";

QString Sample(const QString& name) { return QString(BRILLORA_SOURCE_DIR) + "/GEM_DAT/" + name; }

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Write(const QString& path, const QByteArray& text) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(text);
}

QString Replacing(const QString& name) { return name + " already exists.\nDo you want to replace it?"; }

// A picture of the stone goes to the clipboard through the export window.
void CopyPictureToClipboard(BrilloraApp& app) {
  PictureSizeWindow& size = app.PictureSize();
  size.findChild<QSpinBox*>("RxSpinEditX")->setValue(100);
  size.findChild<QSpinBox*>("RxSpinEditY")->setValue(100);
  QTimer::singleShot(0, &size, [&size] { QTest::mouseClick(size.findChild<QToolButton*>("ButtonC"), Qt::LeftButton); });
  app.Design().Menu().ImagetoClipboard2->trigger();
  QVERIFY(size.ClipboardUsed());
  QCOMPARE(QApplication::clipboard()->image().size(), QSize(100, 100));
}

}  // namespace

class WorkKeptTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    QVERIFY(folder_.isValid());
    app_ = std::make_unique<BrilloraApp>(QDir(folder_.path()));
    app_->Start({});
    app_->Design().SaveDialog().setDirectory(folder_.path());
  }
  void cleanup() { app_.reset(); }

  // Every way of opening a design asks about a changed one; Cancel keeps it
  // with its history.
  void openingOverAChangeAsksFirst() {
    DesignWindow& design = app_->Design();
    auto* maxSlope = design.findChild<QDoubleSpinBox*>("RxSpinEdit2");
    maxSlope->setValue(35.0);
    const auto keptWithItsHistory = [&](const char* way) {
      QVERIFY2(design.State().SymOrder == 8, way);
      QVERIFY2(design.State().CrownSteps[2].Angle == 35.0, way);
      QVERIFY2(design.windowTitle() == "  Brillora. *", way);
      QVERIFY2(design.Menu().Undo1->isEnabled(), way);
    };
    {
      ModalAnswers answers({TypeName("", Sample("Hexagon6.brl")), Press(QMessageBox::Cancel)});
      design.Menu().Open1->trigger();
      QVERIFY(answers.AllGiven());
      QCOMPARE(answers.texts, QStringList({kUnsaved}));
      keptWithItsHistory("Open Data");
    }
    for (QWidget* target : std::initializer_list<QWidget*>{&design, &app_->Picture()}) {
      ModalAnswers answers({Press(QMessageBox::Cancel)});
      DropFiles(target, {Sample("Hexagon6.brl")});
      QCOMPARE(answers.texts, QStringList({kUnsaved}));
      keptWithItsHistory(qPrintable("a drop on " + target->objectName()));
    }
    design.Menu().Undo1->trigger();
    QCOMPARE(maxSlope->value(), 40.0);
    design.Menu().Redo1->trigger();

    // Discard: the dropped design replaces the change.
    {
      ModalAnswers answers({Press(QMessageBox::Discard)});
      DropFiles(&app_->Picture(), {Sample("Hexagon6.brl")});
      QCOMPARE(answers.texts, QStringList({kUnsaved}));
    }
    QCOMPARE(design.State().SymOrder, 6);
    QCOMPARE(design.windowTitle(), QString("Hexagon6.brl"));
    QVERIFY(!design.Menu().Undo1->isEnabled());

    // Save: the change is written first, then the dropped design opens.
    maxSlope->setValue(50.0);
    {
      ModalAnswers answers({Press(QMessageBox::Save), TypeName("Shape (*.brl)", "kept")});
      DropFiles(&design, {Sample("Round48.brl")});
      QVERIFY(answers.AllGiven());
    }
    QCOMPARE(design.State().SymOrder, 48);
    const DesignReadResult kept = OpenDesignFile(QDir(folder_.path()).filePath("kept.brl").toStdString());
    QVERIFY2(kept.ok(), kept.error.c_str());
    QCOMPARE(kept.design.SymOrder, 6);
    QCOMPARE(kept.design.CrownSteps[2].Angle, 50.0);

    // An unchanged design opens without a word.
    {
      ModalAnswers answers({Press(QMessageBox::Cancel)});
      QVERIFY(design.OpenDesign(Sample("Hexagon6.brl")));
      QVERIFY(answers.texts.isEmpty());
    }
  }

  // Save Data: the extension follows the filter, the question names the file
  // written, and the title follows it.
  void saveAsksAboutTheFileItWritesAndTakesItsName() {
    DesignWindow& design = app_->Design();
    const QDir folder(folder_.path());
    Write(folder.filePath("rb1.brl"), "old design");
    design.findChild<QDoubleSpinBox*>("RxSpinEdit2")->setValue(35.0);
    {
      ModalAnswers answers({TypeName("Shape (*.brl)", "rb1.txt"), Press(QMessageBox::No), CancelDialog()});
      design.Menu().Save1->trigger();
      QVERIFY(answers.AllGiven());
      QCOMPARE(answers.texts, QStringList({Replacing("rb1.brl")}));
    }
    QCOMPARE(ReadAll(folder.filePath("rb1.brl")), QByteArray("old design"));
    QVERIFY(!QFile::exists(folder.filePath("rb1.txt")));
    QCOMPARE(design.windowTitle(), QString("  Brillora. *"));
    {
      ModalAnswers answers({TypeName("Shape (*.brl)", "rb1.txt"), Press(QMessageBox::Yes)});
      design.Menu().Save1->trigger();
      QCOMPARE(answers.texts, QStringList({Replacing("rb1.brl")}));
    }
    const DesignReadResult saved = OpenDesignFile(folder.filePath("rb1.brl").toStdString());
    QVERIFY2(saved.ok(), saved.error.c_str());
    QCOMPARE(saved.design.CrownSteps[2].Angle, 35.0);
    QVERIFY(!QFile::exists(folder.filePath("rb1.txt")));
    QCOMPARE(design.windowTitle(), QString("rb1.brl"));

    // Saved again under a new name: the title names the new file, unmarked.
    design.findChild<QDoubleSpinBox*>("RxSpinEdit2")->setValue(36.0);
    QCOMPARE(design.windowTitle(), QString("rb1.brl *"));
    {
      ModalAnswers answers({TypeName("Text File (*.txt)", "rb2")});
      design.Menu().Save1->trigger();
      QVERIFY(answers.texts.isEmpty());
    }
    QCOMPARE(design.windowTitle(), QString("rb2.txt"));
    QVERIFY(QFile::exists(folder.filePath("rb2.txt")));
    QCOMPARE(OpenDesignFile(folder.filePath("rb1.brl").toStdString()).design.CrownSteps[2].Angle, 35.0);
  }

  // The image export and the print-to-PDF name ask about the file they write.
  void exportAndPdfAskAboutTheFileWritten() {
    const QDir folder(folder_.path());
    Write(folder.filePath("Stone.jpg"), "old picture");
    PictureSizeWindow& size = app_->PictureSize();
    size.SaveDialog().setDirectory(folder_.path());
    size.findChild<QSpinBox*>("RxSpinEditX")->setValue(100);
    size.findChild<QSpinBox*>("RxSpinEditY")->setValue(100);
    // The texts of the questions asked, or a note that an answer was not wanted.
    const auto exportAs = [&](std::vector<Answer> answers) -> QStringList {
      ModalAnswers given(std::move(answers));
      QTimer::singleShot(0, &size, [&size] { QTest::mouseClick(size.findChild<QToolButton*>("ButtonF"), Qt::LeftButton); });
      app_->Design().Menu().SaveImagetoFile1->trigger();
      return given.AllGiven() ? given.texts : QStringList({"an answer was not wanted"});
    };
    QCOMPARE(exportAs({TypeName("JPeg (*.jpg)", "Stone.bmp"), Press(QMessageBox::No), CancelDialog(), Close(size)}),
             QStringList({Replacing("Stone.jpg")}));
    QCOMPARE(ReadAll(folder.filePath("Stone.jpg")), QByteArray("old picture"));
    QVERIFY(!QFile::exists(folder.filePath("Stone.bmp")));
    QCOMPARE(exportAs({TypeName("JPeg (*.jpg)", "Stone.bmp"), Press(QMessageBox::Yes)}),
             QStringList({Replacing("Stone.jpg")}));
    QCOMPARE(ReadAll(folder.filePath("Stone.jpg")).left(2), QByteArray("\xFF\xD8"));
    QVERIFY(!QFile::exists(folder.filePath("Stone.bmp")));

    if (!QPrinterInfo::availablePrinterNames().isEmpty()) QSKIP("a system printer is installed here");
    AlignmentWindow& print = app_->Alignment();
    print.PdfDialog().setDirectory(folder_.path());
    Write(folder.filePath("page.pdf"), "old page");
    app_->Design().Menu().Data1->trigger();
    QVERIFY(print.isVisible());
    {
      ModalAnswers answers({TypeName("", "page.txt"), Press(QMessageBox::No), CancelDialog()});
      QTest::mouseClick(print.findChild<QPushButton*>("OK"), Qt::LeftButton);
      QCOMPARE(answers.texts, QStringList({Replacing("page.pdf")}));
    }
    QVERIFY(print.isVisible());
    QCOMPARE(ReadAll(folder.filePath("page.pdf")), QByteArray("old page"));
    {
      ModalAnswers answers({TypeName("", "page.txt"), Press(QMessageBox::Yes)});
      QTest::mouseClick(print.findChild<QPushButton*>("OK"), Qt::LeftButton);
      QCOMPARE(answers.texts, QStringList({Replacing("page.pdf")}));
    }
    QCOMPARE(ReadAll(folder.filePath("page.pdf")).left(5), QByteArray("%PDF-"));
    QVERIFY(!QFile::exists(folder.filePath("page.txt")));
  }

  // Every file dialog of the program is the kit's, whose name completer
  // closes with it.
  void everyFileDialogIsTheKits() {
    DesignWindow& design = app_->Design();
    for (QFileDialog* dialog : std::initializer_list<QFileDialog*>{
             &design.OpenDialog(), &design.SaveDialog(), &app_->PictureSize().SaveDialog(),
             &app_->Alignment().PdfDialog(), &app_->LightMap().OpenPictureDialog()}) {
      QVERIFY2(qobject_cast<FileDialog*>(dialog) != nullptr, qPrintable(dialog->objectName()));
      QVERIFY(dialog->testOption(QFileDialog::DontUseNativeDialog));
    }
    bool exportDialogIsTheKits = false;
    ModalAnswers answers({InFileDialog([&](QFileDialog& dialog) {
      exportDialogIsTheKits = qobject_cast<FileDialog*>(&dialog) != nullptr;
      dialog.reject();
    })});
    design.Menu().Export3D1->trigger();
    QVERIFY(exportDialogIsTheKits);
  }

  // Closing the design window: the unsaved design first (it may keep the
  // program open), then, once the program ends, the clipboard.
  void closingAsksAboutTheDesignThenTheClipboard() {
    DesignWindow& design = app_->Design();
    CopyPictureToClipboard(*app_);
    design.findChild<QDoubleSpinBox*>("RxSpinEdit2")->setValue(35.0);
    {
      ModalAnswers answers({Press(QMessageBox::Cancel)});
      QTimer::singleShot(0, &design, [&design] { design.close(); });
      QVERIFY(!RunUntilTheEnd(1000));
      QCOMPARE(answers.texts, QStringList({kUnsaved}));
      QVERIFY(design.isVisible());
      QVERIFY(app_->Picture().isVisible());
    }
    ModalAnswers answers({Press(QMessageBox::Discard), Press(QMessageBox::No)});
    QTimer::singleShot(0, &design, [&design] { design.close(); });
    QVERIFY(RunUntilTheEnd(10000));
    QCOMPARE(answers.texts, QStringList({kUnsaved, kClipboard}));
    QVERIFY(QApplication::clipboard()->image().isNull());
    QVERIFY(!design.isVisible());
    QVERIFY(!app_->Picture().isVisible());
  }

  // Closing the picture window asks once; Yes keeps the picture.
  void closingThePictureAsksAboutTheClipboardOnce() {
    CopyPictureToClipboard(*app_);
    ModalAnswers answers({Press(QMessageBox::Yes), Press(QMessageBox::No)});
    QTimer::singleShot(0, &app_->Picture(), [this] { app_->Picture().close(); });
    QVERIFY(RunUntilTheEnd(10000));
    QCOMPARE(answers.texts, QStringList({kClipboard}));
    QCOMPARE(QApplication::clipboard()->image().size(), QSize(100, 100));
    // The design window, hidden as the program ends, asks nothing more.
    QVERIFY(app_->Design().close());
    QTest::qWait(50);
    QCOMPARE(answers.texts, QStringList({kClipboard}));
  }

 private:
  QTemporaryDir folder_;
  std::unique_ptr<BrilloraApp> app_;
};

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  WorkKeptTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "work_kept_test.moc"
