#include "output/system_printer.h"

#include <QPrintDialog>
#include <QPrinterInfo>

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
  if (!painter_.begin(&printer_)) {
    error_ = printer_.outputFormat() == QPrinter::PdfFormat
                 ? "The PDF file " + printer_.outputFileName() + " cannot be written."
                 : "The printer " + printer_.printerName() + " cannot start the job.";
    return false;
  }
  return true;
}

bool SystemPrinter::EndJob() {
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
