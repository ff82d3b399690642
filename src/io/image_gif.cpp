#include "io/image_gif.h"

#include <algorithm>
#include <cstring>

#include <QSaveFile>
#include <gif_lib.h>

namespace brillora {
namespace {

constexpr int kGifLimit = 65535;  // the format stores sizes in 16 bits

struct MemoryReader {
  std::span<const std::uint8_t> bytes;
  std::size_t position = 0;
};

int ReadFromMemory(GifFileType* gif, GifByteType* out, int count) {
  auto* reader = static_cast<MemoryReader*>(gif->UserData);
  const std::size_t left = reader->bytes.size() - reader->position;
  const std::size_t n = std::min<std::size_t>(left, static_cast<std::size_t>(std::max(count, 0)));
  std::memcpy(out, reader->bytes.data() + reader->position, n);
  reader->position += n;
  return static_cast<int>(n);
}

struct GifReaderCloser {
  void operator()(GifFileType* gif) const {
    int error = 0;
    DGifCloseFile(gif, &error);
  }
};

int TransparentIndex(const SavedImage& image) {
  GraphicsControlBlock block{};
  for (int i = 0; i < image.ExtensionBlockCount; ++i) {
    const ExtensionBlock& ext = image.ExtensionBlocks[i];
    if (ext.Function == GRAPHICS_EXT_FUNC_CODE &&
        DGifExtensionToGCB(ext.ByteCount, ext.Bytes, &block) == GIF_OK)
      return block.TransparentColor;
  }
  return NO_TRANSPARENT_COLOR;
}

// The colours reduced by the library's quantizer, as palette indices.
struct Quantized {
  std::vector<GifByteType> indices;
  std::vector<GifColorType> colours;
  int colourCount = 0;
};

std::optional<Quantized> Quantize(const QImage& image) {
  const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
  if (rgb.isNull()) return std::nullopt;
  const std::size_t count = static_cast<std::size_t>(rgb.width()) * rgb.height();
  std::vector<GifByteType> red(count), green(count), blue(count);
  for (int y = 0; y < rgb.height(); ++y) {
    const std::uint8_t* row = rgb.constScanLine(y);
    const std::size_t base = static_cast<std::size_t>(y) * rgb.width();
    for (int x = 0; x < rgb.width(); ++x) {
      red[base + x] = row[3 * x];
      green[base + x] = row[3 * x + 1];
      blue[base + x] = row[3 * x + 2];
    }
  }
  Quantized q;
  q.indices.resize(count);
  q.colours.resize(256);
  int size = 256;
  if (GifQuantizeBuffer(static_cast<unsigned>(rgb.width()), static_cast<unsigned>(rgb.height()),
                        &size, red.data(), green.data(), blue.data(), q.indices.data(),
                        q.colours.data()) != GIF_OK)
    return std::nullopt;
  q.colourCount = size;
  return q;
}

// Writes one image with its own colour table.
bool PutImage(GifFileType* gif, const Quantized& q, int width, int height) {
  ColorMapObject* map = GifMakeMapObject(256, q.colours.data());
  if (!map) return false;
  const bool ok = EGifPutImageDesc(gif, 0, 0, width, height, false, map) == GIF_OK &&
                  [&] {
                    for (int y = 0; y < height; ++y) {
                      auto* row = const_cast<GifByteType*>(q.indices.data() +
                                                           static_cast<std::size_t>(y) * width);
                      if (EGifPutLine(gif, row, width) != GIF_OK) return false;
                    }
                    return true;
                  }();
  GifFreeMapObject(map);
  return ok;
}

int WriteToVector(GifFileType* gif, const GifByteType* data, int count) {
  auto* out = static_cast<std::vector<std::uint8_t>*>(gif->UserData);
  out->insert(out->end(), data, data + count);
  return count;
}

int WriteToSaveFile(GifFileType* gif, const GifByteType* data, int count) {
  auto* file = static_cast<QSaveFile*>(gif->UserData);
  return static_cast<int>(file->write(reinterpret_cast<const char*>(data), count));
}

bool CloseWriter(GifFileType* gif) {
  int error = 0;
  return EGifCloseFile(gif, &error) == GIF_OK;
}

}  // namespace

std::optional<QImage> DecodeGif(std::span<const std::uint8_t> bytes) {
  if (bytes.empty()) return std::nullopt;
  MemoryReader reader{bytes};
  int error = 0;
  std::unique_ptr<GifFileType, GifReaderCloser> gif(DGifOpen(&reader, ReadFromMemory, &error));
  if (!gif) return std::nullopt;
  if (DGifSlurp(gif.get()) != GIF_OK || gif->ImageCount < 1) return std::nullopt;
  const SavedImage& first = gif->SavedImages[0];
  const ColorMapObject* map =
      first.ImageDesc.ColorMap ? first.ImageDesc.ColorMap : gif->SColorMap;
  const int width = gif->SWidth, height = gif->SHeight;
  if (!map || width <= 0 || height <= 0 || !first.RasterBits) return std::nullopt;

  QImage image(width, height, QImage::Format_RGB888);
  if (image.isNull()) return std::nullopt;
  image.fill(Qt::black);
  const GifImageDesc& d = first.ImageDesc;
  const int transparent = TransparentIndex(first);
  for (int y = std::max(0, d.Top); y < std::min(height, d.Top + d.Height); ++y) {
    std::uint8_t* row = image.scanLine(y);
    for (int x = std::max(0, d.Left); x < std::min(width, d.Left + d.Width); ++x) {
      const int index =
          first.RasterBits[static_cast<std::size_t>(y - d.Top) * d.Width + (x - d.Left)];
      if (index == transparent || index >= map->ColorCount) continue;
      const GifColorType c = map->Colors[index];
      row[3 * x] = c.Red;
      row[3 * x + 1] = c.Green;
      row[3 * x + 2] = c.Blue;
    }
  }
  return image;
}

std::vector<std::uint8_t> EncodeGif(const QImage& image) {
  if (image.isNull() || image.width() > kGifLimit || image.height() > kGifLimit) return {};
  const auto q = Quantize(image);
  if (!q) return {};
  std::vector<std::uint8_t> bytes;
  int error = 0;
  GifFileType* gif = EGifOpen(&bytes, WriteToVector, &error);
  if (!gif) return {};
  bool ok = EGifPutScreenDesc(gif, image.width(), image.height(), 8, 0, nullptr) == GIF_OK &&
            PutImage(gif, *q, image.width(), image.height());
  ok = CloseWriter(gif) && ok;
  if (!ok) return {};
  return bytes;
}

struct AnimatedGifWriter::State {
  QSaveFile file;
  GifFileType* gif = nullptr;
  int width = 0;
  int height = 0;
  int delay = 0;
  explicit State(const QString& name) : file(name) {}
};

AnimatedGifWriter::AnimatedGifWriter(std::filesystem::path file, int width, int height, int delay)
    : state_(std::make_unique<State>(QString::fromStdString(file.string()))) {
  state_->width = width;
  state_->height = height;
  state_->delay = delay;
  if (width <= 0 || height <= 0 || width > kGifLimit || height > kGifLimit) {
    error_ = "the picture size does not fit a GIF";
    return;
  }
  if (!state_->file.open(QIODevice::WriteOnly)) {
    error_ = state_->file.errorString().toStdString();
    return;
  }
  int code = 0;
  state_->gif = EGifOpen(&state_->file, WriteToSaveFile, &code);
  if (!state_->gif) {
    error_ = GifErrorString(code);
    return;
  }
  EGifSetGifVersion(state_->gif, true);
  // NETSCAPE2.0 application block: loop count 0 plays the frames for ever.
  static constexpr GifByteType kLoop[3] = {1, 0, 0};
  if (EGifPutScreenDesc(state_->gif, width, height, 8, 0, nullptr) != GIF_OK ||
      EGifPutExtensionLeader(state_->gif, APPLICATION_EXT_FUNC_CODE) != GIF_OK ||
      EGifPutExtensionBlock(state_->gif, 11, "NETSCAPE2.0") != GIF_OK ||
      EGifPutExtensionBlock(state_->gif, 3, kLoop) != GIF_OK ||
      EGifPutExtensionTrailer(state_->gif) != GIF_OK)
    error_ = "cannot write the GIF header";
}

AnimatedGifWriter::~AnimatedGifWriter() {
  if (state_->gif) CloseWriter(state_->gif);
  // An unfinished QSaveFile is discarded: the old file stays as it was.
}

bool AnimatedGifWriter::AddFrame(const QImage& frame) {
  if (!error_.empty()) return false;
  if (frame.width() != state_->width || frame.height() != state_->height) {
    error_ = "a frame differs in size from the animation";
    return false;
  }
  const auto q = Quantize(frame);
  if (!q) {
    error_ = "not enough memory for the colour reduction";
    return false;
  }
  GraphicsControlBlock control{};
  control.DisposalMode = DISPOSE_DO_NOT;
  control.DelayTime = state_->delay;
  control.TransparentColor = NO_TRANSPARENT_COLOR;
  GifByteType extension[4];
  EGifGCBToExtension(&control, extension);
  if (EGifPutExtension(state_->gif, GRAPHICS_EXT_FUNC_CODE, 4, extension) != GIF_OK ||
      !PutImage(state_->gif, *q, state_->width, state_->height)) {
    error_ = "cannot write a frame: " + state_->file.errorString().toStdString();
    return false;
  }
  return true;
}

bool AnimatedGifWriter::Finish() {
  if (!error_.empty()) return false;
  const bool closed = CloseWriter(state_->gif);
  state_->gif = nullptr;
  if (!closed || !state_->file.commit()) {
    error_ = "cannot write the file: " + state_->file.errorString().toStdString();
    return false;
  }
  return true;
}

}  // namespace brillora
