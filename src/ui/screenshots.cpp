#include "ui/screenshots.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QWidget>

#include "output/alignment_window.h"
#include "output/picture_size_window.h"
#include "ui/brillora_app.h"

namespace brillora {

bool WriteScreenshots(BrilloraApp& app, const QString& folder, QString& error) {
  if (!QDir().mkpath(folder)) {
    error = "cannot create the folder " + folder;
    return false;
  }
  for (QWidget* window : app.Windows()) {
    // The print window shows its page once it has measured the printer.
    if (window == &app.Alignment()) {
      app.Alignment().Act(ContentKind::DataSheet);
    } else if (window == &app.PictureSize()) {
      app.PictureSize().Prepare(ExportItem::File);
      window->show();
    } else {
      window->show();
    }
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
