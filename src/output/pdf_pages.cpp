#include "output/pdf_pages.h"

#include "io/atomic_save.h"

namespace brillora {

PdfPages::PdfPages(const QPageLayout& layout, int resolution, const QString& title)
    : buffer_(&bytes_), writer_(&buffer_) {
  buffer_.open(QIODevice::WriteOnly);
  writer_.setResolution(resolution);
  writer_.setPageLayout(layout);
  writer_.setTitle(title);
  writer_.setCreator("Brillora");
  painter_.begin(&writer_);
}

PdfPages::~PdfPages() {
  if (painter_.isActive()) painter_.end();
}

bool PdfPages::NewPage() { return painter_.isActive() && writer_.newPage(); }

std::string PdfPages::Save(const std::filesystem::path& file) {
  if (!painter_.isActive() || !painter_.end()) return "the PDF document could not be finished";
  AtomicSave out(file);
  if (out.Write(bytes_.constData(), static_cast<std::size_t>(bytes_.size())) && out.Commit()) return {};
  return out.Error();
}

}  // namespace brillora
