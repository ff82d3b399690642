#pragma once

#include <QString>
#include <QWidget>

namespace brillora {

// A window that exists for the whole run so that the others can show, hide and
// place it, while its controls are still to come.
class PlaceholderWindow : public QWidget {
  Q_OBJECT

 public:
  PlaceholderWindow(const QString& objectName, const QString& caption, QSize size,
                    QWidget* parent = nullptr);
};

}  // namespace brillora
