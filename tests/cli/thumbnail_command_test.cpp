// brillora-cli thumbnail, as a file manager runs it: a square PNG of the stone
// face up for a design, and for anything else a message, the reader's status
// and no picture, quickly.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include <QImage>

#include "io/design_file.h"
#include "support/long_design.h"
#include "support/run_cli.h"

namespace brillora {
namespace {

namespace fs = std::filesystem;
using testing::RunCli;

const std::string kSamples = std::string(BRILLORA_SOURCE_DIR) + "/GEM_DAT/";

class ThumbnailCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "brillora-thumbnail-XXXXXX").string();
    dir_ = ::mkdtemp(pattern.data());
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string File(const std::string& name) const { return (dir_ / name).string(); }

  fs::path dir_;
};

// The share of pixels that differ from the corner's, the background.
double StoneShare(const QImage& picture) {
  const QRgb background = picture.pixel(0, 0);
  int stone = 0;
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) stone += picture.pixel(x, y) != background ? 1 : 0;
  }
  return static_cast<double>(stone) / (picture.width() * picture.height());
}

TEST_F(ThumbnailCommand, DrawsTheStoneFaceUpIntoASquarePngWhateverTheName) {
  // Desktops name the thumbnail they ask for as they like, often with no extension.
  const std::string out = File("thumbnail");
  const auto r = RunCli({"thumbnail", kSamples + "RoundBrilliant.brl", out, "--size", "128"});
  ASSERT_EQ(r.status, 0) << r.err;
  std::ifstream file(out, std::ios::binary);
  char signature[8] = {};
  file.read(signature, 8);
  EXPECT_EQ(std::string(signature + 1, 3), "PNG");
  const QImage picture(QString::fromStdString(out), "PNG");
  ASSERT_EQ(picture.size(), QSize(128, 128));
  // A round stone seen from above fills a disc about the centre: pi/4 of the
  // square when it touches the edges; the corners stay background.
  const double share = StoneShare(picture);
  EXPECT_GT(share, 0.55);
  EXPECT_LT(share, 0.85);
  EXPECT_NE(picture.pixel(64, 64), picture.pixel(0, 0));
  EXPECT_EQ(picture.pixel(127, 127), picture.pixel(0, 0));
}

TEST_F(ThumbnailCommand, AGemCadDesignShowsTheStoneItsBrilloraDesignShows) {
  ASSERT_EQ(RunCli({"export", kSamples + "RoundBrilliant.brl", "-o", File("round.asc")}).status, 0);
  ASSERT_EQ(RunCli({"thumbnail", kSamples + "RoundBrilliant.brl", File("brl.png"), "--size", "64"}).status, 0);
  const auto r = RunCli({"thumbnail", File("round.asc"), File("asc.png"), "--size", "64"});
  ASSERT_EQ(r.status, 0) << r.err;
  const QImage brl(QString::fromStdString(File("brl.png")));
  const QImage asc(QString::fromStdString(File("asc.png")));
  ASSERT_EQ(asc.size(), QSize(64, 64));
  EXPECT_NEAR(StoneShare(asc), StoneShare(brl), 0.02);
}

TEST_F(ThumbnailCommand, HostileFilesAreRefusedWithAMessageAndNoPicture) {
  const std::string out = File("out.png");
  fs::create_symlink("/dev/zero", File("zero.brl"));
  ASSERT_EQ(::mkfifo(File("fifo.asc").c_str(), 0600), 0);
  {
    std::ofstream big(File("big.brl"), std::ios::binary);
    big << "8 Order of Symmetry\r\n" << std::string(kMaxDesignFileBytes, 'x');
  }
  std::ofstream(File("garbage.asc"), std::ios::binary) << "GemCad 5.0\ng 96 0.0\na 40 nonsense\n";
  for (const std::string name : {"zero.brl", "fifo.asc", "big.brl", "garbage.asc"}) {
    const auto r = RunCli({"thumbnail", File(name), out, "--size", "128"});
    EXPECT_EQ(r.status, 3) << name;
    EXPECT_FALSE(r.err.empty()) << name;
    EXPECT_FALSE(fs::exists(out)) << name;
  }
}

TEST_F(ThumbnailCommand, TheLongestDesignTheReaderTakesStillGivesItsPicture) {
  const std::string design = File("long.brl");
  ASSERT_TRUE(SaveDesignFile(design, testing::LongDesign(500, 48, true), 1.54).written);
  const auto r = RunCli({"thumbnail", design, File("long.png"), "--size", "64"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(QImage(QString::fromStdString(File("long.png"))).size(), QSize(64, 64));
}

TEST_F(ThumbnailCommand, SizesOutsideTheDesktopsAreUsageErrors) {
  for (const std::vector<std::string>& size : {std::vector<std::string>{"--size", "15"}, {"--size", "1025"},
                                               {"--size", "big"}, {"--size"}}) {
    std::vector<std::string> args = {"thumbnail", kSamples + "Default.brl", File("x.png")};
    args.insert(args.end(), size.begin(), size.end());
    const auto r = RunCli(args);
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("--size needs"), std::string::npos) << r.err;
  }
  EXPECT_EQ(RunCli({"thumbnail", kSamples + "Default.brl"}).status, 2);
  EXPECT_FALSE(fs::exists(File("x.png")));
}

}  // namespace
}  // namespace brillora
