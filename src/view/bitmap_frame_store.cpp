#include "view/bitmap_frame_store.h"

#include <new>

#include "view/animation_frame.h"

namespace brillora {

namespace {

// A 16-bit row is padded to a multiple of four bytes.
std::size_t BitmapBytes(QSize size) {
  const std::size_t row = (static_cast<std::size_t>(size.width()) * 2 + 3) / 4 * 4;
  return row * static_cast<std::size_t>(size.height());
}

}  // namespace

std::size_t BitmapFrameStore::Bytes() const { return frames_.size() * BitmapBytes(size_); }

bool BitmapFrameStore::KeepLines(std::span<const ArrayOfFOS>, const QImage& picture) {
  if (picture.size() != size_) return false;
  const std::size_t frames = frames_.empty() ? kAnimationFrames : 1;
  if (Bytes() + frames * BitmapBytes(size_) > budget_) return false;
  try {
    QImage frame = picture.convertToFormat(QImage::Format_RGB16);
    if (frame.isNull()) return false;
    frames_.push_back(std::move(frame));
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

bool BitmapFrameStore::Show(int i, const LinearColor&, QImage& target) {
  if (i < 0 || i >= Count()) return false;
  target = frames_[static_cast<std::size_t>(i)];
  return true;
}

}  // namespace brillora
