#include "view/paint_lines.h"

#include <bit>
#include <cassert>
#include <cstdint>

#include "view/paint_polygons.h"

namespace brillora {

namespace {

// Where a channel lies in a pixel: RGB888 holds red, green, blue; RGB32 a
// native word 0xffRRGGBB.
int ChannelOffset(const QImage& image, int channel) {
  if (image.format() == QImage::Format_RGB888) return channel;
  if constexpr (std::endian::native == std::endian::little) return 2 - channel;
  return 1 + channel;
}

}  // namespace

void TakeChannel(QImage& target, const QImage& source, int channel) {
  assert(target.size() == source.size() && target.format() == source.format());
  assert(target.format() == QImage::Format_RGB888 || target.format() == QImage::Format_RGB32);
  const int bytes = target.format() == QImage::Format_RGB888 ? 3 : 4;
  const int offset = ChannelOffset(target, channel);
  const int width = target.width();
  for (int y = 0; y < target.height(); ++y) {
    const std::uint8_t* from = source.constScanLine(y) + offset;
    std::uint8_t* to = target.scanLine(y) + offset;
    for (int x = 0; x < width; ++x) to[x * bytes] = from[x * bytes];
  }
}

bool PaintLines(QImage& target, std::span<const ArrayOfFOS> lines, const PaintStyle& style) {
  assert(lines.size() == 1 || lines.size() == 3);
  PaintPolygons(target, lines[0], style);
  if (lines.size() == 1 || target.isNull()) return true;
  QImage line(target.size(), target.format());
  if (line.isNull()) return false;
  for (std::size_t k = 1; k < lines.size(); ++k) {
    PaintPolygons(line, lines[k], style);
    TakeChannel(target, line, static_cast<int>(k));
  }
  return true;
}

void PaintRectLines(const QRect& rect, std::span<const ArrayOfFOS> lines, const PaintStyle& style,
                    QPainter& canvas) {
  if (lines.size() == 1) {
    PaintRect(rect, lines[0], style, canvas);
    return;
  }
  QImage bitmap(rect.x() + rect.width(), rect.y() + rect.height(), QImage::Format_RGB888);
  if (bitmap.isNull() || !PaintLines(bitmap, lines, style)) return;
  canvas.drawImage(rect.topLeft(), bitmap, rect);
}

SmoothResult PaintSmoothLines(QImage& target, std::span<const ArrayOfFOS> fineLines, const PaintStyle& style,
                              const StopCheck& stop) {
  assert(fineLines.size() == 1 || fineLines.size() == 3);
  const SmoothResult first = PaintSmooth(target, fineLines[0], style, stop);
  if (fineLines.size() == 1 || first != SmoothResult::Done || target.isNull()) return first;
  QImage line(target.size(), target.format());
  if (line.isNull()) return SmoothResult::TooLarge;
  for (std::size_t k = 1; k < fineLines.size(); ++k) {
    if (const SmoothResult result = PaintSmooth(line, fineLines[k], style, stop); result != SmoothResult::Done)
      return result;
    TakeChannel(target, line, static_cast<int>(k));
  }
  return SmoothResult::Done;
}

}  // namespace brillora
