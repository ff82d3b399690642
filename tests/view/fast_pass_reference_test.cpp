// The fast pass against the same polygon list drawn with QPainter, the way the
// pass drew before it wrote into the bitmap's rows itself.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include <QImage>
#include <QPainter>
#include <QPen>
#include <QPoint>

#include "io/design_file.h"
#include "light/illumination_model.h"
#include "model/default_design.h"
#include "model/facet_construction.h"
#include "trace/ray_tracer.h"
#include "view/linear_to_color.h"
#include "view/paint_polygons.h"
#include "view/polygon_samples.h"
#include "view/screen_scale.h"

namespace brillora {
namespace {

using testing::ProjectedFacets;
using testing::RandomPolygons;

// Brush in the polygon's colour, an aliased one-pixel pen with round caps and
// joins in the outline colour, drawPolygon with its default even-odd fill.
void QPainterFastPass(QImage& target, const ArrayOfFOS& screen, const PaintStyle& style) {
  target.fill(ToQColor(LinearToColor(style.Background, 1)));
  QPainter painter(&target);
  painter.setRenderHint(QPainter::Antialiasing, false);
  for (const FasetOnScreen& polygon : screen) {
    painter.setBrush(ToQColor(LinearToColor(polygon.Color, HighlightFactor(polygon, style))));
    const std::uint32_t outline = style.Edges ? kEdgeColor : LinearToColor(polygon.Color, 1);
    painter.setPen(QPen(ToQColor(outline), 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    std::vector<QPoint> points;
    for (const ScreenPoint& p : polygon.Polygon) points.emplace_back(p.X, p.Y);
    painter.drawPolygon(points.data(), static_cast<int>(points.size()));
  }
}

struct Comparison {
  int differing = 0;
  int farFromReference =
      0;  // differing pixels whose colour is nowhere within one pixel in the reference
};

Comparison Compare(const QImage& ours, const QImage& reference) {
  Comparison result;
  for (int y = 0; y < ours.height(); ++y)
    for (int x = 0; x < ours.width(); ++x) {
      const QRgb colour = ours.pixel(x, y);
      if (colour == reference.pixel(x, y)) continue;
      ++result.differing;
      bool near = false;
      for (int dy = -1; dy <= 1 && !near; ++dy)
        for (int dx = -1; dx <= 1 && !near; ++dx)
          near = reference.rect().contains(x + dx, y + dy) &&
                 reference.pixel(x + dx, y + dy) == colour;
      result.farFromReference += !near;
    }
  return result;
}

const PaintStyle kStyles[] = {
    {{0.3, 0.3, 0.3}, true, false, -1},    // traced, edges on
    {{0.05, 0.1, 0.2}, false, false, -1},  // traced, edges off
    {{0.0, 0.0, 0.0}, true, true, 3},      // plain, highlighted step, edges on
    {{0.6, 0.5, 0.4}, false, true, 4},     // plain, highlighted step, edges off
};

std::string Name(const PaintStyle& style, QImage::Format format) {
  return std::string(style.Edges ? "edges" : "no edges") + (style.Plain ? ", plain" : ", traced") +
         (format == QImage::Format_RGB32 ? ", RGB32" : ", RGB888");
}

// Draws the list both ways for every style and both bitmap formats and returns
// the worst comparison.
Comparison Worst(const ArrayOfFOS& screen, int width, int height) {
  Comparison worst;
  for (const PaintStyle& style : kStyles)
    for (QImage::Format format : {QImage::Format_RGB32, QImage::Format_RGB888}) {
      QImage ours(width, height, format), reference(width, height, format);
      PaintPolygons(ours, screen, style);
      QPainterFastPass(reference, screen, style);
      EXPECT_EQ(ours.format(), format);
      const Comparison c = Compare(ours, reference);
      EXPECT_EQ(c.farFromReference, 0) << Name(style, format);
      if (c.differing > worst.differing) worst = c;
    }
  return worst;
}

// The round brilliant traced to depth 12, as the picture window shows it.
ArrayOfFOS TracedBrilliant(int width, int height) {
  DesignReadResult read =
      OpenDesignFile(std::string(BRILLORA_SOURCE_DIR) + "/GEM_DAT/RoundBrilliant.brl");
  const Stone stone = ConstructStone(read.design);
  TraceOptions options;
  options.RefractiveIndex = read.refractiveIndex;
  IlluminationModel light;
  RayTracer tracer;
  ArrayOfFOS screen;
  const ScreenScale s = FastScale(width, height);
  tracer.RayTrace(stone, IdentityFrame(), screen, 12, s.Scale, s.CentreY, options, light);
  return screen;
}

TEST(FastPassAgainstQPainter, TracedStoneIsIdentical) {
  const ArrayOfFOS screen = TracedBrilliant(450, 467);
  ASSERT_GT(screen.size(), 1000u);
  EXPECT_EQ(Worst(screen, 450, 467).differing, 0);
}

TEST(FastPassAgainstQPainter, PlainFacetsAreIdentical) {
  Design design = DefaultDesign();
  const Stone stone = ConstructStone(design);
  const ScreenScale s = FastScale(300, 280);
  const ArrayOfFOS screen = ProjectedFacets(stone, IdentityFrame(), s.Scale, s.CentreY);
  ASSERT_GT(screen.size(), 8u);
  EXPECT_EQ(Worst(screen, 300, 280).differing, 0);
}

TEST(FastPassAgainstQPainter, StoneCutByAWideWindowStaysWithinAPixel) {
  // A window much wider than high maps the stone past the top and bottom rows.
  const ArrayOfFOS screen = TracedBrilliant(600, 240);
  ASSERT_GT(screen.size(), 1000u);
  const Comparison worst = Worst(screen, 600, 240);
  EXPECT_LE(worst.differing, 600 * 240 / 1000);
  RecordProperty("differing_pixels", worst.differing);
}

TEST(FastPassAgainstQPainter, ScatteredPolygonsStayWithinAPixel) {
  // Overlapping convex polygons of all sizes, many past the bitmap's edges.
  for (unsigned seed : {1u, 2u, 3u}) {
    const ArrayOfFOS screen = RandomPolygons(200, 150, 80, seed);
    const Comparison worst = Worst(screen, 200, 150);
    EXPECT_LE(worst.differing, 200 * 150 / 1000) << seed;
    RecordProperty("differing_pixels_" + std::to_string(seed), worst.differing);
  }
}

TEST(FastPassAgainstQPainter, OtherFormatsAreConvertedToRgb888First) {
  const ArrayOfFOS screen = RandomPolygons(90, 70, 12, 4);
  const PaintStyle style = kStyles[0];
  QImage ours(90, 70, QImage::Format_ARGB32_Premultiplied);
  PaintPolygons(ours, screen, style);
  EXPECT_EQ(ours.format(), QImage::Format_RGB888);
  QImage reference(90, 70, QImage::Format_RGB888);
  QPainterFastPass(reference, screen, style);
  EXPECT_EQ(Compare(ours, reference).farFromReference, 0);
  EXPECT_LE(Compare(ours, reference).differing, 90 * 70 / 1000);
}

}  // namespace
}  // namespace brillora
