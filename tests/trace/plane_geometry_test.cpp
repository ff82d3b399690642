#include "trace/plane_geometry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <random>

#include "trace/corner_reach.h"
#include "trace_fixtures.h"

namespace brillora {
namespace {

using trace::PseudoAngle;

std::vector<FlatPoint> Points(const std::vector<testing::Point2>& polygon) {
  std::vector<FlatPoint> points;
  for (const auto& p : polygon) points.push_back({p.x, p.y, 0, 0});
  return points;
}

std::vector<FlatPoint*> Pointers(std::vector<FlatPoint>& points) {
  std::vector<FlatPoint*> pointers;
  for (FlatPoint& p : points) pointers.push_back(&p);
  return pointers;
}

TEST(PseudoAngle, KnownDirections) {
  EXPECT_DOUBLE_EQ(PseudoAngle(1, 0), 0);
  EXPECT_DOUBLE_EQ(PseudoAngle(0, 1), 2);
  EXPECT_DOUBLE_EQ(PseudoAngle(-1, 0), 4);
  EXPECT_DOUBLE_EQ(PseudoAngle(-1, -1), -3);
  EXPECT_DOUBLE_EQ(PseudoAngle(1, 1), 1);
}

TEST(PseudoAngle, GrowsWithTheTrueAngleRoundTheCircle) {
  // Start just after (-1, -1) at -135 degrees and go once round counter-clockwise.
  double previous = -1e9;
  for (int i = 1; i < 3600; ++i) {
    const double a = -0.75 * std::numbers::pi + 2 * std::numbers::pi * i / 3600;
    const double key = PseudoAngle(std::cos(a), std::sin(a));
    EXPECT_GT(key, previous) << "at step " << i;
    EXPECT_LT(key, 5.0);
    previous = key;
  }
}

TEST(PlaneGeometry, TwiceAreaMatchesTheShoelaceOfConvexPolygons) {
  std::mt19937 random(3);
  std::uniform_real_distribution<double> u(-1, 1);
  for (int n = 3; n < 120; n += 7) {
    auto polygon = testing::RegularPolygon(n, 0.5 + 0.4 * std::fabs(u(random)), u(random),
                                           u(random), u(random));
    auto points = Points(polygon);
    EXPECT_NEAR(trace::TwiceArea(Pointers(points)), 2 * testing::PolygonArea(polygon), 1e-12);
  }
}

TEST(PlaneGeometry, PointsOnAnEdgeLineCountAsOutside) {
  FlatPoint a{0, 0, 0, 0}, b{1, 0, 0, 0}, on{0.5, 0, 0, 0}, left{0.5, 0.1, 0, 0},
      right{0.5, -0.1, 0, 0};
  EXPECT_FALSE(trace::LeftOf(a, b, on));
  EXPECT_FALSE(trace::RightOf(a, b, on));
  EXPECT_TRUE(trace::LeftOf(a, b, left));
  EXPECT_TRUE(trace::RightOf(a, b, right));
  for (double side : {1.0, -1.0}) EXPECT_FALSE(trace::Inside(side, a, b, on));
  // A clockwise polygon chooses the right-hand test.
  std::vector<FlatPoint> clockwise{{0, 0, 0, 0}, {0, 1, 0, 0}, {1, 1, 0, 0}};
  EXPECT_EQ(trace::InsideTest(Pointers(clockwise)), -1.0);
}

TEST(PlaneGeometry, CornersReachAnOctagonOnlyWhenInsideEachSideStrictly) {
  std::vector<FlatPoint> square{{0, 0, 0, 0}, {2, 0, 0, 0}, {2, 2, 0, 0}, {0, 2, 0, 0}};
  const auto o = trace::Octagon(Pointers(square));
  EXPECT_EQ(o.minX, 0);
  EXPECT_EQ(o.maxSum, 4);
  EXPECT_EQ(o.minDiff, -2);
  auto reaches = [&](std::vector<std::array<double, 2>> corners) {
    trace::CornerOctagon octagon;
    for (const auto& [x, y] : corners) octagon.Add(x, y);
    return octagon.Reaches(o);
  };
  EXPECT_TRUE(reaches({{1, 1}}));
  // Touching the least-X side, or the corner cut by X + Y = 0, is not reaching it.
  EXPECT_FALSE(reaches({{0, 1}, {-1, 1}, {-1, 3}}));
  EXPECT_FALSE(reaches({{-1, 0.5}, {0.5, -1}, {-3, -3}}));
  // A segment crossing the square reaches it though no corner lies inside.
  EXPECT_TRUE(reaches({{-1, 1}, {3, 1}}));
  // Beyond the corner cut off by the diagonal side Y - X = 2: inside the
  // bounding box of the square's sides in x and y, yet outside the octagon.
  EXPECT_FALSE(reaches({{-1, 1.5}, {0.5, 3}, {-2, 3}}));
}

TEST(SortPolygon, OrdersCornersRoundTheCentreOfTheFirstThree) {
  auto polygon = testing::RegularPolygon(9, 1, 0.3, -0.2);
  auto points = Points(polygon);
  std::vector<FlatPoint*> shuffled = Pointers(points);
  std::mt19937 random(11);
  std::shuffle(shuffled.begin() + 3, shuffled.end(), random);
  std::vector<double> keys;
  trace::SortPolygon(shuffled, keys);
  ASSERT_EQ(shuffled.size(), 9u);
  // Descending pseudo-angle: clockwise in x-right, y-up axes, each corner the
  // previous one's neighbour.
  for (std::size_t i = 0; i < 9; ++i) {
    const std::size_t here = static_cast<std::size_t>(shuffled[i] - points.data());
    const std::size_t next = static_cast<std::size_t>(shuffled[(i + 1) % 9] - points.data());
    EXPECT_EQ((here + 8) % 9, next);
  }
}

TEST(SortPolygon, DropsNearDuplicatesButNeverJoinsLastToFirst) {
  // Two corners 0.0005 apart collapse; 0.001 apart in x survive.
  std::vector<FlatPoint> points{
      {0, 0, 0, 0}, {1, 0, 0, 0}, {1.0005, 0.0005, 0, 0}, {0, 1, 0, 0}, {0.001, 1, 0, 0}};
  std::vector<FlatPoint*> polygon = Pointers(points);
  std::vector<double> keys;
  trace::SortPolygon(polygon, keys);
  EXPECT_EQ(polygon.size(), 4u);

  // Two corners a hair either side of the direction (-1, -1) from the centre sort
  // to the two ends of the list: they are never compared, so both stay.
  const double a = -0.75 * std::numbers::pi;
  std::vector<FlatPoint> ring{{1, 0, 0, 0},
                              {-0.5, 0.8660254037844386, 0, 0},
                              {-0.5, -0.8660254037844386, 0, 0},
                              {std::cos(a + 0.0003), std::sin(a + 0.0003), 0, 0},
                              {std::cos(a - 0.0003), std::sin(a - 0.0003), 0, 0}};
  std::vector<FlatPoint*> loop = Pointers(ring);
  trace::SortPolygon(loop, keys);
  ASSERT_EQ(loop.size(), 5u);
  EXPECT_EQ(loop.front(), &ring[4]);
  EXPECT_EQ(loop.back(), &ring[3]);

  // A sliver whose corners all fall together collapses below three corners.
  std::vector<FlatPoint> sliver{{0, 0, 0, 0}, {0.0004, 0.0001, 0, 0}, {0.0001, 0.0004, 0, 0}};
  std::vector<FlatPoint*> tiny = Pointers(sliver);
  trace::SortPolygon(tiny, keys);
  EXPECT_LT(tiny.size(), 3u);
}

// The order SortPolygon must give: keys about the centre of the first three
// corners, an exchange sort into descending order, then near duplicates dropped.
std::vector<FlatPoint*> ExchangeSorted(std::vector<FlatPoint*> points) {
  const double cx = (points[0]->X + points[1]->X + points[2]->X) / 3.0;
  const double cy = (points[0]->Y + points[1]->Y + points[2]->Y) / 3.0;
  std::vector<double> keys;
  for (const FlatPoint* p : points) keys.push_back(PseudoAngle(p->X - cx, p->Y - cy));
  for (std::size_t i = 0; i + 1 < points.size(); ++i) {
    for (std::size_t j = i + 1; j < points.size(); ++j) {
      if (keys[i] < keys[j]) {
        std::swap(keys[i], keys[j]);
        std::swap(points[i], points[j]);
      }
    }
  }
  std::vector<FlatPoint*> kept{points[0]};
  for (FlatPoint* p : points) {
    if (std::fabs(p->X - kept.back()->X) >= trace::kSamePointDistance ||
        std::fabs(p->Y - kept.back()->Y) >= trace::kSamePointDistance) {
      kept.push_back(p);
    }
  }
  return kept;
}

TEST(SortPolygon, GivesTheExchangeSortsOrderEvenForEqualAndUndefinedKeys) {
  // Corners on a grid of quarters round (0, 0), (3, 0), (0, 3), whose centre
  // (1, 1) is exact: a corner there has an undefined key, and a corner met
  // twice, or two records at one place, have equal keys. For equal keys the
  // exchange sort's order depends on where it meets them.
  std::mt19937 random(23);
  std::uniform_int_distribution<int> quarter(-12, 20), count(3, 12), pick(0, 9);
  int withEqualKeys = 0, withUndefinedKey = 0;
  for (int trial = 0; trial < 20000; ++trial) {
    std::vector<FlatPoint> records{{0, 0, 0, 0}, {3, 0, 0, 0}, {0, 3, 0, 0}};
    const int n = count(random);
    records.reserve(static_cast<std::size_t>(n));
    bool equal = false, undefined = false;
    while (static_cast<int>(records.size()) < n) {
      const int kind = pick(random);
      if (kind == 0) {
        records.push_back({1, 1, 0, 0});
        undefined = true;
      } else if (kind == 1) {
        records.push_back(
            records[std::uniform_int_distribution<std::size_t>(0, records.size() - 1)(random)]);
        equal = true;
      } else {
        records.push_back({quarter(random) / 4.0, quarter(random) / 4.0, 0, 0});
      }
    }
    std::vector<FlatPoint*> polygon = Pointers(records);
    if (pick(random) < 3) {
      // The same record twice.
      polygon.push_back(
          polygon[std::uniform_int_distribution<std::size_t>(0, polygon.size() - 1)(random)]);
      equal = true;
    }
    std::shuffle(polygon.begin() + 3, polygon.end(), random);
    const std::vector<FlatPoint*> expected = ExchangeSorted(polygon);
    std::vector<double> keys;
    trace::SortPolygon(polygon, keys);
    ASSERT_EQ(polygon, expected) << "trial " << trial;
    withEqualKeys += equal;
    withUndefinedKey += undefined;
  }
  EXPECT_GT(withEqualKeys, 5000);
  EXPECT_GT(withUndefinedKey, 5000);
}

// Corners of a random polygon round a random centre, as a facet's vertices.
std::vector<TVertex> RandomCorners(std::mt19937& random) {
  std::uniform_real_distribution<double> u(-1.5, 1.5);
  std::uniform_int_distribution<int> count(3, 12);
  const TVertex centre{u(random), u(random), u(random)};
  std::vector<TVertex> corners(static_cast<std::size_t>(count(random)));
  for (TVertex& c : corners)
    c = {centre.x + u(random) / 4, centre.y + u(random) / 4, centre.z + u(random) / 4};
  return corners;
}

std::vector<trace::CornerQuad> Quads(const std::vector<TVertex>& corners) {
  std::vector<trace::CornerQuad> quads((corners.size() + 3) / 4);
  for (std::size_t i = 0; i < quads.size() * 4; ++i) {
    const TVertex& c = corners[i < corners.size() ? i : 0];
    quads[i / 4].x[i % 4] = static_cast<float>(c.x);
    quads[i / 4].y[i % 4] = static_cast<float>(c.y);
    quads[i / 4].z[i % 4] = static_cast<float>(c.z);
  }
  return quads;
}

TEST(PlaneGeometry, TheSinglePrecisionTestNeverDropsCornersThatReachTheOctagon) {
  // The exact test projects in double precision as the cutter does; the quick
  // one may keep corners that miss, never drop corners that reach. The
  // octagons are put exactly at the tipping points of the exact test, where
  // rounding would show.
  std::mt19937 random(17);
  std::uniform_real_distribution<double> angle(-3.2, 3.2);
  std::uniform_real_distribution<double> u(-1, 1);
  int reached = 0, dropped = 0;
  for (int trial = 0; trial < 20000; ++trial) {
    Frame f = RotationMatrix(u(random), u(random), angle(random));
    f = MultiplyFrames(RotationMatrix(u(random), u(random), angle(random)), f);
    const std::vector<TVertex> corners = RandomCorners(random);
    std::vector<FlatPoint> projected;
    double largest = 0;
    for (const TVertex& c : corners) {
      projected.push_back({RowDot(f, 0, c.x, c.y, c.z), RowDot(f, 1, c.x, c.y, c.z), 0, 0});
      largest = std::max(largest, std::fabs(c.x) + std::fabs(c.y) + std::fabs(c.z));
    }
    const trace::OctagonBounds own = trace::Octagon(Pointers(projected));
    // A beam octagon sharing one side's line with the corners' extreme, just
    // on it or a hair inside or outside, the other sides far away.
    trace::OctagonBounds o{-9, 9, -9, 9, -18, 18, -18, 18};
    const int side = trial % 8;
    const double hair = trial % 3 == 0 ? 0.0 : (trial % 3 == 1 ? 1 : -1) * 1e-12;
    double* bound[] = {&o.minX,   &o.maxX,   &o.minY,    &o.maxY,
                       &o.minSum, &o.maxSum, &o.minDiff, &o.maxDiff};
    const double extreme[] = {own.maxX,   own.minX,   own.maxY,    own.minY,
                              own.maxSum, own.minSum, own.maxDiff, own.minDiff};
    *bound[side] = extreme[side] + (side % 2 == 0 ? -hair : hair);
    if (trial % 5 == 0) o = {u(random), u(random) + 1, u(random), u(random) + 1, -3, 3, -3, 3};

    trace::CornerOctagon exact;
    for (const FlatPoint& p : projected) exact.Add(p.X, p.Y);
    const bool reaches = exact.Reaches(o);
    const bool mayReach =
        trace::CornersMayReach(Quads(corners), f, trace::LoosenForSinglePrecision(o, largest));
    ASSERT_TRUE(mayReach || !reaches) << "trial " << trial;
    reached += reaches;
    dropped += !mayReach;
  }
  // Both outcomes occur, so the check above is not empty.
  EXPECT_GT(reached, 1000);
  EXPECT_GT(dropped, 1000);
}

TEST(TurnPoints, LiftsOntoThePlaneAndTurnsBackAgain) {
  // Points on the plane n . p = D of a frame; turning by an angle and back gives
  // the points again, and the turn matches lifting and rotating by hand.
  const Vec3 n{0.3, -0.4, 0.8660254037844386};
  const double D = 0.25, angle = 0.3;
  PointStore store;
  std::mt19937 random(5);
  std::uniform_real_distribution<double> u(-1, 1);
  std::vector<FlatPoint> original;
  for (int i = 0; i < 50; ++i) {
    FlatPoint* p = store.New();
    p->X = u(random);
    p->Y = u(random);
    original.push_back(*p);
  }
  const Frame g = RotationMatrix(n.x, n.y, angle);
  trace::TurnPoints(store, 10, g, n, D);
  for (std::size_t i = 0; i < 50; ++i) {
    const FlatPoint& o = original[i];
    if (i < 10) {
      EXPECT_EQ(store[i].X, o.X);
      continue;
    }
    const double z = (D - n.x * o.X - n.y * o.Y) / n.z;
    EXPECT_NEAR(store[i].X, g[0] * o.X + g[1] * o.Y + g[2] * z, 1e-12);
    EXPECT_NEAR(store[i].Y, g[3] * o.X + g[4] * o.Y + g[5] * z, 1e-12);
  }
  // In the turned frame the plane's normal is G n.
  Vec3 turned = n;
  TransformVector(g, turned);
  trace::TurnPoints(store, 10, RotationMatrix(turned.x, turned.y, -angle), turned, D);
  for (std::size_t i = 10; i < 50; ++i) {
    EXPECT_NEAR(store[i].X, original[i].X, 1e-6);
    EXPECT_NEAR(store[i].Y, original[i].Y, 1e-6);
  }
}

}  // namespace
}  // namespace brillora
