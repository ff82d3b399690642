// The toolkit-free polygon fill and outline against Qt's own aliased drawing
// of the same polygons, pixel for pixel.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include <QImage>
#include <QPainter>
#include <QPen>
#include <QPoint>

#include "view/pixel_rows.h"
#include "view/polygon_filler.h"
#include "view/polygon_outline.h"

namespace brillora {
namespace {

using Corners = std::vector<ScreenPoint>;

constexpr std::uint32_t kInk = 0x00A05010;  // R + 256 G + 65536 B
const QColor kQtInk(0x10, 0x50, 0xA0);

QImage Blank(int width, int height, QImage::Format format) {
  QImage image(width, height, format);
  image.fill(Qt::black);
  return image;
}

PixelRows RowsOf(QImage& image) {
  return PixelRows(
      image.bits(), image.bytesPerLine(), image.width(), image.height(),
      image.format() == QImage::Format_RGB32 ? PixelLayout::Rgb32 : PixelLayout::Rgb888);
}

QImage Ours(const Corners& polygon, int width, int height, QImage::Format format, bool outline) {
  QImage image = Blank(width, height, format);
  PixelRows rows = RowsOf(image);
  if (outline) {
    OutlinePolygon(rows, polygon, kInk);
  } else {
    PolygonFiller filler;
    filler.Fill(rows, polygon, kInk);
  }
  return image;
}

// Qt's aliased drawing: the fill without a pen, or the outline alone with the
// fast pass's one-pixel pen.
QImage Qts(const Corners& polygon, int width, int height, QImage::Format format, bool outline) {
  QImage image = Blank(width, height, format);
  std::vector<QPoint> points;
  for (const ScreenPoint& p : polygon) points.emplace_back(p.X, p.Y);
  QPainter painter(&image);
  if (outline) {
    painter.setPen(QPen(kQtInk, 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
  } else {
    painter.setPen(Qt::NoPen);
    painter.setBrush(kQtInk);
  }
  painter.drawPolygon(points.data(), static_cast<int>(points.size()));
  return image;
}

int Inked(const QImage& image) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) count += image.pixelColor(x, y) == kQtInk;
  return count;
}

std::string Describe(const Corners& polygon) {
  std::string text;
  for (const ScreenPoint& p : polygon)
    text += " (" + std::to_string(p.X) + "," + std::to_string(p.Y) + ")";
  return text;
}

// Pixels where the two pictures differ.
std::vector<QPoint> Differences(const QImage& a, const QImage& b) {
  std::vector<QPoint> result;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (a.pixel(x, y) != b.pixel(x, y)) result.emplace_back(x, y);
  return result;
}

// Random corner lists of every kind the fill must take: convex ones, any
// order of corners (self-crossing), repeated and collinear corners, one or
// two corners; `reach` is how far past the bitmap's edges the corners go.
Corners RandomCorners(std::mt19937& random, int width, int height, int reach, int maxCorners) {
  std::uniform_int_distribution<int> x(-reach, width + reach), y(-reach, height + reach);
  const int count = 1 + static_cast<int>(random() % static_cast<unsigned>(maxCorners));
  Corners polygon;
  for (int i = 0; i < count; ++i) {
    if (!polygon.empty() && random() % 8 == 0) {
      polygon.push_back(polygon.back());  // a repeated corner
    } else if (polygon.size() >= 2 && random() % 8 == 0) {
      // Collinear with the last two corners.
      const ScreenPoint a = polygon[polygon.size() - 2], b = polygon.back();
      polygon.push_back({2 * b.X - a.X, 2 * b.Y - a.Y});
    } else {
      polygon.push_back({x(random), y(random)});
    }
  }
  return polygon;
}

// Regular-ish convex polygons with rounded corners, as the tracer's beams are.
Corners RoundedConvex(std::mt19937& random, double cx, double cy, double radius) {
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  const int corners = 3 + static_cast<int>(unit(random) * 6);
  const double start = unit(random) * 6.283185307179586;
  Corners polygon;
  for (int k = 0; k < corners; ++k) {
    const double a = start + 6.283185307179586 * k / corners;
    polygon.push_back({static_cast<int>(std::lround(cx + radius * std::cos(a))),
                       static_cast<int>(std::lround(cy + radius * std::sin(a)))});
  }
  return polygon;
}

const QImage::Format kFormats[] = {QImage::Format_RGB32, QImage::Format_RGB888};

TEST(PolygonFill, HandWorkedCoverage) {
  // A pixel is covered when its centre is inside: a 8 x 6 rectangle of
  // corners covers 48 pixels, from (1, 1) to (8, 6).
  QImage image = Ours({{1, 1}, {9, 1}, {9, 7}, {1, 7}}, 12, 10, QImage::Format_RGB32, false);
  EXPECT_EQ(Inked(image), 48);
  EXPECT_EQ(image.pixelColor(1, 1), kQtInk);
  EXPECT_EQ(image.pixelColor(8, 6), kQtInk);
  EXPECT_NE(image.pixelColor(9, 6), kQtInk);
  EXPECT_NE(image.pixelColor(8, 7), kQtInk);
  // Centres lying exactly on an edge: the diagonal x = y passes through the
  // centre of pixel (j, j) of row j; on a right edge it is covered (rows of
  // 1 .. 8 pixels: 36), on a left edge it is not (rows of 0 .. 7: 28).
  EXPECT_EQ(Inked(Ours({{0, 0}, {8, 8}, {0, 8}}, 10, 10, QImage::Format_RGB32, false)), 36);
  EXPECT_EQ(Inked(Ours({{0, 0}, {8, 0}, {8, 8}}, 10, 10, QImage::Format_RGB32, false)), 28);
  // Nothing for fewer than three corners or no area.
  EXPECT_EQ(Inked(Ours({{3, 3}}, 10, 10, QImage::Format_RGB32, false)), 0);
  EXPECT_EQ(Inked(Ours({{1, 1}, {8, 8}}, 10, 10, QImage::Format_RGB32, false)), 0);
  EXPECT_EQ(Inked(Ours({{1, 1}, {4, 4}, {8, 8}}, 10, 10, QImage::Format_RGB32, false)), 0);
  EXPECT_EQ(Inked(Ours({}, 10, 10, QImage::Format_RGB32, false)), 0);
}

TEST(PolygonFill, SelfCrossingUsesTheEvenOddRule) {
  // Two overlapping squares as one corner list: the overlap is outside.
  const Corners twice = {{0, 0}, {6, 0}, {6, 6}, {0, 6}, {0, 0},
                         {3, 3}, {9, 3}, {9, 9}, {3, 9}, {3, 3}};
  const QImage image = Ours(twice, 10, 10, QImage::Format_RGB888, false);
  EXPECT_EQ(Inked(image), 36 + 36 - 2 * 9);
  EXPECT_NE(image.pixelColor(4, 4), kQtInk);
}

TEST(PolygonFill, MatchesQtPixelForPixel) {
  std::mt19937 random(11);
  struct Kind {
    const char* name;
    int width, height, reach, maxCorners, count;
  };
  const Kind kinds[] = {
      {"tiny, inside", 12, 10, 0, 5, 1500},  {"small, partly outside", 24, 20, 10, 7, 1500},
      {"many corners", 60, 50, 15, 40, 300}, {"far outside", 40, 40, 400, 6, 300},
      {"huge", 50, 40, 1000000, 5, 200},
  };
  int compared = 0;
  for (const Kind& kind : kinds)
    for (int i = 0; i < kind.count; ++i) {
      const Corners polygon =
          RandomCorners(random, kind.width, kind.height, kind.reach, kind.maxCorners);
      for (QImage::Format format : kFormats) {
        const QImage ours = Ours(polygon, kind.width, kind.height, format, false);
        const QImage qts = Qts(polygon, kind.width, kind.height, format, false);
        const std::vector<QPoint> diff = Differences(ours, qts);
        ASSERT_TRUE(diff.empty()) << kind.name << ": " << diff.size() << " pixels differ, first ("
                                  << diff[0].x() << "," << diff[0].y() << ") for"
                                  << Describe(polygon);
        ++compared;
      }
    }
  // Convex polygons of every size, partly off the bitmap, on a window-sized bitmap.
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  for (int i = 0; i < 300; ++i) {
    const Corners polygon = RoundedConvex(random, unit(random) * 200 - 25, unit(random) * 150 - 25,
                                          1 + 120 * unit(random) * unit(random));
    for (QImage::Format format : kFormats)
      ASSERT_TRUE(
          Differences(Ours(polygon, 150, 100, format, false), Qts(polygon, 150, 100, format, false))
              .empty())
          << Describe(polygon);
  }
  EXPECT_GT(compared, 7000);
}

TEST(PolygonRaster, ExtremeCornersStayInsideTheBitmap) {
  // Corners at the ends of the int range: nothing overflows, nothing is
  // written outside the bitmap (the sanitized build watches both).
  constexpr int kMin = std::numeric_limits<int>::min(), kMax = std::numeric_limits<int>::max();
  const Corners everything = {{kMin, kMin}, {kMax, kMin}, {kMax, kMax}, {kMin, kMax}};
  for (QImage::Format format : kFormats) {
    EXPECT_EQ(Inked(Ours(everything, 9, 7, format, false)), 63);
    EXPECT_EQ(Inked(Ours(everything, 9, 7, format, true)), 0);
    // A sliver from inside the bitmap to far away.
    const Corners sliver = {{4, 3}, {kMax, kMax}, {kMax, kMax - 1}};
    EXPECT_EQ(Ours(sliver, 9, 7, format, true).pixelColor(4, 3), kQtInk);
    const Corners fan = {{4, 3}, {kMin, kMax}, {kMin, kMin}};
    const QImage filled = Ours(fan, 9, 7, format, false);
    EXPECT_EQ(filled.pixelColor(0, 3), kQtInk);
    EXPECT_NE(filled.pixelColor(8, 3), kQtInk);
  }
}

TEST(PolygonOutline, HandWorkedRings) {
  // The outline of the 8 x 6 rectangle reaches one pixel further right and
  // down than its fill: a 9 x 7 ring of 2 x 9 + 2 x 5 pixels.
  const QImage ring = Ours({{1, 1}, {9, 1}, {9, 7}, {1, 7}}, 12, 10, QImage::Format_RGB32, true);
  EXPECT_EQ(Inked(ring), 28);
  EXPECT_EQ(ring.pixelColor(9, 7), kQtInk);
  EXPECT_NE(ring.pixelColor(2, 2), kQtInk);
  // A lone corner draws nothing; two corners draw the segment between them.
  EXPECT_EQ(Inked(Ours({{3, 3}}, 10, 10, QImage::Format_RGB32, true)), 0);
  EXPECT_EQ(Inked(Ours({{3, 3}, {3, 3}}, 10, 10, QImage::Format_RGB32, true)), 0);
  EXPECT_EQ(Inked(Ours({{1, 1}, {2, 1}}, 10, 10, QImage::Format_RGB32, true)), 2);
  // A diagonal of slope 1/2 runs two pixels per row.
  const QImage slope = Ours({{1, 1}, {9, 5}}, 12, 8, QImage::Format_RGB888, true);
  EXPECT_EQ(Inked(slope), 9);
  for (int x = 1; x <= 9; ++x) EXPECT_EQ(slope.pixelColor(x, (x + 1) / 2), kQtInk) << x;
}

TEST(PolygonOutline, MatchesQtPixelForPixelWhileCornersStayNearTheBitmap) {
  // Qt cuts edges to the bitmap widened by one pixel before the top and left
  // and two past the bottom and right; corners within that reach give the same
  // outline exactly.
  std::mt19937 random(12);
  struct Kind {
    const char* name;
    int width, height, maxCorners, count;
  };
  const Kind kinds[] = {
      {"tiny", 6, 5, 6, 3000},
      {"small", 22, 18, 7, 2000},
      {"many corners", 60, 50, 30, 300},
  };
  int outlinePixels = 0;
  for (const Kind& kind : kinds)
    for (int i = 0; i < kind.count; ++i) {
      std::uniform_int_distribution<int> x(-1, kind.width + 1), y(-1, kind.height + 1);
      Corners polygon = RandomCorners(random, kind.width, kind.height, 0, kind.maxCorners);
      for (ScreenPoint& p : polygon) {  // collinear extensions may have left the reach
        p.X = std::clamp(p.X, -1, kind.width + 1);
        p.Y = std::clamp(p.Y, -1, kind.height + 1);
        if (random() % 5 == 0) p = {x(random), y(random)};
      }
      for (QImage::Format format : kFormats) {
        const QImage qts = Qts(polygon, kind.width, kind.height, format, true);
        const std::vector<QPoint> diff =
            Differences(Ours(polygon, kind.width, kind.height, format, true), qts);
        ASSERT_TRUE(diff.empty()) << kind.name << ": " << diff.size() << " pixels differ, first ("
                                  << diff[0].x() << "," << diff[0].y() << ") for"
                                  << Describe(polygon);
        outlinePixels += Inked(qts);
      }
    }
  // Convex, window-sized.
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  for (int i = 0; i < 300; ++i) {
    Corners polygon = RoundedConvex(random, 20 + unit(random) * 110, 20 + unit(random) * 60,
                                    1 + 18 * unit(random));
    for (QImage::Format format : kFormats)
      ASSERT_TRUE(
          Differences(Ours(polygon, 150, 100, format, true), Qts(polygon, 150, 100, format, true))
              .empty())
          << Describe(polygon);
  }
  EXPECT_GT(outlinePixels, 100000);
}

// Chebyshev distance from p to the nearest inked pixel of `image`, up to 2.
int DistanceToInk(const QImage& image, QPoint p) {
  for (int d = 0; d <= 1; ++d)
    for (int y = p.y() - d; y <= p.y() + d; ++y)
      for (int x = p.x() - d; x <= p.x() + d; ++x)
        if (image.rect().contains(x, y) && image.pixelColor(x, y) == kQtInk) return d;
  return 2;
}

TEST(PolygonOutline, CloseToQtWhenCornersLieFarOff) {
  // Edges cut at their start may join the next edge a pixel differently from
  // Qt; the differences stay rare and within a pixel of Qt's outline.
  std::mt19937 random(13);
  struct Kind {
    int width, height, reach, maxCorners, count;
  };
  const Kind kinds[] = {{20, 20, 6, 6, 3000}, {50, 40, 30, 8, 1500}, {80, 60, 3000, 6, 300}};
  // Joins after a cut start that are known to come out a pixel apart.
  const Corners awkward[] = {{{14, 1}, {8, -3}, {11, 0}, {7, 4}},
                             {{0, 13}, {-4, 9}, {0, 14}, {-2, 9}},
                             {{-1, -1}, {4, 0}, {1, -2}, {3, 0}}};
  int differing = 0, inked = 0, polygonsDiffering = 0;
  for (const Corners& polygon : awkward) {
    const QImage ours = Ours(polygon, 20, 20, QImage::Format_RGB32, true);
    const QImage qts = Qts(polygon, 20, 20, QImage::Format_RGB32, true);
    for (const QPoint& p : Differences(ours, qts)) {
      const QImage& other = ours.pixelColor(p) == kQtInk ? qts : ours;
      EXPECT_LE(DistanceToInk(other, p), 1) << Describe(polygon);
    }
  }
  for (const Kind& kind : kinds)
    for (int i = 0; i < kind.count; ++i) {
      const Corners polygon =
          RandomCorners(random, kind.width, kind.height, kind.reach, kind.maxCorners);
      const QImage ours = Ours(polygon, kind.width, kind.height, QImage::Format_RGB32, true);
      const QImage qts = Qts(polygon, kind.width, kind.height, QImage::Format_RGB32, true);
      const std::vector<QPoint> diff = Differences(ours, qts);
      inked += Inked(qts);
      differing += static_cast<int>(diff.size());
      polygonsDiffering += !diff.empty();
      for (const QPoint& p : diff) {
        // A pixel only one side drew lies next to a pixel the other side drew.
        const QImage& other = ours.pixelColor(p) == kQtInk ? qts : ours;
        ASSERT_LE(DistanceToInk(other, p), 1) << Describe(polygon);
      }
      ASSERT_LE(diff.size(), 12u) << Describe(polygon);
    }
  EXPECT_LT(differing, inked / 1000) << differing << " of " << inked << " pixels";
  EXPECT_LT(polygonsDiffering, 48) << "of 4800 polygons";
  RecordProperty("differing_pixels", differing);
  RecordProperty("outline_pixels", inked);
}

}  // namespace
}  // namespace brillora
