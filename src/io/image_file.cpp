#include "io/image_file.h"

#include <algorithm>
#include <cctype>

#include <QBuffer>

#include "io/atomic_save.h"
#include "io/image_gif.h"
#include "io/image_jpeg.h"
#include "io/picture_limits.h"
#include "io/regular_file.h"

namespace brillora {
namespace {

// Qt's image writers write into a device: this one passes everything on to
// the file being saved, which keeps the system's reason of a failure.
class SaveDevice : public QIODevice {
 public:
  explicit SaveDevice(AtomicSave& out) : out_(out) {}

 protected:
  qint64 readData(char*, qint64) override { return -1; }
  // Once a write failed the rest is swallowed, and the failure is read from
  // `out_` afterwards: Qt's PNG writer leaks its row buffer when the device
  // it writes to reports an error.
  qint64 writeData(const char* data, qint64 size) override {
    if (out_.Ok()) out_.Write(data, static_cast<std::size_t>(size));
    return size;
  }

 private:
  AtomicSave& out_;
};

}  // namespace

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
  AtomicSave out(file);
  if (!out.Ok()) return out.Error();
  if (format == ImageFormat::Png || format == ImageFormat::Bmp) {
    // Qt writes straight into the file: a large picture is not held twice.
    SaveDevice device(out);
    device.open(QIODevice::WriteOnly);
    const bool encoded = image.save(&device, format == ImageFormat::Png ? "PNG" : "BMP");
    if (!out.Ok()) return out.Error();
    if (!encoded) return std::string("the picture could not be encoded");
  } else {
    const std::vector<std::uint8_t> bytes = EncodeImage(image, format);
    if (bytes.empty()) return std::string("the picture could not be encoded");
    if (!out.Write(bytes.data(), bytes.size())) return out.Error();
  }
  // An abandoned save never commits: the old file stays as it was.
  if (abandon && abandon()) return std::string(kAbandonedWrite);
  if (!out.Commit()) return out.Error();
  return std::nullopt;
}

std::optional<std::vector<std::uint8_t>> ReadFileBytes(const std::filesystem::path& file) {
  return ReadRegularFileBytes(file, kMaxPictureFileBytes);
}

}  // namespace brillora
