#include "widgets/focus_watch.h"

#include <QFocusEvent>
#include <QWidget>

namespace brillora {

void FocusWatch::Watch(QWidget* widget) {
  widget->installEventFilter(this);
}

bool FocusWatch::MovedByUser(Qt::FocusReason reason) {
  switch (reason) {
    case Qt::MouseFocusReason:
    case Qt::TabFocusReason:
    case Qt::BacktabFocusReason:
    case Qt::ShortcutFocusReason:
      return true;
    default:
      return false;
  }
}

bool FocusWatch::CameBack(Qt::FocusReason reason) {
  return reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason;
}

bool FocusWatch::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusIn && watched->isWidgetType()) {
    emit entered(static_cast<QWidget*>(watched), static_cast<QFocusEvent*>(event)->reason());
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace brillora
