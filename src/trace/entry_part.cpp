#include "trace/entry_part.h"

#include <algorithm>
#include <cmath>

namespace brillora {

namespace {

// Relative to the polygon's size: far below any facet, far above the
// rounding of a corner's projection.
constexpr double kOnLine = 1e-12;

void ClipByLine(const std::vector<FlatPoint*>& in, const std::array<double, 2>& normal,
                double onLine, PointStore& store, std::vector<FlatPoint*>& out) {
  out.clear();
  const auto side = [&](const FlatPoint& p) {
    const double s = normal[0] * p.X + normal[1] * p.Y;
    return std::fabs(s) <= onLine ? 0.0 : s;
  };
  for (std::size_t i = 0; i < in.size(); ++i) {
    FlatPoint* from = in[i == 0 ? in.size() - 1 : i - 1];
    FlatPoint* to = in[i];
    const double a = side(*from), b = side(*to);
    // Only an edge from one strict side to the other makes a crossing.
    if ((a < 0 && b > 0) || (a > 0 && b < 0)) {
      const double t = a / (a - b);
      FlatPoint* crossing = store.New();
      crossing->X = from->X + t * (to->X - from->X);
      crossing->Y = from->Y + t * (to->Y - from->Y);
      out.push_back(crossing);
    }
    if (b >= 0) out.push_back(to);
  }
}

}  // namespace

void ClipToPart(const std::vector<FlatPoint*>& corners, const EntryPart& part, PointStore& store,
                std::vector<FlatPoint*>& clipped) {
  double size = 0;
  for (const FlatPoint* p : corners) size = std::max({size, std::fabs(p->X), std::fabs(p->Y)});
  const double onLine = kOnLine * size;
  std::vector<FlatPoint*> input = corners;
  for (int line = 0; line < part.Lines; ++line) {
    ClipByLine(input, part.Normals[static_cast<std::size_t>(line)], onLine, store, clipped);
    input = clipped;
  }
  clipped = input;
}

}  // namespace brillora
