// The Gallery window as a user meets it: opened from File over the sample
// designs, filling in, sorted, another folder chosen, and a design opened by
// a double click through the design window's own question about unsaved work.

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <memory>

#include "analysis/light_figures.h"
#include "io/design_file.h"
#include "model/facet_construction.h"
#include "modal_answers.h"
#include "ui/brillora_app.h"
#include "ui/design_window.h"
#include "ui/gallery_window.h"

using namespace brillora;

namespace {

const QString kUnsaved = "Save changes to the design?";
constexpr int kFillMs = 300000;

// What an entry says: its name, its symmetry and facets, its ISO.
QStringList Lines(const QModelIndex& entry) { return entry.data().toString().split('\n'); }

// The entries in the order the window shows them.
QList<QModelIndex> Entries(const QListView& list) {
  QList<QModelIndex> entries;
  for (int row = 0; row < list.model()->rowCount(); ++row) entries << list.model()->index(row, 0);
  return entries;
}

QModelIndex EntryNamed(const QListView& list, const QString& name) {
  for (const QModelIndex& entry : Entries(list)) {
    if (Lines(entry).first() == name) return entry;
  }
  return {};
}

void DoubleClick(QListView& list, const QModelIndex& entry) {
  QVERIFY(entry.isValid());
  QVERIFY(QTest::qWaitForWindowExposed(list.window()));
  list.scrollTo(entry);
  QTRY_VERIFY(list.viewport()->rect().contains(list.visualRect(entry).center()));
  // The events of a double click as the desktop sends them.
  const QPoint centre = list.visualRect(entry).center();
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, centre);
  QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, centre);
  QTest::mouseRelease(list.viewport(), Qt::LeftButton, {}, centre);
}

const QRegularExpression kFigures("^(\\d+)-fold, (\\d+) facets$");
const QRegularExpression kIso("^ISO (\\d+\\.\\d\\d) %$");

double IsoShown(const QModelIndex& entry) {
  const QRegularExpressionMatch iso = kIso.match(Lines(entry).value(2));
  return iso.hasMatch() ? iso.captured(1).toDouble() : -1.0;
}

}  // namespace

class GalleryWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    folder_ = std::make_unique<QTemporaryDir>();
    QVERIFY(folder_->isValid());
    const QDir programFolder(folder_->path());
    const QDir samples(QString(BRILLORA_SOURCE_DIR) + "/GEM_DAT");
    QVERIFY(programFolder.mkpath("GEM_DAT"));
    designs_ = samples.entryList({"*.brl"}, QDir::Files, QDir::Name | QDir::IgnoreCase);
    QVERIFY(designs_.size() >= 40);
    for (const QString& name : designs_) {
      QVERIFY(QFile::copy(samples.filePath(name), Sample("GEM_DAT/" + name)));
    }
    QVERIFY(QFile::copy(samples.filePath("README.md"), Sample("GEM_DAT/README.md")));
    app_ = std::make_unique<BrilloraApp>(programFolder);
    app_->Start({});
  }
  void cleanup() {
    app_.reset();
    folder_.reset();
  }

  // File -> "Gallery" shows an entry for every design at once; each fills in
  // with the design's figures and picture; sorting by ISO puts the brightest first.
  void opensAtOnceFillsInAndSorts() {
    GalleryWindow& gallery = app_->Gallery();
    auto* list = gallery.findChild<QListView*>("GalleryList");
    QVERIFY(list);
    app_->Design().Menu().Gallery1->trigger();
    QVERIFY(gallery.isVisible());
    QCOMPARE(gallery.findChild<QLabel*>("FolderLabel")->text(),
             QDir::toNativeSeparators(Sample("GEM_DAT")));
    QCOMPARE(list->model()->rowCount(), designs_.size());
    QCOMPARE(gallery.Pending(), designs_.size());
    QCOMPARE(Lines(list->model()->index(0, 0)).value(1), QString("Computing..."));

    QTRY_COMPARE_WITH_TIMEOUT(gallery.Pending(), 0, kFillMs);
    QCOMPARE(gallery.findChild<QLabel*>("GalleryState")->text(), QString("%1 designs.").arg(designs_.size()));
    QStringList names;
    for (const QModelIndex& entry : Entries(*list)) {
      const QStringList lines = Lines(entry);
      names << lines.first();
      QCOMPARE(lines.size(), 3);
      const QRegularExpressionMatch figures = kFigures.match(lines[1]);
      QVERIFY2(figures.hasMatch(), qPrintable(lines.join(" / ")));
      const DesignReadResult read =
          OpenDesignFile(Sample("GEM_DAT/" + lines.first() + ".brl").toStdString());
      QVERIFY(read.ok());
      QCOMPARE(figures.captured(1).toInt(), read.design.SymOrder);
      QVERIFY(figures.captured(2).toInt() > 0);
      QVERIFY2(IsoShown(entry) > 0, qPrintable(lines.join(" / ")));
      QVERIFY(!entry.data(Qt::DecorationRole).value<QIcon>().isNull());
    }
    // By name, as the files are named.
    QStringList expected = designs_;
    for (QString& name : expected) name.chop(4);
    QCOMPARE(names, expected);

    // One figure as the analysis gives it on its own.
    const DesignReadResult round = OpenDesignFile(Sample("GEM_DAT/RoundBrilliant.brl").toStdString());
    Design design = round.design;
    const LightFigures figures =
        LightAnalyzer().Analyze(ConstructStone(design), IdentityFrame(), {10, 9, round.refractiveIndex});
    QCOMPARE(IsoShown(EntryNamed(*list, "RoundBrilliant")), std::round(10000 * figures.Iso) / 100);
    // What the folder's README says of it comes first when hovered.
    QVERIFY(EntryNamed(*list, "RoundBrilliant")
                .data(Qt::ToolTipRole)
                .toString()
                .startsWith("the classic round brilliant as closely as tiers allow\n"));

    gallery.findChild<QComboBox*>("SortBox")->setCurrentText("ISO");
    QList<double> isos;
    for (const QModelIndex& entry : Entries(*list)) isos << IsoShown(entry);
    QCOMPARE(isos.size(), designs_.size());
    QVERIFY(std::is_sorted(isos.begin(), isos.end(), std::greater<>()));
    QVERIFY(isos.first() > isos.last());
    gallery.findChild<QComboBox*>("SortBox")->setCurrentText("Name");
    QCOMPARE(Lines(Entries(*list).first()).first(), expected.first());
  }

  // A double click opens the design as the open dialog would: over a changed
  // design the question comes first, and Cancel keeps the work.
  void doubleClickOpensTheDesignAskingAboutUnsavedWork() {
    GalleryWindow& gallery = app_->Gallery();
    DesignWindow& design = app_->Design();
    auto* list = gallery.findChild<QListView*>("GalleryList");
    design.Menu().Gallery1->trigger();
    // At once, while the entries are still filling in.
    QVERIFY(gallery.Pending() > 0);
    DoubleClick(*list, EntryNamed(*list, "Hexagon6"));
    QCOMPARE(design.State().SymOrder, 6);
    QCOMPARE(design.windowTitle(), QString("Hexagon6.brl"));

    design.findChild<QDoubleSpinBox*>("RxSpinEdit2")->setValue(35.0);
    QCOMPARE(design.windowTitle(), QString("Hexagon6.brl *"));
    {
      ModalAnswers answers({Press(QMessageBox::Cancel)});
      DoubleClick(*list, EntryNamed(*list, "Trilliant"));
      QVERIFY(answers.AllGiven());
      QCOMPARE(answers.texts, QStringList({kUnsaved}));
    }
    QCOMPARE(design.State().SymOrder, 6);
    QCOMPARE(design.windowTitle(), QString("Hexagon6.brl *"));
    QVERIFY(design.Menu().Undo1->isEnabled());
    {
      ModalAnswers answers({Press(QMessageBox::Discard)});
      DoubleClick(*list, EntryNamed(*list, "Trilliant"));
      QVERIFY(answers.AllGiven());
    }
    QCOMPARE(design.State().SymOrder, 3);
    QCOMPARE(design.windowTitle(), QString("Trilliant.brl"));
  }

  // Another folder replaces the entries and the work in hand; a file that is
  // no design gets an entry that says so.
  void anotherFolderReplacesTheWorkInHand() {
    QTemporaryDir other;
    QVERIFY(other.isValid());
    const QString samples = QString(BRILLORA_SOURCE_DIR) + "/GEM_DAT/";
    QVERIFY(QFile::copy(samples + "Round48.brl", other.filePath("Round48.brl")));
    QVERIFY(QFile::copy(samples + "Default.brl", other.filePath("b.txt")));
    QFile broken(other.filePath("Broken.brl"));
    QVERIFY(broken.open(QIODevice::WriteOnly));
    broken.write("8 Order of Symmetry\nnot a design\n");
    broken.close();

    GalleryWindow& gallery = app_->Gallery();
    auto* list = gallery.findChild<QListView*>("GalleryList");
    app_->Design().Menu().Gallery1->trigger();
    QVERIFY(gallery.Pending() > 0);
    {
      ModalAnswers answers({InFileDialog([&other](QFileDialog& dialog) {
        dialog.setDirectory(other.path());
        static_cast<QDialog&>(dialog).accept();  // as its Choose button does
      })});
      QTest::mouseClick(gallery.findChild<QPushButton*>("ChooseFolder"), Qt::LeftButton);
      QVERIFY(answers.AllGiven());
    }
    QCOMPARE(gallery.findChild<QLabel*>("FolderLabel")->text(), QDir::toNativeSeparators(other.path()));
    QCOMPARE(list->model()->rowCount(), 3);
    QTRY_COMPARE_WITH_TIMEOUT(gallery.Pending(), 0, kFillMs);
    // Nothing of the folder left behind came in meanwhile.
    QTest::qWait(100);
    QCOMPARE(list->model()->rowCount(), 3);
    const QModelIndex brokenEntry = EntryNamed(*list, "Broken");
    QCOMPARE(Lines(brokenEntry).value(1), QString("Cannot be read"));
    QVERIFY(brokenEntry.data(Qt::ToolTipRole).toString().contains(QString::fromUtf8(kInvalidFileFormat.data())));
    QCOMPARE(Lines(EntryNamed(*list, "b")).value(1), QString("8-fold, 26 facets"));
    QCOMPARE(Lines(EntryNamed(*list, "Round48")).value(1), QString("48-fold, 386 facets"));

    // By ISO, the entry without a figure comes last.
    gallery.findChild<QComboBox*>("SortBox")->setCurrentText("ISO");
    QCOMPARE(Lines(Entries(*list).last()).first(), QString("Broken"));
  }

  // Closing the window abandons the work; showing it again starts afresh.
  void closingAbandonsTheWork() {
    GalleryWindow& gallery = app_->Gallery();
    app_->Design().Menu().Gallery1->trigger();
    gallery.close();
    QTest::qWait(300);
    QCOMPARE(gallery.Pending(), designs_.size());
    app_->Design().Menu().Gallery1->trigger();
    QTRY_COMPARE_WITH_TIMEOUT(gallery.Pending(), 0, kFillMs);
  }

 private:
  // A file of the program's folder.
  QString Sample(const QString& name) const { return QDir(folder_->path()).filePath(name); }

  std::unique_ptr<QTemporaryDir> folder_;
  QStringList designs_;
  std::unique_ptr<BrilloraApp> app_;
};

QTEST_MAIN(GalleryWindowTest)
#include "gallery_window_test.moc"
