#include "io/image_gif.h"

#include <algorithm>
#include <cstring>

#include <gif_lib.h>

#include "io/atomic_save.h"
#include "io/picture_limits.h"

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

// The first image of a stream as it is drawn: where it lies on the screen,
// its pixels as palette indices and the palette they index.
struct FirstImage {
  GifImageDesc place{};
  std::vector<GifByteType> indices;
  std::vector<GifColorType> colours;
  int transparent = NO_TRANSPARENT_COLOR;
};

// Reads the image whose descriptor was just read. Its size is checked before
// anything is allocated for it: the descriptor may claim far more than the
// stream holds.
bool ReadFirstImage(GifFileType* gif, FirstImage& image) {
  const GifImageDesc& d = gif->Image;
  if (!PictureSizeAccepted(d.Width, d.Height)) return false;
  const ColorMapObject* map = d.ColorMap ? d.ColorMap : gif->SColorMap;
  if (!map) return false;
  image.colours.assign(map->Colors, map->Colors + map->ColorCount);
  image.place = d;
  image.place.ColorMap = nullptr;
  image.indices.resize(static_cast<std::size_t>(d.Width) * d.Height);
  const auto row = [&](int y) { return image.indices.data() + static_cast<std::size_t>(y) * d.Width; };
  if (d.Interlace) {
    // The four passes of an interlaced image: every 8th row from 0 and from 4,
    // every 4th from 2, every 2nd from 1.
    static constexpr int kStart[4] = {0, 4, 2, 1};
    static constexpr int kStep[4] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass) {
      for (int y = kStart[pass]; y < d.Height; y += kStep[pass])
        if (DGifGetLine(gif, row(y), d.Width) != GIF_OK) return false;
    }
    return true;
  }
  for (int y = 0; y < d.Height; ++y)
    if (DGifGetLine(gif, row(y), d.Width) != GIF_OK) return false;
  return true;
}

// Reads one extension before the first image; the first graphics control
// block names the image's transparent colour.
bool ReadExtension(GifFileType* gif, bool& controlSeen, int& transparent) {
  int code = 0;
  GifByteType* block = nullptr;
  if (DGifGetExtension(gif, &code, &block) != GIF_OK) return false;
  GraphicsControlBlock control{};
  if (!controlSeen && code == GRAPHICS_EXT_FUNC_CODE && block &&
      DGifExtensionToGCB(block[0], block + 1, &control) == GIF_OK) {
    controlSeen = true;
    transparent = control.TransparentColor;
  }
  while (block)
    if (DGifGetExtensionNext(gif, &block) != GIF_OK) return false;
  return true;
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
  auto* file = static_cast<AtomicSave*>(gif->UserData);
  return file->Write(data, static_cast<std::size_t>(count)) ? count : 0;
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
  const int width = gif->SWidth, height = gif->SHeight;
  if (!PictureSizeAccepted(width, height)) return std::nullopt;

  // The surroundings are one picture: the stream is read up to the end of its
  // first image, and what follows (further frames of an animation, as many as
  // the file holds) is not looked at, so a file of millions of frames costs no
  // more than its first. An image cut off counts as unreadable.
  FirstImage first;
  bool controlSeen = false;
  for (;;) {
    GifRecordType type = UNDEFINED_RECORD_TYPE;
    if (DGifGetRecordType(gif.get(), &type) != GIF_OK || type == TERMINATE_RECORD_TYPE) return std::nullopt;
    if (type == IMAGE_DESC_RECORD_TYPE) {
      if (DGifGetImageDesc(gif.get()) != GIF_OK || !ReadFirstImage(gif.get(), first)) return std::nullopt;
      break;
    }
    if (type == EXTENSION_RECORD_TYPE && !ReadExtension(gif.get(), controlSeen, first.transparent)) {
      return std::nullopt;
    }
  }

  QImage image(width, height, QImage::Format_RGB888);
  if (image.isNull()) return std::nullopt;
  image.fill(Qt::black);
  const GifImageDesc& d = first.place;
  const int colourCount = static_cast<int>(first.colours.size());
  for (int y = std::max(0, d.Top); y < std::min(height, d.Top + d.Height); ++y) {
    std::uint8_t* row = image.scanLine(y);
    for (int x = std::max(0, d.Left); x < std::min(width, d.Left + d.Width); ++x) {
      const int index = first.indices[static_cast<std::size_t>(y - d.Top) * d.Width + (x - d.Left)];
      if (index == first.transparent || index >= colourCount) continue;
      const GifColorType c = first.colours[static_cast<std::size_t>(index)];
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
  AtomicSave file;
  GifFileType* gif = nullptr;
  int width = 0;
  int height = 0;
  int delay = 0;
  explicit State(const std::filesystem::path& name) : file(name) {}
};

AnimatedGifWriter::AnimatedGifWriter(std::filesystem::path file, int width, int height, int delay)
    : state_(std::make_unique<State>(file)) {
  state_->width = width;
  state_->height = height;
  state_->delay = delay;
  if (width <= 0 || height <= 0 || width > kGifLimit || height > kGifLimit) {
    error_ = "the picture size does not fit a GIF";
    return;
  }
  if (!state_->file.Ok()) {
    error_ = state_->file.Error();
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
  // An unfinished save is discarded: the old file stays as it was.
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
    error_ = "cannot write a frame: " + state_->file.Error();
    return false;
  }
  return true;
}

bool AnimatedGifWriter::Finish() {
  if (!error_.empty()) return false;
  const bool closed = CloseWriter(state_->gif);
  state_->gif = nullptr;
  if (!closed || !state_->file.Commit()) {
    error_ = "cannot write the file: " + state_->file.Error();
    return false;
  }
  return true;
}

}  // namespace brillora
