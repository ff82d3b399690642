#pragma once

#include <QPainter>
#include <QPrinter>

#include "output/print_target.h"

class QWidget;

namespace brillora {

// The system's default printer, or PDF output when no printer is installed:
// Qt can always print to a PDF file.
class SystemPrinter : public PrintTarget {
 public:
  SystemPrinter();
  ~SystemPrinter() override;

  std::optional<PrinterMetrics> Metrics() const override;
  QString Description() const override;
  bool BeginJob(const QString& title) override;
  QPainter& Page() override { return painter_; }
  bool EndJob() override;
  QString LastError() const override { return error_; }
  bool AsksForFile() const override { return printer_.outputFormat() == QPrinter::PdfFormat; }
  void SetFile(const QString& file) override { printer_.setOutputFileName(file); }

  // The printer setup dialog: the installed printers and PDF output.
  bool Properties(QWidget* parent);

 private:
  mutable QPrinter printer_;
  QPainter painter_;
  bool installed_ = false;  // a system printer exists
  QString error_;
};

}  // namespace brillora
