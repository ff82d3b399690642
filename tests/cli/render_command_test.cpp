#include <filesystem>
#include <fstream>
#include <set>

#include <gif_lib.h>
#include <gtest/gtest.h>

#include <algorithm>

#include <QImage>

#include "support/run_cli.h"

namespace brillora {
namespace {

using testing::RunCli;

const std::string kSamples = std::string(BRILLORA_SOURCE_DIR) + "/GEM_DAT/";

class RenderCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("brillora_render_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string File(const std::string& name) const { return (dir_ / name).string(); }

  QImage Render(const std::string& name, std::vector<std::string> options) {
    std::vector<std::string> args = {"render", "-o", File(name)};
    args.insert(args.end(), options.begin(), options.end());
    const auto r = RunCli(args);
    EXPECT_EQ(r.status, 0) << r.err;
    return QImage(QString::fromStdString(File(name)));
  }

  std::filesystem::path dir_;
};

std::set<QRgb> Colours(const QImage& image) {
  std::set<QRgb> colours;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) colours.insert(image.pixel(x, y));
  return colours;
}

void ExpectCorners(const QImage& image, QColor colour) {
  for (QPoint p : {QPoint(0, 0), QPoint(image.width() - 1, 0), QPoint(0, image.height() - 1),
                   QPoint(image.width() - 1, image.height() - 1)})
    EXPECT_EQ(image.pixelColor(p), colour) << p.x() << ", " << p.y();
}

TEST_F(RenderCommand, TracedCrownIsNotUniformAndCornersShowTheBackground) {
  const QImage grey = Render("crown.png", {kSamples + "RoundBrilliant.brl", "--width", "200", "--height", "180"});
  ASSERT_EQ(grey.size(), QSize(200, 180));
  EXPECT_GT(Colours(grey).size(), 50u);
  ExpectCorners(grey, QColor(0, 0, 0));  // grey light: nothing behind the stone
  // Red and blue light: the surroundings behind the viewer's back are blue.
  const QImage redBlue = Render("rb.png", {"--default", "--width", "120", "--height", "120", "--light", "redblue"});
  ExpectCorners(redBlue, QColor(0, 0, 255));
  EXPECT_GT(redBlue.pixelColor(60, 60).red(), 0) << "the table shows the red half";
}

TEST_F(RenderCommand, EveryFormatOpensAtTheRequestedSize) {
  for (const char* name : {"a.png", "a.bmp", "a.jpg", "a.gif", "b.PNG"}) {
    const QImage image = Render(name, {"--default", "--width", "123", "--height", "157"});
    EXPECT_EQ(image.size(), QSize(123, 157)) << name;
  }
}

TEST_F(RenderCommand, EdgesAndHighlight) {
  const std::vector<std::string> plain = {"--default", "--width", "160", "--height", "160", "--no-aa",
                                          "--reflections", "0"};
  auto with = [&](std::vector<std::string> extra) {
    std::vector<std::string> all = plain;
    all.insert(all.end(), extra.begin(), extra.end());
    return all;
  };
  auto count = [](const QImage& image, QColor c) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) n += image.pixelColor(x, y) == c;
    return n;
  };
  EXPECT_GT(count(Render("edges.png", plain), QColor(180, 0, 0)), 100);
  EXPECT_EQ(count(Render("none.png", with({"--no-edges"})), QColor(180, 0, 0)), 0);
  // The default design's table is the crown's last step (step 4); highlighted
  // in plain mode it loses half its green.
  const QColor table = Render("table.png", with({"--no-edges", "--step", "4"})).pixelColor(80, 80);
  const QColor normal = Render("plain.png", with({"--no-edges"})).pixelColor(80, 80);
  EXPECT_EQ(normal.green(), normal.red());
  EXPECT_EQ(table.red(), normal.red());
  EXPECT_EQ(table.green(), normal.green() / 2);
}

TEST_F(RenderCommand, PicturesOfOurOwnChangeTheColours) {
  QImage orange(64, 64, QImage::Format_RGB888);
  orange.fill(QColor(255, 140, 0));
  ASSERT_TRUE(orange.save(QString::fromStdString(File("orange.bmp"))));
  const std::vector<std::string> size = {"--default", "--width", "150", "--height", "150"};
  auto with = [&](std::vector<std::string> extra) {
    std::vector<std::string> all = size;
    all.insert(all.end(), extra.begin(), extra.end());
    return all;
  };
  const QImage grey = Render("grey.png", size);
  const QImage front = Render("front.png", with({"--front", File("orange.bmp"), "--back", File("orange.bmp")}));
  // The grey surroundings give grey pixels only; orange ones tint the stone.
  const QColor table = front.pixelColor(75, 75);
  EXPECT_EQ(grey.pixelColor(75, 75).red(), grey.pixelColor(75, 75).green());
  EXPECT_GT(table.red(), table.green());
  EXPECT_GT(table.green(), table.blue());
  // The background of the pictures mode is the back picture straight behind,
  // at the brightness asked for.
  ExpectCorners(front, QColor(255, 140, 0));
  const QImage dim = Render("dim.png", with({"--back", File("orange.bmp"), "--bg", "25"}));
  ExpectCorners(dim, QColor(128, 70, 0));
}

