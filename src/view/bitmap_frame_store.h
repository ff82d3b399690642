#pragma once

#include <vector>

#include "view/frame_store.h"

namespace brillora {

// Frames kept as bitmaps of 16 bits per pixel (5 bits red, 6 green, 5 blue):
// no decoding to show one, at the price of the most memory.
class BitmapFrameStore : public FrameStore {
 public:
  BitmapFrameStore(QSize frameSize, std::size_t budget) : size_(frameSize), budget_(budget) {}

  bool KeepsPictures() const override { return true; }
  // The first frame is refused when all frames of an animation would not fit
  // the budget, so that a preparation too large stops before it begins.
  bool KeepLines(std::span<const ArrayOfFOS> lines, const QImage& picture) override;
  int Count() const override { return static_cast<int>(frames_.size()); }
  std::size_t Bytes() const override;
  bool Show(int i, const LinearColor& background, QImage& target) override;

 private:
  QSize size_;
  std::size_t budget_;
  std::vector<QImage> frames_;
};

}  // namespace brillora
