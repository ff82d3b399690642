#pragma once

#include <QDialog>

namespace brillora {

// The product name and its release.
class AboutWindow : public QDialog {
  Q_OBJECT

 public:
  explicit AboutWindow(QWidget* parent = nullptr);
};

}  // namespace brillora
