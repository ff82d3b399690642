#pragma once

#include <cstddef>
#include <functional>

#include <QImage>

#include "trace/screen_polygon.h"
#include "view/paint_style.h"

namespace brillora {

// Asked before every polygon and every filtered row of the refined pass; true
// abandons the pass. The picture window yields to its message loop inside it.
using StopCheck = std::function<bool()>;

enum class SmoothResult {
  Done,       // every row of the target was written
  Abandoned,  // the stop check said so; some rows may be written
  TooLarge,   // not even one band of the big bitmap could be had
};

// Bytes of the five-fold bitmap drawn at once. A band of this size keeps the
// largest export well inside the memory of an ordinary machine.
inline constexpr std::size_t kSmoothBandBytes = std::size_t{48} << 20;

// The refined pass: draws the polygons at five times the target's size with a
// four-pixel pen and filters them down with a five-by-five box. The polygons
// must be mapped to the five-fold size (FineScale). The target is RGB888 or
// RGB32 (any other format is converted to RGB888 first). The big bitmap is drawn in
// horizontal bands of at most `bandBytes`, each band getting only the
// polygons that reach it; the pixels do not depend on the band size. Without a
// stop check the pass runs to its end.
SmoothResult PaintSmooth(QImage& target, const ArrayOfFOS& fineScreen, const PaintStyle& style,
                         const StopCheck& stop = {}, std::size_t bandBytes = kSmoothBandBytes);

// Filters rows [firstRow, endRow) of the target from a band of the five-fold
// bitmap whose row 0 is big row `bandTop`, bottom row first. The band must hold
// the big rows max(0, 5 firstRow - 2) to 5 endRow - 3 and be 5 x target width
// wide; band and target are RGB888 or RGB32, each channel filtered alone.
// False when the stop check said so.
bool FilterDown(const QImage& band, int bandTop, QImage& target, int firstRow, int endRow,
                const StopCheck& stop = {});

}  // namespace brillora
