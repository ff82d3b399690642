#include <set>

#include <gtest/gtest.h>
#include <gif_lib.h>

#include <QBuffer>

#include "io/image_file.h"
#include "io/image_gif.h"
#include "io/image_jpeg.h"

namespace brillora {
namespace {

// Many colours: a smooth ramp across, another down, a pattern in blue.
QImage Colourful(int width, int height) {
  QImage image(width, height, QImage::Format_RGB888);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      image.setPixelColor(x, y, QColor(x * 255 / width, y * 255 / height, (x * y) % 256));
  return image;
}

std::optional<QImage> Decode(const std::vector<std::uint8_t>& bytes, ImageFormat format) {
  switch (format) {
    case ImageFormat::Jpeg:
      return DecodeJpeg(bytes);
    case ImageFormat::Gif:
      return DecodeGif(bytes);
    default: {
      QImage image;
      if (!image.loadFromData(bytes.data(), static_cast<int>(bytes.size()))) return std::nullopt;
      return image;
    }
  }
}

std::set<QRgb> Colours(const QImage& image) {
  std::set<QRgb> colours;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) colours.insert(image.pixel(x, y));
  return colours;
}

TEST(ImageCodecs, EveryFormatRoundTripsItsSize) {
  for (ImageFormat format : {ImageFormat::Png, ImageFormat::Bmp, ImageFormat::Jpeg, ImageFormat::Gif}) {
    for (auto [w, h] : {std::pair{1, 1}, {123, 77}, {300, 301}}) {
      const std::vector<std::uint8_t> bytes = EncodeImage(Colourful(w, h), format);
      ASSERT_FALSE(bytes.empty());
      const auto decoded = Decode(bytes, format);
      ASSERT_TRUE(decoded) << static_cast<int>(format) << ' ' << w << 'x' << h;
      EXPECT_EQ(decoded->size(), QSize(w, h));
    }
  }
}

TEST(ImageCodecs, LosslessFormatsKeepEveryPixel) {
  const QImage original = Colourful(64, 48);
  for (ImageFormat format : {ImageFormat::Png, ImageFormat::Bmp}) {
    const auto decoded = Decode(EncodeImage(original, format), format);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->convertToFormat(QImage::Format_RGB888), original);
  }
}

TEST(ImageCodecs, JpegAtQuality100StaysCloseWithTheFastTransform) {
  QImage original(96, 64, QImage::Format_RGB888);
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 96; ++x) original.setPixelColor(x, y, QColor(2 * x, 3 * y, 128));
  const auto decoded = DecodeJpeg(EncodeJpeg(original, 100), JpegIdct::FastInteger);
  ASSERT_TRUE(decoded);
  int worst = 0;
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 96; ++x) {
      const QColor a = original.pixelColor(x, y), b = decoded->pixelColor(x, y);
      worst = std::max({worst, std::abs(a.red() - b.red()), std::abs(a.green() - b.green()),
                        std::abs(a.blue() - b.blue())});
    }
  EXPECT_LE(worst, 8);
  // The library's default quality compresses harder than quality 100.
  EXPECT_LT(EncodeJpeg(original).size(), EncodeJpeg(original, 100).size());
}

TEST(ImageCodecs, GifHoldsAtMost256Colours) {
  const QImage original = Colourful(256, 256);
  ASSERT_GT(Colours(original).size(), 5000u);
  const auto decoded = DecodeGif(EncodeGif(original));
  ASSERT_TRUE(decoded);
  const std::size_t count = Colours(*decoded).size();
  EXPECT_LE(count, 256u);
  EXPECT_GT(count, 64u) << "the quantizer uses its palette";
  // Reduced, not replaced: the top-left and bottom-right stay dark and bright.
  EXPECT_LT(decoded->pixelColor(0, 0).red(), 40);
  EXPECT_GT(decoded->pixelColor(255, 255).red(), 200);
}

TEST(ImageCodecs, BrokenStreamsDoNotDecode) {
  const std::vector<std::uint8_t> jpeg = EncodeJpeg(Colourful(80, 60));
  const std::vector<std::uint8_t> gif = EncodeGif(Colourful(80, 60));
  const std::vector<std::uint8_t> half(jpeg.begin(), jpeg.begin() + jpeg.size() / 2);
  const std::vector<std::uint8_t> halfGif(gif.begin(), gif.begin() + gif.size() / 2);
  std::vector<std::uint8_t> noise(5000);
  for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<std::uint8_t>(i * 7919 % 251);
  EXPECT_FALSE(DecodeJpeg({}));
  EXPECT_FALSE(DecodeJpeg(half)) << "truncated";
  EXPECT_FALSE(DecodeJpeg(noise));
  EXPECT_FALSE(DecodeJpeg(gif)) << "a GIF is no JPEG";
  EXPECT_FALSE(DecodeGif({}));
  EXPECT_FALSE(DecodeGif(halfGif)) << "truncated";
  EXPECT_FALSE(DecodeGif(noise));
  EXPECT_FALSE(DecodeGif(jpeg)) << "a JPEG is no GIF";
}

