#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "light/color_to_linear.h"
#include "light/illumination_model.h"
#include "trace/point_store.h"
#include "trace/race.h"

namespace brillora {
namespace {

constexpr double kGrey = (128.0 / 255) * (128.0 / 255);

void ExpectColor(const LinearColor& c, double r, double g, double b, double tolerance = 1e-12) {
  EXPECT_NEAR(c.R, r, tolerance);
  EXPECT_NEAR(c.G, g, tolerance);
  EXPECT_NEAR(c.B, b, tolerance);
}

std::uint8_t MaskedByte(const IlluminationModel& m, PictureSide side, int row, int column) {
  return m.Picture(side).Masked[(static_cast<std::size_t>(row) * kPictureSize + column) * 3];
}

TEST(ColorToLinear, SquaresEachChannel) {
  ExpectColor(ColorToLinear(0xFFFFFFu), 1, 1, 1);
  ExpectColor(ColorToLinear(128 + 65536 * 128), kGrey, 0, kGrey);
  EXPECT_NEAR(kGrey, 0.2519646, 1e-7);
  ExpectColor(ColorToLinear(std::uint8_t{51}, std::uint8_t{0}, std::uint8_t{255}), 0.04, 0, 1);
}

TEST(Illumination, GreySkyIsBrightestTowardTheViewer) {
  IlluminationModel m;
  EXPECT_EQ(m.SourceMode(), 0);
  ExpectColor(m.Lookup({0, 0, 1}), 1, 1, 1);
  ExpectColor(m.Lookup({1, 0, 0}), 0, 0, 0);
  ExpectColor(m.Lookup({0.6, 0, 0.8}), 0.8, 0.8, 0.8);
  ExpectColor(m.BGColor(), 0, 0, 0);
  ExpectColor(m.InnerColor(), kGrey, kGrey, kGrey);
}

TEST(Illumination, RedAndBlueHalfSpaces) {
  IlluminationModel m;
  m.SetSourceMode(1);
  ExpectColor(m.BGColor(), 0, 0, 1);
  ExpectColor(m.InnerColor(), kGrey, 0, kGrey);
  ExpectColor(m.Lookup({0.6, 0, 0.8}), 0.8, 0, 0);
  ExpectColor(m.Lookup({0.6, 0, -0.8}), 0, 0, 0.8);
  ExpectColor(m.Lookup({1, 0, 0}), 0, 0, 0);  // z = 0 belongs to the red half, at zero
  ExpectColor(m.Lookup({std::nan(""), 0, std::nan("")}), 0, 0, 0);
}

TEST(Illumination, ZonesWithTheDefaultAngles) {
  IlluminationModel m;
  m.SetSourceMode(2);
  EXPECT_NEAR(m.ZoneCos()[0], std::sqrt(3.0) / 2, 1e-15);
  EXPECT_NEAR(m.ZoneCos()[1], 0.5, 1e-15);
  EXPECT_NEAR(m.ZoneCos()[2], 0, 1e-15);
  ExpectColor(m.Lookup({0, 0.436, 0.9}), 1, 0, 0);
  ExpectColor(m.Lookup({0, 0.714, 0.7}), 0, 1, 0);
  ExpectColor(m.Lookup({0, 0.995, 0.1}), 0, 0, 1);
  ExpectColor(m.Lookup({0, 0.995, -0.1}), 0, 0, 0);
  ExpectColor(m.InnerColor(), kGrey, kGrey, kGrey);
  // Equal first and second angles leave no green zone.
  m.SetZoneAngles(45, 45, 90);
  for (double z = -1; z <= 1; z += 0.01) EXPECT_EQ(m.Lookup({0, std::sqrt(1 - z * z), z}).G, 0.0) << z;
}

TEST(Illumination, PicturesAreSampledAsOrthographicHemispheres) {
  IlluminationModel m;
  std::vector<std::uint8_t> back(kPictureSize * kPictureSize * 3, 0);
  auto paint = [&](int row, int column, std::uint8_t value) {
    back[(static_cast<std::size_t>(row) * kPictureSize + column) * 3] = value;
  };
  paint(256, 256, 255);  // 255.5 rounds to 256, straight away from the viewer
  paint(256, 510, 200);  // x = 1: 510.5 rounds to 510
  paint(256, 0, 100);    // x = -1: column 0
  m.SetPicture(PictureSide::Back, back, kPictureSize, kPictureSize);
  m.SetSourceMode(3);
  ExpectColor(m.Lookup({0, 0, -1}), 1, 0, 0);
  ExpectColor(m.BGColor(), 1, 0, 0);
  EXPECT_NEAR(m.Lookup({1, 0, -0.0}).R, (200.0 / 255) * (200.0 / 255), 1e-12);
  EXPECT_NEAR(m.Lookup({-1, 0, -0.0}).R, (100.0 / 255) * (100.0 / 255), 1e-12);
  // z = 0 belongs to the back picture; the front one is black.
  ExpectColor(m.Lookup({0, 0, 1}), 0, 0, 0);
  // Undefined or slightly overlong directions stay on the picture.
  m.Lookup({std::nan(""), 1.0000001, -0.1});
  m.Lookup({-1.0000001, std::nan(""), 0.1});
}

TEST(Illumination, BackgroundBrightnessActsOnlyOnPictures) {
  IlluminationModel m;
  m.FillPicture(PictureSide::Back, 255, 255, 255);
  m.SetSourceMode(3);
  ExpectColor(m.BGColor(), 1, 1, 1);
  m.SetBackgroundBrightness(50);
  ExpectColor(m.BGColor(), 0.5, 0.5, 0.5);
  m.SetSourceMode(1);
  ExpectColor(m.BGColor(), 0, 0, 1);
}

TEST(Illumination, SettingAPictureStretchesAnyBuffer) {
  IlluminationModel m;
  // A 2 x 1 picture: left half red, right half blue.
  const std::vector<std::uint8_t> tiny{255, 0, 0, 0, 0, 255};
  m.SetPicture(PictureSide::Front, tiny, 2, 1);
  EXPECT_EQ(MaskedByte(m, PictureSide::Front, 10, 100), 255);
  EXPECT_EQ(m.Picture(PictureSide::Front).Masked[(10 * kPictureSize + 400) * 3 + 2], 255);
  // A buffer too short for its size is refused and leaves the picture as it was.
  m.SetPicture(PictureSide::Front, std::vector<std::uint8_t>(5, 0), 2, 1);
  EXPECT_EQ(MaskedByte(m, PictureSide::Front, 10, 100), 255);
}

TEST(Masks, IntensityLawsApproximateCosinePowers) {
  IlluminationModel m;
  m.FillPicture(PictureSide::Front, 255, 255, 255);
  for (int law = 1; law <= 3; ++law) {
    m.SetIntensityLaw(law);
    const auto& w = m.Picture(PictureSide::Front).Weights;
    int largest = 0;
    for (int i = 0; i <= 255; ++i) {
      for (int j = i; j <= 255; ++j) largest = std::max<int>(largest, w[i * kWeightStride + j]);
    }
    EXPECT_EQ(largest, law == 3 ? 254 : 255);
    // Pixel (i, j) lies at distance d from the centre: sin t = d / 256.
    const int i = 150, j = 200;
    const double d = std::hypot(256 - i, 256 - j) / 256;
    const double cosT = std::sqrt(1 - d * d);
    EXPECT_NEAR(w[i * kWeightStride + j], 255 * std::pow(cosT, law == 1 ? 1 : law == 2 ? 2 : 4), 2.0);
    // Outside the inscribed circle: nothing.
    EXPECT_EQ(w[0 * kWeightStride + 0], 0);
  }
  m.SetIntensityLaw(0);
  EXPECT_EQ(m.Picture(PictureSide::Front).Weights[0], 255);
}

TEST(Masks, HeadAndBodyOfTheObserver) {
  IlluminationModel m;
  m.FillPicture(PictureSide::Front, 255, 255, 255);
  m.FillPicture(PictureSide::Back, 255, 255, 255);
  m.SetHeadAndBody(true, true, 30);  // h = Round(sin 30 degrees x 256) = 128
  // Head disk: d2 < 128^2 around the centre.
  EXPECT_EQ(MaskedByte(m, PictureSide::Front, 256, 256), 0);
  EXPECT_EQ(MaskedByte(m, PictureSide::Front, 256, 256 - 127), 0);
  EXPECT_EQ(MaskedByte(m, PictureSide::Front, 256, 256 - 129), 255);
  // Body strip: columns 26 to 486 of rows 384 to 511.
  EXPECT_EQ(MaskedByte(m, PictureSide::Front, 384, 26), 0);
  EXPECT_EQ(MaskedByte(m, PictureSide::Front, 511, 486), 0);
  EXPECT_EQ(MaskedByte(m, PictureSide::Front, 384, 25), 255);
  EXPECT_EQ(MaskedByte(m, PictureSide::Front, 384, 487), 255);
  EXPECT_EQ(MaskedByte(m, PictureSide::Front, 383, 100), 255);
  // The back picture gets the body but never the head.
  EXPECT_EQ(MaskedByte(m, PictureSide::Back, 256, 256), 255);
  EXPECT_EQ(MaskedByte(m, PictureSide::Back, 400, 256), 0);
}

TEST(Masks, MeanColourOfAWhitePicture) {
  IlluminationModel m;
  m.FillPicture(PictureSide::Front, 255, 255, 255);
  // Every pixel adds (255 x 255) >> 4 = 4064; the sum over 512 x 512 pixels,
  // shifted right by 16, over 4096 pi: the "Const" law counts the corners too.
  const double expected = ((4064.0 * 512 * 512) / 65536) / (4096 * std::numbers::pi);
  ExpectColor(m.Picture(PictureSide::Front).MeanColor, expected, expected, expected);
  // With the cosine law only the disk counts, weighted: compare with an integral.
  m.SetIntensityLaw(1);
  const double mean = m.Picture(PictureSide::Front).MeanColor.R;
  // Mean over the disk of (255 cos t / 256)^2 = (255/256)^2 x mean of (1 - r^2) = 1/2.
  EXPECT_NEAR(mean, std::pow(255.0 / 256, 2) / 2, 0.01);
  // The inner colour in the pictures mode is the mean of the two means.
  m.SetSourceMode(3);
  EXPECT_NEAR(m.InnerColor().R, mean / 2, 1e-15);
}

TEST(Turning, LeftButtonTurnsDisplayAndSurroundingsTogether) {
  IlluminationModel m;
  m.TurnByMouse(100, 100, 140, 70, 300, false);
  EXPECT_NE(m.MapView(), IdentityFrame());
  EXPECT_EQ(m.MapView(), m.MapTurn());
  EXPECT_EQ(m.EnvTurn(), IdentityFrame());
}

TEST(Turning, RightButtonTurnsTheSurroundingsAgainstTheStone) {
  IlluminationModel m;
  int changes = 0;
  m.OnChanged = [&] { ++changes; };
  // Half a turn: a drag across the whole display width.
  m.TurnByMouse(300, 100, 0, 100, 300, true);
  EXPECT_EQ(changes, 1);
  // EnvTurn = inverse(MapTurn) . MapView with MapView still the identity.
  Frame inverse = m.MapTurn();
  InvertFrame(inverse);
  EXPECT_EQ(m.EnvTurn(), MultiplyFrames(inverse, IdentityFrame()));
  // Turned half round, the sky toward the viewer now lies behind: the background lights up.
  EXPECT_NEAR(m.BGColor().R, 1.0, 1e-6);
  m.ResetTurns();
  EXPECT_EQ(m.EnvTurn(), IdentityFrame());
  ExpectColor(m.BGColor(), 0, 0, 0);
}

TEST(Shading, PlainModeUsesTheCosineAlone) {
  IlluminationModel m;
  Race beam;
  beam.Dir = {0.1, 0.2, 0.5};
  ArrayOfFOS polygons(1);
  polygons[0].Beam = &beam;
  polygons[0].Area = 7;
  m.ShadeScreenFacets(polygons, true);
  ExpectColor(polygons[0].Color, 0.5, 0.5, 0.5);
  EXPECT_EQ(polygons[0].Area, 7);  // untouched
}

TEST(Shading, TracedModeSumsTheChainWithTheLightLeftInside) {
  IlluminationModel m;
  m.SetSourceMode(1);  // red in front, blue behind, purple inside
  PointStore store;
  Race entry, inner;
  for (auto [x, y] : {std::pair{0.0, 0.0}, {2.0, 0.0}, {0.0, 1.0}}) {
    FlatPoint* p = store.New();
    p->X = x;
    p->Y = y;
    entry.Points.push_back(p);
    inner.Points.push_back(p);
  }
  entry.OutLight = 0.2;
  entry.InLight = 0.8;
  entry.Dir = {0, 0.6, 0.8};  // red 0.8
  inner.Parent = &entry;
  inner.OutLight = 0.5;
  inner.InLight = 0.3;
  inner.Dir = {0, 0, -1};  // blue 1
  ArrayOfFOS polygons(2);
  polygons[0].Beam = &inner;
  polygons[1].Beam = &entry;
  m.ShadeScreenFacets(polygons, false);
  ExpectColor(polygons[0].Color, 0.2 * 0.8 + 0.3 * kGrey, 0, 0.5 + 0.3 * kGrey);
  EXPECT_EQ(polygons[0].Area, 2.0);
  // A beam never cut takes the background for what it carries on: here blue.
  ExpectColor(polygons[1].Color, 0.2 * 0.8, 0, 0.8);
}

}  // namespace
}  // namespace brillora
