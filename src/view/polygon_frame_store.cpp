#include "view/polygon_frame_store.h"

#include <cassert>
#include <new>
#include <span>

#include "view/linear_to_color.h"
#include "view/paint_lines.h"
#include "view/pixel_rows.h"
#include "view/polygon_outline.h"

namespace brillora {

std::size_t PolygonFrameStore::Bytes() const {
  return corners_.capacity() * sizeof(ScreenPoint) + polygons_.capacity() * sizeof(Polygon) +
         frames_.capacity() * sizeof(Frame);
}

bool PolygonFrameStore::KeepLines(std::span<const ArrayOfFOS> lines, const QImage&) {
  assert(lines.size() == 1 || lines.size() == 3);
  std::size_t corners = 0, count = 0;
  for (const ArrayOfFOS& polygons : lines) {
    for (const FasetOnScreen& p : polygons) corners += p.Polygon.size();
    count += polygons.size();
  }
  const std::size_t added = corners * sizeof(ScreenPoint) + count * sizeof(Polygon) + sizeof(Frame);
  if (Bytes() + added > budget_) return false;
  const std::size_t cornersBefore = corners_.size();
  const std::size_t polygonsBefore = polygons_.size();
  try {
    Frame frame{polygonsBefore, count, {}, lines.size()};
    for (std::size_t k = 0; k < lines.size(); ++k) {
      for (const FasetOnScreen& p : lines[k]) {
        polygons_.push_back(
            {corners_.size(), static_cast<std::uint32_t>(p.Polygon.size()), LinearToColor(p.Color, 1)});
        corners_.insert(corners_.end(), p.Polygon.begin(), p.Polygon.end());
      }
      frame.lineEnds[k] = polygons_.size() - polygonsBefore;
    }
    frames_.push_back(frame);
  } catch (const std::bad_alloc&) {
    corners_.resize(cornersBefore);
    polygons_.resize(polygonsBefore);
    return false;
  }
  return true;
}

bool PolygonFrameStore::Show(int i, const LinearColor& background, QImage& target) {
  if (i < 0 || i >= Count()) return false;
  for (QImage* picture : {&target, &line_}) {
    if (picture->size() != size_ || picture->format() != QImage::Format_RGB888) {
      *picture = QImage(size_, QImage::Format_RGB888);
      if (picture->isNull()) return false;
    }
    if (frames_[static_cast<std::size_t>(i)].lines == 1) break;
  }
  const Frame& frame = frames_[static_cast<std::size_t>(i)];
  Draw(frame.first, frame.first + frame.lineEnds[0], background, target);
  for (std::size_t k = 1; k < frame.lines; ++k) {
    Draw(frame.first + frame.lineEnds[k - 1], frame.first + frame.lineEnds[k], background, line_);
    TakeChannel(target, line_, static_cast<int>(k));
  }
  return true;
}

void PolygonFrameStore::Draw(std::size_t first, std::size_t end, const LinearColor& background, QImage& target) {
  target.fill(ToQColor(LinearToColor(background, 1)));
  PixelRows rows(target.bits(), target.bytesPerLine(), target.width(), target.height(), PixelLayout::Rgb888);
  for (std::size_t k = first; k < end; ++k) {
    const Polygon& p = polygons_[k];
    if (p.count <= 2) continue;
    const std::span<const ScreenPoint> corners(corners_.data() + p.first, p.count);
    filler_.Fill(rows, corners, p.color);
    OutlinePolygon(rows, corners, p.color);
  }
}

}  // namespace brillora
