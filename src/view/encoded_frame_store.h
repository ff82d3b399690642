#pragma once

#include <cstdint>
#include <vector>

#include "view/frame_store.h"

namespace brillora {

enum class FrameCodec {
  Jpeg,  // quality 100, decoded with the fast integer transform
  Gif,   // at most 256 colours, as the library's quantizer reduces them
};

// Frames kept compressed, one encoded image each, and decoded when shown:
// less memory than bitmaps for the time of a decode.
class EncodedFrameStore : public FrameStore {
 public:
  EncodedFrameStore(FrameCodec codec, std::size_t budget) : codec_(codec), budget_(budget) {}

  bool KeepsPictures() const override { return true; }
  bool KeepLines(std::span<const ArrayOfFOS> lines, const QImage& picture) override;
  int Count() const override { return static_cast<int>(frames_.size()); }
  std::size_t Bytes() const override { return bytes_; }
  bool Show(int i, const LinearColor& background, QImage& target) override;

 private:
  FrameCodec codec_;
  std::size_t budget_;
  std::size_t bytes_ = 0;
  std::vector<std::vector<std::uint8_t>> frames_;
};

}  // namespace brillora
