// Pictures of the surroundings as the light map reads them, at the largest
// size accepted (8000 x 4000) and in the shapes that cost most: baseline and
// progressive JPEG (with half-resolution colour, as encoders write by default,
// and with full), a JPEG of hundreds of scans, a GIF, a GIF of ten million
// frames, a 32-bit BMP. Each benchmark reports, besides the time of a load,
// `peak_MB`: how far the load raises the peak memory of a process that does
// nothing else (measured in a child process, so that one load's peak is not
// hidden under another's). These are the figures the README gives.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <map>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>
#include <gif_lib.h>
#include <jpeglib.h>

#include "io/env_picture_file.h"

namespace brillora {
namespace {

namespace fs = std::filesystem;

constexpr int kWidth = 8000, kHeight = 4000;

// A folder for the picture files, removed with everything in it at the end.
struct Scratch {
  fs::path folder = fs::temp_directory_path() / ("brillora-picture-bench-" + std::to_string(::getpid()));
  Scratch() { fs::create_directories(folder); }
  ~Scratch() {
    std::error_code ignored;
    fs::remove_all(folder, ignored);
  }
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;
};

void WriteFile(const fs::path& file, const std::vector<std::uint8_t>& bytes) {
  std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

// A photograph-like pattern: smooth gradients with some detail.
std::uint8_t Sample(int x, int y, int channel) {
  return static_cast<std::uint8_t>((x * (channel + 1) / 40 + y / 20 + ((x * 7 + y * 13) % 17)) & 0xFF);
}

// A JPEG written by libjpeg, its scans as `script` lays them out (none: the
// library's baseline; else the scans given).
std::vector<std::uint8_t> Jpeg(const std::vector<jpeg_scan_info>& script, bool simpleProgression,
                               bool fullChroma = false) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = kWidth;
  info.image_height = kHeight;
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  if (fullChroma) {
    for (int c = 0; c < 3; ++c) info.comp_info[c].h_samp_factor = info.comp_info[c].v_samp_factor = 1;
  }
  if (simpleProgression) jpeg_simple_progression(&info);
  if (!script.empty()) {
    info.scan_info = script.data();
    info.num_scans = static_cast<int>(script.size());
  }
  jpeg_start_compress(&info, TRUE);
  std::vector<JSAMPLE> row(kWidth * 3);
  while (info.next_scanline < info.image_height) {
    const int y = static_cast<int>(info.next_scanline);
    for (int x = 0; x < kWidth; ++x) {
      for (int c = 0; c < 3; ++c) row[3 * x + c] = Sample(x, y, c);
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::vector<std::uint8_t> bytes(buffer, buffer + size);
  std::free(buffer);
  return bytes;
}

// Every AC coefficient of every component in a scan of its own, each sent in
// two halves by successive approximation: 1 + 2 * 3 * 63 = 379 scans, far
// past the bound, each a pass over the whole picture.
std::vector<jpeg_scan_info> ManyScans() {
  std::vector<jpeg_scan_info> script;
  script.push_back({3, {0, 1, 2, 0}, 0, 0, 0, 0});
  for (int component = 0; component < 3; ++component) {
    for (int k = 1; k <= 63; ++k) script.push_back({1, {component, 0, 0, 0}, k, k, 0, 1});
  }
  for (int component = 0; component < 3; ++component) {
    for (int k = 1; k <= 63; ++k) script.push_back({1, {component, 0, 0, 0}, k, k, 1, 0});
  }
  return script;
}

int AppendGifBytes(GifFileType* gif, const GifByteType* data, int count) {
  auto* out = static_cast<std::vector<std::uint8_t>*>(gif->UserData);
  out->insert(out->end(), data, data + count);
  return count;
}

// One 8000 x 4000 image, or a 1 x 1 screen with one 1 x 1 image and `frames`
// empty ones after it.
std::vector<std::uint8_t> Gif(int frames) {
  std::vector<std::uint8_t> bytes;
  int error = 0;
  GifFileType* gif = EGifOpen(&bytes, AppendGifBytes, &error);
  std::vector<GifColorType> colours(256);
  for (int i = 0; i < 256; ++i) colours[i] = {static_cast<GifByteType>(i), static_cast<GifByteType>(255 - i), 128};
  ColorMapObject* map = GifMakeMapObject(256, colours.data());
  if (frames == 0) {
    EGifPutScreenDesc(gif, kWidth, kHeight, 8, 0, map);
    EGifPutImageDesc(gif, 0, 0, kWidth, kHeight, false, nullptr);
    std::vector<GifByteType> line(kWidth);
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) line[x] = Sample(x, y, 0);
      EGifPutLine(gif, line.data(), kWidth);
    }
  } else {
    EGifPutScreenDesc(gif, 1, 1, 8, 0, map);
    GifByteType pixel = 0;
    EGifPutImageDesc(gif, 0, 0, 1, 1, false, nullptr);
    EGifPutLine(gif, &pixel, 1);
  }
  EGifCloseFile(gif, &error);
  GifFreeMapObject(map);
  if (frames > 0) {
    // Empty frames of 12 bytes each (a descriptor and no data) before the trailer.
    const std::uint8_t empty[12] = {',', 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 0};
    bytes.pop_back();
    for (int f = 0; f < frames; ++f) bytes.insert(bytes.end(), empty, empty + sizeof empty);
    bytes.push_back(';');
  }
  return bytes;
}

// A 32-bit bitmap, top-down, with no colour table.
std::vector<std::uint8_t> Bmp() {
  const std::uint32_t offset = 14 + 40;
  const std::uint32_t data = kWidth * kHeight * 4;
  std::vector<std::uint8_t> bytes;
  bytes.reserve(offset + data);
  const auto put = [&](std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i) bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
  };
  bytes.push_back('B');
  bytes.push_back('M');
  for (std::uint32_t v : {offset + data, 0u, offset, 40u, static_cast<std::uint32_t>(kWidth),
                          static_cast<std::uint32_t>(-kHeight)}) {
    put(v, 4);
  }
  put(1, 2);
  put(32, 2);
  for (std::uint32_t v : {0u, data, 2835u, 2835u, 0u, 0u}) put(v, 4);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      for (int c = 0; c < 3; ++c) bytes.push_back(Sample(x, y, c));
      bytes.push_back(0);
    }
  }
  return bytes;
}

