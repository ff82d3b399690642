#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "view/linear_to_color.h"

namespace brillora {
namespace {

std::uint32_t Rgb(int r, int g, int b) { return r + 256 * g + 65536 * b; }

TEST(LinearToColor, EndsOfTheRangeAndClamping) {
  EXPECT_EQ(LinearToColor({0, 0, 0}), 0u);
  EXPECT_EQ(LinearToColor({1, 1, 1}), Rgb(255, 255, 255));
  EXPECT_EQ(LinearToColor({-0.5, 2.0, 1e9}), Rgb(0, 255, 255));
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(LinearToColor({nan, 1, nan}), Rgb(0, 255, 0)) << "an undefined channel shows black";
}

TEST(LinearToColor, SquareRootIsTheDisplayGamma) {
  // A facet at 60 degrees has grey 0.5 and is drawn at 255 sqrt 0.5 = 180.3.
  EXPECT_EQ(LinearToColor({0.5, 0.5, 0.5}), Rgb(180, 180, 180));
  // sqrt 0.25 * 255 = 127.5 exactly: halves go to the even neighbour.
  EXPECT_EQ(LinearToColor({0.25, 0, 0}), Rgb(128, 0, 0));
  // Channel order of the packed colour: red lowest, blue highest.
  EXPECT_EQ(LinearToColor({1, 0, 0}), 0x0000FFu);
  EXPECT_EQ(LinearToColor({0, 0, 1}), 0xFF0000u);
}

TEST(LinearToColor, InvertsTheSquaringOfEveryByte) {
  // The illumination model stores a display byte v as (v / 255)^2.
  for (int v = 0; v <= 255; ++v) {
    const double linear = (v / 255.0) * (v / 255.0);
    EXPECT_EQ(LinearToColor({linear, linear, linear}), Rgb(v, v, v)) << v;
  }
}

TEST(LinearToColor, HighlightHalvesOnlyTheGreen) {
  EXPECT_EQ(LinearToColor({1, 1, 1}, 2), Rgb(255, 127, 255));
  EXPECT_EQ(LinearToColor({0.5, 0.5, 0.5}, 2), Rgb(180, 90, 180));
  // Integer division: an odd green loses its half.
  const double g = (101 / 255.0) * (101 / 255.0);
  EXPECT_EQ(LinearToColor({0, g, 0}, 2), Rgb(0, 50, 0));
}

}  // namespace
}  // namespace brillora
