#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QTextStream>
#include <cstring>
#include <iostream>

#include "ui/brillora_app.h"
#include "ui/data_folder.h"
#include "ui/screenshots.h"
#include "version/brillora_version.h"

// brillora [design file]
// brillora --screenshots FOLDER   writes a picture of every window and ends.
// brillora --version              prints the release and the build's commit.
int main(int argc, char* argv[]) {
  // Answered before the application starts, so that it needs no display.
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::cout << brillora::VersionLine() << std::endl;
    return std::cout ? 0 : 1;
  }
  QApplication application(argc, argv);
  QApplication::setApplicationName("Brillora");
  // The desktop matches the windows with the menu entry, and so its icon.
  QGuiApplication::setDesktopFileName("brillora");
  QIcon icon;
  for (const int size : {16, 24, 32, 48, 64, 128, 256}) icon.addFile(QString(":/icons/%1.png").arg(size));
  QApplication::setWindowIcon(icon);
  QStringList arguments = QApplication::arguments();
  arguments.removeFirst();

  brillora::BrilloraApp app(brillora::DataFolder(QDir(QApplication::applicationDirPath())));
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
