#pragma once

#include <QPainter>
#include <QPrinter>
#include <memory>

#include "output/print_target.h"

class QWidget;

namespace brillora {

// The system's default printer, or PDF output when no printer is installed:
// Qt can always print to a PDF file. A PDF file is drawn in memory on the
// printer's page and saved as every file of the program is (PdfPages), its
// copies as its pages.
class SystemPrinter : public PrintTarget {
 public:
  SystemPrinter();
  ~SystemPrinter() override;

  std::optional<PrinterMetrics> Metrics() const override;
  QString Description() const override;
  bool BeginJob(const QString& title) override;
  QPainter& Page() override;
  bool NewPage() override;
  bool EndJob() override;
  bool CopiesAsPages() const override { return ToFile(); }
  QString LastError() const override { return error_; }
  bool AsksForFile() const override { return ToFile(); }
  void SetFile(const QString& file) override { printer_.setOutputFileName(file); }

  // The printer setup dialog: the installed printers and PDF output.
  bool Properties(QWidget* parent);

 private:
  bool ToFile() const { return printer_.outputFormat() == QPrinter::PdfFormat; }

  mutable QPrinter printer_;
  QPainter painter_;
  std::unique_ptr<PdfPages> pdf_;  // the PDF file's job
  bool installed_ = false;  // a system printer exists
  QString error_;
};

}  // namespace brillora
