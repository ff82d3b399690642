#pragma once

#include <QObject>

class AlignmentWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void firstOpeningOnA4();
  void absentPrinterShowsNoWindow();
  void mouseZonesAndDragging();
  void typedMarginsAreLimited();
  void centringAndZooming();
  void twoCopiesAreTwoJobs();
  void resizingScalesThePage();
  void menuItemsPrintToPdfWithoutAPrinter();
  void firstOpeningStandsInTheMiddle();
  void pdfOutputKeepsTheSaveRules();
  void toleranceColumnOnlyWhenChecked();
};
