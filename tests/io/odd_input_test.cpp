// Paths and files that are not what their names say: every reader refuses them
// with its own message before reading, and refuses pictures whose headers
// claim more pixels than any accepted picture before allocating for them.

#include <gtest/gtest.h>
#include <iconv.h>
#include <sys/stat.h>

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
