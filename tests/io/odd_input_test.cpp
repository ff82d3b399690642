// Paths and files that are not what their names say: every reader refuses them
// with its own message before reading, and refuses pictures whose headers
// claim more pixels than any accepted picture before allocating for them.

#include <gif_lib.h>
#include <gtest/gtest.h>
#include <iconv.h>
#include <jpeglib.h>
#include <sys/stat.h>

#include <csetjmp>
#include <cstdlib>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include <QImage>

#include "io/design_file.h"
#include "io/env_picture_file.h"
#include "io/file_text.h"
#include "io/gemcad_file.h"
#include "io/image_gif.h"
#include "io/image_jpeg.h"
#include "io/picture_limits.h"
#include "io/regular_file.h"
#include "model/default_design.h"
#include "model/step_editor.h"
#include "params/weight.h"
#include "support/random_design.h"
#include "support/trial_count.h"

namespace brillora {
namespace {

namespace fs = std::filesystem;

class OddInput : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "brillora-odd-XXXXXX").string();
    dir_ = ::mkdtemp(pattern.data());
  }
  void TearDown() override { fs::remove_all(dir_); }

  // A directory, a FIFO, a link to an endless device and a link to an empty
  // one, each with the extension given.
  std::vector<fs::path> OddPaths(const std::string& extension) const {
    const fs::path folder = dir_ / ("folder" + extension);
    const fs::path fifo = dir_ / ("fifo" + extension);
    const fs::path endless = dir_ / ("zero" + extension);
    const fs::path empty = dir_ / ("null" + extension);
    fs::create_directory(folder);
    EXPECT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    fs::create_symlink("/dev/zero", endless);
    fs::create_symlink("/dev/null", empty);
    return {folder, fifo, endless, empty};
  }

  fs::path dir_;
};

std::string ValidDesignText() { return DesignFileText(DefaultDesign(), 2.42, "d", "t"); }

TEST_F(OddInput, DesignFilesAreReadUpToTheBoundAndNoFurther) {
  // What follows the time line is never looked at, so padding keeps a file valid.
  const std::string text = ValidDesignText();
  const fs::path atBound = dir_ / "bound.brl";
  std::ofstream(atBound, std::ios::binary) << text << std::string(kMaxDesignFileBytes - text.size(), ' ');
  EXPECT_TRUE(OpenDesignFile(atBound).ok());
  const fs::path over = dir_ / "over.brl";
  std::ofstream(over, std::ios::binary) << text;
  fs::resize_file(over, kMaxDesignFileBytes + 1);  // sparse: nothing is written
  EXPECT_EQ(OpenDesignFile(over).error, kInvalidFileFormat);
}

TEST_F(OddInput, BoundedReaderTakesWholeSmallFilesOnly) {
  const fs::path file = dir_ / "bytes";
  std::ofstream(file, std::ios::binary) << "0123456789";
  EXPECT_EQ(ReadRegularFile(file, 10), "0123456789");
  EXPECT_FALSE(ReadRegularFile(file, 9));
  EXPECT_FALSE(ReadRegularFile(dir_ / "missing", 100));
  // A file that says it is empty but is not (as those of /proc do) is read to its end.
  const auto status = ReadRegularFile("/proc/self/status", 1 << 20);
  ASSERT_TRUE(status);
  EXPECT_NE(status->find("Name:"), std::string::npos);
}

TEST_F(OddInput, PictureReaderRefusesWhatIsNoRegularFile) {
  for (const std::string extension : {".jpg", ".gif", ".bmp"}) {
    for (const fs::path& path : OddPaths(extension)) {
      RgbPicture picture = BlankPicture();
      EXPECT_EQ(LoadEnvPicture(path, picture), EnvPictureLoad::Unreadable) << path;
    }
  }
  const fs::path over = dir_ / "over.bmp";
  std::ofstream(over, std::ios::binary) << "BM";
  fs::resize_file(over, kMaxPictureFileBytes + 1);
  RgbPicture picture;
  EXPECT_EQ(LoadEnvPicture(over, picture), EnvPictureLoad::Unreadable);
}