int AppendBytes(GifFileType* gif, const GifByteType* data, int count) {
  auto* out = static_cast<std::vector<std::uint8_t>*>(gif->UserData);
  out->insert(out->end(), data, data + count);
  return count;
}

// A 10 x 8 screen holding one interlaced 4 x 6 image at (5, 1) whose colour 3 is
// transparent; rows of the image are 0, 1, 2, ... in colour index 1 + row % 2,
// except column 0, which is transparent.
std::vector<std::uint8_t> OffsetInterlacedGif() {
  std::vector<std::uint8_t> bytes;
  int error = 0;
  GifFileType* gif = EGifOpen(&bytes, AppendBytes, &error);
  GifColorType colours[4] = {{0, 0, 0}, {255, 0, 0}, {0, 0, 255}, {0, 255, 0}};
  ColorMapObject* map = GifMakeMapObject(4, colours);
  EGifSetGifVersion(gif, true);
  EGifPutScreenDesc(gif, 10, 8, 2, 0, map);
  GraphicsControlBlock control{};
  control.TransparentColor = 3;
  GifByteType extension[4];
  EGifGCBToExtension(&control, extension);
  EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, extension);
  EGifPutImageDesc(gif, 5, 1, 4, 6, true, nullptr);
  // Interlaced rows go in the order 0, 4, 2, 6.., 1, 3, 5.
  for (int row : {0, 4, 2, 1, 3, 5}) {
    GifByteType line[4] = {3, static_cast<GifByteType>(1 + row % 2), static_cast<GifByteType>(1 + row % 2),
                           static_cast<GifByteType>(1 + row % 2)};
    EGifPutLine(gif, line, 4);
  }
  EGifCloseFile(gif, &error);
  GifFreeMapObject(map);
  return bytes;
}

TEST(ImageCodecs, GifImagesSitOnTheirScreenDeinterlaced) {
  const auto image = DecodeGif(OffsetInterlacedGif());
  ASSERT_TRUE(image);
  EXPECT_EQ(image->size(), QSize(10, 8));
  EXPECT_EQ(image->pixelColor(0, 0), QColor(0, 0, 0)) << "outside the image";
  EXPECT_EQ(image->pixelColor(5, 1), QColor(0, 0, 0)) << "transparent";
  for (int row = 0; row < 6; ++row)
    EXPECT_EQ(image->pixelColor(7, 1 + row), row % 2 ? QColor(0, 0, 255) : QColor(255, 0, 0)) << row;
  EXPECT_EQ(image->pixelColor(7, 7), QColor(0, 0, 0)) << "below the image";
}

struct AnimationRead {
  int frames = 0;
  int loopCount = -1;
  std::vector<int> delays;
};

AnimationRead ReadAnimation(const std::filesystem::path& file) {
  AnimationRead read;
  int error = 0;
  GifFileType* gif = DGifOpenFileName(file.c_str(), &error);
  if (!gif) return read;
  if (DGifSlurp(gif) == GIF_OK) {
    read.frames = gif->ImageCount;
    for (int i = 0; i < gif->ImageCount; ++i) {
      GraphicsControlBlock control{};
      if (DGifSavedExtensionToGCB(gif, i, &control) == GIF_OK) read.delays.push_back(control.DelayTime);
    }
    // The application block sits before the first image: "NETSCAPE2.0", then
    // a sub-block 1, loop count (little-endian).
    for (int i = 0; i + 1 < gif->ExtensionBlockCount; ++i) {
      const ExtensionBlock& b = gif->ExtensionBlocks[i];
      if (b.Function == APPLICATION_EXT_FUNC_CODE && b.ByteCount == 11 &&
          std::string(reinterpret_cast<char*>(b.Bytes), 11) == "NETSCAPE2.0") {
        const ExtensionBlock& sub = gif->ExtensionBlocks[i + 1];
        read.loopCount = sub.Bytes[1] | (sub.Bytes[2] << 8);
      }
    }
    if (read.loopCount < 0 && gif->ImageCount > 0) {
      const SavedImage& first = gif->SavedImages[0];
      for (int i = 0; i + 1 < first.ExtensionBlockCount; ++i) {
        const ExtensionBlock& b = first.ExtensionBlocks[i];
        if (b.Function == APPLICATION_EXT_FUNC_CODE && b.ByteCount == 11 &&
            std::string(reinterpret_cast<char*>(b.Bytes), 11) == "NETSCAPE2.0") {
          const ExtensionBlock& sub = first.ExtensionBlocks[i + 1];
          read.loopCount = sub.Bytes[1] | (sub.Bytes[2] << 8);
        }
      }
    }
  }
  DGifCloseFile(gif, &error);
  return read;
}

class ImageFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("brillora_image_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
            "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::filesystem::path dir_;
};

TEST_F(ImageFiles, AnimatedGifLoopsWithFourHundredthsPerFrame) {
  const auto file = dir_ / "wobble.gif";
  AnimatedGifWriter writer(file, 40, 30, 4);
  for (int i = 0; i < 5; ++i) {
    QImage frame(40, 30, QImage::Format_RGB888);
    frame.fill(QColor(50 * i, 255 - 50 * i, 100));
    ASSERT_TRUE(writer.AddFrame(frame)) << writer.Error();
  }
  EXPECT_FALSE(std::filesystem::exists(file)) << "nothing appears before the end";
  ASSERT_TRUE(writer.Finish()) << writer.Error();
  const AnimationRead read = ReadAnimation(file);
  EXPECT_EQ(read.frames, 5);
  EXPECT_EQ(read.loopCount, 0) << "loops for ever";
  EXPECT_EQ(read.delays, std::vector<int>(5, 4));
  const auto first = DecodeGif(*ReadFileBytes(file));
  ASSERT_TRUE(first);
  // The quantizer keeps five bits of each channel.
  const QColor c = first->pixelColor(3, 3);
  EXPECT_LE(std::abs(c.red() - 0) + std::abs(c.green() - 255) + std::abs(c.blue() - 100), 16);
}

TEST_F(ImageFiles, UnfinishedOrFailedAnimationLeavesTheOldFile) {
  const auto file = dir_ / "old.gif";
  ASSERT_FALSE(WriteImageFile(Colourful(10, 10), file, ImageFormat::Gif));
  const auto before = ReadFileBytes(file);
  {
    AnimatedGifWriter writer(file, 40, 30, 4);
    QImage frame(40, 30, QImage::Format_RGB888);
    frame.fill(Qt::red);
    ASSERT_TRUE(writer.AddFrame(frame));
    QImage wrong(41, 30, QImage::Format_RGB888);
    wrong.fill(Qt::red);
    EXPECT_FALSE(writer.AddFrame(wrong));
    EXPECT_FALSE(writer.Error().empty());
    EXPECT_FALSE(writer.Finish());
  }
  EXPECT_EQ(ReadFileBytes(file), before);
  AnimatedGifWriter huge(dir_ / "huge.gif", 70000, 10, 4);
  EXPECT_FALSE(huge.Error().empty());
  EXPECT_FALSE(huge.Finish());
  EXPECT_FALSE(std::filesystem::exists(dir_ / "huge.gif"));
}

TEST_F(ImageFiles, FormatFollowsTheExtensionInAnyCase) {
  EXPECT_EQ(ImageFormatForName("a.PNG"), ImageFormat::Png);
  EXPECT_EQ(ImageFormatForName("a.bmp"), ImageFormat::Bmp);
  EXPECT_EQ(ImageFormatForName("dir.x/a.Jpg"), ImageFormat::Jpeg);
  EXPECT_EQ(ImageFormatForName("a.gif"), ImageFormat::Gif);
  EXPECT_FALSE(ImageFormatForName("a.tif"));
  EXPECT_FALSE(ImageFormatForName("gif"));
}

TEST_F(ImageFiles, WrittenFilesOpenAtTheirSize) {
  const QImage picture = Colourful(210, 97);
  for (const char* name : {"p.png", "p.bmp", "p.jpg", "p.gif"}) {
    const auto file = dir_ / name;
    ASSERT_FALSE(WriteImageFile(picture, file, *ImageFormatForName(file))) << name;
    QImage read(QString::fromStdString(file.string()));
    EXPECT_EQ(read.size(), QSize(210, 97)) << name;
  }
  const auto missing = dir_ / "no such folder" / "p.png";
  EXPECT_TRUE(WriteImageFile(picture, missing, ImageFormat::Png));
  EXPECT_FALSE(std::filesystem::exists(missing));
}

}  // namespace
}  // namespace brillora
