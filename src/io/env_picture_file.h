#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>

#include <QImage>

#include "io/rgb_picture.h"

namespace brillora {

inline constexpr std::string_view kInvalidGraphicFileFormat = "Invalid graphic file format.";

// Side of the square pictures of the surroundings.
inline constexpr int kEnvPictureSize = 512;

// A black picture of the surroundings.
RgbPicture BlankPicture();

// Stretches any picture over the whole square, without keeping its aspect
// ratio, sampling the nearest pixel.
RgbPicture StretchToEnvPicture(const QImage& image);

enum class EnvPictureLoad {
  Loaded,      // the picture now holds the file (or the blank screen picture)
  Unreadable,  // the file could not be decoded: show kInvalidGraphicFileFormat
  Ignored,     // not a picture name: the extension is none of ".jpg", ".gif", ".bmp"
};

// Fills `picture` from a picture file of the surroundings: "Screen" gives a
// black picture; otherwise the extension decides, compared exactly, so that
// ".JPG" is no picture name. Unless the result is Loaded, `picture` keeps what
// it held.
EnvPictureLoad LoadEnvPicture(const std::filesystem::path& name, RgbPicture& picture);

// Paints the whole picture with one 24-bit colour R + 256 G + 65536 B.
void PaintPictureColor(RgbPicture& picture, std::uint32_t color);

}  // namespace brillora
