#include "ui/progress_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace brillora {

namespace {

constexpr int kLeastWidth = 300;

QString Caption(int percent) { return QString("  Progress of the Data Preparing %1%").arg(percent); }

}  // namespace

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
  resize(kLeastWidth, 90);
  FitCaption();
  connect(exitButton_, &QPushButton::clicked, this, &ProgressWindow::cancelRequested);
}

void ProgressWindow::ShowProgress(int percent) {
  bar_->setValue(percent);
  setWindowTitle(Caption(percent));
}

void ProgressWindow::closeEvent(QCloseEvent* event) {
  // Only hidden: the next preparation shows the window again.
  event->accept();
  emit cancelRequested();
}

bool ProgressWindow::event(QEvent* event) {
  if (event->type() == QEvent::ApplicationFontChange) FitCaption();
  return QWidget::event(event);
}

void ProgressWindow::FitCaption() {
  // The desktop draws the caption in the application's font; a tool window
  // without buttons needs room for the title and a margin each side.
  const QFontMetrics metrics(QApplication::font());
  setMinimumWidth(std::max(kLeastWidth, metrics.horizontalAdvance(Caption(100)) + 2 * metrics.height()));
}

}  // namespace brillora
