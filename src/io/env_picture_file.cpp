#include "io/env_picture_file.h"

#include <cstring>
#include <optional>

#include "io/image_file.h"
#include "io/image_gif.h"
#include "io/image_jpeg.h"
#include "io/picture_limits.h"

namespace brillora {
namespace {

std::uint32_t LittleEndian(const std::vector<std::uint8_t>& bytes, std::size_t at, int size) {
  std::uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) value = (value << 8) | bytes[at + i];
  return value;
}

// Run-length data (8 or 4 bits a pixel) has no fixed size: its runs are
// followed to its end. Data that runs out, or ends its bitmap, before the
// last row leaves the rest of the picture undefined, which Qt's reader fills
// with black: such a picture is as unreadable as one whose rows were cut off.
// Every step takes at least two bytes, so the walk is bounded by the file.
bool RunLengthReachesLastRow(const std::vector<std::uint8_t>& bytes, std::size_t offset, std::int64_t height,
                             bool fourBits) {
  std::size_t at = offset;
  std::int64_t row = 0;
  while (at + 1 < bytes.size()) {
    const int count = bytes[at], code = bytes[at + 1];
    at += 2;
    if (count > 0) continue;  // a run of one colour within the row
    if (code == 0) {          // end of a row
      if (++row >= height) return true;
    } else if (code == 1) {   // end of the bitmap
      return row >= height - 1;
    } else if (code == 2) {   // a jump right and down
      if (at + 1 >= bytes.size()) return false;
      row += bytes[at + 1];
      at += 2;
    } else {                  // `code` pixels given one by one, padded to a whole word
      std::size_t length = fourBits ? (static_cast<std::size_t>(code) + 1) / 2 : static_cast<std::size_t>(code);
      at += length + (length & 1);
    }
  }
  return false;
}

// Qt's reader fills a bitmap whose pixel rows were cut off; a picture of the
// surroundings made of such filler is as unreadable as any other damaged file.
// A bitmap larger than any accepted picture is refused before it is decoded.
bool BmpAcceptable(const std::vector<std::uint8_t>& bytes) {
  if (bytes.size() < 26) return false;
  const std::uint32_t offset = LittleEndian(bytes, 10, 4);
  const std::uint32_t headerSize = LittleEndian(bytes, 14, 4);
  std::int64_t width = 0, height = 0, bits = 0;
  std::uint32_t compression = 0;
  if (headerSize == 12) {  // the old core header: 16-bit sizes
    width = LittleEndian(bytes, 18, 2);
    height = LittleEndian(bytes, 20, 2);
    bits = LittleEndian(bytes, 24, 2);
  } else {
    if (bytes.size() < 34) return false;
    width = static_cast<std::int32_t>(LittleEndian(bytes, 18, 4));
    height = static_cast<std::int32_t>(LittleEndian(bytes, 22, 4));
    bits = LittleEndian(bytes, 28, 2);
    compression = LittleEndian(bytes, 30, 4);
  }
  if (height < 0) height = -height;
  if (!PictureSizeAccepted(width, height)) return false;
  constexpr std::uint32_t kRunLength8 = 1, kRunLength4 = 2, kBitFields = 3;
  if (compression == kRunLength8 || compression == kRunLength4) {
    return RunLengthReachesLastRow(bytes, offset, height, compression == kRunLength4);
  }
  if (compression != 0 && compression != kBitFields) return true;  // left to Qt's reader
  const std::int64_t rowBytes = (width * bits + 31) / 32 * 4;
  return static_cast<std::int64_t>(bytes.size()) >= offset + rowBytes * height;
}

std::optional<QImage> DecodeByExtension(const std::string& extension,
                                        const std::vector<std::uint8_t>& bytes) {
  if (extension == ".jpg") return DecodeJpeg(bytes);
  if (extension == ".gif") return DecodeGif(bytes);
  if (!BmpAcceptable(bytes)) return std::nullopt;
  QImage image;
  if (!image.loadFromData(bytes.data(), static_cast<int>(bytes.size()), "BMP")) return std::nullopt;
  return image;
}

}  // namespace

RgbPicture BlankPicture() {
  RgbPicture picture;
  picture.Width = kEnvPictureSize;
  picture.Height = kEnvPictureSize;
  picture.Pixels.assign(static_cast<std::size_t>(kEnvPictureSize) * kEnvPictureSize * 3, 0);
  return picture;
}

RgbPicture StretchToEnvPicture(const QImage& image) {
  const QImage square = image.scaled(kEnvPictureSize, kEnvPictureSize, Qt::IgnoreAspectRatio,
                                     Qt::FastTransformation)
                            .convertToFormat(QImage::Format_RGB888);
  RgbPicture picture = BlankPicture();
  for (int y = 0; y < kEnvPictureSize; ++y)
    std::memcpy(picture.Pixels.data() + static_cast<std::size_t>(y) * kEnvPictureSize * 3,
                square.constScanLine(y), kEnvPictureSize * 3);
  return picture;
}

EnvPictureLoad LoadEnvPicture(const std::filesystem::path& name, RgbPicture& picture) {
  if (name == "Screen") {
    picture = BlankPicture();
    return EnvPictureLoad::Loaded;
  }
  const std::string extension = name.extension().string();
  if (extension != ".jpg" && extension != ".gif" && extension != ".bmp")
    return EnvPictureLoad::Ignored;
  const auto bytes = ReadFileBytes(name);
  if (!bytes) return EnvPictureLoad::Unreadable;
  const auto image = DecodeByExtension(extension, *bytes);
  if (!image || image->isNull()) return EnvPictureLoad::Unreadable;
  picture = StretchToEnvPicture(*image);
  return EnvPictureLoad::Loaded;
}

void PaintPictureColor(RgbPicture& picture, std::uint32_t color) {
  const std::uint8_t rgb[3] = {static_cast<std::uint8_t>(color & 0xFF),
                               static_cast<std::uint8_t>((color >> 8) & 0xFF),
                               static_cast<std::uint8_t>((color >> 16) & 0xFF)};
  for (std::size_t i = 0; i + 2 < picture.Pixels.size(); i += 3)
    std::memcpy(picture.Pixels.data() + i, rgb, 3);
}

}  // namespace brillora
