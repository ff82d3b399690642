#include <gtest/gtest.h>

#include <QPainter>

#include "model/default_design.h"
#include "model/facet_construction.h"
#include "view/export_picture.h"
#include "view/linear_to_color.h"
#include "view/paint_polygons.h"
#include "view/paint_smooth.h"
#include "view/polygon_samples.h"
#include "view/screen_scale.h"

namespace brillora {
namespace {

using testing::CountColor;
using testing::ProjectedFacets;
using testing::RandomPolygons;

FasetOnScreen Square(int left, int top, int size, LinearColor color, int step) {
  FasetOnScreen polygon;
  polygon.Polygon = {{left, top}, {left + size, top}, {left + size, top + size}, {left, top + size}};
  polygon.Color = color;
  polygon.Step = step;
  return polygon;
}

QImage Bitmap(int width, int height) { return QImage(width, height, QImage::Format_RGB888); }

TEST(FastPass, HighlightsTheSelectedStepOnlyInPlainMode) {
  const ArrayOfFOS screen = {Square(5, 5, 20, {1, 1, 1}, 3), Square(40, 5, 20, {1, 1, 1}, 4)};
  PaintStyle style{{0, 0, 0}, true, true, 3};
  QImage image = Bitmap(70, 30);
  PaintPolygons(image, screen, style);
  EXPECT_EQ(image.pixelColor(15, 15), QColor(255, 127, 255)) << "selected step, plain mode";
  EXPECT_EQ(image.pixelColor(50, 15), QColor(255, 255, 255)) << "another step";

  style.Plain = false;  // any traced setting
  PaintPolygons(image, screen, style);
  EXPECT_EQ(image.pixelColor(15, 15), QColor(255, 255, 255));

  style = {{0, 0, 0}, true, true, -1};  // the export highlights nothing
  PaintPolygons(image, screen, style);
  EXPECT_EQ(CountColor(image, 255, 127, 255), 0);
}

TEST(FastPass, EdgesOffLeaveNoPixelOfTheEdgeColour) {
  Design design = DefaultDesign();
  const Stone stone = ConstructStone(design);
  const ScreenScale s = FastScale(300, 280);
  ArrayOfFOS screen = ProjectedFacets(stone, IdentityFrame(), s.Scale, s.CentreY);
  ASSERT_GT(screen.size(), 8u);
  ArrayOfFOS scattered = RandomPolygons(300, 280, 60, 7);
  screen.insert(screen.end(), scattered.begin(), scattered.end());

  PaintStyle style{{0.1, 0.2, 0.3}, true, false, -1};
  QImage image = Bitmap(300, 280);
  PaintPolygons(image, screen, style);
  EXPECT_GT(CountColor(image, 180, 0, 0), 500) << "edges on outline every polygon";

  style.Edges = false;
  PaintPolygons(image, screen, style);
  EXPECT_EQ(CountColor(image, 180, 0, 0), 0);
  // Nothing but the fills and the background remains.
  const QColor background = ToQColor(LinearToColor(style.Background));
  EXPECT_GT(CountColor(image, background.red(), background.green(), background.blue()), 0);
}

TEST(FastPass, EmptyListGivesOnlyBackground) {
  QImage image = Bitmap(40, 30);
  PaintPolygons(image, {}, PaintStyle{{0.25, 1, 0}, true, false, -1});
  EXPECT_EQ(CountColor(image, 128, 255, 0), 40 * 30);
}

TEST(FastPass, PaintRectCopiesOnlyItsRectangle) {
  QImage canvas = Bitmap(60, 50);
  canvas.fill(QColor(1, 2, 3));
  const QRect rect(10, 20, 30, 20);  // reaches to column 40 and row 40
  const ScreenScale s = FastScale(40, 40);
  FasetOnScreen whole = Square(0, 0, 40, {1, 1, 1}, 0);
  {
    QPainter painter(&canvas);
    PaintRect(rect, {whole}, PaintStyle{{0, 0, 0}, false, false, -1}, painter);
  }
  EXPECT_EQ(s.Scale, 19);
  EXPECT_EQ(CountColor(canvas, 255, 255, 255), 30 * 20);
  EXPECT_EQ(canvas.pixelColor(10, 20), QColor(255, 255, 255));
  EXPECT_EQ(canvas.pixelColor(39, 39), QColor(255, 255, 255));
  EXPECT_EQ(canvas.pixelColor(9, 20), QColor(1, 2, 3));
  EXPECT_EQ(canvas.pixelColor(40, 39), QColor(1, 2, 3));
}

TEST(RefinedFilter, UniformBitmapKeepsEveryValue) {
  for (int v = 0; v <= 255; ++v) {
    QImage band = Bitmap(20, 20);
    band.fill(QColor(v, v, 255 - v));
    QImage target = Bitmap(4, 4);
    target.fill(Qt::black);
    ASSERT_TRUE(FilterDown(band, 0, target, 0, 4));
    EXPECT_EQ(CountColor(target, v, v, 255 - v), 16) << v;
  }
}

TEST(RefinedFilter, ClampsRowsOneByOneButColumnsOnlyAtTheStart) {
  QImage band = Bitmap(20, 20);
  band.fill(Qt::black);
  band.setPixelColor(0, 0, QColor(255, 0, 0));
  band.setPixelColor(7, 7, QColor(0, 255, 0));
  QImage target = Bitmap(4, 4);
  ASSERT_TRUE(FilterDown(band, 0, target, 0, 4));
  // Target (0, 0) reads rows 0, 0, 0, 1, 2 (each raised to 0) and columns 0 .. 4:
  // big pixel (0, 0) counts three times: 765 x 41 >> 10 = 30.
  EXPECT_EQ(target.pixelColor(0, 0), QColor(30, 0, 0));
  // Target (1, 1) reads rows and columns 3 .. 7: 255 x 41 >> 10 = 10.
  EXPECT_EQ(target.pixelColor(1, 1), QColor(0, 10, 0));
  EXPECT_EQ(target.pixelColor(2, 1), QColor(0, 0, 0));
  EXPECT_EQ(target.pixelColor(1, 2), QColor(0, 0, 0));
}

TEST(RefinedFilter, ThirtyTwoBitImagesGiveTheSamePixels) {
  QImage band = Bitmap(30, 25);
  for (int y = 0; y < 25; ++y)
    for (int x = 0; x < 30; ++x) band.setPixelColor(x, y, QColor((x * 37) % 256, (y * 91) % 256, (x * y) % 256));
  QImage reference = Bitmap(6, 5);
  ASSERT_TRUE(FilterDown(band, 0, reference, 0, 5));
  const QImage band32 = band.convertToFormat(QImage::Format_RGB32);
  QImage target32(6, 5, QImage::Format_RGB32);
  ASSERT_TRUE(FilterDown(band32, 0, target32, 0, 5));
  EXPECT_EQ(target32.convertToFormat(QImage::Format_RGB888), reference);
}

TEST(RefinedPass, EdgesSurviveTheFilterAndFillsKeepTheirColour) {
  // A white square at five times the size, outlined in the edge colour.
  const ArrayOfFOS fine = {Square(50, 50, 100, {1, 1, 1}, 0)};
  QImage target = Bitmap(40, 40);
  ASSERT_EQ(PaintSmooth(target, fine, PaintStyle{{0, 0, 0}, true, false, -1}), SmoothResult::Done);
  EXPECT_EQ(target.pixelColor(20, 20), QColor(255, 255, 255));
  EXPECT_EQ(target.pixelColor(2, 2), QColor(0, 0, 0));
  // The four-pixel outline on the square's left side at big column 50 lands in
  // target column 10 as a strong red.
  EXPECT_GT(target.pixelColor(10, 20).red(), 100);
  EXPECT_LT(target.pixelColor(10, 20).green(), target.pixelColor(10, 20).red());
}

TEST(RefinedPass, AbandonedWhenTheStopCheckSaysSo) {
  const ArrayOfFOS fine = RandomPolygons(500, 400, 40, 3);
  const PaintStyle style{{0.2, 0.2, 0.2}, true, false, -1};
  int checks = 0;
  {
    QImage target = Bitmap(100, 80);
    ASSERT_EQ(PaintSmooth(target, fine, style, [&] { return ++checks < 0; }), SmoothResult::Done);
  }
  const int polygonChecks = checks - 80;  // one check per filtered row
  ASSERT_GT(polygonChecks, 20);
  for (int stopAt : {1, polygonChecks, polygonChecks + 1, polygonChecks + 30}) {
    QImage target = Bitmap(100, 80);
    target.fill(QColor(9, 9, 9));
    int asked = 0;
    const SmoothResult result = PaintSmooth(target, fine, style, [&] { return ++asked >= stopAt; });
    EXPECT_EQ(result, SmoothResult::Abandoned) << stopAt;
    EXPECT_EQ(asked, stopAt) << "the pass stops at the first check that says so";
    if (stopAt <= polygonChecks + 1) {
      EXPECT_EQ(CountColor(target, 9, 9, 9), 100 * 80) << "no row filtered yet";
    } else {
      // Rows are filtered from the bottom up: 29 rows are done.
      EXPECT_NE(target.pixelColor(5, 79), QColor(9, 9, 9));
      EXPECT_EQ(CountColor(target, 9, 9, 9), 100 * (80 - 29));
    }
  }
  QImage whole = Bitmap(100, 80), checked = Bitmap(100, 80);
  ASSERT_EQ(PaintSmooth(whole, fine, style), SmoothResult::Done);
  ASSERT_EQ(PaintSmooth(checked, fine, style, [] { return false; }), SmoothResult::Done);
  EXPECT_EQ(whole, checked);
}

TEST(Export, DrawsTheRefinedPassAtTheAskedScale) {
  Design design = DefaultDesign();
  const Stone stone = ConstructStone(design);
  ScreenScale asked;
  ArrayOfFOS fine;
  const auto picture = ExportPicture(
      217, 130,
      [&](const ScreenScale& scale) -> std::span<const ArrayOfFOS> {
        asked = scale;
        fine = ProjectedFacets(stone, IdentityFrame(), scale.Scale, scale.CentreY);
        return {&fine, 1};
      },
      PaintStyle{{0, 0, 0}, false, true, -1});
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->size(), QSize(217, 130));
  EXPECT_EQ(asked.Scale, 5 * 217 / 2 - 5);
  EXPECT_EQ(asked.CentreY, 5 * 130 / 2 - 5);
  // The table (step 4) faces the viewer at grey 1 and is drawn white.
  EXPECT_EQ(picture->pixelColor(108, 64), QColor(255, 255, 255));
}

}  // namespace
}  // namespace brillora
