#include "output/system_printer.h"

#include <QPrintDialog>
#include <QPrinterInfo>

#include "output/pdf_pages.h"

namespace brillora {

SystemPrinter::SystemPrinter() : printer_(QPrinter::HighResolution) {
  installed_ = !QPrinterInfo::availablePrinterNames().isEmpty();
  if (!installed_) printer_.setOutputFormat(QPrinter::PdfFormat);
}

SystemPrinter::~SystemPrinter() {
  if (painter_.isActive()) painter_.end();
}

std::optional<PrinterMetrics> SystemPrinter::Metrics() const {
  if (!printer_.isValid()) return std::nullopt;
  const QRect page = printer_.pageLayout().paintRectPixels(printer_.resolution());
  if (page.isEmpty() || printer_.logicalDpiX() <= 0 || printer_.logicalDpiY() <= 0) return std::nullopt;
  return PrinterMetrics{printer_.logicalDpiX(), printer_.logicalDpiY(), page.width(), page.height()};
}

QString SystemPrinter::Description() const {
  if (printer_.outputFormat() == QPrinter::PdfFormat) {
    return installed_ ? QString("PDF file") : QString("PDF file (no printer installed)");
  }
  return printer_.printerName();
}

bool SystemPrinter::BeginJob(const QString& title) {
  printer_.setDocName(title);
  if (ToFile()) {
    // The printer's own layout and resolution: the page measures as Metrics says.
    pdf_ = std::make_unique<PdfPages>(printer_.pageLayout(), printer_.resolution(), title);
    if (pdf_->Begun()) return true;
    pdf_.reset();
    error_ = "The PDF file " + printer_.outputFileName() + " cannot be drawn.";
    return false;
  }
  if (!painter_.begin(&printer_)) {
    error_ = "The printer " + printer_.printerName() + " cannot start the job.";
    return false;
  }
  return true;
}

QPainter& SystemPrinter::Page() { return pdf_ ? pdf_->Page() : painter_; }

bool SystemPrinter::NewPage() {
  if (pdf_ && pdf_->NewPage()) return true;
  pdf_.reset();
  error_ = "The PDF file " + printer_.outputFileName() + " cannot be drawn.";
  return false;
}

bool SystemPrinter::EndJob() {
  if (pdf_) {
    // The words the image export uses for a file it cannot write.
    const std::string reason = pdf_->Save(printer_.outputFileName().toStdString());
    pdf_.reset();
    if (reason.empty()) return true;
    error_ = "Cannot write " + printer_.outputFileName() + ": " + QString::fromStdString(reason);
    return false;
  }
  if (!painter_.isActive()) return false;
  if (!painter_.end()) {
    error_ = "The job " + printer_.docName() + " could not be finished.";
    return false;
  }
  return true;
}

bool SystemPrinter::Properties(QWidget* parent) {
  QPrintDialog dialog(&printer_, parent);
  dialog.setObjectName("PrinterSetupDialog1");
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace brillora
