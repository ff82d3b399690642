// The optimizer against independent computations: an exhaustive scan of one
// slope, the stone a result's file gives back, and the proportions measured
// on the stone's vertices.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "analysis/light_figures.h"
#include "analysis/stone_symmetry.h"
#include "analysis/tilt_curve.h"
#include "analysis/sample_stone.h"
#include "io/design_file.h"
#include "model/facet_construction.h"
#include "model/step_editor.h"
#include "optimize/cutting_tolerance.h"
#include "optimize/merit.h"
#include "optimize/optimizer.h"
#include "support/random_design.h"
#include "trace/frame.h"

namespace brillora {
namespace {

// The sample as the design window holds it once opened.
Design Opened(const std::string& file) {
  EditorObserver quiet;
  return StepEditor(testing::SampleDesign(file), quiet).CurrentDesign();
}

// Face up only: one view keeps the scans short.
MeritSettings FaceUp() {
  MeritSettings merit;
  merit.tilt = 0;
  return merit;
}

// The stone the program builds once the design is installed in the editor.
Stone Built(const Design& design) {
  EditorObserver quiet;
  const StepEditor editor(design, quiet);
  return *editor.State().stone;
}

std::vector<int> FacetsByStep(const Stone& stone) {
  std::vector<int> counts;
  for (const TFacet& f : stone.AllFacets) {
    if (f.Step >= static_cast<int>(counts.size())) counts.resize(static_cast<std::size_t>(f.Step) + 1, 0);
    ++counts[static_cast<std::size_t>(f.Step)];
  }
  return counts;
}

// The girdle's lower edge lies at height 0.
double CrownPercent(const Stone& stone) {
  double top = 0;
  for (const TVertex& v : stone.AllVertices) top = std::max(top, v.z);
  return top * 50;
}

double DepthPercent(const Stone& stone) {
  const auto [low, high] = std::minmax_element(stone.AllVertices.begin(), stone.AllVertices.end(),
                                               [](const TVertex& a, const TVertex& b) { return a.z < b.z; });
  return (high->z - low->z) * 50;  // the girdle's corners lie 2 units apart
}

// Fire counts with its weight: its mean over the nine views, each traced on
// its own here (the merit traces one of each mirrored pair), in the
// material's dispersion; without dispersion there is none to count.
TEST(Merit, FireCountsAsTheMeanOfItsViews) {
  const Stone stone = Built(Opened("RoundBrilliant.brl"));
  MeritSettings merit;
  merit.weights = {0, 0, 0, 0, 1};
  merit.analysis.Dispersion = 0.044;
  LightAnalyzer analyzer;
  double sum = analyzer.Analyze(stone, IdentityFrame(), merit.analysis).Fire;
  int views = 1;
  for (double azimuth : DefaultAzimuths(8)) {
    for (double angle : {-20.0, -10.0, 10.0, 20.0}) {
      sum += analyzer.Analyze(stone, TiltedView(azimuth, angle), merit.analysis).Fire;
      ++views;
    }
  }
  ASSERT_EQ(views, 9);
  MeritEvaluator evaluator(merit, 8, 2);
  const std::optional<MeritFigures> figures = evaluator.Figures(stone);
  ASSERT_TRUE(figures);
  EXPECT_GT(figures->fire, 0.1);
  EXPECT_NEAR(MeritOf(*figures, merit.weights), sum / views, 1e-8);  // a mirrored view rounds apart

  merit.analysis.Dispersion = 0;
  MeritEvaluator colourless(merit, 8, 1);
  EXPECT_EQ(MeritOf(*colourless.Figures(stone), merit.weights), 0.0);
}

TEST(Optimizer, FindsTheBestSlopeOfAnExhaustiveScan) {
  // The pavilion's main slope of the brilliant, face up in diamond, scanned in
  // the steps the files keep (0.01 degree) over the whole search range, each
  // point traced by an analyser of its own.
  const Design start = Opened("RoundBrilliant.brl");
  OptimizeSettings settings;
  settings.variables = {{DesignSide::Pavilion, 1, VariedQuantity::Slope}};
  settings.merit = FaceUp();
  settings.rangeDegrees = 1.5;
  const double startSlope = start.PavilionSteps[1].Angle;
  const std::vector<int> startFacets = FacetsByStep(Built(start));

  LightAnalyzer analyzer;
  double bestMerit = -1, bestSlope = 0;
  for (int k = -150; k <= 150; ++k) {
    Design d = start;
    d.PavilionSteps[1].Angle = startSlope + k * 0.01;
    const Stone stone = Built(d);
    if (FacetsByStep(stone) != startFacets) continue;
    const LightFigures f = analyzer.Analyze(stone, IdentityFrame(), settings.merit.analysis);
    const double merit = (f.Iso + f.Cos + f.Sc2) / 3;
    if (merit > bestMerit) bestMerit = merit, bestSlope = d.PavilionSteps[1].Angle;
  }
  ASSERT_GT(bestMerit, 0);

  const OptimizeResult r = Optimize(start, settings);
  ASSERT_EQ(r.outcome, OptimizeOutcome::Finished);
  EXPECT_NEAR(r.result.judgement.merit, bestMerit, 1e-9) << "scan's best at " << bestSlope << ", found "
                                                          << r.result.values[0];
  EXPECT_NEAR(r.result.values[0], bestSlope, 0.0051);
  // On the grid the files keep.
  EXPECT_NEAR(r.result.values[0] * 100, std::round(r.result.values[0] * 100), 1e-6);
  EXPECT_LE(r.evaluations, DefaultEvaluations(1));
}

TEST(CuttingTolerance, IsTheChangeOfMeritOfEachErrorTracedAnew) {
  const Design design = Opened("RoundBrilliant.brl");
  const std::vector<DesignVariable> variables = {{DesignSide::Pavilion, 1, VariedQuantity::Slope},
                                                 {DesignSide::Crown, 2, VariedQuantity::Slope},
                                                 {DesignSide::Pavilion, 1, VariedQuantity::Position}};
  const MeritSettings merit = FaceUp();
  LightAnalyzer analyzer;
  const auto meritOf = [&](const Design& d) {
    const LightFigures f = analyzer.Analyze(Built(d), IdentityFrame(), merit.analysis);
    return (f.Iso + f.Cos + f.Sc2) / 3;
  };
  DesignJudge judge(design, merit, {}, 2);
  const double base = meritOf(design);
  const auto table = CuttingTolerances(design, variables, base, judge);
  ASSERT_TRUE(table.has_value());
  ASSERT_EQ(table->size(), variables.size());
  const auto cut = [&](int k, double by) {
    Design d = design;
    TStep& step = k == 1 ? d.CrownSteps[2] : d.PavilionSteps[1];
    (k == 2 ? step.Posit : step.Angle) += by;
    return meritOf(d) - base;
  };
  for (int k = 0; k < 3; ++k) {
    const double step = k == 2 ? 0.01 : 0.1;
    EXPECT_EQ((*table)[k].step, step);
    EXPECT_NEAR((*table)[k].minus, cut(k, -step), 1e-9) << VariableName(variables[k]);
    EXPECT_NEAR((*table)[k].plus, cut(k, step), 1e-9) << VariableName(variables[k]);
    EXPECT_NE((*table)[k].minus, 0.0) << VariableName(variables[k]);
  }
}

TEST(Optimizer, SameResultBitForBitOnOneOrTwoThreads) {
  const Design start = Opened("RoundBrilliant.brl");
  OptimizeSettings settings;
  settings.merit.tilt = 10;  // face up and four tilted views
  settings.maxEvaluations = 40;
  std::vector<OptimizeResult> runs;
  for (const int threads : {1, 2, 2}) {
    settings.threads = threads;
    runs.push_back(Optimize(start, settings));
  }
  ASSERT_TRUE(runs[0].improved);
  for (const OptimizeResult& r : runs) {
    EXPECT_EQ(r.evaluations, runs[0].evaluations);
    EXPECT_EQ(r.result.values, runs[0].result.values);
    EXPECT_EQ(r.result.judgement.merit, runs[0].result.judgement.merit);
    EXPECT_EQ(r.result.judgement.figures.leakage, runs[0].result.judgement.figures.leakage);
    ASSERT_EQ(r.tolerance.size(), runs[0].tolerance.size());
    for (std::size_t i = 0; i < r.tolerance.size(); ++i) {
      EXPECT_EQ(r.tolerance[i].minus, runs[0].tolerance[i].minus);
      EXPECT_EQ(r.tolerance[i].plus, runs[0].tolerance[i].plus);
    }
  }
}

TEST(Optimizer, KeepsTheStructureOfRandomDesignsAndItsResultReopensToTheSameStone) {
  std::mt19937 random(26);
  int searched = 0, improved = 0;
  while (searched < 6) {
    // As a design file keeps it, the way a cutter's designs reach the optimizer.
    const Design drawn = testing::RandomDesign(random);
    if (!testing::WellConditioned(drawn)) continue;
    const DesignReadResult kept = ReadDesignText(DesignFileText(drawn, 2.42, "", ""));
    ASSERT_TRUE(kept.ok()) << kept.error;
    EditorObserver quiet;
    const Design start = StepEditor(kept.design, quiet).CurrentDesign();
    const Stone startStone = Built(start);
    if (startStone.AllFacets.empty()) continue;
    std::vector<DesignVariable> all = AllVariables(start);
    std::shuffle(all.begin(), all.end(), random);
    all.resize(std::min<std::size_t>(all.size(), 3));
    OptimizeSettings settings;
    settings.variables = all;
    settings.merit = FaceUp();
    settings.maxEvaluations = 24;
    const OptimizeResult r = Optimize(start, settings);
    ASSERT_EQ(r.outcome, OptimizeOutcome::Finished);
    ++searched;
    improved += r.improved ? 1 : 0;
    const Stone result = Built(r.result.design);
    EXPECT_EQ(FacetsByStep(result), FacetsByStep(startStone)) << "design " << searched;

    const DesignReadResult read = ReadDesignText(DesignFileText(r.result.design, 2.42, "", ""));
    ASSERT_TRUE(read.ok()) << read.error;
    const Stone reopened = Built(read.design);
    ASSERT_EQ(reopened.AllVertices.size(), result.AllVertices.size());
    for (std::size_t i = 0; i < result.AllVertices.size(); ++i) {
      EXPECT_NEAR(reopened.AllVertices[i].x, result.AllVertices[i].x, 1e-9);
      EXPECT_NEAR(reopened.AllVertices[i].y, result.AllVertices[i].y, 1e-9);
      EXPECT_NEAR(reopened.AllVertices[i].z, result.AllVertices[i].z, 1e-9);
    }
    // Every value stays in its search range.
    for (std::size_t i = 0; i < all.size(); ++i) {
      const ValueRange range = SearchRange(start, all[i], settings.rangeDegrees);
      EXPECT_GE(r.result.values[i], range.low - 1e-9);
      EXPECT_LE(r.result.values[i], range.high + 1e-9);
    }
  }
  EXPECT_GE(improved, 3) << "most random designs have a better neighbour";
}

TEST(Optimizer, KeepsTheLimitsAndRefusesAStartThatBreaksThem) {
  const Design start = Opened("RoundBrilliant.brl");
  OptimizeSettings settings;
  settings.merit = FaceUp();
  settings.maxEvaluations = 40;
  const OptimizeResult free = Optimize(start, settings);
  const double startCrown = CrownPercent(Built(start));
  const double freeCrown = CrownPercent(Built(free.result.design));
  ASSERT_GT(std::abs(freeCrown - startCrown), 0.2) << "the free optimum should change the crown";

  // A limit on the crown's height between the start and the free optimum
  // binds: the result keeps it and is worth less than the free optimum.
  const double between = (startCrown + freeCrown) / 2;
  (freeCrown > startCrown ? settings.limits.maxCrownHeight : settings.limits.minCrownHeight) = between;
  const OptimizeResult held = Optimize(start, settings);
  ASSERT_EQ(held.outcome, OptimizeOutcome::Finished);
  EXPECT_TRUE(held.improved);
  const double heldCrown = CrownPercent(Built(held.result.design));
  if (freeCrown > startCrown) {
    EXPECT_LE(heldCrown, between);
  } else {
    EXPECT_GE(heldCrown, between);
  }
  EXPECT_LT(held.result.judgement.merit, free.result.judgement.merit);

  settings.limits = {};
  const double startDepth = DepthPercent(Built(start));
  // A limit the start breaks: nothing is searched, and the reason is said.
  settings.limits.maxTotalDepth = startDepth - 1;
  const OptimizeResult refused = Optimize(start, settings);
  EXPECT_EQ(refused.outcome, OptimizeOutcome::InfeasibleStart);
  EXPECT_FALSE(refused.improved);
  EXPECT_EQ(refused.evaluations, 1);
  ASSERT_TRUE(refused.start.judgement.infeasible.has_value());
  EXPECT_NE(refused.start.judgement.infeasible->find("depth"), std::string::npos)
      << *refused.start.judgement.infeasible;
  EXPECT_EQ(refused.result.values, refused.start.values);
}

}  // namespace
}  // namespace brillora
