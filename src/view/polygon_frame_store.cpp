#include "view/polygon_frame_store.h"

#include <new>
#include <span>

#include "view/linear_to_color.h"
#include "view/pixel_rows.h"
#include "view/polygon_outline.h"

namespace brillora {

std::size_t PolygonFrameStore::Bytes() const {
  return corners_.capacity() * sizeof(ScreenPoint) + polygons_.capacity() * sizeof(Polygon) +
         frames_.capacity() * sizeof(Frame);
}

bool PolygonFrameStore::Keep(const ArrayOfFOS& polygons, const QImage&) {
  std::size_t corners = 0;
  for (const FasetOnScreen& p : polygons) corners += p.Polygon.size();
  const std::size_t added = corners * sizeof(ScreenPoint) + polygons.size() * sizeof(Polygon) + sizeof(Frame);
  if (Bytes() + added > budget_) return false;
  const std::size_t cornersBefore = corners_.size();
  const std::size_t polygonsBefore = polygons_.size();
  try {
    for (const FasetOnScreen& p : polygons) {
      polygons_.push_back({corners_.size(), static_cast<std::uint32_t>(p.Polygon.size()), LinearToColor(p.Color, 1)});
      corners_.insert(corners_.end(), p.Polygon.begin(), p.Polygon.end());
    }
    frames_.push_back({polygonsBefore, polygons.size()});
  } catch (const std::bad_alloc&) {
    corners_.resize(cornersBefore);
    polygons_.resize(polygonsBefore);
    return false;
  }
  return true;
}

bool PolygonFrameStore::Show(int i, const LinearColor& background, QImage& target) {
  if (i < 0 || i >= Count()) return false;
  if (target.size() != size_ || target.format() != QImage::Format_RGB888) {
    target = QImage(size_, QImage::Format_RGB888);
    if (target.isNull()) return false;
  }
  target.fill(ToQColor(LinearToColor(background, 1)));
  PixelRows rows(target.bits(), target.bytesPerLine(), target.width(), target.height(), PixelLayout::Rgb888);
  const Frame& frame = frames_[static_cast<std::size_t>(i)];
  for (std::size_t k = frame.first; k < frame.first + frame.count; ++k) {
    const Polygon& p = polygons_[k];
    if (p.count <= 2) continue;
    const std::span<const ScreenPoint> corners(corners_.data() + p.first, p.count);
    filler_.Fill(rows, corners, p.color);
    OutlinePolygon(rows, corners, p.color);
  }
  return true;
}

}  // namespace brillora
