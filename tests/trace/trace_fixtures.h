#pragma once

#include <random>
#include <string>
#include <vector>

#include "model/design.h"
#include "trace/frame.h"

namespace brillora::testing {

struct SampleStone {
  std::string name;
  Stone stone;
  double refractiveIndex;
};

// The default design and every design in GEM_DAT, built.
std::vector<SampleStone> SampleStones();

// Random designs that construct into a sound surface.
std::vector<SampleStone> RandomStones(std::mt19937& random, int count);

// A view turned by two random mouse turns of the identity.
Frame RandomView(std::mt19937& random);

// A round stone with a regular table of `corners` corners: crown facets joining
// the table's edges to the girdle's, pavilion triangles meeting in a culet.
Stone RoundStone(int corners);

struct Point2 {
  double x, y;
};

// Facets lying in the plane z = 0 with normal (0, 0, -1), each given by its
// corners counter-clockwise as seen from below; corners equal within 1e-12 are
// shared vertices. In the identity frame every one of them faces away from the
// viewer, as the far side of a stone faces a beam.
Stone FlatFacets(const std::vector<std::vector<Point2>>& polygons);

// Area of a simple polygon (absolute shoelace).
double PolygonArea(const std::vector<Point2>& polygon);
// Area of the convex hull of the points.
double ConvexHullArea(std::vector<Point2> points);
// The part of convex polygon `subject` inside convex polygon `clip` (Sutherland-Hodgman).
std::vector<Point2> ClipConvex(const std::vector<Point2>& subject, const std::vector<Point2>& clip);
// A regular polygon of n corners, radius r, centred at (cx, cy), counter-clockwise
// in x-right, y-up axes, first corner at angle `start`.
std::vector<Point2> RegularPolygon(int n, double r, double cx, double cy, double start = 0.0);

}  // namespace brillora::testing
