#include <array>
#include <cmath>
#include <numbers>

#include <gtest/gtest.h>

#include "view/animation_frame.h"
#include "view/view_matrix.h"

namespace brillora {
namespace {

using Matrix = std::array<std::array<double, 3>, 3>;

// Rotation by `angle` about a unit axis, in double precision (Rodrigues).
Matrix Rotation(double ax, double ay, double az, double angle) {
  const double c = std::cos(angle), s = std::sin(angle), t = 1 - c;
  return {{{t * ax * ax + c, t * ax * ay - s * az, t * ax * az + s * ay},
           {t * ax * ay + s * az, t * ay * ay + c, t * ay * az - s * ax},
           {t * ax * az - s * ay, t * ay * az + s * ax, t * az * az + c}}};
}

Matrix Multiply(const Matrix& a, const Matrix& b) {
  Matrix r{};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      for (int k = 0; k < 3; ++k) r[i][j] += a[i][k] * b[k][j];
  return r;
}

void ExpectFrameNear(const Frame& frame, const Matrix& expected, double tolerance) {
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      EXPECT_NEAR(frame[3 * i + j], expected[i][j], tolerance) << "element " << i << ", " << j;
}

const Matrix kIdentity = {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};

TEST(Flip, FromTheTopViewShowsThePavilion) {
  Frame view = IdentityFrame();
  ASSERT_TRUE(ShowsCrown(view));
  int shown = 0;
  FlipView(view, [&](const Frame&) { ++shown; });
  EXPECT_EQ(shown, 100);
  // The axis points straight at the viewer, so the flip turns about screen x.
  ExpectFrameNear(view, {{{1, 0, 0}, {0, -1, 0}, {0, 0, -1}}}, 1e-5);
  EXPECT_NEAR(view[8], -1.0, 1e-5);
  EXPECT_FALSE(ShowsCrown(view));
}

TEST(Flip, TiltedViewTurnsAboutTheScreenAxisAcrossTheStonesAxis) {
  Frame view = IdentityFrame();
  RotateFrame(view, 0.3, -0.8, 0.6);
  const Frame before = view;
  const FlipAxis axis = FlipAxisOf(view);
  EXPECT_FLOAT_EQ(axis.x, before[2]);
  EXPECT_FLOAT_EQ(axis.y, before[5]);
  FlipView(view);
  // The stone's axis reverses its view direction.
  for (int row = 0; row < 3; ++row) EXPECT_NEAR(view[3 * row + 2], -before[3 * row + 2], 1e-5);
  FlipView(view);
  for (int i = 0; i < 9; ++i) EXPECT_NEAR(view[i], before[i], 1e-4) << "two flips come back";
}

TEST(MouseTurn, FullWidthDragIsHalfATurn) {
  Frame view = IdentityFrame();
  ASSERT_TRUE(MouseTurn(view, 0, 100, 450, 100, 450));
  // Half a turn about the screen's y axis.
  ExpectFrameNear(view, {{{-1, 0, 0}, {0, 1, 0}, {0, 0, -1}}}, 1e-6);

  view = IdentityFrame();
  ASSERT_TRUE(MouseTurn(view, 0, 0, 300, 400, 1000));  // 500 pixels: a quarter turn
  const double u = -0.8, v = 0.6;  // unit axis (y, -x, 0) of the move (-300, -400)
  ExpectFrameNear(view, Rotation(u, v, 0, std::numbers::pi / 2), 1e-6);
}

TEST(MouseTurn, TheStoneFollowsTheMouse) {
  // The front point of the stone (toward the viewer) moves with the mouse.
  for (auto [dx, dy] : {std::pair{10, 0}, {0, 10}, {-7, 3}}) {
    Frame view = IdentityFrame();
    ASSERT_TRUE(MouseTurn(view, 200, 200, 200 + dx, 200 + dy, 400));
    const double x = RowDot(view, 0, 0, 0, 1), y = RowDot(view, 1, 0, 0, 1);
    EXPECT_GT(x * dx + y * dy, 0);
    EXPECT_NEAR(x * dy - y * dx, 0, 1e-6) << "along the drag";
  }
}

TEST(MouseTurn, NoMoveLeavesTheView) {
  Frame view = IdentityFrame();
  RotateFrame(view, 1, 2, 0.5);
  const Frame before = view;
  EXPECT_FALSE(MouseTurn(view, 17, 23, 17, 23, 400));
  EXPECT_EQ(view, before);
}

TEST(AnimationFrame, WobbleAgreesWithIndependentRotations) {
  for (int i : {0, 12, 49, 73}) {
    const double first = std::sin((i + 1) * std::numbers::pi / 50) / 3;
    const double second = std::sin((i + 1) * std::numbers::pi / 25) / 2;
    // About (0, -1, 0), then about (1, 0, 0), each applied after the last.
    const Matrix expected =
        Multiply(Rotation(1, 0, 0, second), Multiply(Rotation(0, -1, 0, first), kIdentity));
    ExpectFrameNear(AnimationFrame(i), expected, 2e-6);
  }
}

TEST(AnimationFrame, StartsOffTheTopViewAndReturnsToIt) {
  const Frame first = AnimationFrame(0);
  EXPECT_GT(std::abs(first[2]), 0.02) << "frame 0 is already turned";
  ExpectFrameNear(AnimationFrame(99), kIdentity, 1e-6);
  // The view axis stays within the two swings' reach of the top view.
  for (int i = 0; i < kAnimationFrames; ++i) {
    const Frame m = AnimationFrame(i);
    EXPECT_GT(m[8], std::cos(1.0 / 3) * std::cos(0.5) - 1e-6) << i;
  }
}

}  // namespace
}  // namespace brillora
