#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

#include "light/illumination_model.h"
#include "model/default_design.h"
#include "model/facet_construction.h"
#include "trace/ray_tracer.h"
#include "trace/screen_mapping.h"
#include "view/point_in_beam.h"
#include "view/screen_scale.h"

namespace brillora {
namespace {

Stone DefaultStone() {
  Design design = DefaultDesign();
  return ConstructStone(design);
}

TEST(PointInBeam, InsideASquareOnly) {
  FlatPoint a{0, 0}, b{1, 0}, c{1, 1}, d{0, 1};
  const std::vector<FlatPoint*> square{&a, &b, &c, &d};
  EXPECT_TRUE(PointInBeam(square, FlatPoint{0.5, 0.5}));
  EXPECT_TRUE(PointInBeam(square, FlatPoint{0.9, 0.1}));
  EXPECT_FALSE(PointInBeam(square, FlatPoint{1.5, 0.5}));   // beside: no edge crossed
  EXPECT_FALSE(PointInBeam(square, FlatPoint{0.5, 1.5}));   // above
  EXPECT_FALSE(PointInBeam(square, FlatPoint{0.5, -0.5}));  // below
  EXPECT_FALSE(PointInBeam({&a, &b}, FlatPoint{0.5, 0.0}));  // no area
  // The same square turning the other way, as a beam met once inside the stone.
  const std::vector<FlatPoint*> reversed{&d, &c, &b, &a};
  EXPECT_TRUE(PointInBeam(reversed, FlatPoint{0.5, 0.5}));
  EXPECT_TRUE(PointInBeam(reversed, FlatPoint{0.9, 0.1}));
  EXPECT_FALSE(PointInBeam(reversed, FlatPoint{1.5, 0.5}));
  EXPECT_FALSE(PointInBeam(reversed, FlatPoint{0.5, 1.5}));
  EXPECT_FALSE(PointInBeam(reversed, FlatPoint{0.5, -0.5}));
}

TEST(PointInBeam, FacetBeamsContainTheirCentres) {
  const Stone stone = DefaultStone();
  IlluminationModel light;
  RayTracer tracer;
  ArrayOfFOS screen;
  tracer.RayTrace(stone, IdentityFrame(), screen, -1, 224, 232, TraceOptions{}, light);
  ASSERT_EQ(screen.size(), 17u);
  // The tracer's corner order is the one in which the inside test holds.
  for (const FasetOnScreen& polygon : screen) {
    FlatPoint centre{0, 0};
    const double n = static_cast<double>(polygon.Beam->Points.size());
    for (const FlatPoint* p : polygon.Beam->Points) {
      centre.X += p->X / n;
      centre.Y += p->Y / n;
    }
    EXPECT_TRUE(PointInBeam(polygon.Beam->Points, centre));
  }
}

TEST(PolygonAt, TakesTheFirstInListOrder) {
  FlatPoint a{0, 0}, b{2, 0}, c{2, 2}, d{0, 2}, e{1, 1}, f{3, 1}, g{3, 3}, h{1, 3};
  Race low, high;
  low.Points = {&a, &b, &c, &d};
  high.Points = {&e, &f, &g, &h};
  ArrayOfFOS polygons(2);
  polygons[0].Beam = &low;
  polygons[1].Beam = &high;
  EXPECT_EQ(PolygonAt(polygons, FlatPoint{1.5, 1.5}), &polygons[0]);  // in both
  EXPECT_EQ(PolygonAt(polygons, FlatPoint{2.5, 2.5}), &polygons[1]);
  EXPECT_EQ(PolygonAt(polygons, FlatPoint{0.5, 2.5}), nullptr);
}

// Without tracing, the facet seen at a point of the screen is, for a convex
// stone, the facing plane that bounds the stone's depth there most tightly;
// the point lies within the outline when no plane facing away bounds it
// tighter still.
struct SeenFacet {
  int facet = -1;    // -1 outside the outline
  double margin = 0;  // how clearly: the depth gap to the runner-up
};

SeenFacet FacetSeenAt(const Stone& stone, double x, double y) {
  double nearest = std::numeric_limits<double>::infinity(), second = nearest;
  double farthest = -nearest;
  int facet = -1;
  double beyondSide = -nearest;  // how far past an upright facet's plane (x, y) lies
  for (std::size_t i = 0; i < stone.AllFacets.size(); ++i) {
    const TFacet& f = stone.AllFacets[i];
    if (std::abs(f.Nz) < 1e-9) {
      beyondSide = std::max(beyondSide, f.Nx * x + f.Ny * y - f.D);
      continue;
    }
    const double z = (f.D - f.Nx * x - f.Ny * y) / f.Nz;
    if (f.Nz > 0) {
      if (z < nearest) {
        second = nearest;
        nearest = z;
        facet = static_cast<int>(i);
      } else {
        second = std::min(second, z);
      }
    } else {
      farthest = std::max(farthest, z);
    }
  }
  if (beyondSide > 0) return {-1, beyondSide};
  if (farthest > nearest) return {-1, farthest - nearest};
  return {facet, std::min({second - nearest, nearest - farthest, -beyondSide})};
}

TEST(PolygonAt, PicksTheFacetSeenUnderThePixel) {
  const Stone stone = DefaultStone();
  IlluminationModel light;
  RayTracer tracer;
  ArrayOfFOS screen;
  const ScreenScale scale = FastScale(450, 467);
  tracer.RayTrace(stone, IdentityFrame(), screen, -1, scale.Scale, scale.CentreY, TraceOptions{}, light);
  std::mt19937 random(11);
  std::uniform_int_distribution<int> column(0, 449), row(0, 466);
  int inside = 0, outside = 0;
  for (int trial = 0; trial < 3000; ++trial) {
    const FlatPoint q = PixelToView(column(random), row(random), scale.Scale, scale.CentreY);
    const SeenFacet seen = FacetSeenAt(stone, q.X, q.Y);
    if (seen.margin < 1e-6) continue;  // on an edge either side is right
    const FasetOnScreen* picked = PolygonAt(screen, q);
    if (seen.facet < 0) {
      EXPECT_EQ(picked, nullptr) << q.X << ", " << q.Y;
      ++outside;
      continue;
    }
    ASSERT_NE(picked, nullptr) << q.X << ", " << q.Y;
    EXPECT_EQ(picked->Beam->Facet, &stone.AllFacets[static_cast<std::size_t>(seen.facet)]) << q.X << ", " << q.Y;
    ++inside;
  }
  EXPECT_GT(inside, 1000);
  EXPECT_GT(outside, 300);
}

}  // namespace
}  // namespace brillora
