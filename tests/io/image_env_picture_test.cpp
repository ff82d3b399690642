#include <fstream>

#include <gtest/gtest.h>

#include "io/env_picture_file.h"
#include "io/image_file.h"

namespace brillora {
namespace {

void WriteBytes(const std::filesystem::path& file, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(file, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Four quadrants of distinct colours.
QImage Quadrants(int width, int height) {
  QImage image(width, height, QImage::Format_RGB888);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const bool right = x >= width / 2, bottom = y >= height / 2;
      image.setPixelColor(x, y, right ? (bottom ? QColor(0, 0, 255) : QColor(0, 255, 0))
                                      : (bottom ? QColor(255, 255, 255) : QColor(255, 0, 0)));
    }
  return image;
}

bool Near(const std::uint8_t* pixel, int r, int g, int b, int tolerance) {
  return std::abs(pixel[0] - r) <= tolerance && std::abs(pixel[1] - g) <= tolerance &&
         std::abs(pixel[2] - b) <= tolerance;
}

class EnvPictures : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("brillora_env_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    picture_ = BlankPicture();
    PaintPictureColor(picture_, 0x123456);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::filesystem::path dir_;
  RgbPicture picture_;
};

TEST_F(EnvPictures, EveryFormatIsStretchedOverTheSquare) {
  const QImage source = Quadrants(63, 40);  // not square, and BMP rows padded
  for (const char* name : {"p.jpg", "p.gif", "p.bmp"}) {
    const auto file = dir_ / name;
    ASSERT_FALSE(WriteImageFile(source, file, *ImageFormatForName(file)));
    RgbPicture picture = BlankPicture();
    ASSERT_EQ(LoadEnvPicture(file, picture), EnvPictureLoad::Loaded) << name;
    ASSERT_EQ(picture.Width, 512);
    ASSERT_EQ(picture.Height, 512);
    ASSERT_EQ(picture.Pixels.size(), 512u * 512 * 3);
    // JPEG blurs the quadrants' borders; the GIF quantizer keeps 5 bits a channel.
    const int tolerance = std::string(name) == "p.jpg" ? 40 : std::string(name) == "p.gif" ? 8 : 0;
    EXPECT_TRUE(Near(picture.Pixel(100, 100), 255, 0, 0, tolerance)) << name;
    EXPECT_TRUE(Near(picture.Pixel(400, 100), 0, 255, 0, tolerance)) << name;
    EXPECT_TRUE(Near(picture.Pixel(100, 400), 255, 255, 255, tolerance)) << name;
    EXPECT_TRUE(Near(picture.Pixel(400, 400), 0, 0, 255, tolerance)) << name;
  }
}

TEST_F(EnvPictures, StretchSamplesTheNearestPixel) {
  const RgbPicture picture = StretchToEnvPicture(Quadrants(2, 2));
  EXPECT_TRUE(Near(picture.Pixel(255, 255), 255, 0, 0, 0));
  EXPECT_TRUE(Near(picture.Pixel(256, 255), 0, 255, 0, 0));
  EXPECT_TRUE(Near(picture.Pixel(255, 256), 255, 255, 255, 0));
  EXPECT_TRUE(Near(picture.Pixel(511, 511), 0, 0, 255, 0));
}

TEST_F(EnvPictures, UnreadableFilesGiveTheMessageAndKeepThePicture) {
  const RgbPicture before = picture_;
  const std::vector<std::uint8_t> jpeg = EncodeImage(Quadrants(50, 50), ImageFormat::Jpeg);
  const std::vector<std::uint8_t> gif = EncodeImage(Quadrants(50, 50), ImageFormat::Gif);
  const std::vector<std::uint8_t> bmp = EncodeImage(Quadrants(50, 50), ImageFormat::Bmp);
  const auto half = [](const std::vector<std::uint8_t>& v) {
    return std::vector<std::uint8_t>(v.begin(), v.begin() + v.size() / 2);
  };
  std::vector<std::uint8_t> noise(3000);
  for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<std::uint8_t>(i * 31 % 253);

  const std::vector<std::pair<std::string, std::vector<std::uint8_t>>> cases = {
      {"empty.jpg", {}},          {"empty.gif", {}},          {"empty.bmp", {}},
      {"cut.jpg", half(jpeg)},    {"cut.gif", half(gif)},     {"cut.bmp", half(bmp)},
      {"noise.jpg", noise},       {"noise.gif", noise},       {"noise.bmp", noise},
      {"gif-inside.jpg", gif},    {"jpeg-inside.gif", jpeg},  {"jpeg-inside.bmp", jpeg},
  };
  for (const auto& [name, bytes] : cases) {
    WriteBytes(dir_ / name, bytes);
    EXPECT_EQ(LoadEnvPicture(dir_ / name, picture_), EnvPictureLoad::Unreadable) << name;
    EXPECT_EQ(picture_.Pixels, before.Pixels) << name;
  }
  EXPECT_EQ(LoadEnvPicture(dir_ / "missing.jpg", picture_), EnvPictureLoad::Unreadable);
  EXPECT_EQ(picture_.Pixels, before.Pixels);
  EXPECT_EQ(kInvalidGraphicFileFormat, "Invalid graphic file format.");
}

TEST_F(EnvPictures, OnlyLowerCaseExtensionsArePictureNames) {
  const RgbPicture before = picture_;
  for (const char* name : {"P.JPG", "p.Gif", "p.BMP", "p.jpeg", "p.png"}) {
    const auto file = dir_ / name;
    ASSERT_FALSE(WriteImageFile(Quadrants(8, 8), file, *ImageFormatForName(file)));
    EXPECT_EQ(LoadEnvPicture(file, picture_), EnvPictureLoad::Ignored) << name;
    EXPECT_EQ(picture_.Pixels, before.Pixels) << name;
  }
}

TEST_F(EnvPictures, ScreenGivesABlackPicture) {
  ASSERT_EQ(LoadEnvPicture("Screen", picture_), EnvPictureLoad::Loaded);
  EXPECT_EQ(picture_.Pixels, BlankPicture().Pixels);
  EXPECT_EQ(picture_.Width, 512);
}

TEST_F(EnvPictures, PaintingWithOneColourFillsEveryPixel) {
  RgbPicture picture = BlankPicture();
  PaintPictureColor(picture, 0x0080FF);  // R + 256 G + 65536 B
  for (int y : {0, 255, 511})
    for (int x : {0, 300, 511}) EXPECT_TRUE(Near(picture.Pixel(x, y), 0xFF, 0x80, 0x00, 0));
}

}  // namespace
}  // namespace brillora
