#pragma once

#include <QWidget>

class QProgressBar;
class QPushButton;

namespace brillora {

// Shows how far the preparation of an animation has come; Cancel stops it.
class ProgressWindow : public QWidget {
  Q_OBJECT

 public:
  explicit ProgressWindow(QWidget* parent = nullptr);

  // The preparation reached `percent`: bar and title follow.
  void ShowProgress(int percent);

 signals:
  // "Cancel" was pressed: every animation item must lose its check mark.
  void cancelRequested();

 private:
  QProgressBar* bar_;
  QPushButton* exitButton_;
};

}  // namespace brillora
