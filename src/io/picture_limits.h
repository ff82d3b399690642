#pragma once

#include <cstddef>
#include <cstdint>

namespace brillora {

// Pictures of the surroundings are looked up at a few hundred pixels across;
// larger ones are refused before anything is allocated for them, whatever
// size their header claims, so that a small file cannot take all memory.
// The bound also keeps every bitmap that Qt decodes (four bytes a pixel)
// within Qt's own limit of 128 MiB, so that all formats share one bound.
inline constexpr std::int64_t kMaxPicturePixels = 32'000'000;
// Room for the largest accepted picture at four bytes a pixel and its headers.
inline constexpr std::size_t kMaxPictureFileBytes = 128 * 1024 * 1024;

// Scans of a JPEG picture. Baseline pictures have one, the library's own
// progressive script ten for colour, and encoders that tune their scans a
// few dozen; a file of thousands of tiny scans costs seconds for each
// thousand and shows nothing more.
inline constexpr int kMaxJpegScans = 100;

inline bool PictureSizeAccepted(std::int64_t width, std::int64_t height) {
  return width > 0 && height > 0 && width <= kMaxPicturePixels / height;
}

}  // namespace brillora
