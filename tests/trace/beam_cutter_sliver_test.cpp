// A beam of the brilliant's ninth level whose corner pokes a hair past the
// edge between two facets: the picture's merging distance joins the two
// crossings there, which drops the sliver and a corner of its neighbour; the
// figures' distance keeps both, and the pieces tile the beam.
#include <gtest/gtest.h>

#include <algorithm>

#include "trace/beam_cutter.h"
#include "trace/plane_geometry.h"
#include "trace_fixtures.h"

namespace brillora::testing {
namespace {

TEST(BeamCutter, AFinerMergingDistanceKeepsSliversAndTheirNeighboursCorners) {
  const auto samples = SampleStones();
  const auto brilliant = std::find_if(samples.begin(), samples.end(),
                                      [](const SampleStone& s) { return s.name == "RoundBrilliant.brl"; });
  ASSERT_NE(brilliant, samples.end());
  const Stone& stone = brilliant->stone;
  const Frame frame{0.293473333f,  -0.828116655f, 0.477594256f, -0.679216504f, -0.532187939f,
                    -0.505411625f, 0.672709703f,  -0.176065117f, -0.7186535f};
  const double corners[4][2] = {{0.24842585243080925, 0.59119098863304487},
                                {0.24595266281000355, 0.53815577439687134},
                                {0.23919625147471119, 0.50418899568159836},
                                {0.22455993570745547, 0.51529379654295115}};
  const auto cut = [&](double samePoint) {
    PointStore store;
    std::vector<FlatPoint*> beam;
    for (const auto& c : corners) {
      FlatPoint* p = store.New();
      p->X = c[0];
      p->Y = c[1];
      beam.push_back(p);
    }
    BeamCutter cutter;
    cutter.Prepare(stone);
    cutter.Cut(stone, frame, beam, trace::Octagon(beam), store, CutRules{samePoint});
    double pieces = 0;
    for (const CutPiece& piece : cutter.Pieces()) pieces += trace::TwiceArea(piece.Points);
    return std::pair{cutter.Pieces().size(), 1 - pieces / trace::TwiceArea(beam)};
  };
  const auto [picturePieces, pictureLoss] = cut(trace::kSamePointDistance);
  EXPECT_EQ(picturePieces, 1u);
  EXPECT_GT(pictureLoss, 0.01);
  const auto [finePieces, fineLoss] = cut(1e-9);
  EXPECT_EQ(finePieces, 2u);
  EXPECT_NEAR(fineLoss, 0.0, 1e-9);
}

}  // namespace
}  // namespace brillora::testing
