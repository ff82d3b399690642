#include "ui/data_folder.h"

namespace brillora {

QDir DataFolder(const QDir& programFolder) {
  if (programFolder.exists("GEM_DAT")) return programFolder;
  // Relative to the program, so that an installation moved as a whole, or
  // staged under a DESTDIR, still finds its data.
  const QDir installed(programFolder.filePath(QStringLiteral(BRILLORA_DATA_FROM_PROGRAM)));
  if (installed.exists("GEM_DAT")) return QDir(installed.canonicalPath());
  return programFolder;
}

}  // namespace brillora
