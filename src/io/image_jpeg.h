#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include <QImage>

namespace brillora {

enum class JpegIdct { Default, FastInteger };

// Decodes a whole JPEG stream. nullopt for anything that is not a complete,
// clean JPEG image: corrupt data, a truncated stream and warnings of the
// decoder all count as unreadable.
std::optional<QImage> DecodeJpeg(std::span<const std::uint8_t> bytes,
                                 JpegIdct idct = JpegIdct::Default);

// Encodes an image as a baseline JPEG. Without a quality the library's own
// default is used. Empty when the encoder could not run (out of memory).
std::vector<std::uint8_t> EncodeJpeg(const QImage& image, std::optional<int> quality = std::nullopt);

}  // namespace brillora
