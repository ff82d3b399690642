#pragma once

#include <QWidget>

class QProgressBar;
class QPushButton;

namespace brillora {

// Shows how far the preparation of an animation has come; Cancel stops it. A
// tool window without system buttons: closing it anyway (by the desktop's own
// means) cancels as Cancel does, and leaves the window to show again.
class ProgressWindow : public QWidget {
  Q_OBJECT

 public:
  explicit ProgressWindow(QWidget* parent = nullptr);

  // The preparation reached `percent`: bar and title follow.
  void ShowProgress(int percent);

 signals:
  // "Cancel" was pressed or the window closed: every animation item must lose
  // its check mark.
  void cancelRequested();

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool event(QEvent* event) override;

 private:
  // Wide enough for the longest caption in the application's font.
  void FitCaption();

  QProgressBar* bar_;
  QPushButton* exitButton_;
};

}  // namespace brillora
