#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "view/frame_store.h"
#include "view/polygon_filler.h"

namespace brillora {

// Frames kept as the traced polygons with their display colours, fixed when
// the frame is kept; the background is laid anew every time a frame is shown.
// The corners of all frames share one list, so a frame costs no allocation of
// its own. A frame of three lists (a picture with dispersion) is shown as the
// fast pass shows them: each drawn alone gives one channel.
class PolygonFrameStore : public FrameStore {
 public:
  PolygonFrameStore(QSize frameSize, std::size_t budget) : size_(frameSize), budget_(budget) {}

  bool KeepsPictures() const override { return false; }
  bool KeepLines(std::span<const ArrayOfFOS> lines, const QImage& picture) override;
  int Count() const override { return static_cast<int>(frames_.size()); }
  std::size_t Bytes() const override;
  // Fills the frame with the background, then every polygon of more than two
  // corners, outline included, in its colour.
  bool Show(int i, const LinearColor& background, QImage& target) override;

 private:
  // The polygons [first, end) drawn over the background into `target`.
  void Draw(std::size_t first, std::size_t end, const LinearColor& background, QImage& target);

  struct Polygon {
    std::size_t first = 0;  // of its corners in corners_
    std::uint32_t count = 0;
    std::uint32_t color = 0;  // R + 256 G + 65536 B
  };
  struct Frame {
    std::size_t first = 0;  // of its polygons in polygons_
    std::size_t count = 0;
    // Where each list ends, from `first`: one list, or three.
    std::array<std::size_t, 3> lineEnds{};
    std::size_t lines = 1;
  };

  QSize size_;
  std::size_t budget_;
  std::vector<ScreenPoint> corners_;
  std::vector<Polygon> polygons_;
  std::vector<Frame> frames_;
  PolygonFiller filler_;
  QImage line_;  // a list of a three-list frame, drawn alone
};

}  // namespace brillora
