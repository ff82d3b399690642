#include <gtest/gtest.h>

#include <cmath>

#include "trace/beam_optics.h"

namespace brillora {
namespace {

TEST(Fresnel, NormalIncidenceGivesTheSquaredIndexRatio) {
  for (double ri : {2.42, 1.54}) {
    const double expected = std::pow((ri - 1) / (ri + 1), 2);
    EXPECT_NEAR(FresnelReflectance(1.0, 1 / ri), expected, 1e-15);
    EXPECT_NEAR(FresnelReflectance(1.0, ri), expected, 1e-15);  // the same from inside
  }
  EXPECT_NEAR(FresnelReflectance(1.0, 1 / 2.42), 0.1724, 5e-5);
  EXPECT_NEAR(FresnelReflectance(1.0, 1 / 1.54), 0.0452, 5e-5);
}

TEST(Fresnel, TotalInternalReflectionBeyondTheCriticalAngle) {
  const double ri = 2.42;
  const double critical = std::sqrt(1 - 1 / (ri * ri));  // cosine at the critical angle
  EXPECT_EQ(FresnelReflectance(critical - 1e-6, ri), 1.0);
  EXPECT_LT(FresnelReflectance(critical + 1e-3, ri), 1.0);
  // From outside there is never total reflection; grazing light is all reflected.
  EXPECT_LT(FresnelReflectance(0.01, 1 / ri), 1.0);
  EXPECT_GT(FresnelReflectance(0.01, 1 / ri), 0.9);
}

TEST(Fresnel, AgreesWithTheAngleFormOfTheLaw) {
  // Rs = sin^2(ti - tt) / sin^2(ti + tt), Rp = tan^2(ti - tt) / tan^2(ti + tt).
  const double n = 1.7;
  for (double ti = 0.05; ti < 1.5; ti += 0.1) {
    const double tt = std::asin(std::sin(ti) / n);
    const double rs = std::pow(std::sin(ti - tt) / std::sin(ti + tt), 2);
    const double rp = std::pow(std::tan(ti - tt) / std::tan(ti + tt), 2);
    EXPECT_NEAR(FresnelReflectance(std::cos(ti), 1 / n), (rs + rp) / 2, 1e-12) << ti;
  }
}

struct OpticsCase {
  TFacet facet;
  Race beam;
  Race parent;
  TraceOptions options;
};

// A facet with normal n; the beam's cosine of incidence c.
OpticsCase Case(double nx, double ny, double nz, double c) {
  OpticsCase k;
  k.facet.Nx = nx;
  k.facet.Ny = ny;
  k.facet.Nz = nz;
  k.beam.Facet = &k.facet;
  k.beam.Dir = {0, 0, c};
  return k;
}

TEST(SetBeamLight, EntryFacetSeenFaceOnReflectsStraightBack) {
  OpticsCase k = Case(0, 0, 1, 1.0);
  SetBeamLight(IdentityFrame(), k.beam, k.facet, k.options, IdentityFrame());
  EXPECT_NEAR(k.beam.OutLight, 0.1724, 5e-5);
  EXPECT_DOUBLE_EQ(k.beam.InLight + k.beam.OutLight, 1.0);
  EXPECT_EQ(k.beam.Dir, (Vec3{0, 0, 1.0}));
}

TEST(SetBeamLight, EntryReflectionMirrorsTheViewAxisInTheFacet) {
  const double s = std::sin(0.5), c = std::cos(0.5);
  OpticsCase k = Case(s * 0.6, s * 0.8, c, c);
  SetBeamLight(IdentityFrame(), k.beam, k.facet, k.options, IdentityFrame());
  // Reflection of (0, 0, -1) in the plane with normal n: d - 2 (d . n) n.
  const double dn = -c;
  EXPECT_NEAR(k.beam.Dir.x, -2 * dn * s * 0.6, 1e-12);
  EXPECT_NEAR(k.beam.Dir.y, -2 * dn * s * 0.8, 1e-12);
  EXPECT_NEAR(k.beam.Dir.z, -1 - 2 * dn * c, 1e-12);
}

TEST(SetBeamLight, SwitchesOfTheReflectionsMenu) {
  OpticsCase off = Case(0, 0, 1, 1.0);
  off.options.SurfaceRefl = false;
  SetBeamLight(IdentityFrame(), off.beam, off.facet, off.options, IdentityFrame());
  EXPECT_EQ(off.beam.OutLight, 0.0);
  EXPECT_EQ(off.beam.InLight, 1.0);

  OpticsCase all = Case(0.6, 0, 0.8, 0.8);
  all.options.Reflected = true;
  SetBeamLight(IdentityFrame(), all.beam, all.facet, all.options, IdentityFrame());
  EXPECT_EQ(all.beam.OutLight, 1.0);
  EXPECT_EQ(all.beam.InLight, 0.0);
}

TEST(SetBeamLight, InternalBeamSplitsItsParentsLight) {
  // Inside the stone at a facet met face-on: R = ((n-1)/(n+1))^2, the rest leaves.
  OpticsCase k = Case(0, 0, -1, 1.0);
  k.parent.InLight = 0.8;
  k.beam.Parent = &k.parent;
  SetBeamLight(IdentityFrame(), k.beam, k.facet, k.options, IdentityFrame());
  const double r = std::pow(1.42 / 3.42, 2);
  EXPECT_NEAR(k.beam.InLight, 0.8 * r, 1e-6);
  EXPECT_NEAR(k.beam.OutLight, 0.8 * (1 - r), 1e-6);
  EXPECT_NEAR(k.beam.InLight + k.beam.OutLight, 0.8, 1e-15);
}

TEST(SetBeamLight, TotalInternalReflectionLeavesNothingAndKeepsTheTravelDirection) {
  // Cosine 0.5 inside diamond: far beyond the critical angle (about 24.4 degrees).
  const double s = std::sqrt(0.75);
  OpticsCase k = Case(s, 0, -0.5, 0.5);
  k.parent.InLight = 0.6;
  k.beam.Parent = &k.parent;
  SetBeamLight(IdentityFrame(), k.beam, k.facet, k.options, IdentityFrame());
  EXPECT_EQ(k.beam.OutLight, 0.0);
  EXPECT_EQ(k.beam.InLight, 0.6);
  EXPECT_EQ(k.beam.Dir, (Vec3{0, 0, -1}));
}

TEST(SetBeamLight, RefractedExitFollowsSnellsLaw) {
  // Frame = identity: the beam travels along -z and meets a facet whose outward
  // normal is tilted by ti from the travel direction. The light leaving is bent
  // away from the normal: its angle to the normal satisfies sin tt = n sin ti.
  const double n = 1.5, ti = 0.3;
  OpticsCase k = Case(std::sin(ti), 0, -std::cos(ti), std::cos(ti));
  k.parent.InLight = 1;
  k.beam.Parent = &k.parent;
  k.options.RefractiveIndex = n;
  SetBeamLight(IdentityFrame(), k.beam, k.facet, k.options, IdentityFrame());
  const Vec3 d = k.beam.Dir;
  EXPECT_NEAR(d.x * d.x + d.y * d.y + d.z * d.z, 1, 1e-6);
  const double cosOut = d.x * std::sin(ti) + d.z * -std::cos(ti);  // with the outward normal
  EXPECT_NEAR(std::acos(cosOut), std::asin(n * std::sin(ti)), 1e-6);
  EXPECT_GT(k.beam.OutLight, 0.9);
}

TEST(SetBeamLight, AlmostTotalReflectionKeepsTheTravelDirectionButLetsSomeOut) {
  // Just inside the critical angle R exceeds 0.99: no direction is worked out.
  const double n = 2.42;
  const double critical = std::asin(1 / n);
  const double ti = critical - 1e-7;
  OpticsCase k = Case(std::sin(ti), 0, -std::cos(ti), std::cos(ti));
  k.parent.InLight = 1;
  k.beam.Parent = &k.parent;
  SetBeamLight(IdentityFrame(), k.beam, k.facet, k.options, IdentityFrame());
  EXPECT_EQ(k.beam.Dir, (Vec3{0, 0, -1}));
  EXPECT_GT(k.beam.OutLight, 0.0);
  EXPECT_LE(k.beam.OutLight, 0.01);
}

}  // namespace
}  // namespace brillora