// The largest resident size of a child that runs `work`, in megabytes.
double ChildPeak(const std::function<void()>& work) {
  const pid_t child = ::fork();
  if (child == 0) {
    work();
    std::_Exit(0);
  }
  int status = 0;
  struct rusage usage{};
  ::wait4(child, &status, 0, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

const std::vector<std::string> kPictures = {"baseline.jpg", "progressive.jpg", "progressive444.jpg", "scans.jpg",
                                            "one.gif",      "frames.gif",      "wide.bmp"};

// The picture files and their peaks, made once for all benchmarks: every file
// is written before the first load, and every peak measured in a child forked
// before this process has used Qt, whose image code keeps threads of its own
// that a forked child would wait for in vain.
struct Pictures {
  Scratch scratch;
  std::map<std::string, double> peakMb;

  Pictures() {
    for (const std::string& name : kPictures) {
      const fs::path file = scratch.folder / name;
      if (name == "baseline.jpg") WriteFile(file, Jpeg({}, false));
      if (name == "progressive.jpg") WriteFile(file, Jpeg({}, true));
      if (name == "progressive444.jpg") WriteFile(file, Jpeg({}, true, true));
      if (name == "scans.jpg") WriteFile(file, Jpeg(ManyScans(), false));
      if (name == "one.gif") WriteFile(file, Gif(0));
      if (name == "frames.gif") WriteFile(file, Gif(10'000'000));
      if (name == "wide.bmp") WriteFile(file, Bmp());
    }
    const double idle = ChildPeak([] {});
    for (const std::string& name : kPictures) {
      peakMb[name] = ChildPeak([&] {
                       RgbPicture picture;
                       LoadEnvPicture(scratch.folder / name, picture);
                     }) - idle;
    }
  }
};

const Pictures& AllPictures() {
  static const Pictures pictures;
  return pictures;
}

void LoadPicture(benchmark::State& state, const std::string& name, EnvPictureLoad expected) {
  const Pictures& pictures = AllPictures();
  const fs::path file = pictures.scratch.folder / name;
  EnvPictureLoad result = EnvPictureLoad::Ignored;
  for (auto _ : state) {
    RgbPicture picture;
    result = LoadEnvPicture(file, picture);
    benchmark::DoNotOptimize(picture.Pixels.data());
  }
  if (result != expected) state.SkipWithError("the picture did not load as expected");
  state.counters["peak_MB"] = pictures.peakMb.at(name);
  state.counters["file_MB"] = static_cast<double>(fs::file_size(file)) / 1e6;
}

BENCHMARK_CAPTURE(LoadPicture, BaselineJpeg, std::string("baseline.jpg"), EnvPictureLoad::Loaded)
    ->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK_CAPTURE(LoadPicture, ProgressiveJpeg, std::string("progressive.jpg"), EnvPictureLoad::Loaded)
    ->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK_CAPTURE(LoadPicture, ProgressiveJpegFullChroma, std::string("progressive444.jpg"), EnvPictureLoad::Loaded)
    ->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK_CAPTURE(LoadPicture, JpegOf379Scans, std::string("scans.jpg"), EnvPictureLoad::Unreadable)
    ->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK_CAPTURE(LoadPicture, Gif, std::string("one.gif"), EnvPictureLoad::Loaded)
    ->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK_CAPTURE(LoadPicture, GifOfTenMillionFrames, std::string("frames.gif"), EnvPictureLoad::Loaded)
    ->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK_CAPTURE(LoadPicture, Bmp32, std::string("wide.bmp"), EnvPictureLoad::Loaded)
    ->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
}  // namespace brillora
