#include "light/made_surroundings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace brillora {
namespace {

constexpr double kDegree = std::numbers::pi / 180;

// The direction `polar` degrees from the view axis (toward the viewer) at
// `azimuth` degrees about it.
Vec3 Direction(double polar, double azimuth) {
  return {std::sin(polar * kDegree) * std::cos(azimuth * kDegree),
          std::sin(polar * kDegree) * std::sin(azimuth * kDegree), std::cos(polar * kDegree)};
}

IlluminationModel Made(void (*use)(IlluminationModel&)) {
  IlluminationModel model;
  use(model);
  model.SetSourceMode(3);
  return model;
}

bool Lit(const IlluminationModel& m, const Vec3& d) { return m.Lookup(d).R > 0.5; }

// Seven lamps a ring, the rings turned a third of the lamps' spacing
// against each other, each lamp a disc of 2 degrees radius.
TEST(MadeSurroundings, LampsAreSmallDiscsOnThreeTurnedRings) {
  const IlluminationModel m = Made(UseLamps);
  const double spacing = 360.0 / 7;
  const double rings[] = {25, 45, 65};
  for (int ring = 0; ring < 3; ++ring) {
    for (int j = 0; j < 7; ++j) {
      const double azimuth = (j + ring / 3.0) * spacing;
      SCOPED_TRACE(std::to_string(rings[ring]) + " / " + std::to_string(azimuth));
      EXPECT_TRUE(Lit(m, Direction(rings[ring], azimuth)));
      EXPECT_TRUE(Lit(m, Direction(rings[ring] + 1.5, azimuth)));
      EXPECT_FALSE(Lit(m, Direction(rings[ring] + 3, azimuth)));
      // Halfway to the next lamp of the ring: dark.
      EXPECT_FALSE(Lit(m, Direction(rings[ring], azimuth + spacing / 2)));
    }
  }
  // The outer rings are turned: where the inner ring has a lamp they have none.
  EXPECT_FALSE(Lit(m, Direction(45, 0)));
  EXPECT_FALSE(Lit(m, Direction(65, 0)));
  EXPECT_FALSE(Lit(m, Direction(0, 0)));     // the view axis
  EXPECT_FALSE(Lit(m, Direction(180, 0)));   // behind
  EXPECT_FALSE(Lit(m, Direction(115, 30)));  // the back picture is black
  // White: every channel alike.
  const LinearColor lamp = m.Lookup(Direction(25, 0));
  EXPECT_EQ(lamp.R, lamp.G);
  EXPECT_EQ(lamp.R, lamp.B);
}

TEST(MadeSurroundings, TheAsetMapColoursByTheAngleFromTheViewAxis) {
  IlluminationModel m;
  UseAset(m, AsetHeadDegrees(0));
  m.SetSourceMode(3);
  const auto colour = [&](double polar, double azimuth) {
    const LinearColor c = m.Lookup(Direction(polar, azimuth));
    return std::array<bool, 3>{c.R > 0.5, c.G > 0.5, c.B > 0.5};
  };
  using RGB = std::array<bool, 3>;
  for (const double azimuth : {0.0, 77.0, 200.0}) {
    EXPECT_EQ(colour(5, azimuth), (RGB{false, false, true}));   // within the head's 10 degrees
    EXPECT_EQ(colour(12, azimuth), (RGB{true, false, false}));  // red to 45
    EXPECT_EQ(colour(43, azimuth), (RGB{true, false, false}));
    EXPECT_EQ(colour(47, azimuth), (RGB{false, true, false}));  // green to 90
    EXPECT_EQ(colour(85, azimuth), (RGB{false, true, false}));
    EXPECT_EQ(colour(120, azimuth), (RGB{false, false, false}));  // behind: black
  }
  // A head of 20 degrees widens the blue.
  UseAset(m, AsetHeadDegrees(20));
  EXPECT_EQ(colour(15, 0), (RGB{false, false, true}));
}

}  // namespace
}  // namespace brillora
