#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include <QImage>

#include "support/run_cli.h"

namespace brillora {
namespace {

using testing::RunCli;

const std::string kSamples = std::string(BRILLORA_SOURCE_DIR) + "/GEM_DAT/";

class LightmapCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("brillora_lightmap_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string File(const std::string& name) const { return (dir_ / name).string(); }

  QImage Draw(const std::string& name, std::vector<std::string> options) {
    std::vector<std::string> args = {"lightmap", kSamples + "RoundBrilliant.brl", "-o", File(name)};
    args.insert(args.end(), options.begin(), options.end());
    const auto r = RunCli(args);
    EXPECT_EQ(r.status, 0) << r.err;
    return QImage(QString::fromStdString(File(name))).convertToFormat(QImage::Format_RGB32);
  }

  std::filesystem::path dir_;
};

int Count(const QImage& image, QRgb colour) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) n += image.pixel(x, y) == colour ? 1 : 0;
  return n;
}

TEST_F(LightmapCommand, DrawsDiskGridLabelsAndSpots) {
  const QImage map = Draw("map.png", {"--size", "300"});
  ASSERT_EQ(map.size(), QSize(300, 300));
  EXPECT_EQ(map.pixel(2, 2), qRgb(240, 240, 240));  // outside the disk
  EXPECT_GT(Count(map, qRgb(255, 0, 0)), 300);      // the rings, red with the front toward the viewer
  EXPECT_GT(Count(map, qRgb(255, 255, 0)), 20);     // the labels' text
  // Grey light: bright in the middle of the disk, dark near its rim.
  EXPECT_GT(qRed(map.pixel(150 + 40, 150 - 25)), 200);
  EXPECT_LT(qRed(map.pixel(12, 150 - 30)), 110);

  // Another view of the stone moves the spots and nothing else.
  const QImage pavilion = Draw("pavilion.png", {"--size", "300", "--view", "pavilion"});
  EXPECT_NE(pavilion, map);
  EXPECT_GT(Count(pavilion, qRgb(255, 0, 0)), 300);
  EXPECT_EQ(pavilion.pixel(2, 2), qRgb(240, 240, 240));
  const QImage plain = Draw("plain.png", {"--size", "300", "--reflections", "0", "--no-surface"});
  EXPECT_NE(plain, map);
}

TEST_F(LightmapCommand, DisplayTurnAndSurroundings) {
  const QImage turned = Draw("turned.png", {"--size", "200", "--display-turn", "180,0"});
  EXPECT_EQ(Count(turned, qRgb(255, 0, 0)), 0);
  EXPECT_GT(Count(turned, qRgb(0, 0, 255)), 200);  // the rings turn blue with the far side in front
  const QImage redBlue = Draw("rb.png", {"--size", "200", "--light", "redblue"});
  EXPECT_GT(qRed(redBlue.pixel(100 + 30, 100 - 30)), 200);
  EXPECT_EQ(qBlue(redBlue.pixel(100 + 30, 100 - 30)), 0);

  QImage green(40, 30, QImage::Format_RGB32);
  green.fill(qRgb(0, 255, 0));
  ASSERT_TRUE(green.save(QString::fromStdString(File("green.bmp")), "BMP"));
  const QImage pictures = Draw("pictures.png", {"--size", "200", "--front", File("green.bmp")});
  EXPECT_GT(Count(pictures, qRgb(0, 255, 0)), 10000);
}

TEST_F(LightmapCommand, FailuresKeepTheirExitStatus) {
  const std::string out = File("map.png");
  std::ofstream(File("broken.jpg")) << "not a picture";
  auto r = RunCli({"lightmap", "--default", "-o", out, "--front", File("broken.jpg")});
  EXPECT_EQ(r.status, 3);
  EXPECT_EQ(r.err, "Invalid graphic file format.\n");
  EXPECT_FALSE(std::filesystem::exists(out));
  std::ofstream(File("broken.brl")) << "garbage";
  EXPECT_EQ(RunCli({"lightmap", File("broken.brl"), "-o", out}).status, 3);
  EXPECT_EQ(RunCli({"lightmap", "--default"}).status, 2);
  EXPECT_EQ(RunCli({"lightmap", "--default", "-o", out, "--size", "20"}).status, 2);
  EXPECT_EQ(RunCli({"lightmap", "--default", "-o", out, "--display-turn", "12"}).status, 2);
  EXPECT_EQ(RunCli({"lightmap", "--default", "-o", File("map.tif")}).status, 2);
  EXPECT_EQ(RunCli({"lightmap", "--default", "-o", File("missing/map.png")}).status, 4);
  EXPECT_FALSE(std::filesystem::exists(out));
}

}  // namespace
}  // namespace brillora
