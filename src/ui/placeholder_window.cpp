#include "ui/placeholder_window.h"

namespace brillora {

PlaceholderWindow::PlaceholderWindow(const QString& objectName, const QString& caption, QSize size,
                                     QWidget* parent)
    : QWidget(parent, Qt::Window) {
  setObjectName(objectName);
  setWindowTitle(caption);
  resize(size);
}

}  // namespace brillora
