// Pictures with dispersion: three traces, one colour channel each.
#include <gtest/gtest.h>

#include <string>

#include <QImage>

#include "io/design_file.h"
#include "light/illumination_model.h"
#include "light/made_surroundings.h"
#include "model/facet_construction.h"
#include "trace/index_at_wavelength.h"
#include "view/paint_lines.h"
#include "view/paint_polygons.h"
#include "view/paint_smooth.h"
#include "view/picture_traces.h"
#include "view/screen_scale.h"

namespace brillora {
namespace {

Stone Brilliant() {
  DesignReadResult read = OpenDesignFile(std::string(BRILLORA_SOURCE_DIR) + "/GEM_DAT/RoundBrilliant.brl");
  return ConstructStone(read.design);
}

TraceOptions Diamond() {
  TraceOptions options;
  options.RefractiveIndex = 2.42;
  return options;
}

QImage Picture(int size) { return QImage(size, size, QImage::Format_RGB888); }

// With no dispersion the three lines are one index: the picture drawn from
// them, channel by channel, is the plain picture to the byte, in both passes.
TEST(DispersionPicture, ThreeLinesOfNoDispersionAreThePlainPicture) {
  const Stone stone = Brilliant();
  const IlluminationModel light;
  const PaintStyle style{light.BGColor(), true, false, -1};
  for (const bool fine : {false, true}) {
    SCOPED_TRACE(fine ? "refined" : "fast");
    const int size = fine ? 120 : 301;
    const ScreenScale scale = fine ? FineScale(size, size) : FastScale(size, size);
    PictureTraces plain, lines;
    plain.Trace(stone, IdentityFrame(), 12, scale, Diamond(), std::nullopt, light);
    lines.Trace(stone, IdentityFrame(), 12, scale, Diamond(), 0.0, light);
    ASSERT_EQ(plain.Lines().size(), 1u);
    ASSERT_EQ(lines.Lines().size(), 3u);
    QImage one = Picture(size), three = Picture(size);
    if (fine) {
      ASSERT_EQ(PaintSmoothLines(one, plain.Lines(), style), SmoothResult::Done);
      ASSERT_EQ(PaintSmoothLines(three, lines.Lines(), style), SmoothResult::Done);
    } else {
      ASSERT_TRUE(PaintLines(one, plain.Lines(), style));
      ASSERT_TRUE(PaintLines(three, lines.Lines(), style));
    }
    EXPECT_EQ(one, three);
  }
}

// Under lamps a diamond's picture turns coloured, and each channel is the
// picture traced alone at that channel's line.
TEST(DispersionPicture, EachChannelIsTheTraceAtItsLine) {
  const Stone stone = Brilliant();
  IlluminationModel light;
  UseLamps(light);
  light.SetSourceMode(3);
  const PaintStyle style{light.BGColor(), false, false, -1};
  const int size = 301;
  const ScreenScale scale = FastScale(size, size);
  PictureTraces lines;
  lines.Trace(stone, IdentityFrame(), 12, scale, Diamond(), 0.044, light);
  QImage picture = Picture(size);
  ASSERT_TRUE(PaintLines(picture, lines.Lines(), style));

  int coloured = 0;
  for (int channel = 0; channel < 3; ++channel) {
    TraceOptions alone = Diamond();
    alone.RefractiveIndex = IndexAtWavelength(2.42, 0.044, kPictureLines[static_cast<std::size_t>(channel)]);
    RayTracer tracer;
    ArrayOfFOS screen;
    tracer.RayTrace(stone, IdentityFrame(), screen, 12, scale.Scale, scale.CentreY, alone, light);
    QImage single = Picture(size);
    PaintPolygons(single, screen, style);
    for (int y = 0; y < size; ++y) {
      for (int x = 0; x < size; ++x) {
        ASSERT_EQ(picture.constScanLine(y)[3 * x + channel], single.constScanLine(y)[3 * x + channel])
            << "channel " << channel << " at " << x << "," << y;
      }
    }
  }
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const QRgb p = picture.pixel(x, y);
      if (qRed(p) != qGreen(p) || qGreen(p) != qBlue(p)) ++coloured;
    }
  }
  // Coloured flashes, where the lines see different lamps.
  EXPECT_GT(coloured, 200);
}

}  // namespace
}  // namespace brillora
