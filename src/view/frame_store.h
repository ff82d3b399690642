#pragma once

#include <cstddef>
#include <memory>
#include <span>

#include <QImage>
#include <QSize>

#include "trace/linear_color.h"
#include "trace/screen_polygon.h"
#include "view/animation_variant.h"

namespace brillora {

// The prepared frames of an animation, kept in memory in one of four forms.
// Frames are kept in order, 0 first.
class FrameStore {
 public:
  virtual ~FrameStore() = default;

  // Whether a frame is kept as the picture RenderFrame drew of it, rather
  // than as its polygons alone.
  virtual bool KeepsPictures() const = 0;
  // Keeps the next frame: its polygons, mapped to the frame's pixels (one
  // list, or the three of a picture with dispersion, PictureTraces::Lines),
  // and, for a store of pictures, the frame as drawn (the store's frame
  // size). False when the codec or memory fails or the store would outgrow
  // its budget; what was kept before stays as it was.
  virtual bool KeepLines(std::span<const ArrayOfFOS> lines, const QImage& picture) = 0;
  // The same for a frame of one list.
  bool Keep(const ArrayOfFOS& polygons, const QImage& picture) { return KeepLines({&polygons, 1}, picture); }
  virtual int Count() const = 0;
  // The memory the kept frames hold, roughly.
  virtual std::size_t Bytes() const = 0;
  // Frame i as it is shown: `target` becomes its picture, of the frame size
  // (the polygons are drawn over `background`). False when it cannot be had.
  virtual bool Show(int i, const LinearColor& background, QImage& target) = 0;
};

// The store of a prepared variant, for frames of `frameSize`, that refuses
// to hold more than `budget` bytes; nullptr for Tracing, which keeps nothing.
std::unique_ptr<FrameStore> MakeFrameStore(AnimationVariant variant, QSize frameSize,
                                           std::size_t budget);

}  // namespace brillora
