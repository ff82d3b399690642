#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

#include "trace/frame.h"

namespace brillora {
namespace {

void ExpectFramesNear(const Frame& a, const Frame& b, double tolerance) {
  for (int i = 0; i < 9; ++i) EXPECT_NEAR(a[i], b[i], tolerance) << "element " << i;
}

TEST(Frames, RotationWithoutAxisOrAngleIsIdentity) {
  EXPECT_EQ(RotationMatrix(0, 0, 1.2), IdentityFrame());
  EXPECT_EQ(RotationMatrix(0.3, -0.4, 0), IdentityFrame());
  Frame m = RotationMatrix(1, 2, 0.7);
  const Frame before = m;
  RotateFrame(m, 0, 0, 0.5);
  EXPECT_EQ(m, before);
  RotateFrame(m, 0.5, 0.5, 0);
  EXPECT_EQ(m, before);
}

TEST(Frames, AReversedTurnIsTheTurnByTheNegatedAngleToTheLastBit) {
  // The tracer turns points back with the reversed angle instead of new
  // trigonometry; the pictures stay the same only if the two agree exactly.
  std::mt19937 random(11);
  std::uniform_real_distribution<double> u(-7, 7);
  for (int i = 0; i < 200000; ++i) {
    const double angle = u(random);
    const TurnAngle forward = AngleOfTurn(angle);
    const TurnAngle backward = AngleOfTurn(-angle);
    ASSERT_EQ(forward.Reversed().Cos, backward.Cos) << angle;
    ASSERT_EQ(forward.Reversed().Sin, backward.Sin) << angle;
    ASSERT_EQ(RotationMatrix(0.3, -0.8, forward.Reversed()), RotationMatrix(0.3, -0.8, -angle));
  }
}

TEST(Frames, RotationTurnsAboutTheScreenAxisPerpendicularToTheDrag) {
  // x = 0, y = 1: the axis (1, 0, 0); a quarter turn takes z to -y... by Rodrigues,
  // checked against the rotation formula written out independently.
  const double angle = 0.9;
  const Frame r = RotationMatrix(0, 2, angle);  // axis (2, 0, 0) normalised to x
  Vec3 z{0, 0, 1};
  TransformVector(r, z);
  // Rotating (0, 0, 1) about x by angle: (0, -sin, cos).
  EXPECT_NEAR(z.x, 0, 1e-7);
  EXPECT_NEAR(z.y, -std::sin(angle), 1e-6);
  EXPECT_NEAR(z.z, std::cos(angle), 1e-6);
  // The axis itself stays put.
  Vec3 axis{1, 0, 0};
  TransformVector(r, axis);
  EXPECT_NEAR(axis.x, 1, 1e-7);
  EXPECT_NEAR(axis.y, 0, 1e-7);
  EXPECT_NEAR(axis.z, 0, 1e-7);
}

TEST(Frames, RotationsAreOrthonormalAndInvertBack) {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> unit(-1, 1);
  for (int trial = 0; trial < 200; ++trial) {
    Frame m = IdentityFrame();
    RotateFrame(m, unit(random), unit(random), 3 * unit(random));
    RotateFrame(m, unit(random), unit(random), 3 * unit(random));
    for (int i = 0; i < 3; ++i) {
      for (int j = 0; j < 3; ++j) {
        double dot = 0;
        for (int k = 0; k < 3; ++k) dot += double(m[3 * i + k]) * m[3 * j + k];
        EXPECT_NEAR(dot, i == j ? 1.0 : 0.0, 1e-6);
      }
    }
    Frame inverse = m;
    InvertFrame(inverse);
    ExpectFramesNear(MultiplyFrames(inverse, m), IdentityFrame(), 1e-6);
  }
}

TEST(Frames, SingularOrUndefinedFrameInvertsToIdentity) {
  Frame singular{1, 2, 3, 2, 4, 6, 0, 0, 1};
  InvertFrame(singular);
  EXPECT_EQ(singular, IdentityFrame());
  Frame undefined = IdentityFrame();
  undefined[4] = std::nanf("");
  InvertFrame(undefined);
  EXPECT_EQ(undefined, IdentityFrame());
  Frame scaled{2, 0, 0, 0, 4, 0, 0, 0, 0.5f};
  InvertFrame(scaled);
  ExpectFramesNear(scaled, Frame{0.5f, 0, 0, 0, 0.25f, 0, 0, 0, 2}, 0);
}

TEST(Frames, MirrorNegatesOnlyTheAxisRow) {
  Frame m{1, 2, 3, 4, 5, 6, 7, 8, 9};
  MirrorFrame(m);
  EXPECT_EQ(m, (Frame{1, 2, 3, 4, 5, 6, -7, -8, -9}));
}

TEST(Frames, ArcCosOfAHairBeyondOneStaysDefined) {
  EXPECT_EQ(SafeArcCos(1.0000001), 0.0);
  EXPECT_NEAR(SafeArcCos(-1.0000001), std::numbers::pi, 1e-15);
  EXPECT_NEAR(SafeArcCos(0.5), std::numbers::pi / 3, 1e-15);
}

}  // namespace
}  // namespace brillora
