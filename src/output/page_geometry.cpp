#include "output/page_geometry.h"

#include "output/single_round.h"

namespace brillora {

PageGeometry PBAlign(const PrinterMetrics& printer, int previewHeight) {
  const double r = static_cast<double>(printer.dpiX) / printer.dpiY;
  PageGeometry page;
  page.height = previewHeight;
  page.width = RoundSingle(static_cast<double>(printer.pageWidth) * previewHeight / printer.pageHeight / r);
  page.scaleY = static_cast<double>(previewHeight) / printer.pageHeight;
  page.scaleX = page.scaleY / r;
  page.cmPerPixel = 2.54 / (page.scaleY * printer.dpiY);
  return page;
}

}  // namespace brillora
