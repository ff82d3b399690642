#include "params/weight.h"

#include <algorithm>
#include <cmath>

#include "model/number_text.h"

namespace brillora {

double TripleProduct(const TVertex& a, const TVertex& b, const TVertex& c) {
  return a.x * (b.y * c.z - b.z * c.y) + a.y * (b.z * c.x - b.x * c.z) +
         a.z * (b.x * c.y - b.y * c.x);
}

double SixfoldVolume(const Stone& stone) {
  double sum = 0.0;
  if (stone.AllVertices.size() <= 2) return sum;
  for (const TFacet& facet : stone.AllFacets) {
    const auto& p = facet.Points;
    if (p.size() <= 2) continue;
    const TVertex& first = stone.AllVertices[p[0]];
    for (std::size_t j = 1; j + 1 < p.size(); ++j) {
      sum += TripleProduct(first, stone.AllVertices[p[j]], stone.AllVertices[p[j + 1]]);
    }
  }
  return sum;
}

StoneMeasures MeasureStone(const Stone& stone, double mmPerUnit, double specificGravity, HeightsFrom heights) {
  StoneMeasures m;
  if (stone.AllFacets.empty()) return m;
  if (heights == HeightsFrom::Corners && !stone.AllVertices.empty()) {
    const auto [low, high] = std::minmax_element(stone.AllVertices.begin(), stone.AllVertices.end(),
                                                 [](const TVertex& a, const TVertex& b) { return a.z < b.z; });
    m.crownHeightMm = high->z * mmPerUnit;
    m.pavilionHeightMm = -low->z * mmPerUnit;
  } else {
    m.crownHeightMm = stone.AllFacets.back().D * mmPerUnit;
    m.pavilionHeightMm = stone.AllFacets.front().D * mmPerUnit;
  }
  m.totalHeightMm = m.crownHeightMm + m.pavilionHeightMm;
  const double cm = mmPerUnit / 10.0;
  m.weightCarats = cm * cm * cm * SixfoldVolume(stone) * 5.0 * specificGravity / 6.0;
  return m;
}

WeightReport ComputeWeight(const Stone& stone, double size, double specificGravity,
                           PixelPoint segmentStart, PixelPoint segmentEnd, int pictureWidth, HeightsFrom heights) {
  const double dx = segmentEnd.x - segmentStart.x;
  const double dy = segmentEnd.y - segmentStart.y;
  // The extra 1 keeps a segment collapsed to a point from dividing by zero.
  const double length = std::sqrt(dx * dx + dy * dy + 1.0);
  WeightReport report;
  report.segmentRatio = length / pictureWidth;
  const double mmPerUnit = size / report.segmentRatio / 2.0;
  report.measures = MeasureStone(stone, mmPerUnit, specificGravity, heights);
  const StoneMeasures& m = report.measures;
  report.WL = FormatFixed(m.weightCarats, 5, 2);
  report.CH = FormatFixed(m.crownHeightMm, 5, 2);
  report.PH = FormatFixed(m.pavilionHeightMm, 5, 2);
  report.TH = FormatFixed(m.crownHeightMm + m.pavilionHeightMm, 5, 2);
  report.Label5.append("(").append(FormatFixed(report.segmentRatio, 4, 3)).append(")");
  return report;
}

}  // namespace brillora
