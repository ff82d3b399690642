#pragma once

#include <QObject>
#include <QTemporaryDir>

// The program's file dialog: the file a save really writes, the question
// before it is replaced, and the name completer closing with the dialog.
class FileDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void init();

  void extensionFollowsTheFilter();
  void replacingAskesAboutTheFileWritten();
  void noQuestionWhenToldNotToAsk();
  void completerListClosesWithTheDialog();

 private:
  QTemporaryDir folder_;
};
