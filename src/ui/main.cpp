#include <QApplication>
#include <QDir>
#include <QTextStream>

#include "ui/brillora_app.h"
#include "ui/screenshots.h"

// brillora [design file]
// brillora --screenshots FOLDER   writes a picture of every window and ends.
int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QApplication::setApplicationName("Brillora");
  QStringList arguments = QApplication::arguments();
  arguments.removeFirst();

  brillora::BrilloraApp app(QDir(QApplication::applicationDirPath()));
  if (arguments.size() >= 2 && arguments.first() == "--screenshots") {
    app.Start({});
    QString error;
    if (!brillora::WriteScreenshots(app, arguments.at(1), error)) {
      QTextStream(stderr) << "brillora: " << error << "\n";
      return 1;
    }
    return 0;
  }
  app.Start(arguments);
  return QApplication::exec();
}