// A GIF of 2 x 2 pixels whose header and image descriptor claim the sizes
// given: a file of a few hundred bytes.
std::vector<std::uint8_t> ClaimingGif(int screenWidth, int screenHeight, int imageWidth, int imageHeight) {
  QImage small(2, 2, QImage::Format_RGB888);
  small.fill(Qt::blue);
  std::vector<std::uint8_t> gif = EncodeGif(small);
  const auto put = [&](std::size_t at, int value) {
    gif.at(at) = static_cast<std::uint8_t>(value & 0xFF);
    gif.at(at + 1) = static_cast<std::uint8_t>(value >> 8);
  };
  put(6, screenWidth);
  put(8, screenHeight);
  constexpr std::size_t kImageDescriptor = 13;  // no global colour table, no extension
  EXPECT_EQ(gif.at(kImageDescriptor), ',');
  put(kImageDescriptor + 5, imageWidth);
  put(kImageDescriptor + 7, imageHeight);
  return gif;
}

TEST_F(OddInput, PicturesClaimingHugeSizesAreRefusedBeforeDecoding) {
  EXPECT_TRUE(DecodeGif(ClaimingGif(2, 2, 2, 2))) << "the small file itself is a GIF";
  EXPECT_TRUE(DecodeGif(ClaimingGif(3000, 3000, 2, 2))) << "a small image on a large screen";
  EXPECT_FALSE(DecodeGif(ClaimingGif(65535, 65535, 2, 2)));
  EXPECT_FALSE(DecodeGif(ClaimingGif(20000, 20000, 2, 2)));
  EXPECT_FALSE(DecodeGif(ClaimingGif(2, 2, 65535, 65535))) << "an image larger than its screen";

  QImage small(16, 16, QImage::Format_RGB888);
  small.fill(Qt::red);
  std::vector<std::uint8_t> jpeg = EncodeJpeg(small);
  ASSERT_TRUE(DecodeJpeg(jpeg));
  std::size_t frame = 0;
  while (frame + 9 < jpeg.size() && !(jpeg[frame] == 0xFF && jpeg[frame + 1] == 0xC0)) ++frame;
  ASSERT_LT(frame + 9, jpeg.size()) << "no baseline frame header";
  for (const int side : {65500, 20000}) {
    for (const std::size_t at : {frame + 5, frame + 7}) {  // height, then width
      jpeg[at] = static_cast<std::uint8_t>(side >> 8);
      jpeg[at + 1] = static_cast<std::uint8_t>(side & 0xFF);
    }
    EXPECT_FALSE(DecodeJpeg(jpeg)) << side;
  }

  // Through the picture files, with the message of any unreadable picture.
  const fs::path file = dir_ / "huge.gif";
  const auto gif = ClaimingGif(65535, 65535, 65535, 65535);
  std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(gif.data()), gif.size());
  RgbPicture picture;
  EXPECT_EQ(LoadEnvPicture(file, picture), EnvPictureLoad::Unreadable);
}

// Windows-1252 as the C library's own converter reads it, for every byte it
// assigns; the five it leaves unassigned become the controls of that number.
TEST(FileText, Windows1252IsReadAsTheSystemReadsIt) {
  iconv_t convert = iconv_open("UTF-8", "WINDOWS-1252");
  ASSERT_NE(convert, reinterpret_cast<iconv_t>(-1));
  for (int byte = 1; byte < 256; ++byte) {
    char in[1] = {static_cast<char>(byte)};
    char out[8] = {};
    char* from = in;
    char* to = out;
    std::size_t left = 1, room = sizeof out;
    const bool assigned = iconv(convert, &from, &left, &to, &room) != static_cast<std::size_t>(-1);
    const std::string ours = Utf8FromWindows1252(std::string(1, static_cast<char>(byte)));
    if (assigned) {
      EXPECT_EQ(ours, std::string(out, to)) << byte;
    } else {
      EXPECT_TRUE(byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D) << byte;
      EXPECT_EQ(ours, std::string({static_cast<char>(0xC2), static_cast<char>(byte)})) << byte;
    }
    EXPECT_EQ(Windows1252FromUtf8(ours), std::string(1, static_cast<char>(byte))) << byte;
  }
  iconv_close(convert);
  EXPECT_EQ(Utf8FromFileText("caf\xC3\xA9"), "caf\xC3\xA9") << "UTF-8 stays as it is";
  EXPECT_EQ(Utf8FromFileText("caf\xE9"), "caf\xC3\xA9");
  EXPECT_FALSE(IsUtf8("\xC0\xAF")) << "an overlong slash";
  EXPECT_FALSE(IsUtf8("\xED\xA0\x80")) << "a surrogate";
  EXPECT_FALSE(Windows1252FromUtf8("\xE4\xB8\xAD")) << "a character Windows-1252 has not";
  EXPECT_EQ(Utf8Prefix("\xE2\x82\xAC\xE2\x82\xAC", 1), "\xE2\x82\xAC");
}

