#pragma once

#include <QImage>
#include <QPainter>
#include <QRect>

#include "trace/screen_polygon.h"
#include "view/paint_style.h"

namespace brillora {

// The fast pass: fills the bitmap (24-bit RGB888 or 32-bit RGB32; any other
// format is converted to RGB888 first) with the background, then every
// polygon in list order, filled in its colour (half its green when
// highlighted) and outlined one pixel wide in the edge colour, or in its own
// colour when edges are off. The polygons must be mapped to the bitmap's size
// (FastScale). Draws straight into the bitmap's rows, pixel for pixel as
// QPainter would draw the same polygons with an aliased one-pixel pen.
void PaintPolygons(QImage& target, const ArrayOfFOS& screen, const PaintStyle& style);

// Runs the fast pass into a bitmap reaching to the rectangle's right and
// bottom edges and copies the rectangle into the same place of `canvas`. The
// polygons must be mapped to that bitmap's size.
void PaintRect(const QRect& rect, const ArrayOfFOS& screen, const PaintStyle& style,
               QPainter& canvas);

}  // namespace brillora
