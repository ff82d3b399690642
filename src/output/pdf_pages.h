#pragma once

#include <QBuffer>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <filesystem>
#include <string>

namespace brillora {

// A PDF document drawn in memory, page after page, and then saved whole
// through the program's one save: a failed save leaves the old file as it
// was, a link is followed, and only a regular file the user may write is
// replaced, keeping its permissions.
class PdfPages {
 public:
  // The first page is begun; `layout`'s margins place the painter's origin.
  PdfPages(const QPageLayout& layout, int resolution, const QString& title);
  ~PdfPages();
  PdfPages(const PdfPages&) = delete;
  PdfPages& operator=(const PdfPages&) = delete;

  // False when the first page could not be begun.
  bool Begun() const { return painter_.isActive(); }
  QPainter& Page() { return painter_; }
  bool NewPage();
  // Finishes the document and saves it; empty when saved, else the reason.
  std::string Save(const std::filesystem::path& file);

 private:
  QByteArray bytes_;
  QBuffer buffer_;
  QPdfWriter writer_;
  QPainter painter_;
};

}  // namespace brillora