// A GemCad design from a Windows program: its texts are Windows-1252. Read,
// they are text; written, they go back as the bytes they came as, and a text
// Windows-1252 cannot hold makes the whole file UTF-8. Either way the file
// reads back to the same texts.
TEST(FileText, GemCadTextsOfAnyEncodingReadAndWriteBack) {
  const std::string windows = "GemCad 5.0\r\ng 96 0\r\nH Ren\xE9 \x80 \x81\r\na 40 1 0 n \xE9t\xE9 G \x93" "a\x94\r\n"
                              "F \xA9 2026\r\n";
  const GemCadReadResult read = ReadGemCadText(windows);
  ASSERT_TRUE(read.ok()) << read.error;
  EXPECT_EQ(read.design.headings.at(0), "Ren\xC3\xA9 \xE2\x82\xAC \xC2\x81");
  EXPECT_EQ(read.design.tiers.at(0).facets.at(0).name, "\xC3\xA9t\xC3\xA9");
  EXPECT_EQ(read.design.tiers.at(0).instruction, "\xE2\x80\x9C" "a\xE2\x80\x9D");
  EXPECT_EQ(read.design.footnotes.at(0), "\xC2\xA9 2026");
  const std::string written = GemCadText(read.design);
  EXPECT_NE(written.find("H Ren\xE9 \x80 \x81\r\n"), std::string::npos) << written;
  EXPECT_EQ(ReadGemCadText(written).design.headings, read.design.headings);

  GemCadDesign wide = read.design;
  wide.headings.push_back("\xE4\xB8\xAD");
  const std::string utf8 = GemCadText(wide);
  EXPECT_TRUE(IsUtf8(utf8));
  const GemCadReadResult again = ReadGemCadText(utf8);
  EXPECT_EQ(again.design.headings, wide.headings);
  EXPECT_EQ(again.design.tiers.at(0).facets.at(0).name, "\xC3\xA9t\xC3\xA9");

  // A message quoting the file's bytes is text too, never cut inside a character.
  const GemCadReadResult refused = ReadGemCadText("GemCad 5.0\ng 96 0\n\x80\x80\x80\x80\x80\x80\x80\x80\x80\x80"
                                                  "\x80\x80\x80\x80\x80\x80\x80\x80\x80\x80\x80\x80 1\n");
  EXPECT_TRUE(IsUtf8(refused.error)) << refused.error;
  EXPECT_NE(refused.error.find("\xE2\x82\xAC\" is not a GemCad keyword"), std::string::npos) << refused.error;
}

TEST_F(OddInput, AMissingGemCadDesignIsSaidNotToExist) {
  EXPECT_EQ(ReadGemCadFile(dir_ / "missing.asc").error,
            "Cannot read \"" + (dir_ / "missing.asc").string() + "\": the file does not exist");
  EXPECT_NE(ReadGemCadFile(dir_).error.find("not a regular file"), std::string::npos);
}

// What a design shows once installed: its steps as constructed (derived
// slopes, lowered positions), its planes and its stone.
std::string FirstUndefinedNumber(const Design& design, const Stone& stone) {
  for (const MasStep* side : {&design.CrownSteps, &design.PavilionSteps}) {
    for (const TStep& s : *side) {
      if (!std::isfinite(s.Angle) || !std::isfinite(s.Posit)) return "a step's slope or position";
    }
  }
  for (const TFacet& f : stone.AllFacets) {
    if (!std::isfinite(f.Nx + f.Ny + f.Nz + f.D)) return "a facet's plane";
  }
  for (const TVertex& v : stone.AllVertices) {
    if (!std::isfinite(v.x + v.y + v.z)) return "a vertex";
  }
  if (!std::isfinite(SixfoldVolume(stone))) return "the volume";
  return "";
}

