#include "message_catcher.h"

#include <QApplication>
#include <QMessageBox>

MessageCatcher::MessageCatcher(QObject* parent) : QObject(parent) {
  connect(&timer_, &QTimer::timeout, this, &MessageCatcher::Poll);
  timer_.start(5);
}

void MessageCatcher::Poll() {
  if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
    texts_ << box->text();
    box->done(QMessageBox::Ok);
  }
}
