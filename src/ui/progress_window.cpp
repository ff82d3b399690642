#include "ui/progress_window.h"

#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace brillora {

ProgressWindow::ProgressWindow(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      bar_(new QProgressBar(this)),
      exitButton_(new QPushButton("Cancel", this)) {
  setObjectName("Progress");
  setWindowTitle("  Progress");
  bar_->setObjectName("ProgressBar1");
  bar_->setRange(0, 100);
  bar_->setValue(0);
  exitButton_->setObjectName("ExitButton");
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(bar_);
  layout->addWidget(exitButton_, 0, Qt::AlignHCenter);
  resize(300, 90);
  connect(exitButton_, &QPushButton::clicked, this, &ProgressWindow::cancelRequested);
}

void ProgressWindow::ShowProgress(int percent) {
  bar_->setValue(percent);
  setWindowTitle(QString("  Progress of the Data Preparing %1%").arg(percent));
}

}  // namespace brillora
