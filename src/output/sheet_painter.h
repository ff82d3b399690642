#pragma once

#include <QImage>
#include <QPainter>

#include "model/design.h"
#include "output/sheet_layout.h"
#include "trace/screen_polygon.h"
#include "view/picture_traces.h"
#include "view/refined_pass.h"

namespace brillora {

// What a page shows of the stone: the view as the picture window would draw
// it (stone, surroundings, current orientation, depth, switches, "Edges"), and
// the design's steps and refractive index for the table.
struct SheetSubject {
  RefineRequest view;
  MasStep crown;
  MasStep pavilion;
  double refractiveIndex = 0;
  int symOrder = 0;  // the design's symmetry, which its cutting tolerances need; 0 when not known
  // The data sheet's tolerance column; none: the sheet as usual.
  std::optional<SlopeTolerances> tolerances = std::nullopt;
  // A GemCad design that is not made of steps lists its tiers instead of the steps.
  std::optional<std::vector<GemCadCuttingRow>> gemCadTiers = std::nullopt;
};

// Draws the printed content with a tracer of its own, so that the picture
// window's polygons stay valid whatever is printed or previewed.
class SheetPainter {
 public:
  // The content at the area on `canvas` (a printer page when the area says so).
  void DrawSheet(QPainter& canvas, const SheetArea& area, ContentKind kind, const SheetSubject& subject);
  // The preview of a w x h rectangle: a white (w + 1) x (h + 1) bitmap with
  // the content at (0, 0) and a dotted frame on the edges of its first w x h
  // pixels, which the preview box shows. Null when memory fails.
  QImage PreviewSheet(int w, int h, double scaleX, double scaleY, ContentKind kind, const SheetSubject& subject);
  // The stone seen through `view`, traced at the rectangle's size and filled
  // polygon by polygon, outlined in black when "Edges" is on; no background.
  // With dispersion each line's polygons are drawn alone on white, as on
  // the paper, and give the picture one channel.
  void DrawStoneImage(const Frame& view, const SheetPicture& rect, QPainter& canvas, const SheetSubject& subject);

  // The polygons of the last picture drawn, relative to its top-left corner:
  // with dispersion, those of its first line.
  const ArrayOfFOS& Polygons() const { return traces_.First(); }

 private:
  PictureTraces traces_;
};

// The frame of the data sheet's pavilion picture: the stone seen from below.
Frame FromBelowFrame();

}  // namespace brillora
