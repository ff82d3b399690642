#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

#include "light/globe_grid.h"
#include "light/illumination_model.h"
#include "light/intensity_profile.h"
#include "light/light_map_controls.h"
#include "light/light_map_texture.h"
#include "light/ray_spots.h"
#include "trace/race.h"

namespace brillora {
namespace {

constexpr RgbBytes kFace{240, 240, 240};

struct Texel {
  int R, G, B;
};

Texel At(const std::vector<std::uint8_t>& rgb, int column, int row) {
  const std::size_t i = (static_cast<std::size_t>(row) * kTextureSize + column) * 3;
  return {rgb[i], rgb[i + 1], rgb[i + 2]};
}

std::vector<std::uint8_t> Texture(const IlluminationModel& m) {
  std::vector<std::uint8_t> rgb;
  PaintMapTexture(m, kFace, rgb);
  return rgb;
}

// The display direction of a texture pixel, worked out in floating point.
Vec3 DiskDirection(int column, int row) {
  const double x = (column - 255) / 255.0, y = (row - 256) / 255.0;
  return {x, y, std::sqrt(std::max(0.0, 1 - x * x - y * y))};
}

TEST(MapTexture, GreyDiskIsWhiteInTheCentreDarkAtTheRimAndFaceOutside) {
  IlluminationModel m;
  const auto rgb = Texture(m);
  const Texel centre = At(rgb, 255, 256);
  EXPECT_EQ(centre.R, 255);
  EXPECT_EQ(centre.G, 255);
  EXPECT_EQ(centre.B, 255);
  // Two pixels in from the rim z is about 0.125: dark.
  EXPECT_LT(At(rgb, 3, 256).R, 45);
  EXPECT_LT(At(rgb, 255, 510).R, 45);
  const Texel corner = At(rgb, 0, 0);
  EXPECT_EQ(corner.R, 240);
  EXPECT_EQ(corner.B, 240);
  // Across the disk the grey is 255 z of the pixel's direction.
  for (int c = 10; c < 500; c += 37) {
    for (int r = 10; r < 500; r += 41) {
      const Vec3 d = DiskDirection(c, r);
      if (d.x * d.x + d.y * d.y > 0.98) continue;
      EXPECT_NEAR(At(rgb, c, r).G, 255 * d.z, 1.01) << c << ", " << r;
    }
  }
}

TEST(MapTexture, AfterARightDragTheTextureShowsWhatBeamsLookUp) {
  IlluminationModel m;
  m.SetSourceMode(1);
  m.TurnByMouse(100, 100, 160, 130, 260, true);
  const auto rgb = Texture(m);
  // The bright centre moved away from the middle.
  EXPECT_LT(At(rgb, 255, 256).R, 230);
  int compared = 0;
  for (int c = 20; c < 500; c += 29) {
    for (int r = 20; r < 500; r += 31) {
      const Vec3 d = DiskDirection(c, r);
      if (d.x * d.x + d.y * d.y > 0.98) continue;
      // With the display unturned, a beam leaving along d looks up the colour shown at d.
      const LinearColor seen = m.Lookup(d);
      EXPECT_NEAR(At(rgb, c, r).R, 255 * seen.R, 1.5) << c << ", " << r;
      EXPECT_NEAR(At(rgb, c, r).B, 255 * seen.B, 1.5) << c << ", " << r;
      ++compared;
    }
  }
  EXPECT_GT(compared, 150);
}

TEST(MapTexture, ZonesAndPictures) {
  IlluminationModel m;
  m.SetSourceMode(2);
  const auto zones = Texture(m);
  // 255 sin t pixels from the centre for a direction t from the pole.
  const auto offset = [](double degrees) { return static_cast<int>(std::lround(255 * std::sin(degrees * std::numbers::pi / 180))); };
  const Texel red = At(zones, 255 + offset(20), 256), green = At(zones, 255 + offset(45), 256),
              blue = At(zones, 255, 256 + offset(75));
  EXPECT_EQ(red.R + red.G + red.B, 255);
  EXPECT_EQ(red.R, 255);
  EXPECT_EQ(green.G, 255);
  EXPECT_EQ(green.R + green.B, 0);
  EXPECT_EQ(blue.B, 255);
  EXPECT_EQ(blue.R + blue.G, 0);

  m.FillPicture(PictureSide::Front, 200, 10, 10);
  m.FillPicture(PictureSide::Back, 10, 10, 200);
  m.SetSourceMode(3);
  const Texel front = At(Texture(m), 255, 256);
  EXPECT_EQ(front.R, 200);
  EXPECT_EQ(front.B, 10);
  // A drag across the whole display width turns the surroundings half round.
  m.TurnByMouse(0, 0, 260, 0, 260, true);
  const Texel back = At(Texture(m), 255, 256);
  EXPECT_EQ(back.R, 10);
  EXPECT_EQ(back.B, 200);
}

TEST(GlobeGrid, RingsAreGreatCirclesAndHalfOfEachShows) {
  GlobeGrid grid;
  for (int j = 0; j < kGlobeRings; ++j) {
    bool pole = false;
    for (int i = 0; i < kRingPoints; ++i) {
      const Vec3& p = grid.Point(j, i);
      EXPECT_NEAR(p.x * p.x + p.y * p.y + p.z * p.z, 1, 1e-6);
      if (j > 0 && std::abs(p.z) > 0.9999) pole = true;
      // Opposite points of a great circle are opposite directions.
      const Vec3& q = grid.Point(j, (i + 36) % kRingPoints);
      EXPECT_NEAR(p.x + q.x, 0, 1e-6);
      EXPECT_NEAR(p.z + q.z, 0, 1e-6);
    }
    EXPECT_EQ(pole, j > 0) << j;
  }
  EXPECT_NEAR(grid.Point(4, 0).z, -1, 1e-6);
  EXPECT_NEAR(grid.Point(4, 36).z, 1, 1e-6);

  const DisplaySquare square = SquareOfDisplay(260, 235);
  EXPECT_EQ(square.Right, 227);
  EXPECT_EQ(square.Bottom, 227);
  EXPECT_EQ(square.GlobeRadius, 109);
  grid.Project(IdentityFrame());
  grid.Layout(square);
  // The rim circle: point 0 looks to the right at the disk's edge.
  ASSERT_EQ(grid.Arcs()[0].size(), 35u);
  const auto labels = grid.Labels();
  ASSERT_EQ(labels.size(), 9u);  // the pole away from the viewer is hidden
  EXPECT_EQ(labels[0].Text, "0");
  EXPECT_EQ(labels[0].At.X, 2 * 109 + 8);
  EXPECT_EQ(labels[0].At.Y, 109 + 8);
  EXPECT_EQ(labels.back().Text, "0");  // the pole toward the viewer, in the middle
  EXPECT_EQ(labels.back().At.X, 109 + 8);
  EXPECT_EQ(labels.back().At.Y, 109 + 8);
  // The great circle through the poles and the y axis shows as a vertical diameter.
  for (ScreenPoint p : grid.Arcs()[4]) EXPECT_EQ(p.X, 109 + 8);

  // Turned half round about the vertical, the far pole faces the viewer.
  Frame back = IdentityFrame();
  RotateFrame(back, 1, 0, std::numbers::pi);
  grid.Project(back);
  grid.Layout(square);
  const auto turned = grid.Labels();
  EXPECT_TRUE(std::any_of(turned.begin(), turned.end(), [](const GlobeLabel& l) { return l.Text == "180"; }));
  EXPECT_FALSE(grid.Visible(4, 36));
}

TEST(RaySpot, TinyBeamIsOneWhitePixelAndALargeOneACircleAroundItsDirection) {
  const Vec3 up{0, 0, 1};
  const RaySpot tiny = DrawRaySpot(100, up, 0.005);
  EXPECT_TRUE(tiny.Pixel);
  EXPECT_EQ(tiny.Grey, 255);
  ASSERT_EQ(tiny.Corners.size(), 1u);
  EXPECT_EQ(tiny.Corners[0].X, 108);
  EXPECT_EQ(tiny.Corners[0].Y, 108);

  const RaySpot centred = DrawRaySpot(100, up, 0.1);
  EXPECT_FALSE(centred.Pixel);
  EXPECT_EQ(centred.Corners.size(), 12u);  // n = Round(2 sqrt(10)) = 6
  for (ScreenPoint p : centred.Corners) EXPECT_NEAR(std::hypot(p.X - 108, p.Y - 108), 100 * std::sin(0.1), 1);

  // Off the pole every corner lies, back on the sphere, at the spot's radius from d.
  const double t = 1.0;
  const Vec3 d{std::sin(t) * 0.6, std::sin(t) * 0.8, std::cos(t)};
  const RaySpot tilted = DrawRaySpot(200, d, 0.15);
  ASSERT_FALSE(tilted.Pixel);
  for (ScreenPoint p : tilted.Corners) {
    const double x = (p.X - 208) / 200.0, y = (p.Y - 208) / 200.0;
    const double z = std::sqrt(1 - x * x - y * y);
    EXPECT_NEAR(std::acos(x * d.x + y * d.y + z * d.z), 0.15, 0.01);
  }
}

TEST(RaySpot, EveryBeamOfTheChainFacingTheDisplayGetsItsGrey) {
  Race entry, inner;
  entry.Dir = {0, 0, 1};
  entry.OutLight = 0.25;  // grey Round(255 sqrt 0.25) = 128
  inner.Dir = {0, 0.6, -0.8};
  inner.OutLight = 0.64;
  inner.Parent = &entry;
  FasetOnScreen polygon;
  polygon.Beam = &inner;
  polygon.Area = 0.09;  // a = 0.01
  const ArrayOfFOS polygons{polygon};
  const auto front = RaySpots(polygons, IdentityFrame(), 200);
  ASSERT_EQ(front.size(), 1u);
  EXPECT_EQ(front[0].Grey, 128);
  Frame back = IdentityFrame();
  RotateFrame(back, 1, 0, std::numbers::pi);
  const auto behind = RaySpots(polygons, back, 200);
  ASSERT_EQ(behind.size(), 1u);
  EXPECT_EQ(behind[0].Grey, 204);  // 255 x 0.8
  // A beam left without a direction by degenerate geometry marks nothing.
  entry.Dir = {std::nan(""), 0, 1};
  EXPECT_TRUE(RaySpots(polygons, IdentityFrame(), 200).empty());
}

TEST(IntensityLaw, CurveFollowsTheLawAndTheHead) {
  const auto flat = IntensityLawCurve(0, false, 0);
  ASSERT_EQ(flat.size(), 37u);
  for (ScreenPoint p : flat) EXPECT_EQ(p.Y, 0);
  // Column 6 is 60 degrees from the middle: cos = 0.5.
  EXPECT_EQ(IntensityLawCurve(1, false, 0)[6].Y, 10);
  EXPECT_EQ(IntensityLawCurve(2, false, 0)[6].Y, 15);
  EXPECT_EQ(IntensityLawCurve(3, false, 0)[6].Y, 19);
  EXPECT_EQ(IntensityLawCurve(1, false, 0)[18].Y, 0);
  EXPECT_EQ(IntensityLawCurve(1, false, 0)[36].Y, 20);
  EXPECT_EQ(IntensityLawCurve(1, false, 0)[0].Y, 20);
  // A 30 degree head blanks columns 13 to 23.
  const auto head = IntensityLawCurve(0, true, 30);
  EXPECT_EQ(head[12].Y, 0);
  EXPECT_EQ(head[13].Y, 20);
  EXPECT_EQ(head[23].Y, 20);
  EXPECT_EQ(head[24].Y, 0);
}

TEST(LightMapControls, ZoneEditsStayInOrderWhateverIsTyped) {
  IlluminationModel m;
  LightMapEditor editor(m);
  editor.Shown();
  EXPECT_EQ(editor.Controls().ZoneSpins[0].Maximum, 60);
  EXPECT_EQ(editor.Controls().ZoneTracks[2].Maximum, 180);
  editor.SetZoneSpin(0, 75);  // beyond the second angle
  EXPECT_EQ(editor.Controls().ZoneSpins[0].Value, 60);
  EXPECT_NEAR(m.ZoneCos()[0], 0.5, 1e-12);
  EXPECT_NEAR(m.ZoneCos()[1], 0.5, 1e-12);  // the green zone is empty
  std::mt19937 random(3);
  for (int i = 0; i < 400; ++i) {
    const int which = static_cast<int>(random() % 3), value = static_cast<int>(random() % 200) - 10;
    if (random() % 2 == 0) {
      editor.SetZoneSpin(which, value);
    } else {
      editor.MoveZoneTrack(which, value);
    }
    const auto& s = editor.Controls().ZoneSpins;
    ASSERT_LE(0, s[0].Value);
    ASSERT_LE(s[0].Value, s[1].Value);
    ASSERT_LE(s[1].Value, s[2].Value);
    ASSERT_LE(s[2].Value, 180);
    for (int k = 0; k < 3; ++k) {
      ASSERT_EQ(editor.Controls().ZoneTracks[k].Value, s[k].Value);
      ASSERT_NEAR(m.ZoneCos()[k], std::cos(s[k].Value * std::numbers::pi / 180), 1e-12);
    }
  }
}

TEST(LightMapControls, HeadAndBodyButtonsAndTheHeadAngle) {
  IlluminationModel m;
  LightMapEditor editor(m);
  editor.ClickBody();  // the body needs the head
  EXPECT_TRUE(editor.Controls().BodyDown);
  EXPECT_TRUE(editor.Controls().HeadDown);
  EXPECT_EQ(editor.Controls().HeadImage(), 2);
  EXPECT_EQ(editor.Controls().BodyImage(), 4);
  editor.ClickHead();  // releasing the head releases the body
  EXPECT_FALSE(editor.Controls().HeadDown);
  EXPECT_FALSE(editor.Controls().BodyDown);
  editor.ClickBody();
  editor.ClickHead();
  editor.ClickHead();  // pressing the head releases the body too
  EXPECT_TRUE(editor.Controls().HeadDown);
  EXPECT_FALSE(editor.Controls().BodyDown);
  editor.ClickHead();
  editor.SetHeadAngle(30);
  EXPECT_TRUE(editor.Controls().HeadDown);
  EXPECT_EQ(editor.Controls().HeadLabel(), "Head radius = 30 deg.");
  // h = 128: the head covers the middle of the front picture and not the back.
  m.FillPicture(PictureSide::Front, 255, 255, 255);
  m.FillPicture(PictureSide::Back, 255, 255, 255);
  const auto masked = [&m](PictureSide side, int row, int column) {
    return m.Picture(side).Masked[(static_cast<std::size_t>(row) * kPictureSize + column) * 3];
  };
  EXPECT_EQ(masked(PictureSide::Front, 256, 256), 0);
  EXPECT_EQ(masked(PictureSide::Front, 256, 256 + 129), 255);
  EXPECT_EQ(masked(PictureSide::Back, 256, 256), 255);
  editor.SetBackgroundBrightness(50);
  EXPECT_EQ(editor.Controls().BrightnessLabel(), "BG Brightness = 50%.");
}

TEST(LightMapControls, PagesFollowTheModeAndShowingKeepsTheModeOfThePressedButton) {
  IlluminationModel m;
  LightMapEditor editor(m);
  for (int mode = 0; mode < 4; ++mode) {
    editor.PressMode(mode);
    EXPECT_EQ(editor.Controls().ZonesPageShown(), mode == 2);
    EXPECT_EQ(editor.Controls().PicturePagesShown(), mode == 3);
    EXPECT_EQ(m.SourceMode(), mode);
    editor.Shown();
    EXPECT_EQ(m.SourceMode(), mode);
    EXPECT_EQ(editor.Controls().PressedMode, mode);
  }
}

TEST(IlluminationModel, PastedPictureFillsItsRectangleOnly) {
  IlluminationModel m;
  m.FillPicture(PictureSide::Front, 9, 9, 9);
  const std::vector<std::uint8_t> white(4 * 3 * 3, 255);
  m.PastePicture(PictureSide::Front, white, 4, 3, 60, 100, 452, 412);
  const auto source = [&m](int row, int column) {
    return m.Picture(PictureSide::Front).Source[(static_cast<std::size_t>(row) * kPictureSize + column) * 3];
  };
  EXPECT_EQ(source(100, 60), 255);
  EXPECT_EQ(source(411, 451), 255);
  EXPECT_EQ(source(99, 60), 9);
  EXPECT_EQ(source(100, 452), 9);
  EXPECT_EQ(source(412, 200), 9);
}

TEST(IlluminationModel, DisplayTurnKeepsTheColours) {
  IlluminationModel m;
  m.SetSourceMode(1);
  const LinearColor before = m.Lookup({0.3, 0.4, std::sqrt(0.75)});
  Frame turn = IdentityFrame();
  RotateFrame(turn, 0, 1, 0.7);
  m.TurnDisplay(turn);
  const LinearColor after = m.Lookup({0.3, 0.4, std::sqrt(0.75)});
  EXPECT_DOUBLE_EQ(before.R, after.R);
  EXPECT_FLOAT_EQ(m.MapView()[4], turn[4]);
  EXPECT_FLOAT_EQ(m.MapTurn()[5], turn[5]);
}

}  // namespace
}  // namespace brillora
