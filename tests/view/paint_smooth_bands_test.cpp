#include <gtest/gtest.h>

#include "model/default_design.h"
#include "model/facet_construction.h"
#include "support/random_design.h"
#include "view/animation_frame.h"
#include "view/paint_smooth.h"
#include "view/polygon_samples.h"
#include "view/screen_scale.h"

namespace brillora {
namespace {

using testing::ProjectedFacets;
using testing::RandomPolygons;

QImage Smooth(int width, int height, const ArrayOfFOS& fine, const PaintStyle& style,
              std::size_t bandBytes) {
  QImage target(width, height, QImage::Format_RGB888);
  target.fill(Qt::black);
  EXPECT_EQ(PaintSmooth(target, fine, style, {}, bandBytes), SmoothResult::Done);
  return target;
}

// One band as large as the whole five-fold bitmap, against bands of one, a
// few and many target rows.
void ExpectBandsMatchOnePiece(int width, int height, const ArrayOfFOS& fine,
                              const PaintStyle& style) {
  const std::size_t onePiece = std::size_t{25} * width * height * 3 + (1 << 20);
  const std::size_t perRow = std::size_t{25} * width * 3;
  const QImage reference = Smooth(width, height, fine, style, onePiece);
  for (std::size_t rows : {1, 3, 7, 64}) {
    const QImage banded = Smooth(width, height, fine, style, rows * perRow);
    EXPECT_TRUE(banded == reference) << width << " x " << height << ", bands of " << rows << " rows";
  }
}

TEST(RefinedPassBands, SameAsOnePieceForScatteredPolygons) {
  const PaintStyle edges{{0.3, 0.1, 0.05}, true, false, -1};
  const PaintStyle plain{{0, 0, 0}, false, true, 2};
  for (auto [w, h] : {std::pair{100, 100}, {137, 211}, {450, 467}}) {
    const ArrayOfFOS fine = RandomPolygons(5 * w, 5 * h, 150, static_cast<unsigned>(w * h));
    ExpectBandsMatchOnePiece(w, h, fine, edges);
    ExpectBandsMatchOnePiece(w, h, fine, plain);
  }
}

TEST(RefinedPassBands, SameAsOnePieceForStonesInManyViews) {
  std::vector<Stone> stones;
  Design design = DefaultDesign();
  stones.push_back(ConstructStone(design));
  std::mt19937 random(11);
  while (stones.size() < 3) {
    Design candidate = testing::RandomDesign(random);
    if (!testing::WellConditioned(candidate)) continue;
    Stone stone = ConstructStone(candidate);
    if (!stone.AllFacets.empty()) stones.push_back(std::move(stone));
  }
  const PaintStyle style{{0.5, 0.5, 0.5}, true, true, 1};
  for (std::size_t i = 0; i < stones.size(); ++i) {
    ASSERT_FALSE(stones[i].AllFacets.empty()) << i;
    for (int frame : {0, 37, 80}) {
      const auto [w, h] = std::pair{120 + 40 * static_cast<int>(i), 173};
      const ScreenScale s = FineScale(w, h);
      const ArrayOfFOS fine = ProjectedFacets(stones[i], AnimationFrame(frame), s.Scale, s.CentreY);
      ASSERT_FALSE(fine.empty());
      ExpectBandsMatchOnePiece(w, h, fine, style);
    }
  }
}

}  // namespace
}  // namespace brillora
