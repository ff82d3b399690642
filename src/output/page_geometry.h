#pragma once

namespace brillora {

// What the page geometry needs of a printer: its resolution in dots per inch
// and its page in printer pixels.
struct PrinterMetrics {
  int dpiX = 0;
  int dpiY = 0;
  int pageWidth = 0;
  int pageHeight = 0;
};

// The page preview: its size in preview pixels with the paper's true
// proportions, the preview pixels per printer pixel each way, and the
// centimetres of paper per preview pixel.
struct PageGeometry {
  int width = 0;
  int height = 0;
  double scaleX = 1.0;
  double scaleY = 1.0;
  double cmPerPixel = 0.0;
};

// The preview of the printer's page at a given preview height.
PageGeometry PBAlign(const PrinterMetrics& printer, int previewHeight);

}  // namespace brillora
