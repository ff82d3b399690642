#include "view/encoded_frame_store.h"

#include <new>
#include <optional>

#include "io/image_gif.h"
#include "io/image_jpeg.h"

namespace brillora {

namespace {

constexpr int kJpegQuality = 100;

}  // namespace

bool EncodedFrameStore::KeepLines(std::span<const ArrayOfFOS>, const QImage& picture) {
  try {
    std::vector<std::uint8_t> bytes =
        codec_ == FrameCodec::Jpeg ? EncodeJpeg(picture, kJpegQuality) : EncodeGif(picture);
    if (bytes.empty() || bytes_ + bytes.size() > budget_) return false;
    bytes.shrink_to_fit();
    const std::size_t size = bytes.size();
    frames_.push_back(std::move(bytes));
    bytes_ += size;
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

bool EncodedFrameStore::Show(int i, const LinearColor&, QImage& target) {
  if (i < 0 || i >= Count()) return false;
  const std::vector<std::uint8_t>& bytes = frames_[static_cast<std::size_t>(i)];
  std::optional<QImage> picture =
      codec_ == FrameCodec::Jpeg ? DecodeJpeg(bytes, JpegIdct::FastInteger) : DecodeGif(bytes);
  if (!picture) return false;
  target = std::move(*picture);
  return true;
}

}  // namespace brillora
