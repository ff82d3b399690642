#include "output/print_target.h"

#include <QPdfWriter>
#include <QSaveFile>

namespace brillora {

PdfPrintTarget::PdfPrintTarget(QString file, QPageSize page) : file_(std::move(file)), page_(std::move(page)) {}

PdfPrintTarget::~PdfPrintTarget() {
  if (painter_.isActive()) painter_.end();
}

std::optional<PrinterMetrics> PdfPrintTarget::Metrics() const {
  const QSize size = page_.sizePixels(kResolution);
  return PrinterMetrics{kResolution, kResolution, size.width(), size.height()};
}

QString PdfPrintTarget::Description() const { return "PDF file " + file_; }

bool PdfPrintTarget::BeginJob(const QString& title) {
  out_ = std::make_unique<QSaveFile>(file_);
  if (!out_->open(QIODevice::WriteOnly)) {
    error_ = out_->errorString();
    out_.reset();
    return false;
  }
  writer_ = std::make_unique<QPdfWriter>(out_.get());
  writer_->setResolution(kResolution);
  writer_->setPageSize(page_);
  writer_->setPageMargins(QMarginsF(0, 0, 0, 0));
  writer_->setTitle(title);
  writer_->setCreator("Brillora");
  if (!painter_.begin(writer_.get())) {
    error_ = "the PDF page could not be made";
    writer_.reset();
    out_.reset();
    return false;
  }
  return true;
}

bool PdfPrintTarget::EndJob() {
  if (!out_) return false;
  const bool drawn = painter_.end();
  writer_.reset();  // the writer finishes the file as it goes
  const bool written = drawn && out_->commit();
  if (!written) error_ = drawn ? out_->errorString() : QString("the PDF page could not be finished");
  out_.reset();
  return written;
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
