// A stone's tables are built once and kept while the same stone is traced.
// A stone rebuilt in the same memory after an edit is another stone: it must
// never be traced with the tables of the one it replaced.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <thread>
#include <vector>

#include "model/default_design.h"
#include "model/facet_construction.h"
#include "trace/ray_tracer.h"
#include "trace/stone_tables.h"
#include "trace_fixtures.h"

namespace brillora {
namespace {

Stone Built(Design design) { return ConstructStone(design); }

// Every finished beam of a deep trace: its corners and the light left in it.
std::vector<double> Beams(RayTracer& tracer, const Stone& stone, const Frame& view) {
  tracer.Trace(stone, view, 12, TraceOptions{});
  std::vector<double> beams;
  for (const Race* beam : tracer.ExitBeams()) {
    for (const FlatPoint* p : beam->Points) beams.insert(beams.end(), {p->X, p->Y});
    beams.push_back(beam->InLight);
  }
  return beams;
}

TEST(StoneTables, DescribeTheirStoneBitForBit) {
  const Stone stone = Built(DefaultDesign());
  const StoneTables tables(stone);
  const auto describes = [&](void (*edit)(Stone&)) {
    Stone s = stone;
    edit(s);
    return tables.Describes(s);
  };
  EXPECT_TRUE(describes([](Stone&) {}));
  EXPECT_TRUE(describes([](Stone& s) { s.AllFacets[3].Step += 1; }));  // not read by a cut
  EXPECT_FALSE(describes([](Stone& s) { s.AllVertices[5].z = std::nextafter(s.AllVertices[5].z, 9.0); }));
  EXPECT_FALSE(describes([](Stone& s) { s.AllVertices[0].x = s.AllVertices[0].x == 0 ? -0.0 : 0.0; }));
  EXPECT_FALSE(describes([](Stone& s) { s.AllFacets[2].Nx = std::nextafter(s.AllFacets[2].Nx, 9.0); }));
  EXPECT_FALSE(describes([](Stone& s) { s.AllFacets[7].D = std::nextafter(s.AllFacets[7].D, 9.0); }));
  EXPECT_FALSE(describes([](Stone& s) { std::swap(s.AllFacets[4].Points[0], s.AllFacets[4].Points[1]); }));
  EXPECT_FALSE(describes([](Stone& s) { s.AllFacets.pop_back(); }));
  EXPECT_FALSE(describes([](Stone& s) { s.AllVertices.push_back({}); }));
}

TEST(StoneTables, AStoneRebuiltInPlaceIsTracedWithItsOwn) {
  Design design = DefaultDesign();
  Stone stone = Built(design);
  for (std::size_t i = 1; i + 1 < design.PavilionSteps.size(); ++i) design.PavilionSteps[i].Angle += 12;
  for (std::size_t i = 1; i + 1 < design.CrownSteps.size(); ++i) design.CrownSteps[i].Angle -= 10;
  const Stone edited = Built(design);
  ASSERT_EQ(edited.AllVertices.size(), stone.AllVertices.size());
  std::mt19937 random(5);
  const Frame view = testing::RandomView(random);
  RayTracer tracer;
  Beams(tracer, stone, view);
  // The same vectors take the edited stone's values: the same addresses and
  // counts, as a stone rebuilt after a drag of a slope often has.
  const TVertex* place = stone.AllVertices.data();
  stone = edited;
  ASSERT_EQ(stone.AllVertices.data(), place);
  RayTracer fresh;
  EXPECT_EQ(Beams(tracer, stone, view), Beams(fresh, stone, view));
}

TEST(StoneTables, TracersOfOneStoneShareOneCopy) {
  const auto samples = testing::SampleStones();
  const Stone& stone = samples[1].stone;
  const Stone& other = samples[2].stone;
  std::mt19937 random(9);
  std::vector<Frame> views;
  for (int i = 0; i < 4; ++i) views.push_back(testing::RandomView(random));
  RayTracer alone;
  std::vector<std::vector<double>> expected;
  for (const Frame& view : views) expected.push_back(Beams(alone, stone, view));

  const std::shared_ptr<const StoneTables> tables = RayTracer::TablesOf(stone);
  RayTracer a, b;
  a.ShareTables(tables);
  b.ShareTables(tables);
  std::vector<std::vector<double>> fromA, fromB;
  std::thread ta([&] {
    for (const Frame& view : views) fromA.push_back(Beams(a, stone, view));
  });
  std::thread tb([&] {
    for (const Frame& view : views) fromB.push_back(Beams(b, stone, view));
  });
  ta.join();
  tb.join();
  EXPECT_EQ(fromA, expected);
  EXPECT_EQ(fromB, expected);
  EXPECT_EQ(tables.use_count(), 3);  // neither tracer built tables of its own

  // Another stone gets tables of its own, whatever tables a tracer was given.
  RayTracer fresh;
  EXPECT_EQ(Beams(a, other, views[0]), Beams(fresh, other, views[0]));
  EXPECT_EQ(tables.use_count(), 2);
}

}  // namespace
}  // namespace brillora
