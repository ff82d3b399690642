#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <set>
#include <random>
#include <thread>

#include "light/illumination_model.h"
#include "model/default_design.h"
#include "model/facet_construction.h"
#include "trace/plane_geometry.h"
#include "trace/ray_tracer.h"
#include "trace_fixtures.h"

namespace brillora {
namespace {

constexpr int kHalfWidth = 224, kHalfHeight = 232;  // a 450 x 467 picture

Stone DefaultStone() {
  Design design = DefaultDesign();
  return ConstructStone(design);
}

const Race& Root(const Race& beam) {
  const Race* r = &beam;
  while (r->Parent != nullptr) r = r->Parent;
  return *r;
}

double ProjectedHullArea(const Stone& stone, const Frame& view) {
  std::vector<testing::Point2> points;
  for (const TVertex& v : stone.AllVertices) {
    points.push_back({RowDot(view, 0, v.x, v.y, v.z), RowDot(view, 1, v.x, v.y, v.z)});
  }
  return testing::ConvexHullArea(points);
}

struct Render {
  RayTracer tracer;
  ArrayOfFOS polygons;
  IlluminationModel light;
  Render() = default;
  explicit Render(std::size_t beamCap) : tracer(beamCap) {}
};

void Trace(Render& r, const Stone& stone, const Frame& view, int maxLevel, const TraceOptions& options = {}) {
  r.tracer.RayTrace(stone, view, r.polygons, maxLevel, kHalfWidth, kHalfHeight, options, r.light);
}

TEST(RayTrace, DefaultCrownViewHasSeventeenEntryBeams) {
  const Stone stone = DefaultStone();
  // At MaxLevel 0 every sub-beam is finished as soon as it is made, so the
  // store holds the 17 entry beams, the record left unused after them, and one
  // record per finished beam that has a parent.
  Render shallow;
  Trace(shallow, stone, IdentityFrame(), 0);
  EXPECT_EQ(shallow.tracer.Level0Beams().size(), 17u);
  std::size_t subBeams = 0;
  for (const FasetOnScreen& p : shallow.polygons) subBeams += p.Beam->Parent != nullptr ? 1 : 0;
  EXPECT_GT(subBeams, 17u);
  EXPECT_EQ(shallow.tracer.StoreUsed(), 17u + 1u + subBeams);
  // Deeper, the store holds at least every beam on the way to a finished one.
  Render r;
  Trace(r, stone, IdentityFrame(), 12);
  EXPECT_EQ(r.tracer.Level0Beams().size(), 17u);
  EXPECT_GT(r.polygons.size(), shallow.polygons.size());
  std::set<const Race*> made;
  for (const FasetOnScreen& p : r.polygons) {
    for (const Race* c = p.Beam; c->Parent != nullptr; c = c->Parent) made.insert(c);
  }
  EXPECT_GE(r.tracer.StoreUsed(), 17u + 1u + made.size());
}

TEST(RayTrace, NonTransparentGivesOneBeamPerVisibleFacetInFacetOrder) {
  const Stone stone = DefaultStone();
  std::mt19937 random(17);
  for (int trial = 0; trial < 20; ++trial) {
    const Frame view = testing::RandomView(random);
    Render r;
    Trace(r, stone, view, -1);
    std::vector<const TFacet*> visible;
    for (const TFacet& f : stone.AllFacets) {
      if (RowDot(view, 2, f.Nx, f.Ny, f.Nz) >= 0.001) visible.push_back(&f);
    }
    ASSERT_EQ(r.polygons.size(), visible.size());
    EXPECT_EQ(r.tracer.StoreUsed(), visible.size() + 1);
    for (std::size_t i = 0; i < visible.size(); ++i) {
      const Race& b = *r.polygons[i].Beam;
      EXPECT_EQ(b.Facet, visible[i]);
      EXPECT_EQ(r.polygons[i].Step, visible[i]->Step);
      const double c = RowDot(view, 2, b.Facet->Nx, b.Facet->Ny, b.Facet->Nz);
      EXPECT_EQ(b.Dir.z, c);
      EXPECT_EQ(r.polygons[i].Color.R, c);  // shaded by the cosine alone
    }
  }
}

TEST(RayTrace, ReflectedFinishesEveryEntryBeamAtOnce) {
  const Stone stone = DefaultStone();
  Render r;
  TraceOptions options;
  options.Reflected = true;
  Trace(r, stone, IdentityFrame(), 0, options);
  ASSERT_EQ(r.polygons.size(), 17u);
  ASSERT_EQ(r.polygons.size(), r.tracer.Level0Beams().size());
  for (const FasetOnScreen& p : r.polygons) {
    EXPECT_EQ(p.Beam->Parent, nullptr);
    EXPECT_EQ(p.Beam->OutLight, 1.0);
    EXPECT_EQ(p.Beam->InLight, 0.0);
  }
}

TEST(RayTrace, WithoutSurfaceReflectionsAllLightEnters) {
  const Stone stone = DefaultStone();
  Render r;
  TraceOptions options;
  options.SurfaceRefl = false;
  Trace(r, stone, IdentityFrame(), 3, options);
  ASSERT_EQ(r.tracer.Level0Beams().size(), 17u);
  for (const Race* b : r.tracer.Level0Beams()) {
    EXPECT_EQ(b->OutLight, 0.0);
    EXPECT_EQ(b->InLight, 1.0);
  }
}

TEST(RayTrace, DepthIsLimitedByMaxLevel) {
  const Stone stone = DefaultStone();
  for (int maxLevel = 0; maxLevel <= 12; maxLevel += 3) {
    Render r;
    Trace(r, stone, IdentityFrame(), maxLevel);
    EXPECT_LE(r.tracer.MaxLevelReached(), maxLevel + 1);
    for (const FasetOnScreen& p : r.polygons) EXPECT_LE(p.Beam->Level, maxLevel + 1);
  }
  Render shallow;
  Trace(shallow, stone, IdentityFrame(), 0);
  EXPECT_EQ(shallow.tracer.MaxLevelReached(), 1);
}

TEST(RayTrace, OnlyBeamsWithLightEnoughAreCut) {
  // A beam of level L is cut only while it carries at least 0.01 (L + 3) of the
  // light: 0.03 at level 0, 0.04 at level 1. Every parent of a finished beam was
  // cut, so each must pass the limit of its level, and a finished beam is never
  // also a parent.
  std::mt19937 random(31);
  for (const auto& sample : testing::SampleStones()) {
    Render r;
    TraceOptions options;
    options.RefractiveIndex = sample.refractiveIndex;
    Trace(r, sample.stone, testing::RandomView(random), 12, options);
    std::set<const Race*> finished, parents;
    for (const FasetOnScreen& p : r.polygons) finished.insert(p.Beam);
    for (const FasetOnScreen& p : r.polygons) {
      for (const Race* c = p.Beam->Parent; c != nullptr; c = c->Parent) parents.insert(c);
    }
    EXPECT_FALSE(parents.empty());
    for (const Race* parent : parents) {
      EXPECT_GE(parent->InLight, 0.01 * (parent->Level + 3)) << sample.name;
      EXPECT_EQ(finished.count(parent), 0u);
    }
  }
}

// The laws every render obeys, on one stone and view.
void ExpectConservation(const testing::SampleStone& sample, const Frame& view, int maxLevel,
                        double maxLost = 0.02, std::size_t beamCap = RayTracer::kBeamCap) {
  SCOPED_TRACE(sample.name);
  Render r(beamCap);
  TraceOptions options;
  options.RefractiveIndex = sample.refractiveIndex;
  Trace(r, sample.stone, view, maxLevel, options);

  // The entry beams tile the stone's outline.
  double entryArea = 0;
  std::map<const Race*, double> rootArea, coveredArea;
  for (const Race* b : r.tracer.Level0Beams()) {
    const double a = trace::TwiceArea(b->Points) / 2;
    entryArea += a;
    rootArea[b] = a;
  }
  const double hull = ProjectedHullArea(sample.stone, view);
  EXPECT_NEAR(entryArea, hull, 2e-3 * hull + 1e-9);

  for (const FasetOnScreen& p : r.polygons) {
    const Race& b = *p.Beam;
    ASSERT_GE(b.Points.size(), 3u);
    // Light is conserved along the chain of every point of the picture.
    double sum = b.InLight;
    for (const Race* c = &b; c != nullptr; c = c->Parent) sum += c->OutLight;
    EXPECT_NEAR(sum, 1.0, 1e-9);
    EXPECT_TRUE(std::isfinite(p.Color.R) && std::isfinite(p.Color.G) && std::isfinite(p.Color.B));
    EXPECT_GE(p.Color.R, 0.0);
    EXPECT_LE(p.Color.R, 1.0 + 1e-9);
    for (const FlatPoint* q : b.Points) ASSERT_TRUE(std::isfinite(q->X) && std::isfinite(q->Y));
    coveredArea[&Root(b)] += trace::TwiceArea(b.Points) / 2;
  }
  // The finished beams below an entry beam cover it, up to the small and thin
  // pieces that were dropped. They overlap only by the slivers where a built
  // stone's corners stand off their planes (by up to the construction's
  // same-point distance), so that neighbouring facets overlap in projection.
  double lost = 0, total = 0;
  for (const auto& [root, area] : rootArea) {
    const double covered = coveredArea[root];
    EXPECT_LE(covered, area * 1.01 + 1e-9);
    lost += area - covered;
    total += area;
  }
  EXPECT_LT(lost, maxLost * total);
}

TEST(Conservation, HoldsOnEverySampleDesignInManyViews) {
  std::mt19937 random(2024);
  for (const auto& sample : testing::SampleStones()) {
    ExpectConservation(sample, IdentityFrame(), 12);
    for (int trial = 0; trial < 12; ++trial) ExpectConservation(sample, testing::RandomView(random), trial % 2 ? 4 : 12);
  }
}

TEST(Conservation, HoldsOnRandomDesignsInRandomViews) {
  std::mt19937 random(99);
  for (const auto& sample : testing::RandomStones(random, 25)) {
    for (int trial = 0; trial < 4; ++trial) ExpectConservation(sample, testing::RandomView(random), 12);
  }
}

TEST(Capacity, NinetySixCornerTableRendersCompletely) {
  const Stone stone = testing::RoundStone(96);
  ASSERT_EQ(stone.AllFacets.back().Points.size(), 96u);
  std::mt19937 random(48);
  ExpectConservation({"round 96", stone, 2.42}, IdentityFrame(), 12);
  Render r;
  Trace(r, stone, IdentityFrame(), 12);
  // More than the 500 entry beams, 16001 records or 8000 finished beams that a
  // fixed table would hold are no problem either.
  EXPECT_EQ(r.tracer.Level0Beams().size(), 96u + 1u);
  for (int trial = 0; trial < 6; ++trial) ExpectConservation({"round 96", stone, 2.42}, testing::RandomView(random), 12);
}

TEST(Capacity, ManyFacetsBeyondTheOldTables) {
  const Stone stone = testing::RoundStone(600);
  Render r;
  Trace(r, stone, IdentityFrame(), 12);
  EXPECT_EQ(r.tracer.Level0Beams().size(), 601u);
  // Its 600 crown facets are slivers that the thinness limit drops in part.
  ExpectConservation({"round 600", stone, 2.42}, IdentityFrame(), 12, 0.15);
}

TEST(BeamCap, RealStonesStayFarBelowIt) {
  // Under the cap the tracer works as if it had none: every sample, deep and
  // turned, gives the beams of a tracer without a cap.
  std::mt19937 random(12);
  for (const auto& sample : testing::SampleStones()) {
    TraceOptions options;
    options.RefractiveIndex = sample.refractiveIndex;
    for (int trial = 0; trial < 4; ++trial) {
      const Frame view = trial == 0 ? IdentityFrame() : testing::RandomView(random);
      Render capped, unbounded(std::numeric_limits<std::size_t>::max());
      Trace(capped, sample.stone, view, 12, options);
      Trace(unbounded, sample.stone, view, 12, options);
      EXPECT_FALSE(capped.tracer.CutShort()) << sample.name;
      EXPECT_LT(capped.tracer.StoreUsed(), RayTracer::kBeamCap / 4) << sample.name;
      ASSERT_EQ(capped.polygons.size(), unbounded.polygons.size());
      for (std::size_t i = 0; i < capped.polygons.size(); ++i) {
        const auto& a = capped.polygons[i].Polygon;
        const auto& b = unbounded.polygons[i].Polygon;
        ASSERT_EQ(a.size(), b.size());
        for (std::size_t k = 0; k < a.size(); ++k) {
          EXPECT_EQ(a[k].X, b[k].X);
          EXPECT_EQ(a[k].Y, b[k].Y);
        }
        EXPECT_EQ(capped.polygons[i].Color.R, unbounded.polygons[i].Color.R);
      }
    }
  }
}

TEST(BeamCap, BeamsPastItAreFinishedAsTheyAre) {
  // With a cap far below a stone's count no cut starts once it is reached, and
  // the beams still waiting are finished: no light is lost along any chain
  // and the finished beams still cover the picture.
  std::mt19937 random(77);
  for (const auto& sample : testing::SampleStones()) {
    TraceOptions options;
    options.RefractiveIndex = sample.refractiveIndex;
    const Frame view = testing::RandomView(random);
    Render full;
    Trace(full, sample.stone, view, 12, options);
    ASSERT_FALSE(full.tracer.CutShort());
    for (const std::size_t cap :
         {std::size_t{0}, full.tracer.StoreUsed() / 5, full.tracer.StoreUsed() / 2}) {
      SCOPED_TRACE(cap);
      Render r(cap);
      Trace(r, sample.stone, view, 12, options);
      EXPECT_TRUE(r.tracer.CutShort());
      // The cut under way when the cap is reached adds at most one piece per facet.
      EXPECT_LE(r.tracer.StoreUsed(),
                std::max(cap, r.tracer.Level0Beams().size() + 1) + sample.stone.AllFacets.size());
      EXPECT_LT(r.polygons.size(), full.polygons.size());
      ExpectConservation(sample, view, 12, 0.02, cap);
    }
    // Without any cut, only the entry beams are finished, and they still
    // cover the stone's outline.
    Render none(0);
    Trace(none, sample.stone, view, 12, options);
    ASSERT_FALSE(none.polygons.empty());
    double covered = 0;
    for (const FasetOnScreen& p : none.polygons) {
      EXPECT_EQ(p.Beam->Parent, nullptr);
      covered += trace::TwiceArea(p.Beam->Points) / 2;
    }
    const double outline = ProjectedHullArea(sample.stone, view);
    EXPECT_NEAR(covered, outline, 2e-3 * outline);
  }
}

TEST(BeamCap, ABrokenStoneIsCutShort) {
  // Every facet twice over, as a construction gone wrong could leave them:
  // each cut then makes every piece twice, and the beams double at every
  // level, 2.75 million of them in full.
  Stone stone = DefaultStone();
  const std::size_t facets = stone.AllFacets.size();
  for (std::size_t i = 0; i < facets; ++i) stone.AllFacets.push_back(stone.AllFacets[i]);
  Render r;
  Trace(r, stone, IdentityFrame(), 12);
  EXPECT_TRUE(r.tracer.CutShort());
  EXPECT_GE(r.tracer.StoreUsed(), RayTracer::kBeamCap);
  EXPECT_LE(r.tracer.StoreUsed(), RayTracer::kBeamCap + stone.AllFacets.size());
  for (const FasetOnScreen& p : r.polygons) {
    double sum = p.Beam->InLight;
    for (const Race* c = p.Beam; c != nullptr; c = c->Parent) sum += c->OutLight;
    ASSERT_NEAR(sum, 1.0, 1e-9);
  }
  // A new render starts afresh.
  Trace(r, DefaultStone(), IdentityFrame(), 12);
  EXPECT_FALSE(r.tracer.CutShort());
}

TEST(BeamCap, BeamsOfFarMoreCornersThanARealStoneMakesAreNotCut) {
  // The table of a 2000-gon is one entry beam of 2000 corners.
  const Stone stone = testing::RoundStone(2000);
  Render r;
  Trace(r, stone, IdentityFrame(), 12);
  EXPECT_TRUE(r.tracer.CutShort());
  const Race* table = nullptr;
  for (const FasetOnScreen& p : r.polygons) {
    if (p.Beam->Points.size() == 2000) table = p.Beam;
  }
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(table->Parent, nullptr);
}

TEST(RayTrace, RenderingAgainGivesTheSameBeams) {
  const Stone stone = testing::SampleStones().back().stone;
  Render r;
  std::mt19937 random(4);
  const Frame view = testing::RandomView(random);
  Trace(r, stone, view, 12);
  std::vector<std::pair<double, double>> first;
  for (const auto& p : r.polygons) first.push_back({p.Beam->Points[0]->X, p.Beam->InLight});
  ASSERT_FALSE(first.empty());
  Trace(r, stone, testing::RandomView(random), 12);  // something else in between
  Trace(r, stone, view, 12);
  ASSERT_EQ(r.polygons.size(), first.size());
  for (std::size_t i = 0; i < first.size(); ++i) {
    EXPECT_EQ(r.polygons[i].Beam->Points[0]->X, first[i].first);
    EXPECT_EQ(r.polygons[i].Beam->InLight, first[i].second);
  }
}

TEST(RayTrace, TwoTracersInTwoThreadsDoNotInterfere) {
  const auto samples = testing::SampleStones();
  std::mt19937 random(8);
  std::vector<Frame> views;
  for (int i = 0; i < 6; ++i) views.push_back(testing::RandomView(random));
  auto fingerprint = [&](Render& r) {
    double sum = 0;
    for (const auto& sample : samples) {
      for (const Frame& view : views) {
        Trace(r, sample.stone, view, 12);
        for (const auto& p : r.polygons) sum += p.Color.R * p.Area + p.Polygon.size();
      }
    }
    return sum;
  };
  Render alone;
  const double expected = fingerprint(alone);
  double a = 0, b = 0;
  Render ra, rb;
  std::thread ta([&] { a = fingerprint(ra); });
  std::thread tb([&] { b = fingerprint(rb); });
  ta.join();
  tb.join();
  EXPECT_EQ(a, expected);
  EXPECT_EQ(b, expected);
}

TEST(RayTrace, StoneFacingAwayGivesNothing) {
  Render r;
  const Stone empty;
  Trace(r, empty, IdentityFrame(), 12);
  EXPECT_TRUE(r.polygons.empty());
}

}  // namespace
}  // namespace brillora
