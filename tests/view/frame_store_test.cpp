#include <gtest/gtest.h>

#include <QSet>
#include <algorithm>
#include <cstdlib>

#include "animation_scene.h"
#include "view/animation_frame.h"
#include "view/bitmap_frame_store.h"
#include "view/encoded_frame_store.h"
#include "view/paint_polygons.h"
#include "view/paint_style.h"
#include "view/polygon_frame_store.h"

namespace brillora {
namespace {

constexpr std::size_t kRoomy = std::size_t{1} << 30;

// A frame as RenderFrame draws it, for a window of 160 x 150.
struct DrawnFrame {
  AnimationScene scene = testing::BrilliantScene(160, 150);
  ArrayOfFOS polygons = testing::TracedFrame(scene, 0);
  QImage picture = Drawn();

  QImage Drawn() const {
    QImage image(scene.width + 1, scene.height + 1, QImage::Format_RGB888);
    PaintPolygons(image, polygons, AnimationStyle(scene.background));
    return image;
  }
};

// The largest difference of any channel between two pictures of one size, and
// the mean difference over all channels.
struct Difference {
  int largest = 0;
  double mean = 0;
};

Difference Compare(const QImage& a, const QImage& b) {
  const QImage x = a.convertToFormat(QImage::Format_RGB888), y = b.convertToFormat(QImage::Format_RGB888);
  Difference d;
  long sum = 0;
  for (int row = 0; row < x.height(); ++row) {
    for (int i = 0; i < 3 * x.width(); ++i) {
      const int diff = std::abs(x.constScanLine(row)[i] - y.constScanLine(row)[i]);
      d.largest = std::max(d.largest, diff);
      sum += diff;
    }
  }
  d.mean = static_cast<double>(sum) / (3.0 * x.width() * x.height());
  return d;
}

int Colours(const QImage& image) {
  QSet<QRgb> colours;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) colours.insert(image.pixel(x, y));
  return static_cast<int>(colours.size());
}

// A picture of far more than 256 colours: every red and green level.
QImage Gradient() {
  QImage image(256, 256, QImage::Format_RGB888);
  for (int y = 0; y < 256; ++y)
    for (int x = 0; x < 256; ++x) image.setPixel(x, y, qRgb(x, y, 128));
  return image;
}

TEST(FrameStores, JpegRoundTripKeepsSizeAndColoursWithinItsLoss) {
  const DrawnFrame frame;
  EncodedFrameStore store(FrameCodec::Jpeg, kRoomy);
  ASSERT_TRUE(store.Keep(frame.polygons, frame.picture));
  QImage shown;
  ASSERT_TRUE(store.Show(0, {}, shown));
  EXPECT_EQ(shown.size(), frame.picture.size());
  // Quality 100 quantizes hardly at all; what is left is the chroma
  // subsampling at facet edges and the rounding of the fast transform.
  const Difference d = Compare(shown, frame.picture);
  EXPECT_LT(d.mean, 2.0);
  EXPECT_LT(d.largest, 96);
  EXPECT_LT(store.Bytes(), static_cast<std::size_t>(3 * frame.picture.width() * frame.picture.height()));
}

TEST(FrameStores, GifRoundTripKeepsFewColoursAndReducesManyTo256) {
  const DrawnFrame frame;
  EncodedFrameStore store(FrameCodec::Gif, kRoomy);
  ASSERT_TRUE(store.Keep(frame.polygons, frame.picture));
  ASSERT_TRUE(store.Keep({}, Gradient()));
  QImage shown;
  ASSERT_TRUE(store.Show(0, {}, shown));
  EXPECT_EQ(shown.size(), frame.picture.size());
  EXPECT_LE(Colours(shown), 256);
  EXPECT_LT(Compare(shown, frame.picture).mean, 6.0);

  ASSERT_TRUE(store.Show(1, {}, shown));
  ASSERT_EQ(Colours(Gradient()), 65536);
  EXPECT_LE(Colours(shown), 256);
  // 256 colours over a 256 x 256 plane leave cells of about 16 levels a side;
  // the median cut does not split them evenly.
  const Difference gradient = Compare(shown, Gradient());
  EXPECT_LT(gradient.mean, 8.0);
  EXPECT_LE(gradient.largest, 40);

  // A picture of four colours keeps them to the quantizer's five bits a channel.
  QImage flags(40, 30, QImage::Format_RGB888);
  flags.fill(QColor(10, 200, 30));
  for (int y = 0; y < 15; ++y)
    for (int x = 0; x < 40; ++x) flags.setPixel(x, y, x < 20 ? qRgb(250, 5, 5) : qRgb(0, 0, 255));
  for (int x = 0; x < 40; ++x) flags.setPixel(x, 29, qRgb(255, 255, 255));
  ASSERT_TRUE(store.Keep({}, flags));
  ASSERT_TRUE(store.Show(2, {}, shown));
  EXPECT_LE(Compare(shown, flags).largest, 7);
  EXPECT_EQ(Colours(shown), 4);
}

TEST(FrameStores, BitmapKeepsFiveAndSixBitsOfEachChannel) {
  const DrawnFrame frame;
  BitmapFrameStore store(frame.picture.size(), kRoomy);
  ASSERT_TRUE(store.Keep(frame.polygons, frame.picture));
  QImage shown;
  ASSERT_TRUE(store.Show(0, {}, shown));
  EXPECT_EQ(shown.depth(), 16);
  ASSERT_EQ(shown.size(), frame.picture.size());
  const QImage back = shown.convertToFormat(QImage::Format_RGB888);
  for (int y = 0; y < back.height(); ++y) {
    for (int x = 0; x < back.width(); ++x) {
      const QRgb a = back.pixel(x, y), b = frame.picture.pixel(x, y);
      // 5 bits keep red and blue to within 1/32 of the range, 6 bits green to 1/64.
      ASSERT_LE(std::abs(qRed(a) - qRed(b)), 8) << x << "," << y;
      ASSERT_LE(std::abs(qGreen(a) - qGreen(b)), 4) << x << "," << y;
      ASSERT_LE(std::abs(qBlue(a) - qBlue(b)), 8) << x << "," << y;
    }
  }
}

TEST(FrameStores, PolygonsAreDrawnOverTheBackgroundOfTheMomentInTheirKeptColours) {
  const DrawnFrame frame;
  PolygonFrameStore store(frame.picture.size(), kRoomy);
  ASSERT_TRUE(store.Keep(frame.polygons, {}));
  // The fast pass of the same polygons, lines of two corners left out.
  ArrayOfFOS solid;
  std::copy_if(frame.polygons.begin(), frame.polygons.end(), std::back_inserter(solid),
               [](const FasetOnScreen& p) { return p.Polygon.size() > 2; });
  QImage expected(frame.picture.size(), QImage::Format_RGB888);
  PaintPolygons(expected, solid, AnimationStyle(frame.scene.background));
  QImage shown;
  ASSERT_TRUE(store.Show(0, frame.scene.background, shown));
  EXPECT_EQ(Compare(shown, expected).largest, 0);

  // Another background shows in the corners; the facets keep their colours.
  const LinearColor red{1, 0, 0};
  ASSERT_TRUE(store.Show(0, red, shown));
  EXPECT_EQ(shown.pixel(0, 0), qRgb(255, 0, 0));
  const QPoint centre(frame.picture.width() / 2, frame.picture.height() / 2);
  EXPECT_EQ(shown.pixel(centre), expected.pixel(centre));
}

TEST(FrameStores, AStoreBeyondItsBudgetRefusesAndKeepsWhatItHad) {
  const DrawnFrame frame;
  const std::size_t frameBytes = static_cast<std::size_t>(frame.picture.width() + 1) * frame.picture.height() * 2;
  // Room for fifty bitmaps of the frame, not for the hundred of an animation.
  BitmapFrameStore bitmaps(frame.picture.size(), 50 * frameBytes);
  EXPECT_FALSE(bitmaps.Keep(frame.polygons, frame.picture));
  EXPECT_EQ(bitmaps.Count(), 0);

  EncodedFrameStore jpeg(FrameCodec::Jpeg, kRoomy);
  ASSERT_TRUE(jpeg.Keep(frame.polygons, frame.picture));
  EncodedFrameStore small(FrameCodec::Jpeg, 2 * jpeg.Bytes() + jpeg.Bytes() / 2);
  EXPECT_TRUE(small.Keep(frame.polygons, frame.picture));
  EXPECT_TRUE(small.Keep(frame.polygons, frame.picture));
  EXPECT_FALSE(small.Keep(frame.polygons, frame.picture));
  EXPECT_EQ(small.Count(), 2);
  QImage shown;
  EXPECT_TRUE(small.Show(1, {}, shown));
  EXPECT_FALSE(small.Show(2, {}, shown));

  PolygonFrameStore polygons(frame.picture.size(), 64);
  EXPECT_FALSE(polygons.Keep(frame.polygons, {}));
  EXPECT_EQ(polygons.Count(), 0);
}

}  // namespace
}  // namespace brillora
