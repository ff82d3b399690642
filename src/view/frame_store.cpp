#include "view/frame_store.h"

#include "view/bitmap_frame_store.h"
#include "view/encoded_frame_store.h"
#include "view/polygon_frame_store.h"

namespace brillora {

std::unique_ptr<FrameStore> MakeFrameStore(AnimationVariant variant, QSize frameSize,
                                           std::size_t budget) {
  switch (variant) {
    case AnimationVariant::Tracing:
      return nullptr;
    case AnimationVariant::Polygons:
      return std::make_unique<PolygonFrameStore>(frameSize, budget);
    case AnimationVariant::Jpeg:
      return std::make_unique<EncodedFrameStore>(FrameCodec::Jpeg, budget);
    case AnimationVariant::Bitmap:
      return std::make_unique<BitmapFrameStore>(frameSize, budget);
    case AnimationVariant::Gif:
      return std::make_unique<EncodedFrameStore>(FrameCodec::Gif, budget);
  }
  return nullptr;
}

}  // namespace brillora
