#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "analysis/light_figures.h"
#include "analysis/tilt_curve.h"
#include "model/facet_construction.h"
#include "sample_stone.h"

namespace brillora::testing {
namespace {

// The light of every finished beam, summed by Fresnel's factors down its
// chain, against the area the beams cover: what one loses the other must too.
double Budget(const LightFigures& f) { return f.Iso + f.Leakage + f.HeadShadow + f.Unresolved + f.Lost; }

TEST(LightFigures, TheLightBudgetSumsToOne) {
  LightAnalyzer analyzer;
  for (const char* file : {"Default.brl", "RoundBrilliant.brl", "Hexagon6.brl", "Dodecagon12.brl", "Round48.brl"}) {
    const Stone stone = SampleStone(file);
    for (const double tilt : {0.0, 13.0, -29.0}) {
      for (const int depth : {1, 9}) {
        SCOPED_TRACE(std::string(file) + " tilt " + std::to_string(tilt) + " depth " + std::to_string(depth));
        const LightFigures f = analyzer.Analyze(stone, TiltedView(7, tilt), {10, depth, 2.42});
        EXPECT_NEAR(Budget(f), 1.0, 1e-9);
        // What the cuts drop or, at grazing facets, count twice by rounding
        // stays a small part of the outline.
        EXPECT_LT(std::fabs(f.Lost), 1e-3) << f.Lost;
        EXPECT_GT(f.Iso, 0.05);
        EXPECT_LE(f.Cos, f.Iso);
        EXPECT_LE(f.Sc2, f.Iso);
        // Even the 48-fold design, whose tilted views at depth 9 make the
        // most pieces of light, is followed to the depth within the budget,
        // or so nearly that no figure can move by a twentieth of a point.
        EXPECT_FALSE(f.CutShort);
        EXPECT_LT(f.ErrorBound, 0.0005);
      }
    }
  }
}

TEST(LightFigures, ATraceLeftByItsBudgetStillAccountsForAllItsLight) {
  LightAnalyzer analyzer;
  const LightFigures f =
      analyzer.Analyze(SampleStone("Round48.brl"), IdentityFrame(), {10, 30, 2.42}, StoneSymmetry{});
  EXPECT_FALSE(f.CutShort);
  EXPECT_GT(f.ErrorBound, 0.0);
  EXPECT_NEAR(Budget(f), 1.0, 1e-9);
  // The light left unfollowed is counted as unresolved.
  EXPECT_GE(f.Unresolved, f.ErrorBound);
}

// The same views followed to the end and within small budgets: every share
// moves by no more than the bound, and the bound is not idle. The light a
// budget leaves can only add to the returned shares once followed.
TEST(LightFigures, TheErrorBoundHoldsTheFiguresOfAllTheLight) {
  const Stone stone = SampleStone("Round48.brl");
  LightAnalyzer all(0);
  for (const double budget : {3e5, 1.5e6}) {
    LightAnalyzer some(budget);
    for (const double tilt : {17.0, -30.0}) {
      SCOPED_TRACE("budget " + std::to_string(budget) + " tilt " + std::to_string(tilt));
      const AnalysisSettings settings{10, 9, 2.42};
      const LightFigures exact = all.Analyze(stone, TiltedView(3.75, tilt), settings);
      const LightFigures f = some.Analyze(stone, TiltedView(3.75, tilt), settings);
      EXPECT_EQ(exact.ErrorBound, 0.0);
      EXPECT_GT(f.ErrorBound, 1e-6);
      for (const auto& [name, near, far] :
           {std::tuple{"ISO", f.Iso, exact.Iso}, {"COS", f.Cos, exact.Cos}, {"SC2", f.Sc2, exact.Sc2},
            {"table ISO", f.TableIso, exact.TableIso}, {"table COS", f.TableCos, exact.TableCos},
            {"table SC2", f.TableSc2, exact.TableSc2}, {"leakage", f.Leakage, exact.Leakage},
            {"head shadow", f.HeadShadow, exact.HeadShadow}, {"fire", f.Fire, exact.Fire},
            {"ASET red", f.AsetRed, exact.AsetRed}, {"ASET green", f.AsetGreen, exact.AsetGreen}}) {
        EXPECT_LE(near, far + 1e-9) << name;
        EXPECT_LE(far - near, f.ErrorBound + 1e-9) << name;
      }
      EXPECT_GE(f.Unresolved + 1e-9, exact.Unresolved);
    }
  }
}

TEST(LightFigures, AStopAbandonsTheView) {
  LightAnalyzer analyzer(0);
  const Stone stone = SampleStone("Round48.brl");
  int asked = 0;
  const auto f = analyzer.Analyze(stone, TiltedView(0, 20), {10, 9, 2.42}, FindSymmetry(stone), [&] {
    return ++asked > 2;
  });
  EXPECT_FALSE(f.has_value());
  EXPECT_EQ(asked, 3);
  // Never asked, or never saying so, the view is finished.
  EXPECT_TRUE(analyzer.Analyze(stone, TiltedView(0, 20), {10, 9, 2.42}, FindSymmetry(stone), [] { return false; }));
}

TEST(LightFigures, DeeperTracesResolveMoreLight) {
  LightAnalyzer analyzer;
  // Past the picture's deepest level (12) too.
  const Stone stone = SampleStone("Default.brl");
  double before = 1.0;
  for (const int depth : {1, 3, 6, 9, 12, 16}) {
    const LightFigures f = analyzer.Analyze(stone, IdentityFrame(), {10, depth, 2.42});
    EXPECT_LT(f.Unresolved, before) << "depth " << depth;
    EXPECT_FALSE(f.CutShort) << "depth " << depth;
    before = f.Unresolved;
  }
}

TEST(LightFigures, ANearlyAirStoneLeaksAlmostEverything) {
  LightAnalyzer analyzer;
  const LightFigures f = analyzer.Analyze(SampleStone("RoundBrilliant.brl"), IdentityFrame(), {10, 9, 1.0001});
  EXPECT_GT(f.Leakage, 0.99);
  EXPECT_NEAR(Budget(f), 1.0, 1e-9);
}

TEST(LightFigures, TheHeadConeTakesLightFromIsoAndGivesItToTheShadow) {
  LightAnalyzer analyzer;
  const Stone stone = SampleStone("RoundBrilliant.brl");
  const LightFigures none = analyzer.Analyze(stone, IdentityFrame(), {0, 9, 2.42});
  const LightFigures wide = analyzer.Analyze(stone, IdentityFrame(), {25, 9, 2.42});
  EXPECT_NEAR(none.HeadShadow, 0.0, 1e-9);
  EXPECT_GT(wide.HeadShadow, 0.01);
  EXPECT_NEAR(none.Iso - wide.Iso, wide.HeadShadow, 1e-9);
  EXPECT_NEAR(none.Leakage, wide.Leakage, 1e-12);
}

// A pavilion far too steep or too shallow lets the light out below.
TEST(LightFigures, APavilionOffTheCriticalAngleLeaksMore) {
  LightAnalyzer analyzer;
  const Design design = SampleDesign("RoundBrilliant.brl");
  const auto leakageAt = [&](double slope) {
    Design d = design;
    for (std::size_t i = 1; i + 1 < d.PavilionSteps.size(); ++i) {
      d.PavilionSteps[i].Angle = slope;
      d.PavilionSteps[i].Auto = false;
    }
    return analyzer.Analyze(ConstructStone(d), IdentityFrame(), {10, 9, 2.42}).Leakage;
  };
  const double good = leakageAt(42.5);
  EXPECT_LT(good, 0.1);
  EXPECT_GT(leakageAt(30), good + 0.2);
  EXPECT_GT(leakageAt(57.5), good + 0.2);
}

// What the symmetries leave to trace gives the figures of the whole view,
// within what the whole view's own trace leaves uncovered or counts twice.
void ExpectSameFigures(const LightFigures& part, const LightFigures& whole) {
  const double slack = std::fabs(part.Lost) + std::fabs(whole.Lost) + 1e-6;
  EXPECT_NEAR(part.Iso, whole.Iso, slack);
  EXPECT_NEAR(part.Cos, whole.Cos, slack);
  EXPECT_NEAR(part.Sc2, whole.Sc2, slack);
  EXPECT_NEAR(part.TableIso, whole.TableIso, 10 * slack);
  EXPECT_NEAR(part.Leakage, whole.Leakage, slack);
  EXPECT_NEAR(part.HeadShadow, whole.HeadShadow, slack);
  EXPECT_NEAR(part.Unresolved, whole.Unresolved, slack);
}

TEST(StoneSymmetry, ThePartItLeavesGivesTheFiguresOfTheWholeView) {
  Design twisted = SampleDesign("RoundBrilliant.brl");
  twisted.PavilionSteps[1].Shift = 1;  // the pavilion turned by a notch: turns, no mirrors
  struct Case {
    Design design;
    int turns;
    std::size_t mirrors;
  };
  const Case cases[] = {{SampleDesign("RoundBrilliant.brl"), 8, 8},
                        {SampleDesign("Hexagon6.brl"), 6, 6},
                        {twisted, 8, 0}};
  LightAnalyzer analyzer;
  for (const Case& c : cases) {
    Design built = c.design;
    const Stone stone = ConstructStone(built);
    const StoneSymmetry symmetry = FindSymmetry(stone);
    EXPECT_EQ(symmetry.Turns, c.turns);
    EXPECT_EQ(symmetry.Mirrors.size(), c.mirrors);
    // Face up, tilted about a mirror plane's normal (a half of the view),
    // and tilted about no symmetry at all (the whole view).
    for (const auto& [azimuth, tilt] : {std::pair{0.0, 0.0}, {90.0, 17.0}, {7.0, -11.0}}) {
      SCOPED_TRACE(std::to_string(c.turns) + " turns, azimuth " + std::to_string(azimuth) + " tilt " +
                   std::to_string(tilt));
      const Frame view = TiltedView(azimuth, tilt);
      ExpectSameFigures(analyzer.Analyze(stone, view, {10, 9, 2.42}, symmetry),
                        analyzer.Analyze(stone, view, {10, 9, 2.42}, StoneSymmetry{}));
    }
  }
}

// Turning the stone either way about a mirror axis of its facets shows
// mirror images of one light path: the curve is even. The whole views are
// traced here, as the curves take a negative angle's figures from its twin.
TEST(TiltCurve, AboutAMirrorAxisTheCurveIsEven) {
  LightAnalyzer analyzer;
  for (const char* file : {"Default.brl", "Hexagon6.brl"}) {
    SCOPED_TRACE(file);
    const Design design = SampleDesign(file);
    Design built = design;
    const Stone stone = ConstructStone(built);
    const TiltSettings tilt{30, 10, DefaultAzimuths(design.SymOrder)};
    const auto curves = TiltCurves(stone, {10, 9, 2.42}, tilt, 2);
    ASSERT_TRUE(curves.has_value());
    ASSERT_EQ(curves->size(), 2u);
    for (const TiltCurve& curve : *curves) {
      ASSERT_EQ(curve.Points.size(), 7u);
      EXPECT_DOUBLE_EQ(curve.Points.front().Angle, -30);
      for (const TiltPoint& point : curve.Points) {
        if (point.Angle < 0) continue;
        SCOPED_TRACE("azimuth " + std::to_string(curve.Azimuth) + " angle " + std::to_string(point.Angle));
        const LightFigures plus = analyzer.Analyze(stone, TiltedView(curve.Azimuth, point.Angle), {10, 9, 2.42}, {});
        const LightFigures minus =
            analyzer.Analyze(stone, TiltedView(curve.Azimuth, -point.Angle), {10, 9, 2.42}, {});
        EXPECT_NEAR(plus.Iso, minus.Iso, 1e-4);
        EXPECT_NEAR(plus.Cos, minus.Cos, 1e-4);
        EXPECT_NEAR(plus.Sc2, minus.Sc2, 1e-4);
        EXPECT_NEAR(point.Iso, plus.Iso, 1e-4);
        const TiltPoint& twin = curve.Points[curve.Points.size() - 1 - static_cast<std::size_t>(&point - curve.Points.data())];
        EXPECT_EQ(twin.Iso, point.Iso);
        EXPECT_DOUBLE_EQ(twin.Angle, -point.Angle);
      }
    }
  }
}

TEST(TiltCurve, ThreadsChangeNothingAndTheSummaryMatchesThePoints) {
  const Stone stone = SampleStone("RoundBrilliant.brl");
  const TiltSettings tilt{20, 2.5, {0, 22.5, 40}};
  const auto one = TiltCurves(stone, {10, 9, 2.42}, tilt, 1);
  const auto three = TiltCurves(stone, {10, 9, 2.42}, tilt, 3);
  ASSERT_TRUE(one && three);
  LightAnalyzer analyzer;
  for (std::size_t c = 0; c < one->size(); ++c) {
    const TiltCurve& curve = (*one)[c];
    double sum = 0, low = 1, high = 0;
    for (std::size_t i = 0; i < curve.Points.size(); ++i) {
      EXPECT_EQ(curve.Points[i].Iso, (*three)[c].Points[i].Iso);
      sum += curve.Points[i].Iso;
      low = std::min(low, curve.Points[i].Iso);
      high = std::max(high, curve.Points[i].Iso);
    }
    EXPECT_NEAR(curve.Mean.Iso, sum / 17, 1e-12);
    EXPECT_NEAR(curve.Variation.Iso, high - low, 1e-12);
    const LightFigures faceUp = analyzer.Analyze(stone, IdentityFrame(), {10, 9, 2.42});
    EXPECT_EQ(curve.Points[8].Angle, 0);
    EXPECT_NEAR(curve.Points[8].Iso, faceUp.Iso, 1e-6);
  }
}

TEST(TiltCurve, AStopAbandonsTheCurves) {
  const Stone stone = SampleStone("RoundBrilliant.brl");
  int asked = 0;
  const auto curves = TiltCurves(stone, {10, 9, 2.42}, {30, 1, {0}}, 1, [&] { return ++asked > 3; });
  EXPECT_FALSE(curves.has_value());
  EXPECT_EQ(asked, 4);
}

}  // namespace
}  // namespace brillora::testing
