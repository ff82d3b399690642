#include "ui/close_guard.h"

#include <QEvent>
#include <utility>

namespace brillora {

CloseGuard::CloseGuard(std::function<bool()> mayClose, QObject* parent)
    : QObject(parent), mayClose_(std::move(mayClose)) {}

bool CloseGuard::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Close && !mayClose_()) {
    event->ignore();
    return true;
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace brillora
