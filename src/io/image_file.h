#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <QImage>

namespace brillora {

enum class ImageFormat { Png, Bmp, Jpeg, Gif };

// The format a written picture takes from its file name: ".png", ".bmp",
// ".jpg" (or ".jpeg") and ".gif", in any case.
std::optional<ImageFormat> ImageFormatForName(const std::filesystem::path& file);

// The encoded bytes of a picture: JPEG at the library's default quality, GIF
// reduced to 256 colours by the library's quantizer, BMP and PNG through Qt.
// Empty when the encoder failed.
std::vector<std::uint8_t> EncodeImage(const QImage& image, ImageFormat format);

// Writes the picture in the given format beside the file and renames it over,
// so that a failure never leaves a half-written file. Returns the reason of a
// failure, nullopt on success. When `abandon` says so before the rename, the
// old file stays as it was and the reason is kAbandonedWrite.
inline constexpr const char* kAbandonedWrite = "the writing was abandoned";
std::optional<std::string> WriteImageFile(const QImage& image, const std::filesystem::path& file,
                                          ImageFormat format, const std::function<bool()>& abandon = {});

// The whole content of a picture file, or nullopt when it cannot be read: not
// a regular file, or longer than any accepted picture (see picture_limits.h).
std::optional<std::vector<std::uint8_t>> ReadFileBytes(const std::filesystem::path& file);

}  // namespace brillora
