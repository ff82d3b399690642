#include "model/convex_clip.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "model/vec3.h"

namespace brillora {

namespace {

struct Face {
  int plane;  // index into the planes, or -1 for a side of the box
  std::vector<Vec3> points;
};

// Orders points of one plane counter-clockwise about its normal; a point met
// by several faces of the cut is kept once.
std::vector<Vec3> AroundNormal(std::vector<Vec3> points, Vec3 n, double tolerance) {
  Vec3 centre;
  for (Vec3 p : points) centre = centre + (1.0 / static_cast<double>(points.size())) * p;
  Vec3 u = std::abs(n.x) < 0.9 ? Cross(n, Vec3{1, 0, 0}) : Cross(n, Vec3{0, 1, 0});
  u = (1.0 / Length(u)) * u;
  const Vec3 v = Cross(n, u);
  std::vector<std::pair<double, Vec3>> keyed;
  keyed.reserve(points.size());
  for (Vec3 p : points) keyed.push_back({std::atan2(Dot(p - centre, v), Dot(p - centre, u)), p});
  std::sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  const auto apart = [tolerance](Vec3 a, Vec3 b) {
    return std::abs(a.x - b.x) > tolerance || std::abs(a.y - b.y) > tolerance || std::abs(a.z - b.z) > tolerance;
  };
  std::vector<Vec3> ordered;
  for (const auto& k : keyed) {
    if (ordered.empty() || apart(ordered.back(), k.second)) ordered.push_back(k.second);
  }
  while (ordered.size() > 1 && !apart(ordered.front(), ordered.back())) ordered.pop_back();
  return ordered;
}

std::vector<Face> Box(double s) {
  const Vec3 c[8] = {{-s, -s, -s}, {s, -s, -s}, {s, s, -s}, {-s, s, -s},
                     {-s, -s, s},  {s, -s, s},  {s, s, s},  {-s, s, s}};
  return {{-1, {c[0], c[3], c[2], c[1]}}, {-1, {c[4], c[5], c[6], c[7]}}, {-1, {c[0], c[1], c[5], c[4]}},
          {-1, {c[2], c[3], c[7], c[6]}}, {-1, {c[1], c[2], c[6], c[5]}}, {-1, {c[0], c[4], c[7], c[3]}}};
}

// Cuts every face by the plane; the cut points make the plane's own face.
void Cut(std::vector<Face>& faces, const TFacet& plane, int index, double eps) {
  const Vec3 n = NormalOf(plane);
  std::vector<Face> kept;
  kept.reserve(faces.size() + 1);
  std::vector<Vec3> cap;
  bool cutsOff = false;
  std::vector<double> excess;
  for (Face& face : faces) {
    const std::size_t count = face.points.size();
    excess.resize(count);
    double highest = -INFINITY;
    for (std::size_t i = 0; i < count; ++i) {
      excess[i] = Dot(n, face.points[i]) - plane.D;
      highest = std::max(highest, excess[i]);
    }
    if (highest <= eps) {
      // Most faces lie wholly inside: kept as they are.
      for (std::size_t i = 0; i < count; ++i) {
        if (std::abs(excess[i]) <= eps) cap.push_back(face.points[i]);
      }
      kept.push_back(std::move(face));
      continue;
    }
    cutsOff = true;
    std::vector<Vec3> out;
    for (std::size_t i = 0; i < count; ++i) {
      const Vec3 a = face.points[i];
      const Vec3 b = face.points[(i + 1) % count];
      const double da = excess[i];
      const double db = excess[(i + 1) % count];
      if (da <= eps) out.push_back(a);
      if (std::abs(da) <= eps) cap.push_back(a);
      if ((da < -eps && db > eps) || (da > eps && db < -eps)) {
        const Vec3 p = a + (da / (da - db)) * (b - a);
        out.push_back(p);
        cap.push_back(p);
      }
    }
    if (out.size() >= 3) kept.push_back({face.plane, std::move(out)});
  }
  // A plane that cuts nothing off adds no face, even where it touches.
  if (cutsOff && cap.size() >= 3) {
    std::vector<Vec3> polygon = AroundNormal(std::move(cap), n, eps);
    if (polygon.size() >= 3) kept.push_back({index, std::move(polygon)});
  }
  faces = std::move(kept);
}

// Points a rounding apart are one vertex.
std::vector<int> MergePoints(const std::vector<Vec3>& points, double tolerance, std::vector<TVertex>& vertices) {
  std::vector<int> order(points.size());
  std::iota(order.begin(), order.end(), 0);
  std::sort(order.begin(), order.end(), [&](int a, int b) { return points[a].x < points[b].x; });
  std::vector<int> vertexOf(points.size(), -1);
  for (std::size_t i = 0; i < order.size(); ++i) {
    const Vec3 p = points[order[i]];
    for (std::size_t j = i; j-- > 0;) {
      const Vec3 q = points[order[j]];
      if (p.x - q.x > tolerance) break;
      if (std::abs(p.y - q.y) <= tolerance && std::abs(p.z - q.z) <= tolerance) {
        vertexOf[order[i]] = vertexOf[order[j]];
        break;
      }
    }
    if (vertexOf[order[i]] < 0) {
      vertexOf[order[i]] = static_cast<int>(vertices.size());
      vertices.push_back({p.x, p.y, p.z});
    }
  }
  return vertexOf;
}

}  // namespace

ClippedStone ClipConvex(const std::vector<TFacet>& planes) {
  double scale = 1.0;
  for (const TFacet& f : planes) scale = std::max(scale, 1.0 + std::abs(f.D));
  const double half = 100.0 * scale;
  const double eps = 1e-11 * half;
  std::vector<Face> faces = Box(half);
  for (std::size_t i = 0; i < planes.size() && !faces.empty(); ++i) Cut(faces, planes[i], static_cast<int>(i), eps);

  ClippedStone result;
  result.bounded = !faces.empty() && std::none_of(faces.begin(), faces.end(), [](const Face& f) { return f.plane < 0; });
  if (!result.bounded) return result;
  // The faces in the order of their planes.
  std::stable_sort(faces.begin(), faces.end(), [](const Face& a, const Face& b) { return a.plane < b.plane; });
  std::vector<Vec3> points;
  for (const Face& f : faces) points.insert(points.end(), f.points.begin(), f.points.end());
  const std::vector<int> vertexOf = MergePoints(points, 1e-9 * scale, result.stone.AllVertices);
  std::size_t next = 0;
  for (const Face& f : faces) {
    TFacet facet = planes[static_cast<std::size_t>(f.plane)];
    facet.Points.clear();
    for (std::size_t i = 0; i < f.points.size(); ++i) {
      const int v = vertexOf[next++];
      if (facet.Points.empty() || facet.Points.back() != v) facet.Points.push_back(v);
    }
    while (facet.Points.size() > 1 && facet.Points.front() == facet.Points.back()) facet.Points.pop_back();
    if (facet.Points.size() >= 3) result.stone.AllFacets.push_back(std::move(facet));
  }
  return result;
}

}  // namespace brillora
