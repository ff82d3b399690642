#include "trace_fixtures.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <numbers>

#include "io/design_file.h"
#include "model/default_design.h"
#include "model/facet_construction.h"
#include "support/random_design.h"
#include "support/stone_checks.h"

namespace brillora::testing {

std::vector<SampleStone> SampleStones() {
  std::vector<SampleStone> stones;
  Design design = DefaultDesign();
  stones.push_back({"default", ConstructStone(design), 2.42});
  std::vector<std::filesystem::path> files;
  const std::filesystem::path folder = std::filesystem::path(BRILLORA_SOURCE_DIR) / "GEM_DAT";
  if (std::filesystem::is_directory(folder)) {
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
      if (entry.path().extension() == ".brl") files.push_back(entry.path());
    }
  }
  std::sort(files.begin(), files.end());
  for (const auto& file : files) {
    DesignReadResult read = OpenDesignFile(file);
    if (!read.ok()) continue;
    stones.push_back({file.filename().string(), ConstructStone(read.design), read.refractiveIndex});
  }
  return stones;
}

std::vector<SampleStone> RandomStones(std::mt19937& random, int count) {
  std::vector<SampleStone> stones;
  int attempt = 0;
  while (static_cast<int>(stones.size()) < count && attempt < count * 50) {
    ++attempt;
    Design design = RandomDesign(random);
    Stone stone = ConstructStone(design);
    if (stone.AllFacets.empty() || !WellConditioned(design) || !SurfaceFault(stone).empty()) continue;
    const double ri = std::uniform_real_distribution<double>(1.4, 2.6)(random);
    stones.push_back({"random " + std::to_string(attempt), std::move(stone), ri});
  }
  return stones;
}

Frame RandomView(std::mt19937& random) {
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  Frame view = IdentityFrame();
  for (int turn = 0; turn < 2; ++turn) {
    RotateFrame(view, unit(random), unit(random), std::numbers::pi * unit(random));
  }
  return view;
}

namespace {

int AddVertex(Stone& stone, double x, double y, double z) {
  for (std::size_t i = 0; i < stone.AllVertices.size(); ++i) {
    const TVertex& v = stone.AllVertices[i];
    if (std::fabs(v.x - x) < 1e-12 && std::fabs(v.y - y) < 1e-12 && std::fabs(v.z - z) < 1e-12) {
      return static_cast<int>(i);
    }
  }
  stone.AllVertices.push_back({x, y, z});
  return static_cast<int>(stone.AllVertices.size()) - 1;
}

// A facet through the given vertex indices (counter-clockwise seen from outside).
TFacet FacetThrough(const Stone& stone, std::vector<int> points, int step) {
  const TVertex& a = stone.AllVertices[points[0]];
  const TVertex& b = stone.AllVertices[points[1]];
  const TVertex& c = stone.AllVertices[points[2]];
  const double ux = b.x - a.x, uy = b.y - a.y, uz = b.z - a.z;
  const double vx = c.x - a.x, vy = c.y - a.y, vz = c.z - a.z;
  double nx = uy * vz - uz * vy, ny = uz * vx - ux * vz, nz = ux * vy - uy * vx;
  const double length = std::sqrt(nx * nx + ny * ny + nz * nz);
  nx /= length;
  ny /= length;
  nz /= length;
  TFacet facet;
  facet.Nx = nx;
  facet.Ny = ny;
  facet.Nz = nz;
  facet.D = nx * a.x + ny * a.y + nz * a.z;
  facet.Points = std::move(points);
  facet.Step = step;
  return facet;
}

}  // namespace

