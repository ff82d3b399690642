// A stone of thousands of small facets at random slopes and gear indices: the
// cull down the facet tree may lose no facet a beam meets, and a trace of its
// light stays within its budget of work, or stops when told.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "io/gemcad_file.h"
#include "model/gemcad_design.h"
#include "support/hostile_gemcad.h"
#include "trace/beam_cutter.h"
#include "trace/plane_geometry.h"
#include "trace/ray_tracer.h"
#include "trace_fixtures.h"

namespace brillora {
namespace {

using testing::Point2;

const Stone& HostileStone() {
  static const Stone stone = [] {
    const GemCadReadResult read = ReadGemCadText(testing::HostileGemCadText(7));
    EXPECT_TRUE(read.ok()) << read.error;
    return GemCadStone(read.design);
  }();
  return stone;
}

// Every facet facing away from a beam whose outline, projected, overlaps the
// beam by more than a rounding makes a piece, and the pieces tile the beam:
// checked against each facet clipped on its own, not through the tree.
TEST(FacetTree, TheCullLosesNoFacetABeamMeets) {
  const Stone& stone = HostileStone();
  ASSERT_GT(stone.AllFacets.size(), 4000u);
  std::mt19937 random(11);
  std::uniform_real_distribution<double> u(-1, 1);
  BeamCutter cutter;
  cutter.Prepare(stone);
  for (int trial = 0; trial < 12; ++trial) {
    SCOPED_TRACE(trial);
    const Frame view = testing::RandomView(random);
    const std::vector<Point2> beamPolygon =
        testing::RegularPolygon(3 + trial % 5, 0.03 + 0.1 * std::fabs(u(random)), 0.5 * u(random), 0.5 * u(random), u(random));
    PointStore store;
    std::vector<FlatPoint*> beam;
    for (const Point2& p : beamPolygon) {
      FlatPoint* point = store.New();
      point->X = p.x;
      point->Y = p.y;
      beam.push_back(point);
    }
    cutter.Cut(stone, view, beam, trace::Octagon(beam), store);
    std::vector<std::size_t> cut;
    double covered = 0, allowed = 1e-9;
    for (const CutPiece& piece : cutter.Pieces()) {
      cut.push_back(static_cast<std::size_t>(piece.Facet - stone.AllFacets.data()));
      std::vector<Point2> polygon;
      for (const FlatPoint* p : piece.Points) polygon.push_back({p->X, p->Y});
      covered += testing::PolygonArea(polygon);
      // Corners closer than 0.001 merge, which may shave a sliver off a piece.
      for (std::size_t k = 0; k < polygon.size(); ++k) {
        const Point2& a = polygon[k];
        const Point2& b = polygon[(k + 1) % polygon.size()];
        allowed += 0.001 * std::hypot(b.x - a.x, b.y - a.y);
      }
    }
    EXPECT_NEAR(covered, testing::PolygonArea(beamPolygon), allowed);
    for (std::size_t i = 0; i < stone.AllFacets.size(); ++i) {
      const TFacet& facet = stone.AllFacets[i];
      if (facet.Points.size() < 3 || -RowDot(view, 2, facet.Nx, facet.Ny, facet.Nz) < 0.01) continue;
      std::vector<Point2> outline;
      for (const int v : facet.Points) {
        const TVertex& p = stone.AllVertices[static_cast<std::size_t>(v)];
        outline.push_back({RowDot(view, 0, p.x, p.y, p.z), RowDot(view, 1, p.x, p.y, p.z)});
      }
      // Corners facing away from the viewer run the other way round.
      if (testing::PolygonArea(outline) < 0) std::reverse(outline.begin(), outline.end());
      const double overlap = testing::PolygonArea(testing::ClipConvex(beamPolygon, outline));
      if (overlap > 1e-6) {
        EXPECT_NE(std::find(cut.begin(), cut.end(), i), cut.end()) << "facet " << i;
      }
    }
  }
}

TEST(FollowedLight, ATraceKeepsWithinItsBudgetOfWork) {
  const Stone& stone = HostileStone();
  RayTracer tracer;
  TraceOptions options;
  options.RefractiveIndex = 2.42;
  options.LightCutoff = 1e-6;
  options.WorkBudget = 1e6;
  tracer.Trace(stone, IdentityFrame(), 8, options);
  EXPECT_FALSE(tracer.Abandoned());
  // The budget is looked at before each beam, so it is passed by at most one
  // beam's cut, which on this stone is far less than a tenth of it.
  EXPECT_GE(tracer.WorkDone(), options.WorkBudget);
  EXPECT_LT(tracer.WorkDone(), 1.1 * options.WorkBudget);
  // The light left waiting is finished as it is, before the depth.
  const auto waiting = std::count_if(tracer.ExitBeams().begin(), tracer.ExitBeams().end(), [&](const Race* b) {
    return b->Level < 9 && b->InLight >= options.LightCutoff;
  });
  EXPECT_GT(waiting, 0);

  // Without a budget the same trace goes on, and a stop ends it.
  int asked = 0;
  options.WorkBudget = 0;
  options.Stop = [&] { return ++asked == 5; };
  tracer.Trace(stone, IdentityFrame(), 8, options);
  EXPECT_TRUE(tracer.Abandoned());
  EXPECT_EQ(asked, 5);
}

}  // namespace
}  // namespace brillora