// Positions are any finite number to the reader: the largest ones overflow
// any product with them, and derived slopes of 0 / 0 were undefined. Every
// design read builds a stone (maybe none) without an undefined number.
TEST(OddDesigns, PositionsOfAnySizeLeaveNoNumberUndefined) {
  EditorObserver quiet;
  const std::string lines[] = {
      "1\t89.00\t0\t0\t0.70\t1\r\n2\t40.00\t2\t0\tP\t0\r\n3\t30.00\t1\t0\tP\t1\r\n4\t20.00\t0\t0\t0.5\t1\r\n",
      "1\t89.00\t3\t0\tP\t1\r\n2\t42.00\t1\t0\t-P\t1\r\n3\t30.00\t0\t0\tP\t1\r\n",
      "1\t89.00\t0\t0\t0.70\t1\r\n2\t40.00\t0\t3\t-P\t0\r\n3\t30.00\t0\t3\t0.5\t1\r\n4\t30.00\t0\t-2\tP\t1\r\n",
  };
  for (const std::string position : {"1e308", "1e15", "1.7e308", "4e307", "1e-300"}) {
    for (const std::string& crown : lines) {
      std::string text = "2 Order of Symmetry\r\n" + std::to_string(std::count(crown.begin(), crown.end(), '\n')) +
                         " Steps of Crown\r\nh\r\n" + crown + "1 Steps of Pavilion\r\nh\r\n1\t40.00\t0\t0\tP\t1\r\n"
                         "2.42 Refractive Index\r\n";
      for (std::size_t at; (at = text.find('P')) != std::string::npos;) text.replace(at, 1, position);
      for (const std::string symmetry : {"2", "8", "48"}) {
        text.replace(0, text.find(' '), symmetry);
        const DesignReadResult read = ReadDesignText(text);
        ASSERT_TRUE(read.ok()) << text;
        const StepEditor editor(read.design, quiet);
        EXPECT_EQ(FirstUndefinedNumber(editor.CurrentDesign(), *editor.State().stone), "") << text;
      }
    }
  }
  std::mt19937 random(308);
  for (int trial = 0; trial < testing::TrialCount(1500); ++trial) {
    const std::string text = DesignFileText(testing::RandomAcceptedDesign(random), 2.42, "d", "t");
    const DesignReadResult read = ReadDesignText(text);
    ASSERT_TRUE(read.ok()) << text;
    const StepEditor editor(read.design, quiet);
    ASSERT_EQ(FirstUndefinedNumber(editor.CurrentDesign(), *editor.State().stone), "") << text;
  }
}

