#pragma once

#include <span>

#include <QImage>
#include <QPainter>
#include <QRect>

#include "trace/screen_polygon.h"
#include "view/paint_smooth.h"
#include "view/paint_style.h"

namespace brillora {

// The drawing passes over the traces of one picture (PictureTraces::Lines):
// one list is drawn as the pass draws it alone; of three, each is drawn
// alone and gives the target one channel, red from the first, green from the
// second, blue from the third.

// Copies channel `channel` (0 red, 1 green, 2 blue) of `source` into
// `target`; both RGB888 or both RGB32, of one size.
void TakeChannel(QImage& target, const QImage& source, int channel);

// The fast pass (PaintPolygons). False, with the target as the first list
// left it, when memory refused the working bitmap.
bool PaintLines(QImage& target, std::span<const ArrayOfFOS> lines, const PaintStyle& style);

// PaintRect of the lines.
void PaintRectLines(const QRect& rect, std::span<const ArrayOfFOS> lines, const PaintStyle& style,
                    QPainter& canvas);

// The refined pass (PaintSmooth); TooLarge also when memory refused the
// working bitmap.
SmoothResult PaintSmoothLines(QImage& target, std::span<const ArrayOfFOS> fineLines, const PaintStyle& style,
                              const StopCheck& stop = {});

}  // namespace brillora