Stone RoundStone(int corners) {
  Stone stone;
  const double tableRadius = 0.55, tableHeight = 0.3, culetDepth = -0.8;
  std::vector<int> table, girdle;
  for (int i = 0; i < corners; ++i) {
    const double a = 2 * std::numbers::pi * i / corners;
    table.push_back(AddVertex(stone, tableRadius * std::cos(a), tableRadius * std::sin(a), tableHeight));
    girdle.push_back(AddVertex(stone, std::cos(a), std::sin(a), 0.0));
  }
  const int culet = AddVertex(stone, 0, 0, culetDepth);
  for (int i = 0; i < corners; ++i) {
    const int j = (i + 1) % corners;
    stone.AllFacets.push_back(FacetThrough(stone, {girdle[j], girdle[i], culet}, 0));
  }
  for (int i = 0; i < corners; ++i) {
    const int j = (i + 1) % corners;
    stone.AllFacets.push_back(FacetThrough(stone, {girdle[i], girdle[j], table[j], table[i]}, 1));
  }
  stone.AllFacets.push_back(FacetThrough(stone, table, 2));
  return stone;
}

Stone FlatFacets(const std::vector<std::vector<Point2>>& polygons) {
  Stone stone;
  for (const auto& polygon : polygons) {
    TFacet facet;
    facet.Nz = -1;
    for (const Point2& p : polygon) facet.Points.push_back(AddVertex(stone, p.x, p.y, 0.0));
    stone.AllFacets.push_back(std::move(facet));
  }
  return stone;
}

double PolygonArea(const std::vector<Point2>& polygon) {
  double sum = 0;
  for (std::size_t i = 0; i < polygon.size(); ++i) {
    const Point2& a = polygon[i];
    const Point2& b = polygon[(i + 1) % polygon.size()];
    sum += a.x * b.y - b.x * a.y;
  }
  return std::fabs(sum) / 2;
}

double ConvexHullArea(std::vector<Point2> points) {
  std::sort(points.begin(), points.end(), [](const Point2& a, const Point2& b) {
    return a.x < b.x || (a.x == b.x && a.y < b.y);
  });
  if (points.size() < 3) return 0;
  auto cross = [](const Point2& o, const Point2& a, const Point2& b) {
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
  };
  std::vector<Point2> hull(2 * points.size());
  std::size_t k = 0;
  for (const Point2& p : points) {
    while (k >= 2 && cross(hull[k - 2], hull[k - 1], p) <= 0) --k;
    hull[k++] = p;
  }
  for (std::size_t i = points.size() - 1, lower = k + 1; i-- > 0;) {
    while (k >= lower && cross(hull[k - 2], hull[k - 1], points[i]) <= 0) --k;
    hull[k++] = points[i];
  }
  hull.resize(k - 1);
  return PolygonArea(hull);
}

std::vector<Point2> ClipConvex(const std::vector<Point2>& subject, const std::vector<Point2>& clip) {
  // Orientation of the clip polygon decides which side is inside.
  double orientation = 0;
  for (std::size_t i = 0; i < clip.size(); ++i) {
    const Point2& a = clip[i];
    const Point2& b = clip[(i + 1) % clip.size()];
    orientation += a.x * b.y - b.x * a.y;
  }
  const double sign = orientation > 0 ? 1 : -1;
  std::vector<Point2> output = subject;
  for (std::size_t i = 0; i < clip.size() && !output.empty(); ++i) {
    const Point2& a = clip[i];
    const Point2& b = clip[(i + 1) % clip.size()];
    auto side = [&](const Point2& p) { return sign * ((b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x)); };
    std::vector<Point2> input = std::move(output);
    output.clear();
    for (std::size_t j = 0; j < input.size(); ++j) {
      const Point2& p = input[j];
      const Point2& q = input[(j + 1) % input.size()];
      const double sp = side(p), sq = side(q);
      if (sp >= 0) output.push_back(p);
      if ((sp >= 0) != (sq >= 0)) {
        const double t = sp / (sp - sq);
        output.push_back({p.x + t * (q.x - p.x), p.y + t * (q.y - p.y)});
      }
    }
  }
  return output;
}

std::vector<Point2> RegularPolygon(int n, double r, double cx, double cy, double start) {
  std::vector<Point2> polygon;
  for (int i = 0; i < n; ++i) {
    const double a = start + 2 * std::numbers::pi * i / n;
    polygon.push_back({cx + r * std::cos(a), cy + r * std::sin(a)});
  }
  return polygon;
}

}  // namespace brillora::testing
