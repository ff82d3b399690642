#include "output/print_target.h"

#include <cassert>

#include "output/pdf_pages.h"

namespace brillora {

QString PrintCopies(PrintTarget& target, int copies, const std::function<void(QPainter&)>& draw) {
  assert(copies >= 1);
  if (target.CopiesAsPages()) {
    if (!target.BeginJob("Brillora 1")) return target.LastError();
    for (int i = 1; i <= copies; ++i) {
      if (i > 1 && !target.NewPage()) return target.LastError();
      draw(target.Page());
    }
    return target.EndJob() ? QString() : target.LastError();
  }
  for (int i = 1; i <= copies; ++i) {
    const bool begun = target.BeginJob(QString("Brillora %1").arg(i));
    if (begun) draw(target.Page());
    if (!begun || !target.EndJob()) return target.LastError();
  }
  return {};
}

PdfPrintTarget::PdfPrintTarget(QString file, QPageSize page) : file_(std::move(file)), page_(std::move(page)) {}

PdfPrintTarget::~PdfPrintTarget() = default;

std::optional<PrinterMetrics> PdfPrintTarget::Metrics() const {
  const QSize size = page_.sizePixels(kResolution);
  return PrinterMetrics{kResolution, kResolution, size.width(), size.height()};
}

QString PdfPrintTarget::Description() const { return "PDF file " + file_; }

bool PdfPrintTarget::BeginJob(const QString& title) {
  pages_ = std::make_unique<PdfPages>(QPageLayout(page_, QPageLayout::Portrait, QMarginsF()), kResolution, title);
  if (pages_->Begun()) return true;
  error_ = "the PDF page could not be made";
  pages_.reset();
  return false;
}

QPainter& PdfPrintTarget::Page() {
  assert(pages_ != nullptr);
  return pages_->Page();
}

bool PdfPrintTarget::NewPage() {
  if (pages_ && pages_->NewPage()) return true;
  error_ = "the next PDF page could not be made";
  pages_.reset();
  return false;
}

bool PdfPrintTarget::EndJob() {
  if (!pages_) return false;
  error_ = QString::fromStdString(pages_->Save(file_.toStdString()));
  pages_.reset();
  return error_.isEmpty();
}

ImagePrintTarget::ImagePrintTarget(QPageSize page, int dpiX, int dpiY) {
  const QSizeF inches = page.size(QPageSize::Inch);
  metrics_ = {dpiX, dpiY, qRound(inches.width() * dpiX), qRound(inches.height() * dpiY)};
}

std::optional<PrinterMetrics> ImagePrintTarget::Metrics() const { return metrics_; }

bool ImagePrintTarget::BeginJob(const QString& title) {
  page_ = QImage(metrics_.pageWidth, metrics_.pageHeight, QImage::Format_RGB32);
  if (page_.isNull()) {
    error_ = "the page is too large for memory";
    return false;
  }
  page_.fill(Qt::white);
  if (!painter_.begin(&page_)) {
    error_ = "the page could not be drawn";
    return false;
  }
  titles_ << title;
  return true;
}

bool ImagePrintTarget::EndJob() {
  if (!painter_.isActive()) return false;
  painter_.end();
  pages_.push_back(page_);
  return true;
}

}  // namespace brillora
