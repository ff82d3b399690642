#pragma once

#include <string>

#include "model/design.h"

namespace brillora {

struct PixelPoint {
  int x = 0;
  int y = 0;
};

// Weight and heights of a stone at a given scale.
struct StoneMeasures {
  double weightCarats = 0.0;
  double crownHeightMm = 0.0;
  double pavilionHeightMm = 0.0;
  double totalHeightMm = 0.0;
};

// What the parameters window shows: the values, the segment's share of the
// picture width, and the label texts.
struct WeightReport {
  StoneMeasures measures;
  double segmentRatio = 0.0;  // measuring segment length over picture width
  std::string WL, CH, PH, TH, Label5;
};

// a . (b x c): six times the signed volume of the tetrahedron (0, a, b, c).
double TripleProduct(const TVertex& a, const TVertex& b, const TVertex& c);

// Six times the stone's volume in cubic model units, from fans of triangles over
// the outward counter-clockwise facet polygons.
double SixfoldVolume(const Stone& stone);

// Where the heights are read: a stone built from steps has its culet first and
// its table last, each at its distance from the girdle; a stone cut from
// half-spaces in any order reaches from its lowest corner to its highest,
// over its centre.
enum class HeightsFrom { TableAndCulet, Corners };

// Weight and heights when one model unit is `mmPerUnit` millimetres. A stone with
// no facets has height and weight 0.
StoneMeasures MeasureStone(const Stone& stone, double mmPerUnit, double specificGravity,
                           HeightsFrom heights = HeightsFrom::TableAndCulet);

// The scale comes from the measuring segment laid over the picture: the segment
// is `size` millimetres long, and the picture shows one model unit as half its width.
WeightReport ComputeWeight(const Stone& stone, double size, double specificGravity,
                           PixelPoint segmentStart, PixelPoint segmentEnd, int pictureWidth,
                           HeightsFrom heights = HeightsFrom::TableAndCulet);

}  // namespace brillora