TEST_F(RenderCommand, UnreadablePictureGivesTheMessageAndWritesNothing) {
  std::ofstream(File("broken.jpg")) << "not a picture at all";
  std::ofstream(File("empty.gif"));
  // A good picture whose extension is not written in lower case is no picture name.
  QImage good(8, 8, QImage::Format_RGB888);
  good.fill(Qt::white);
  ASSERT_TRUE(good.save(QString::fromStdString(File("upper.JPG")), "JPEG"));
  for (const std::string& picture : {File("broken.jpg"), File("empty.gif"), File("missing.bmp"),
                                    File("upper.JPG")}) {
    const auto r = RunCli({"render", "--default", "-o", File("out.png"), "--width", "100", "--height",
                           "100", "--front", picture});
    EXPECT_EQ(r.status, 3) << picture;
    EXPECT_EQ(r.err, "Invalid graphic file format.\n") << picture;
    EXPECT_FALSE(std::filesystem::exists(File("out.png")));
  }
}

TEST_F(RenderCommand, BadOptionsAreUsageErrors) {
  for (std::vector<std::string> args : {std::vector<std::string>{"render", "--default"},
                                        {"render", "-o", File("a.tif")},
                                        {"render", "-o", File("a.png"), "--width", "99"},
                                        {"render", "-o", File("a.png"), "--height", "9001"},
                                        {"render", "-o", File("a.png"), "--law", "cos3"},
                                        {"render", "-o", File("a.png"), "--head", "31"},
                                        {"render", "-o", File("a.png"), "--bg", "101"},
                                        {"render", "-o", File("a.png"), "--front", File("f.jpg"), "--light", "zones"},
                                        {"animate", "-o", File("a.png")}}) {
    const auto r = RunCli(args);
    EXPECT_EQ(r.status, 2) << args.back();
    EXPECT_FALSE(std::filesystem::exists(File("a.png")));
  }
}

TEST_F(RenderCommand, AnimationLoopsHundredFrames) {
  const auto r = RunCli({"animate", kSamples + "RoundBrilliant.brl", "-o", File("wobble.gif"), "--width",
                         "100", "--height", "110"});
  ASSERT_EQ(r.status, 0) << r.err;
  int error = 0;
  GifFileType* gif = DGifOpenFileName(File("wobble.gif").c_str(), &error);
  ASSERT_NE(gif, nullptr);
  ASSERT_EQ(DGifSlurp(gif), GIF_OK);
  EXPECT_EQ(gif->SWidth, 100);
  EXPECT_EQ(gif->SHeight, 110);
  EXPECT_EQ(gif->ImageCount, 100);
  GraphicsControlBlock control{};
  ASSERT_EQ(DGifSavedExtensionToGCB(gif, 50, &control), GIF_OK);
  EXPECT_EQ(control.DelayTime, 4);
  bool loops = false;
  for (int i = 0; i < gif->SavedImages[0].ExtensionBlockCount; ++i) {
    const ExtensionBlock& b = gif->SavedImages[0].ExtensionBlocks[i];
    loops |= b.Function == APPLICATION_EXT_FUNC_CODE && b.ByteCount == 11 &&
             std::string(reinterpret_cast<char*>(b.Bytes), 11) == "NETSCAPE2.0";
  }
  EXPECT_TRUE(loops);
  // The wobble moves: the first and a middle frame differ.
  const auto pixels = [&](int i) {
    const SavedImage& image = gif->SavedImages[i];
    return std::vector<GifByteType>(image.RasterBits, image.RasterBits + 100 * 110);
  };
  EXPECT_NE(pixels(0), pixels(25));
  DGifCloseFile(gif, &error);
}

// Pixels whose channels lie far apart: flashes of colour, not the faint tint
// of the stone's inner colour.
int ColouredPixels(const QImage& image) {
  int coloured = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QRgb p = image.pixel(x, y);
      coloured += std::max({qRed(p), qGreen(p), qBlue(p)}) - std::min({qRed(p), qGreen(p), qBlue(p)}) > 60;
    }
  return coloured;
}

// White lamps give a grey picture, until the lines part: coloured flashes
// where the three lines of one beam meet a lamp's edge differently (each
// beam leaves in one direction, so in any one view they are few).
TEST_F(RenderCommand, LampsWithDispersionShowColouredFlashes) {
  const std::vector<std::string> lamps = {kSamples + "RoundBrilliant.brl", "--width", "200", "--height", "200",
                                          "--light", "lamps", "--no-aa", "--no-edges"};
  std::vector<std::string> withLines = lamps;
  withLines.push_back("--dispersion");
  int flashes = 0;
  for (const char* view : {"crown", "0.3,0.2", "-0.5,0.7", "0.2,-0.3"}) {
    std::vector<std::string> white = lamps, fire = withLines;
    white.insert(white.end(), {"--view", view});
    fire.insert(fire.end(), {"--view", view});
    EXPECT_EQ(ColouredPixels(Render("white.png", white)), 0) << view;
    flashes += ColouredPixels(Render("fire.png", fire));
  }
  EXPECT_GT(flashes, 200);
  const QImage white = Render("lamps.png", lamps);
  // No dispersion: the three lines draw the picture without them.
  withLines.insert(withLines.end(), {"--custom-dispersion", "0"});
  EXPECT_EQ(Render("none.png", withLines), white);
  // The ASET map: red, green and blue regions.
  const QImage aset = Render("aset.png", {kSamples + "RoundBrilliant.brl", "--width", "200", "--height", "200",
                                          "--light", "aset", "--no-aa", "--no-edges"});
  int red = 0, green = 0, blue = 0;
  for (int y = 0; y < aset.height(); ++y)
    for (int x = 0; x < aset.width(); ++x) {
      const QRgb p = aset.pixel(x, y);
      red += qRed(p) > 2 * (qGreen(p) + qBlue(p));
      green += qGreen(p) > 2 * (qRed(p) + qBlue(p));
      blue += qBlue(p) > qRed(p) + qGreen(p);
    }
  EXPECT_GT(red, 2000);
  EXPECT_GT(green, 200);
  EXPECT_GT(blue, 200);
}

}  // namespace
}  // namespace brillora
