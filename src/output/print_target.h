#pragma once

#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "output/page_geometry.h"

namespace brillora {

class PdfPages;

// What printing needs of a printer: its resolution and page, and jobs with a
// title. Behind it: the system's printers, a PDF file, or a picture of the
// page. A printer prints each copy as a job of its own; a file holds the
// copies as the pages of one job (CopiesAsPages).
class PrintTarget {
 public:
  virtual ~PrintTarget() = default;
  // nullopt when there is nothing to print to.
  virtual std::optional<PrinterMetrics> Metrics() const = 0;
  // The printer as the window's printer line names it.
  virtual QString Description() const = 0;
  virtual bool BeginJob(const QString& title) = 0;
  // The page of the job begun; valid until EndJob.
  virtual QPainter& Page() = 0;
  // The job's next page, for a target that keeps copies as pages; a failure
  // drops the job.
  virtual bool NewPage() { return false; }
  virtual bool EndJob() = 0;
  virtual bool CopiesAsPages() const { return false; }
  // Why the last job failed.
  virtual QString LastError() const = 0;
  // Output to a file whose name is asked for before printing (SetFile).
  virtual bool AsksForFile() const { return false; }
  virtual void SetFile(const QString& /*file*/) {}
};

// Prints `copies` copies of what `draw` draws on a page: on a printer one job
// each, titled "Brillora 1", "Brillora 2", ...; into a file one job titled
// "Brillora 1" with a page for each copy. Empty when printed, else the
// target's reason.
QString PrintCopies(PrintTarget& target, int copies, const std::function<void(QPainter&)>& draw);

// A PDF file, its pages drawn in memory and saved whole when the job ends
// (PdfPages), so that a failed job leaves the old file as it was. A failure
// reads as the save's reason alone.
class PdfPrintTarget : public PrintTarget {
 public:
  static constexpr int kResolution = 600;
  PdfPrintTarget(QString file, QPageSize page);
  ~PdfPrintTarget() override;

  std::optional<PrinterMetrics> Metrics() const override;
  QString Description() const override;
  bool BeginJob(const QString& title) override;
  QPainter& Page() override;
  bool NewPage() override;
  bool EndJob() override;
  bool CopiesAsPages() const override { return true; }
  QString LastError() const override { return error_; }

 private:
  QString file_;
  QPageSize page_;
  std::unique_ptr<PdfPages> pages_;
  QString error_;
};

// Pages drawn into pictures of the paper, white to begin with, kept in the
// order of the jobs with their titles.
class ImagePrintTarget : public PrintTarget {
 public:
  ImagePrintTarget(QPageSize page, int dpiX, int dpiY);

  std::optional<PrinterMetrics> Metrics() const override;
  QString Description() const override { return "Picture of the page"; }
  bool BeginJob(const QString& title) override;
  QPainter& Page() override { return painter_; }
  bool EndJob() override;
  QString LastError() const override { return error_; }

  const std::vector<QImage>& Pages() const { return pages_; }
  const QStringList& Titles() const { return titles_; }

 private:
  PrinterMetrics metrics_;
  QImage page_;
  QPainter painter_;
  std::vector<QImage> pages_;
  QStringList titles_;
  QString error_;
};

}  // namespace brillora