std::string SampleText(const std::string& name) {
  std::ifstream in(std::string(BRILLORA_SOURCE_DIR) + "/GEM_DAT/" + name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

// A split tier beyond the first has no turn the construction can place: the
// reader refuses it, the first tier's turn (which turns the whole side) stays
// free, and the editor never makes one, whichever way the controls are used.
TEST(OddDesigns, ASplitTierBeyondTheFirstTakesNoTurn) {
  const std::string brilliant = SampleText("RoundBrilliant.brl");
  ASSERT_TRUE(ReadDesignText(brilliant).ok());
  for (const std::string turn : {"1", "-1", "6"}) {
    EXPECT_EQ(ReadDesignText(Replaced(brilliant, "2\t42.00\t1\t0\t", "2\t42.00\t1\t" + turn + "\t")).error,
              kInvalidFileFormat)
        << turn;
  }
  EditorObserver quiet;
  const DesignReadResult turnedGirdle = ReadDesignText(Replaced(brilliant, "1\t89.00\t3\t0\t", "1\t89.00\t3\t2\t"));
  ASSERT_TRUE(turnedGirdle.ok());
  EXPECT_FALSE(StepEditor(turnedGirdle.design, quiet).State().stone->AllFacets.empty());

  // Turned first, then split: the tier takes the 0 its shift list shows, and
  // the stone is that of the tier split without a turn.
  StepEditor turnedThenSplit(quiet);
  ASSERT_TRUE(turnedThenSplit.ChooseStepTab(1));
  ASSERT_TRUE(turnedThenSplit.ChooseShift(turnedThenSplit.Controls().ShiftBox.index + 2));
  ASSERT_EQ(turnedThenSplit.CurrentDesign().CrownSteps[2].Shift, 2);
  ASSERT_TRUE(turnedThenSplit.ChooseSplit(1));
  StepEditor split(quiet);
  ASSERT_TRUE(split.ChooseStepTab(1));
  ASSERT_TRUE(split.ChooseSplit(1));
  EXPECT_EQ(turnedThenSplit.CurrentDesign().CrownSteps[2].Shift, 0);
  EXPECT_EQ(turnedThenSplit.State().stone->AllVertices.size(), split.State().stone->AllVertices.size());
  EXPECT_FALSE(turnedThenSplit.State().stone->AllFacets.empty());
  EXPECT_TRUE(ReadDesignText(DesignFileText(turnedThenSplit.CurrentDesign(), 2.42, "d", "t")).ok());

  // A new step copies a turned split first tier without its turn.
  StepEditor pavilion(quiet);
  ASSERT_TRUE(pavilion.ChooseSideTab(1));
  ASSERT_TRUE(pavilion.ChooseSplit(2));
  ASSERT_TRUE(pavilion.ChooseShift(1));  // the half sector
  ASSERT_NE(pavilion.CurrentDesign().PavilionSteps[1].Shift, 0);
  pavilion.ClickNewStep();
  const Design made = pavilion.CurrentDesign();
  ASSERT_EQ(made.PavilionSteps.size(), 4u);
  EXPECT_EQ(made.PavilionSteps[2].Split, 2);
  EXPECT_EQ(made.PavilionSteps[2].Shift, 0);
  EXPECT_TRUE(ReadDesignText(DesignFileText(made, 2.42, "d", "t")).ok());
}

// A colour JPEG whose AC coefficients come in `bands` scans per component
// after one DC scan: 1 + 3 * bands scans, a legal progressive script.
std::vector<std::uint8_t> ProgressiveJpeg(int width, int height, int bands) {
  std::vector<jpeg_scan_info> script;
  script.push_back({3, {0, 1, 2, 0}, 0, 0, 0, 0});
  for (int component = 0; component < 3; ++component) {
    for (int band = 0; band < bands; ++band) {
      const int first = 1 + 63 * band / bands, last = 63 * (band + 1) / bands;
      script.push_back({1, {component, 0, 0, 0}, first, last, 0, 0});
    }
  }
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  info.scan_info = script.data();
  info.num_scans = static_cast<int>(script.size());
  jpeg_start_compress(&info, TRUE);
  std::vector<JSAMPLE> row(static_cast<std::size_t>(width) * 3);
  while (info.next_scanline < info.image_height) {
    for (int x = 0; x < width; ++x) {
      row[3 * x] = static_cast<JSAMPLE>(x * 255 / width);
      row[3 * x + 1] = static_cast<JSAMPLE>(info.next_scanline * 255 / info.image_height);
      row[3 * x + 2] = 128;
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

int CountScans(const std::vector<std::uint8_t>& jpeg) {
  int scans = 0;
  for (std::size_t i = 0; i + 1 < jpeg.size(); ++i) scans += jpeg[i] == 0xFF && jpeg[i + 1] == 0xDA;
  return scans;
}

// Each scan of a progressive picture can take a pass over the whole picture
// for a few bytes: a picture of more scans than any encoder writes is refused.
TEST(PictureBounds, JpegScansAreBounded) {
  const auto atBound = ProgressiveJpeg(64, 48, 33);
  const auto beyond = ProgressiveJpeg(64, 48, 34);
  ASSERT_EQ(CountScans(atBound), kMaxJpegScans);
  ASSERT_EQ(CountScans(beyond), kMaxJpegScans + 3);
  const auto read = DecodeJpeg(atBound);
  ASSERT_TRUE(read);
  EXPECT_EQ(read->size(), QSize(64, 48));
  EXPECT_NEAR(qRed(read->pixel(63, 0)), 251, 8) << "the last scans were decoded too";
  EXPECT_FALSE(DecodeJpeg(beyond));
}

// A GIF of one image followed by `frames` more, each of one pixel, with a
// local colour table: an animation only the first frame of which is a
// picture of the surroundings.
std::vector<std::uint8_t> ManyFrameGif(int frames, bool terminate) {
  std::vector<std::uint8_t> bytes;
  int error = 0;
  GifFileType* gif = EGifOpen(&bytes, [](GifFileType* g, const GifByteType* data, int count) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(g->UserData);
    out->insert(out->end(), data, data + count);
    return count;
  }, &error);
  GifColorType colours[2] = {{200, 30, 10}, {0, 0, 0}};
  ColorMapObject* map = GifMakeMapObject(2, colours);
  EGifPutScreenDesc(gif, 2, 2, 1, 0, map);
  for (int frame = 0; frame <= frames; ++frame) {
    const int side = frame == 0 ? 2 : 1;
    EGifPutImageDesc(gif, 0, 0, side, side, false, frame == 0 ? nullptr : map);
    GifByteType line[2] = {0, 0};
    for (int y = 0; y < side; ++y) EGifPutLine(gif, line, side);
  }
  EGifCloseFile(gif, &error);
  GifFreeMapObject(map);
  if (!terminate) bytes.pop_back();  // the trailer
  return bytes;
}

// Only the first frame of a GIF is the picture: the frames after it are not
// read, however many there are, and a first frame cut off is refused.
TEST(PictureBounds, OnlyAGifsFirstFrameIsRead) {
  const auto many = ManyFrameGif(200'000, false);
  ASSERT_GT(many.size(), 2'000'000u);
  const auto image = DecodeGif(many);
  ASSERT_TRUE(image);
  EXPECT_EQ(image->size(), QSize(2, 2));
  EXPECT_EQ(image->pixel(1, 1), qRgb(200, 30, 10));
  const auto one = ManyFrameGif(0, true);
  for (std::size_t cut = 14; cut + 2 < one.size(); ++cut) {
    EXPECT_FALSE(DecodeGif(std::span(one.data(), cut))) << cut;
  }
}

// An 8-bit run-length bitmap of 4 x 2 pixels, red below and blue above, as
// the header claims it: ending its rows, ending the bitmap, or running out.
std::vector<std::uint8_t> RunLengthBmp(int width, int height, bool endOfBitmap) {
  const std::vector<std::uint8_t> data = endOfBitmap ? std::vector<std::uint8_t>{4, 0, 0, 0, 4, 1, 0, 1}
                                                     : std::vector<std::uint8_t>{4, 0, 0, 0, 4, 1};
  std::vector<std::uint8_t> bytes;
  const auto put = [&](std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i) bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
  };
  const std::uint32_t offset = 14 + 40 + 2 * 4;
  bytes = {'B', 'M'};
  put(offset + static_cast<std::uint32_t>(data.size()), 4);
  put(0, 4);
  put(offset, 4);
  put(40, 4);
  put(static_cast<std::uint32_t>(width), 4);
  put(static_cast<std::uint32_t>(height), 4);
  put(1, 2);
  put(8, 2);
  put(1, 4);  // 8-bit run lengths
  put(static_cast<std::uint32_t>(data.size()), 4);
  put(2835, 4);
  put(2835, 4);
  put(2, 4);
  put(0, 4);
  for (std::uint32_t colour : {0x00FF0000u, 0x000000FFu}) put(colour, 4);  // red, blue (as B G R 0)
  bytes.insert(bytes.end(), data.begin(), data.end());
  return bytes;
}

// A run-length bitmap whose runs stop before its last row would be filled
// black by the reader; it is refused as a truncated picture is.
TEST_F(OddInput, RunLengthBitmapsMustReachTheirLastRow) {
  const auto load = [&](const std::vector<std::uint8_t>& bytes) {
    const fs::path file = dir_ / "rle.bmp";
    std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    RgbPicture picture = BlankPicture();
    const EnvPictureLoad result = LoadEnvPicture(file, picture);
    return std::pair{result, picture};
  };
  const auto [whole, picture] = load(RunLengthBmp(4, 2, true));
  ASSERT_EQ(whole, EnvPictureLoad::Loaded);
  EXPECT_EQ(picture.Pixel(0, kEnvPictureSize - 1)[0], 255) << "the lower row red";
  EXPECT_EQ(picture.Pixel(0, 0)[2], 255) << "the upper row blue";
  EXPECT_EQ(load(RunLengthBmp(4, 2, false)).first, EnvPictureLoad::Unreadable) << "cut before its end";
  EXPECT_EQ(load(RunLengthBmp(8000, 4000, true)).first, EnvPictureLoad::Unreadable) << "claims rows it has not";
}

TEST(PictureLimits, TensOfMegapixelsInAnyShape) {
  EXPECT_TRUE(PictureSizeAccepted(8000, 4000));
  EXPECT_TRUE(PictureSizeAccepted(kMaxPicturePixels, 1));
  EXPECT_FALSE(PictureSizeAccepted(8001, 4000));
  EXPECT_FALSE(PictureSizeAccepted(65535, 65535));
  EXPECT_FALSE(PictureSizeAccepted(0, 10));
  EXPECT_FALSE(PictureSizeAccepted(10, -1));
}

}  // namespace
}  // namespace brillora
