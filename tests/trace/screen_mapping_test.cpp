#include <gtest/gtest.h>

#include <random>

#include "light/illumination_model.h"
#include "model/default_design.h"
#include "model/facet_construction.h"
#include "trace/ray_tracer.h"
#include "trace/screen_mapping.h"
#include "trace_fixtures.h"

namespace brillora {
namespace {

TEST(ScreenMapping, RoundsHalvesToEven) {
  EXPECT_EQ(ToPixel(2.5), 2);
  EXPECT_EQ(ToPixel(3.5), 4);
  EXPECT_EQ(ToPixel(-0.5), 0);
  EXPECT_EQ(ToPixel(10.49), 10);
  EXPECT_EQ(ToPixel(std::nan("")), 0);
  EXPECT_GT(ToPixel(1e300), 1 << 29);
}

TEST(ScreenMapping, ViewXFromMinusOneToOneSpansTheColumns) {
  PointStore store;
  FlatPoint* left = store.New();
  left->X = -1;
  left->Y = 0;
  FlatPoint* right = store.New();
  right->X = 1;
  right->Y = 0.5;
  MapPointsToScreen(store, 224, 232);
  EXPECT_EQ(left->ScreenX, 0);
  EXPECT_EQ(left->ScreenY, 232);
  EXPECT_EQ(right->ScreenX, 448);
  EXPECT_EQ(right->ScreenY, 344);
}

TEST(ScreenMapping, PixelToViewUndoesTheMapping) {
  // The picture window's 450 x 467: 224 pixels a view unit, row 232 in the middle.
  const FlatPoint centre = PixelToView(224, 232, 224, 232);
  EXPECT_EQ(centre.X, 0.0);
  EXPECT_EQ(centre.Y, 0.0);
  const FlatPoint left = PixelToView(0, 344, 224, 232);
  EXPECT_EQ(left.X, -1.0);
  EXPECT_EQ(left.Y, 0.5);
  EXPECT_EQ(PixelToView(448, 0, 224, 232).X, 1.0);
  // Mapped again, every pixel lands on itself, for any size.
  std::mt19937 random(3);
  PointStore store;
  std::vector<std::pair<int, int>> pixels;
  for (const auto& [scale, centreY] : {std::pair{224, 232}, {1, 1}, {1120, 1163}, {4499, 20}}) {
    store.Clear();
    pixels.clear();
    std::uniform_int_distribution<int> x(-10, 2 * scale + 10), y(-10, 2 * centreY + 10);
    for (int i = 0; i < 200; ++i) {
      pixels.emplace_back(x(random), y(random));
      *store.New() = PixelToView(pixels.back().first, pixels.back().second, scale, centreY);
    }
    MapPointsToScreen(store, scale, centreY);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
      EXPECT_EQ(store[i].ScreenX, pixels[i].first) << scale;
      EXPECT_EQ(store[i].ScreenY, pixels[i].second) << scale;
    }
  }
}

TEST(ScreenMapping, CornersOnTheSamePixelAppearOnce) {
  PointStore store;
  Race beam;
  for (auto [x, y] : {std::pair{0.0, 0.0}, {0.001, 0.0}, {0.5, 0.0}, {0.5, 0.5}, {0.001, 0.001}}) {
    FlatPoint* p = store.New();
    p->X = x;
    p->Y = y;
    beam.Points.push_back(p);
  }
  MapPointsToScreen(store, 100, 100);
  std::vector<ScreenPoint> polygon;
  ScreenPolygon(beam, polygon);
  // The second corner merges with the first; the last is not compared with the first.
  ASSERT_EQ(polygon.size(), 4u);
  EXPECT_EQ(polygon.back().X, polygon.front().X);

  // A small beam may end with fewer than three screen corners.
  Race small;
  for (auto [x, y] : {std::pair{0.0, 0.0}, {0.3, 0.0}, {0.3, 0.3}}) {
    FlatPoint* p = store.New();
    p->X = x;
    p->Y = y;
    small.Points.push_back(p);
  }
  MapPointsToScreen(store, 1, 1);
  ScreenPolygon(small, polygon);
  EXPECT_EQ(polygon.size(), 1u);
}

TEST(ScreenMapping, SecondMappingLeavesTheFirstIntact) {
  Design design = DefaultDesign();
  const Stone stone = ConstructStone(design);
  IlluminationModel light;
  RayTracer tracer;
  ArrayOfFOS first, second;
  std::mt19937 random(1);
  tracer.RayTrace(stone, testing::RandomView(random), first, 12, 224, 232, {}, light);
  const ArrayOfFOS before = first;
  tracer.BeamsToScreenCopy(1120, 1163, first, second);
  ASSERT_EQ(second.size(), first.size());
  bool anyDifferent = false;
  for (std::size_t i = 0; i < first.size(); ++i) {
    EXPECT_EQ(second[i].Beam, first[i].Beam);
    EXPECT_EQ(second[i].Color.R, first[i].Color.R);
    ASSERT_EQ(first[i].Polygon.size(), before[i].Polygon.size());
    for (std::size_t j = 0; j < first[i].Polygon.size(); ++j) {
      EXPECT_EQ(first[i].Polygon[j].X, before[i].Polygon[j].X);
    }
    // The points still agree with the first mapping.
    std::vector<ScreenPoint> again;
    ScreenPolygon(*first[i].Beam, again);
    ASSERT_EQ(again.size(), first[i].Polygon.size());
    for (std::size_t j = 0; j < again.size(); ++j) EXPECT_EQ(again[j].Y, first[i].Polygon[j].Y);
    if (!second[i].Polygon.empty() && second[i].Polygon[0].X != first[i].Polygon[0].X) anyDifferent = true;
  }
  EXPECT_TRUE(anyDifferent);
}

}  // namespace
}  // namespace brillora
