#pragma once

#include <cstdint>

#include <QImage>
#include <QPainter>
#include <QRect>

#include "trace/screen_polygon.h"
#include "view/paint_style.h"

namespace brillora {

// The fast pass: fills the bitmap (24-bit RGB888, or RGB32, on which Qt paints
// fastest) with the background, then every
// polygon in list order, filled in its colour (half its green when
// highlighted) and outlined one pixel wide in the edge colour, or in its own
// colour when edges are off. The polygons must be mapped to the bitmap's size
// (FastScale).
void PaintPolygons(QImage& target, const ArrayOfFOS& screen, const PaintStyle& style);

// Runs the fast pass into a bitmap reaching to the rectangle's right and
// bottom edges and copies the rectangle into the same place of `canvas`. The
// polygons must be mapped to that bitmap's size.
void PaintRect(const QRect& rect, const ArrayOfFOS& screen, const PaintStyle& style,
               QPainter& canvas);

// Draws polygons with the given pen width, moved up by `rowOffset` pixels.
// Shared by both passes so that they fill and outline alike; it hands the
// painter a new pen or brush only when the colour changes.
class PolygonPainter {
 public:
  PolygonPainter(QPainter& painter, const PaintStyle& style, int penWidth);
  void Draw(const FasetOnScreen& polygon, int rowOffset = 0);

 private:
  QPainter& painter_;
  const PaintStyle& style_;
  int penWidth_;
  std::uint32_t fill_ = 0xFFFFFFFF;     // no 24-bit colour: the first polygon sets both
  std::uint32_t outline_ = 0xFFFFFFFF;
};

}  // namespace brillora
