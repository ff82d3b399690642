#pragma once

#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

#include "output/page_geometry.h"

class QPdfWriter;
class QSaveFile;

namespace brillora {

// What printing needs of a printer: its resolution and page, and jobs of one
// page each with a title. Behind it: the system's printers, a PDF file, or a
// picture of the page.
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
  virtual bool EndJob() = 0;
  // Why the last job failed.
  virtual QString LastError() const = 0;
  // Output to a file whose name is asked for before printing (SetFile).
  virtual bool AsksForFile() const { return false; }
  virtual void SetFile(const QString& /*file*/) {}
};

// A PDF file of one page, written beside the old file and renamed over it
// when the job ends, so that a failed job leaves the old file as it was.
class PdfPrintTarget : public PrintTarget {
 public:
  static constexpr int kResolution = 600;
  PdfPrintTarget(QString file, QPageSize page);
  ~PdfPrintTarget() override;

  std::optional<PrinterMetrics> Metrics() const override;
  QString Description() const override;
  bool BeginJob(const QString& title) override;
  QPainter& Page() override { return painter_; }
  bool EndJob() override;
  QString LastError() const override { return error_; }

 private:
  QString file_;
  QPageSize page_;
  std::unique_ptr<QSaveFile> out_;
  std::unique_ptr<QPdfWriter> writer_;
  QPainter painter_;
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
