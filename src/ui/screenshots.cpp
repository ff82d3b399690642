#include "ui/screenshots.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QWidget>

#include "ui/brillora_app.h"

namespace brillora {

bool WriteScreenshots(BrilloraApp& app, const QString& folder, QString& error) {
  if (!QDir().mkpath(folder)) {
    error = "cannot create the folder " + folder;
    return false;
  }
  for (QWidget* window : app.Windows()) {
    window->show();
    QApplication::processEvents();
    const QString file = QDir(folder).filePath(window->objectName() + ".png");
    if (!window->grab().save(file)) {
      error = "cannot write " + file;
      return false;
    }
    window->hide();
  }
  return true;
}

}  // namespace brillora
