#include "io/image_jpeg.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include <jpeglib.h>

#include "io/picture_limits.h"

namespace brillora {
namespace {

// libjpeg reports errors through a callback that must not return; it jumps
// back to the setjmp of the call in progress. Only C frames of the library lie
// between the two, so no destructor is skipped.
struct JpegErrorTrap {
  jpeg_error_mgr manager{};
  std::jmp_buf jump{};
};

[[noreturn]] void JumpOnError(j_common_ptr info) {
  auto* trap = reinterpret_cast<JpegErrorTrap*>(info->err);
  std::longjmp(trap->jump, 1);
}

// A truncated or damaged stream only gives warnings; such a picture is as
// unreadable as one that fails outright.
void JumpOnWarning(j_common_ptr info, int level) {
  if (level < 0) JumpOnError(info);
}

void InstallTrap(JpegErrorTrap& trap) {
  jpeg_std_error(&trap.manager);
  trap.manager.error_exit = JumpOnError;
  trap.manager.emit_message = JumpOnWarning;
}

// Everything a decode touches lives here, behind one pointer, so that nothing
// the jump could leave stale sits in a local variable.
struct DecodeState {
  jpeg_decompress_struct info{};
  JpegErrorTrap trap;
  jpeg_progress_mgr progress{};
  QImage image;
};

// The library calls this between rows of every scan it reads. A progressive
// picture may hold any number of scans, each of which can take a pass over
// the whole picture for a few bytes of file; past the bound the picture is
// refused before the next scan is decoded.
void LimitScans(j_common_ptr common) {
  const auto* info = reinterpret_cast<j_decompress_ptr>(common);
  if (info->input_scan_number > kMaxJpegScans) JumpOnError(common);
}

bool RunDecode(DecodeState& s, std::span<const std::uint8_t> bytes, JpegIdct idct) {
  InstallTrap(s.trap);
  s.info.err = &s.trap.manager;
  if (setjmp(s.trap.jump)) {
    jpeg_destroy_decompress(&s.info);
    return false;
  }
  jpeg_create_decompress(&s.info);
  s.progress.progress_monitor = LimitScans;
  s.info.progress = &s.progress;
  jpeg_mem_src(&s.info, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&s.info, TRUE);
  // The header's claim is checked before the decoder allocates for it.
  if (!PictureSizeAccepted(s.info.image_width, s.info.image_height)) {
    jpeg_destroy_decompress(&s.info);
    return false;
  }
  s.info.out_color_space = JCS_RGB;
  if (idct == JpegIdct::FastInteger) {
    s.info.dct_method = JDCT_IFAST;
    s.info.do_fancy_upsampling = FALSE;
  }
  jpeg_start_decompress(&s.info);
  s.image = QImage(static_cast<int>(s.info.output_width), static_cast<int>(s.info.output_height),
                   QImage::Format_RGB888);
  if (s.image.isNull()) {
    jpeg_destroy_decompress(&s.info);
    return false;
  }
  while (s.info.output_scanline < s.info.output_height) {
    JSAMPROW row = s.image.scanLine(static_cast<int>(s.info.output_scanline));
    jpeg_read_scanlines(&s.info, &row, 1);
  }
  jpeg_finish_decompress(&s.info);
  jpeg_destroy_decompress(&s.info);
  return true;
}

struct EncodeState {
  jpeg_compress_struct info{};
  JpegErrorTrap trap;
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
};

bool RunEncode(EncodeState& s, const QImage& rgb, std::optional<int> quality) {
  InstallTrap(s.trap);
  s.info.err = &s.trap.manager;
  if (setjmp(s.trap.jump)) {
    jpeg_destroy_compress(&s.info);
    return false;
  }
  jpeg_create_compress(&s.info);
  jpeg_mem_dest(&s.info, &s.buffer, &s.size);
  s.info.image_width = static_cast<JDIMENSION>(rgb.width());
  s.info.image_height = static_cast<JDIMENSION>(rgb.height());
  s.info.input_components = 3;
  s.info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&s.info);
  if (quality) jpeg_set_quality(&s.info, *quality, TRUE);
  jpeg_start_compress(&s.info, TRUE);
  while (s.info.next_scanline < s.info.image_height) {
    // libjpeg takes non-const rows but only reads them.
    JSAMPROW row = const_cast<JSAMPROW>(rgb.constScanLine(static_cast<int>(s.info.next_scanline)));
    jpeg_write_scanlines(&s.info, &row, 1);
  }
  jpeg_finish_compress(&s.info);
  jpeg_destroy_compress(&s.info);
  return true;
}

}  // namespace

std::optional<QImage> DecodeJpeg(std::span<const std::uint8_t> bytes, JpegIdct idct) {
  if (bytes.empty()) return std::nullopt;
  auto state = std::make_unique<DecodeState>();
  if (!RunDecode(*state, bytes, idct)) return std::nullopt;
  return std::move(state->image);
}

std::vector<std::uint8_t> EncodeJpeg(const QImage& image, std::optional<int> quality) {
  if (image.isNull()) return {};
  const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
  if (rgb.isNull()) return {};
  auto state = std::make_unique<EncodeState>();
  const bool ok = RunEncode(*state, rgb, quality);
  std::vector<std::uint8_t> bytes;
  if (ok) bytes.assign(state->buffer, state->buffer + state->size);
  std::free(state->buffer);  // jpeg_mem_dest allocates with malloc
  return bytes;
}

}  // namespace brillora
