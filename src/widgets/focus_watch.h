#pragma once

#include <QObject>

class QWidget;

namespace brillora {

// Reports the input focus entering any of the watched widgets, with the reason
// it moved. A window blocks its signals while it shows its state: focus that
// moves on because a control was hidden is not the user's.
class FocusWatch : public QObject {
  Q_OBJECT

 public:
  explicit FocusWatch(QObject* parent = nullptr) : QObject(parent) {}

  void Watch(QWidget* widget);

  // A click, the Tab keys or a shortcut: the user moved into the control. Focus
  // that comes back because the window was activated, a page was shown, a popup
  // closed or the program set it is not the user entering the control.
  static bool MovedByUser(Qt::FocusReason reason);
  // The window was activated again or a popup closed: the focus only returns
  // to the control that had it.
  static bool CameBack(Qt::FocusReason reason);

 signals:
  void entered(QWidget* widget, Qt::FocusReason reason);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace brillora
