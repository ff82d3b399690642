#pragma once

#include <QObject>
#include <QStringList>
#include <QTimer>
#include <QMessageBox>
#include <functional>
#include <vector>

class QDialog;
class QFileDialog;
class QWidget;

// One answer: what is done with the next modal window it fits.
struct Answer {
  std::function<bool(QWidget*)> fits;
  std::function<void(QWidget*)> give;
};

// Answers the modal windows that appear while it lives, one answer each, in
// order, each to a window it fits, and records the texts of the message boxes.
class ModalAnswers : public QObject {
 public:
  explicit ModalAnswers(std::vector<Answer> answers);
  QStringList texts;
  bool AllGiven() const { return next_ == answers_.size(); }

 private:
  QTimer timer_;
  std::vector<Answer> answers_;
  std::size_t next_ = 0;
};

Answer Press(QMessageBox::StandardButton button);
// Works the file dialog from its own loop, so that a question it asks
// meanwhile is answered by the answer after this one.
Answer InFileDialog(std::function<void(QFileDialog&)> work);
// Types a name under a filter (none: the one chosen) and presses Return, as the user does.
Answer TypeName(const QString& filter, const QString& name);
// The file dialog is cancelled.
Answer CancelDialog();
// That modal window (not a file dialog or a message box) is closed.
Answer Close(QDialog& window);

// Drops the files on the window, as the file manager does.
void DropFiles(QWidget* target, const QStringList& files);

// Runs the program's own event loop, as a user's session does, until the
// program ends or `limitMs` pass; true when the program ended by itself.
bool RunUntilTheEnd(int limitMs);
