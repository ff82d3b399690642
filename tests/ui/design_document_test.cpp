// The design document without a window: the questions before a changed
// design is replaced, the name it takes from the file written, and the
// refractive index a file keeps through opening and saving.

#include "ui/design_document.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <deque>
#include <string>

#include "model/editor_observer.h"
#include "model/step_editor.h"
#include "params/stone_parameters.h"

namespace brillora {
namespace {

QByteArray Sample(const QString& name) {
  QFile file(QString(BRILLORA_SOURCE_DIR) + "/GEM_DAT/" + name);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Answers the document's questions from a script and records what it asked and told.
struct ScriptedDesk : DocumentDesk {
  std::deque<Unsaved> answers;
  QString fileToSave;
  QStringList asked;
  QStringList told;
  int reads = 0;

  Unsaved AskToSaveChanges() override {
    asked << "Save changes to the design?";
    if (answers.empty()) return Unsaved::Cancel;
    const Unsaved answer = answers.front();
    answers.pop_front();
    return answer;
  }
  QString AskFileToSave() override {
    asked << "save dialog";
    return fileToSave;
  }
  void Tell(const QString& message) override { told << message; }
  void ReadingDesign() override { ++reads; }
};

class DesignDocumentTest : public ::testing::Test {
 protected:
  DesignDocumentTest() {
    EXPECT_TRUE(folder.isValid());
    document.StartDefault();
  }

  QString Write(const QString& name, const QByteArray& text) const {
    const QString path = QDir(folder.path()).filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
    return path;
  }
  // Changes the design as the Max Slope does, one step of the history.
  void Change(double maxSlope) { ASSERT_TRUE(document.Editor()->TypeMaxSlope(maxSlope)); }

  QTemporaryDir folder;
  EditorObserver observer;
  StoneParameters parameters;
  ScriptedDesk desk;
  DesignDocument document{observer, parameters, desk};
};

TEST_F(DesignDocumentTest, OpeningAnUnchangedDesignAsksNothing) {
  const QString hexagon = Write("Hexagon6.brl", Sample("Hexagon6.brl"));
  EXPECT_TRUE(document.Open(hexagon));
  EXPECT_TRUE(desk.asked.isEmpty());
  EXPECT_EQ(document.State().SymOrder, 6);
  EXPECT_EQ(document.Caption(), "Hexagon6.brl");
  EXPECT_EQ(desk.reads, 1);
}

TEST_F(DesignDocumentTest, CancelKeepsTheChangedDesignAndItsHistory) {
  const QString hexagon = Write("Hexagon6.brl", Sample("Hexagon6.brl"));
  Change(35.0);
  Change(36.0);
  desk.answers = {DocumentDesk::Unsaved::Cancel};
  EXPECT_FALSE(document.Open(hexagon));
  EXPECT_EQ(desk.asked, QStringList({"Save changes to the design?"}));
  EXPECT_EQ(document.State().SymOrder, 8);
  EXPECT_EQ(document.State().CrownSteps[2].Angle, 36.0);
  EXPECT_EQ(document.Caption(), "  Brillora. *");
  EXPECT_EQ(desk.reads, 0);  // the file was not even read
  // Both edits can still be undone.
  ASSERT_TRUE(document.Editor()->Undo());
  EXPECT_EQ(document.State().CrownSteps[2].Angle, 35.0);
  ASSERT_TRUE(document.Editor()->Undo());
  EXPECT_FALSE(document.IsModified());
}

TEST_F(DesignDocumentTest, DiscardOpensAndSaveWritesFirst) {
  const QString hexagon = Write("Hexagon6.brl", Sample("Hexagon6.brl"));
  Change(35.0);
  desk.answers = {DocumentDesk::Unsaved::Discard};
  EXPECT_TRUE(document.Open(hexagon));
  EXPECT_EQ(document.State().SymOrder, 6);
  EXPECT_FALSE(document.Editor()->CanUndo());

  // Save: the changed design is written to the file asked for, then replaced.
  Change(50.0);
  const QString kept = QDir(folder.path()).filePath("kept.brl");
  desk.fileToSave = kept;
  desk.answers = {DocumentDesk::Unsaved::Save};
  const QString round = Write("Round48.brl", Sample("Round48.brl"));
  EXPECT_TRUE(document.Open(round));
  EXPECT_EQ(document.State().SymOrder, 48);
  EXPECT_TRUE(ReadAll(kept).startsWith("6 Order of Symmetry\r\n"));
  EXPECT_TRUE(ReadAll(kept).contains("\t50.00\t"));

  // A save dialog cancelled keeps the design, as Cancel does.
  Change(20.0);
  desk.fileToSave.clear();
  desk.answers = {DocumentDesk::Unsaved::Save};
  EXPECT_FALSE(document.Open(hexagon));
  EXPECT_EQ(document.State().SymOrder, 48);
  EXPECT_TRUE(document.IsModified());
}

TEST_F(DesignDocumentTest, AFileNoReaderTakesIsRefusedBeforeAnyQuestion) {
  Change(35.0);
  const QString other = Write("design.xyz", Sample("Hexagon6.brl"));
  EXPECT_FALSE(document.Open(other));
  EXPECT_TRUE(desk.asked.isEmpty());
  EXPECT_EQ(desk.told, QStringList({"Invalid File Type"}));
  // A design file that does not read keeps the design too, after the question.
  const QString broken = Write("broken.brl", "13 Order of Symmetry\r\n");
  desk.answers = {DocumentDesk::Unsaved::Discard};
  EXPECT_FALSE(document.Open(broken));
  EXPECT_EQ(desk.told.last(), "Invalid File Format");
  EXPECT_EQ(document.State().CrownSteps[2].Angle, 35.0);
  EXPECT_TRUE(document.Editor()->CanUndo());
}

TEST_F(DesignDocumentTest, TheTitleFollowsTheFileWritten) {
  const QString first = Write("first.brl", Sample("Hexagon6.brl"));
  ASSERT_TRUE(document.Open(first));
  Change(45.0);
  EXPECT_EQ(document.Caption(), "first.brl *");
  EXPECT_TRUE(document.Save(QDir(folder.path()).filePath("second.txt")));
  EXPECT_EQ(document.Caption(), "second.txt");
  EXPECT_EQ(document.FileName(), "second.txt");
  // The old file was not written.
  EXPECT_EQ(ReadAll(first), Sample("Hexagon6.brl"));
  // A failed save keeps the name and the mark.
  Change(46.0);
  EXPECT_FALSE(document.Save(QDir(folder.path()).filePath("missing/third.brl")));
  EXPECT_EQ(document.Caption(), "second.txt *");
  EXPECT_EQ(desk.told.size(), 1);
}

TEST_F(DesignDocumentTest, ClosingAsksOnce) {
  Change(35.0);
  desk.answers = {DocumentDesk::Unsaved::Cancel, DocumentDesk::Unsaved::Discard};
  EXPECT_FALSE(document.MayClose());
  EXPECT_TRUE(document.MayClose());
  EXPECT_TRUE(document.MayClose());
  EXPECT_EQ(desk.asked.size(), 2);
}

// The index bar covers 1.00 to 3.00 in hundredths; the file's index is kept
// whatever the bar can show.
TEST_F(DesignDocumentTest, OpeningAndSavingKeepTheFilesIndex) {
  const QByteArray hexagon = Sample("Hexagon6.brl");
  for (const char* index : {"4.500", "5.000", "2.417", "1.555", "1.000"}) {
    QByteArray text = hexagon;
    text.replace("1.550 Refractive Index", QByteArray(index) + " Refractive Index");
    const QString file = Write(QString("index %1.brl").arg(index), text);
    ASSERT_TRUE(document.Open(file)) << index;
    EXPECT_EQ(parameters.RefractiveIndex(), std::stod(index));
    const QString saved = QDir(folder.path()).filePath(QString("saved %1.brl").arg(index));
    ASSERT_TRUE(document.Save(saved));
    EXPECT_TRUE(ReadAll(saved).contains("\r\n" + QByteArray(index) + " Refractive Index\r\n")) << index;
  }
}

// A custom dispersion goes into the file on a line after the time line and
// comes back from it; a file without one leaves the material's as it was.
TEST_F(DesignDocumentTest, OpeningAndSavingKeepTheDispersion) {
  const QByteArray hexagon = Sample("Hexagon6.brl");
  ASSERT_FALSE(hexagon.contains("Dispersion"));
  ASSERT_TRUE(document.Open(Write("zirconia.brl", hexagon + "0.060 Dispersion\r\n")));
  EXPECT_EQ(parameters.Dispersion(), 0.060);
  const QString saved = QDir(folder.path()).filePath("saved zirconia.brl");
  ASSERT_TRUE(document.Save(saved));
  EXPECT_TRUE(ReadAll(saved).endsWith("\r\n0.060 Dispersion\r\n"));
  ASSERT_TRUE(document.Open(Write("plain.brl", hexagon)));
  EXPECT_EQ(parameters.Dispersion(), 0.060);
}

}  // namespace
}  // namespace brillora
