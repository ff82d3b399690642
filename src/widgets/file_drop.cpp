#include "widgets/file_drop.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

namespace brillora {

void WelcomeFiles(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

std::optional<QString> TakeDroppedFile(QDropEvent* event, qsizetype longest) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (urls.isEmpty()) return std::nullopt;
  event->acceptProposedAction();
  return urls.first().toLocalFile().left(longest);
}

}  // namespace brillora
