#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "view/line_pixels.h"
#include "view/measuring_segment.h"

namespace brillora {
namespace {

bool Has(const std::vector<QPoint>& pixels, QPoint p) {
  return std::find(pixels.begin(), pixels.end(), p) != pixels.end();
}

TEST(LinePixels, StepsOnePixelAtATimeAlongTheIdealLine) {
  for (const QPoint to : {QPoint(17, 5), QPoint(-9, 23), QPoint(0, -12), QPoint(-30, -30), QPoint(40, 0)}) {
    const QPoint from(3, 4);
    const std::vector<QPoint> pixels = LinePixels(from, from + to);
    // One pixel per step of the longer axis, the last point left out.
    ASSERT_EQ(static_cast<int>(pixels.size()), std::max(std::abs(to.x()), std::abs(to.y())));
    EXPECT_EQ(pixels.front(), from);
    EXPECT_FALSE(Has(pixels, from + to));
    QPoint previous = pixels.front();
    for (const QPoint p : pixels) {
      EXPECT_LE(std::max(std::abs(p.x() - previous.x()), std::abs(p.y() - previous.y())), 1);
      previous = p;
      // No pixel strays more than half a pixel across the ideal line.
      const QPoint d = p - from;
      const double across = std::abs(d.x() * to.y() - d.y() * to.x()) / std::max(std::abs(to.x()), std::abs(to.y()));
      EXPECT_LE(across, 0.5 + 1e-9) << to.x() << ", " << to.y();
    }
  }
  EXPECT_TRUE(LinePixels({5, 5}, {5, 5}).empty());
}

TEST(MeasuringSegment, DrawnAsADimensionLineWithTicks) {
  // Level: the ticks stand upright, 20 pixels each way.
  const std::vector<QPoint> level = SegmentPixels({100, 20}, {200, 20});
  EXPECT_EQ(level.size(), 100u + 40u + 40u);
  for (const QPoint p : {QPoint(100, 20), QPoint(199, 20), QPoint(100, 0), QPoint(100, 39), QPoint(200, 0),
                         QPoint(200, 39)})
    EXPECT_TRUE(Has(level, p)) << p.x() << ", " << p.y();
  EXPECT_FALSE(Has(level, QPoint(100, 40)));
  // At 45 degrees the ticks run across it: 20 / sqrt 2 rounds to 14.
  const std::vector<QPoint> diagonal = SegmentPixels({0, 0}, {30, 30});
  EXPECT_TRUE(Has(diagonal, QPoint(14, -14)));
  EXPECT_TRUE(Has(diagonal, QPoint(44, 16)));
  EXPECT_FALSE(Has(diagonal, QPoint(-14, 14)));  // each tick's last point is left out
  EXPECT_EQ(diagonal.size(), 30u + 28u + 28u);
}

}  // namespace
}  // namespace brillora
