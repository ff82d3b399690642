#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include <QImage>

namespace brillora {

// The first image of a GIF stream on its logical screen (black where the image
// does not cover it or is transparent). nullopt when the stream is no GIF or
// its first image is not complete; nothing after the first image is read.
std::optional<QImage> DecodeGif(std::span<const std::uint8_t> bytes);

// One GIF image; the colours are reduced to at most 256 by the library's own
// quantizer. Empty when the image is too large for the format or memory fails.
std::vector<std::uint8_t> EncodeGif(const QImage& image);

// Writes a looping animated GIF frame by frame, so that the frames never have
// to be held together. The file appears under its name only when Finish
// succeeds; until then, and after any failure, the old file is untouched.
class AnimatedGifWriter {
 public:
  // delay: hundredths of a second per frame.
  AnimatedGifWriter(std::filesystem::path file, int width, int height, int delay);
  ~AnimatedGifWriter();
  AnimatedGifWriter(const AnimatedGifWriter&) = delete;
  AnimatedGifWriter& operator=(const AnimatedGifWriter&) = delete;

  // Frames must have the writer's size. False after any failure.
  bool AddFrame(const QImage& frame);
  bool Finish();
  // Why the writer failed; empty while all is well.
  const std::string& Error() const { return error_; }

 private:
  struct State;
  std::unique_ptr<State> state_;
  std::string error_;
};

}  // namespace brillora
