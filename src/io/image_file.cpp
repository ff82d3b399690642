#include "io/image_file.h"

#include <algorithm>
#include <cctype>
#include <fstream>

#include <QBuffer>
#include <QSaveFile>

#include "io/image_gif.h"
#include "io/image_jpeg.h"

namespace brillora {

std::optional<ImageFormat> ImageFormatForName(const std::filesystem::path& file) {
  std::string ext = file.extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (ext == ".png") return ImageFormat::Png;
  if (ext == ".bmp") return ImageFormat::Bmp;
  if (ext == ".jpg" || ext == ".jpeg") return ImageFormat::Jpeg;
  if (ext == ".gif") return ImageFormat::Gif;
  return std::nullopt;
}

std::vector<std::uint8_t> EncodeImage(const QImage& image, ImageFormat format) {
  switch (format) {
    case ImageFormat::Jpeg:
      return EncodeJpeg(image);
    case ImageFormat::Gif:
      return EncodeGif(image);
    case ImageFormat::Png:
    case ImageFormat::Bmp: {
      QByteArray bytes;
      QBuffer buffer(&bytes);
      buffer.open(QIODevice::WriteOnly);
      if (!image.save(&buffer, format == ImageFormat::Png ? "PNG" : "BMP")) return {};
      return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
    }
  }
  return {};
}

std::optional<std::string> WriteImageFile(const QImage& image, const std::filesystem::path& file,
                                          ImageFormat format, const std::function<bool()>& abandon) {
  QSaveFile out(QString::fromStdString(file.string()));
  if (!out.open(QIODevice::WriteOnly)) return out.errorString().toStdString();
  if (format == ImageFormat::Png || format == ImageFormat::Bmp) {
    // Qt writes straight into the file: a large picture is not held twice.
    if (!image.save(&out, format == ImageFormat::Png ? "PNG" : "BMP"))
      return std::string("the picture could not be written: ") + out.errorString().toStdString();
  } else {
    const std::vector<std::uint8_t> bytes = EncodeImage(image, format);
    if (bytes.empty()) return std::string("the picture could not be encoded");
    const auto size = static_cast<qint64>(bytes.size());
    if (out.write(reinterpret_cast<const char*>(bytes.data()), size) != size)
      return out.errorString().toStdString();
  }
  if (abandon && abandon()) {
    out.cancelWriting();
    return std::string(kAbandonedWrite);
  }
  if (!out.commit()) return out.errorString().toStdString();
  return std::nullopt;
}

std::optional<std::vector<std::uint8_t>> ReadFileBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                  std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return bytes;
}

}  // namespace brillora
