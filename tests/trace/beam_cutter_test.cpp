#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "trace/beam_cutter.h"
#include "trace_fixtures.h"

namespace brillora {
namespace {

using testing::Point2;

struct CutSetup {
  Stone stone;
  PointStore store;
  std::vector<FlatPoint*> beam;
  BeamCutter cutter;

  CutSetup(const std::vector<std::vector<Point2>>& facets, const std::vector<Point2>& beamPolygon)
      : stone(testing::FlatFacets(facets)) {
    for (const Point2& p : beamPolygon) {
      FlatPoint* point = store.New();
      point->X = p.x;
      point->Y = p.y;
      beam.push_back(point);
    }
    cutter.Prepare(stone);
  }
  void Cut() { cutter.Cut(stone, IdentityFrame(), beam, trace::Octagon(beam), store); }
  std::size_t FacetIndex(const CutPiece& piece) const {
    return static_cast<std::size_t>(piece.Facet - stone.AllFacets.data());
  }
  bool InStore(const FlatPoint* p) const {
    for (std::size_t i = 0; i < store.size(); ++i) {
      if (&store[i] == p) return true;
    }
    return false;
  }
};

std::vector<Point2> AsPoints(const CutPiece& piece) {
  std::vector<Point2> polygon;
  for (const FlatPoint* p : piece.Points) polygon.push_back({p->X, p->Y});
  return polygon;
}

std::vector<Point2> Square(double x0, double y0, double x1, double y1) {
  return {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
}

TEST(BeamCutter, BeamInsideOneFacetKeepsItsOwnCorners) {
  CutSetup s({Square(-2, -2, 2, 2)}, testing::RegularPolygon(7, 0.5, 0.1, 0.2));
  s.Cut();
  ASSERT_EQ(s.cutter.Pieces().size(), 1u);
  const CutPiece& piece = s.cutter.Pieces()[0];
  EXPECT_EQ(piece.Cos, 1.0);
  EXPECT_EQ(piece.Facet, &s.stone.AllFacets[0]);
  ASSERT_EQ(piece.Points.size(), 7u);
  for (FlatPoint* p : piece.Points) EXPECT_NE(std::find(s.beam.begin(), s.beam.end(), p), s.beam.end());
  // No crossing point and no facet corner was needed.
  EXPECT_EQ(s.store.size(), 7u);
}

// Under the figures' rules a whole beam is handed on as it came; a beam
// across two facets is still cut into two sorted pieces.
TEST(BeamCutter, WholeBeamsCanKeepTheirOrder) {
  CutSetup inside({Square(-2, -2, 2, 2)}, testing::RegularPolygon(7, 0.5, 0.1, 0.2));
  const CutRules keep{1e-9, true};
  inside.cutter.Cut(inside.stone, IdentityFrame(), inside.beam, trace::Octagon(inside.beam), inside.store, keep);
  ASSERT_EQ(inside.cutter.Pieces().size(), 1u);
  EXPECT_EQ(inside.cutter.Pieces()[0].Points, inside.beam);

  CutSetup across({Square(-2, -2, 0, 2), Square(0, -2, 2, 2)}, Square(-1, -1, 1, 1));
  across.cutter.Cut(across.stone, IdentityFrame(), across.beam, trace::Octagon(across.beam), across.store, keep);
  ASSERT_EQ(across.cutter.Pieces().size(), 2u);
  for (const CutPiece& piece : across.cutter.Pieces()) {
    ASSERT_EQ(piece.Points.size(), 4u);
    EXPECT_NEAR(trace::TwiceArea(piece.Points), 4.0, 1e-12);
  }
}

TEST(BeamCutter, FacetInsideTheBeamGivesExactlyItsCornersHandedToTheStore) {
  const auto facet = testing::RegularPolygon(5, 0.3, 0.05, -0.1, 0.2);
  CutSetup s({facet}, Square(-1, -1, 1, 1));
  s.Cut();
  ASSERT_EQ(s.cutter.Pieces().size(), 1u);
  const CutPiece& piece = s.cutter.Pieces()[0];
  ASSERT_EQ(piece.Points.size(), 5u);
  EXPECT_EQ(s.store.size(), 4u + 5u);
  for (const FlatPoint* p : piece.Points) {
    EXPECT_TRUE(s.InStore(p));
    const bool isCorner = std::any_of(facet.begin(), facet.end(), [&](const Point2& q) {
      return std::fabs(q.x - p->X) < 1e-15 && std::fabs(q.y - p->Y) < 1e-15;
    });
    EXPECT_TRUE(isCorner);
  }
}

TEST(BeamCutter, NeighbouringFacetsShareTheirCrossingPoints) {
  // Two facets meet along x = 0, which crosses the beam's top and bottom edges.
  CutSetup s({Square(-2, -2, 0, 2), Square(0, -2, 2, 2)}, Square(-1, -0.5, 1, 0.5));
  s.Cut();
  ASSERT_EQ(s.cutter.Pieces().size(), 2u);
  std::vector<FlatPoint*> shared;
  for (FlatPoint* p : s.cutter.Pieces()[0].Points) {
    const auto& other = s.cutter.Pieces()[1].Points;
    if (std::find(other.begin(), other.end(), p) != other.end()) shared.push_back(p);
  }
  ASSERT_EQ(shared.size(), 2u);
  for (const FlatPoint* p : shared) {
    EXPECT_NEAR(p->X, 0, 1e-15);
    EXPECT_NEAR(std::fabs(p->Y), 0.5, 1e-15);
  }
  // Four beam corners and exactly two crossing points: none made twice.
  EXPECT_EQ(s.store.size(), 6u);
  EXPECT_NEAR(testing::PolygonArea(AsPoints(s.cutter.Pieces()[0])) + testing::PolygonArea(AsPoints(s.cutter.Pieces()[1])),
              2.0, 1e-12);
}

TEST(BeamCutter, NearlyParallelEdgesGiveNoCrossingPoint) {
  // The facet's lower edge crosses the beam's bottom edge at a slope of 1e-7: the
  // two lines are taken as parallel, so that crossing is left out.
  CutSetup s({{{-0.5, -1e-7}, {1.5, 1e-7}, {1.5, 2}, {-0.5, 2}}}, Square(0, 0, 1, 1));
  s.Cut();
  ASSERT_EQ(s.cutter.Pieces().size(), 1u);
  const auto piece = AsPoints(s.cutter.Pieces()[0]);
  // Three beam corners inside the facet and the crossing on the right edge; the
  // crossing on the bottom edge, whose lines are nearly parallel, is left out.
  EXPECT_EQ(piece.size(), 4u);
  EXPECT_EQ(s.store.size(), 5u);
  for (const Point2& p : piece) EXPECT_FALSE(p.x > 0.5 && p.y < 1e-9 && p.x < 0.999);
}

TEST(BeamCutter, FacetsOutsideTheOctagonAreNotCandidates) {
  CutSetup s({Square(5, 5, 6, 6), Square(-0.5, -0.5, 0.5, 0.5)}, Square(-1, -1, 1, 1));
  s.Cut();
  ASSERT_EQ(s.cutter.Pieces().size(), 1u);
  EXPECT_EQ(s.FacetIndex(s.cutter.Pieces()[0]), 1u);
}

double Perimeter(const std::vector<Point2>& polygon) {
  double sum = 0;
  for (std::size_t i = 0; i < polygon.size(); ++i) {
    const Point2& a = polygon[i];
    const Point2& b = polygon[(i + 1) % polygon.size()];
    sum += std::hypot(b.x - a.x, b.y - a.y);
  }
  return sum;
}

// A grid of facets under random convex beams, some with far more than 64 corners:
// each piece is the beam clipped by its facet, and the pieces tile the beam.
void ExpectPiecesTileTheBeam(int beamCorners, int facetCorners, unsigned seed) {
  SCOPED_TRACE(beamCorners);
  std::mt19937 random(seed);
  std::uniform_real_distribution<double> u(-1, 1);
  std::vector<std::vector<Point2>> facets;
  // A big polygon of facetCorners corners in the middle, ringed by quads out to a square.
  const auto centre = testing::RegularPolygon(facetCorners, 0.35, 0, 0, 0.1);
  facets.push_back(centre);
  const auto outer = testing::RegularPolygon(facetCorners, 3.0, 0, 0, 0.1);
  for (int i = 0; i < facetCorners; ++i) {
    const int j = (i + 1) % facetCorners;
    facets.push_back({centre[i], outer[i], outer[j], centre[j]});
  }
  const auto beamPolygon = testing::RegularPolygon(beamCorners, 0.5 + 0.3 * std::fabs(u(random)), 0.2 * u(random),
                                                   0.2 * u(random), u(random));
  CutSetup s(facets, beamPolygon);
  s.Cut();
  double sum = 0, allowed = 1e-9;
  for (const CutPiece& piece : s.cutter.Pieces()) {
    const auto polygon = AsPoints(piece);
    const double area = testing::PolygonArea(polygon);
    const auto expectedPolygon = testing::ClipConvex(beamPolygon, facets[s.FacetIndex(piece)]);
    const double expected = testing::PolygonArea(expectedPolygon);
    // Corners closer than 0.001 merge, which may shave a sliver off a piece.
    const double slack = 1e-9 + 0.001 * Perimeter(expectedPolygon);
    EXPECT_NEAR(area, expected, slack) << "facet " << s.FacetIndex(piece);
    allowed += slack;
    for (const FlatPoint* p : piece.Points) EXPECT_TRUE(s.InStore(p));
    sum += area;
  }
  EXPECT_NEAR(sum, testing::PolygonArea(beamPolygon), allowed);
}

TEST(BeamCutter, PiecesTileTheBeamForAnyNumberOfEdges) {
  ExpectPiecesTileTheBeam(6, 8, 1);
  ExpectPiecesTileTheBeam(7, 7, 6);   // edges and corners in part-filled groups of four
  ExpectPiecesTileTheBeam(5, 13, 7);
  ExpectPiecesTileTheBeam(33, 40, 2);   // past 32 edges: exact masks needed
  ExpectPiecesTileTheBeam(64, 48, 3);
  ExpectPiecesTileTheBeam(100, 96, 4);  // past 64 corners on both sides
  ExpectPiecesTileTheBeam(130, 12, 5);
}

TEST(BeamCutter, RepeatedCutsReuseTheirTablesWithoutLeftovers) {
  CutSetup s({Square(-2, -2, 0, 2), Square(0, -2, 2, 2)}, Square(-1, -0.5, 1, 0.5));
  s.Cut();
  const std::size_t first = s.store.size();
  s.Cut();
  ASSERT_EQ(s.cutter.Pieces().size(), 2u);
  // The second cut makes its own crossing points, as a fresh cut must.
  EXPECT_EQ(s.store.size(), first + 2);
}

}  // namespace
}  // namespace brillora
