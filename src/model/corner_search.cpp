#include "model/corner_search.h"

#include <algorithm>
#include <cmath>

#include "model/plane_group.h"
#include "model/plane_polygon.h"

namespace brillora {

namespace {

// Why the triples found are all the triples that matter: let the point p of
// planes a < b < c pass the inside test. Moved onto plane a it lies within
// kFaceSlack of every plane of the inside set, so it lies in the face F of
// plane a cut by those planes widened by kFaceSlack. The corner w of F where
// (distance to b) + (distance to c) is largest has that sum at least p's,
// about 0, while each term is at most kFaceSlack; so b and c both pass within
// kFaceSlack of w. Collecting, at every corner of every face, the examined
// planes within kCornerDistance (above kFaceSlack with room for rounding)
// therefore catches the triple.

// The widening of the inside set's planes: the inside test's own tolerance with
// as much again for the rounding of a triple's point and its move onto a plane.
constexpr double kFaceSlack = 2 * SectorBuilder::kInsideTolerance;
// Corners this close to a cutting plane's boundary stay as they are rather than
// making a second corner a rounding away; it is what the face may lose beyond
// its widened planes, far below kFaceSlack.
constexpr double kSnap = 1e-12;
// How near a face's corner an examined plane must pass to take part in triples there.
constexpr double kCornerDistance = 5 * kFaceSlack;
// Work beyond which the search gives up, on average per examined plane: the
// corners weighed against planes while cutting its face, and the triples
// found. The faces of ordinary stones weigh a few hundred corners and give a
// few triples, those of five hundred thin tiers a side a few thousand; a
// design whose faces take cut after cut (tiers turning a little each, round
// and round) or whose planes crowd by the dozen round its corners is left to
// the half-space intersection.
constexpr std::size_t kWorkPerPlane = 8192;
constexpr std::size_t kTriplesPerPlane = 64;
// Half the side of the square each face is cut from. A triple's point that
// passes the inside test lies on the stone, within a few units of the axis for
// any design whose stone closes; this is far beyond.
constexpr double kSearchHalfSize = 1000.0;

}  // namespace

std::optional<std::vector<CornerTriple>> FindCornerTriples(const SectorBuilder& builder) {
  const auto& examined = builder.Examined();
  const auto& inside = builder.InsideSet();
  int steps = 0;
  for (const auto& f : inside) steps = std::max(steps, f.step + 1);
  for (const auto& f : examined) steps = std::max(steps, f.step + 1);

  // Examined index of each inside-set plane, or -1; and where each step's
  // planes begin in the inside set (it runs in step order).
  std::vector<std::vector<int>> examinedIndex(steps);
  for (std::size_t i = 0; i < examined.size(); ++i) {
    auto& row = examinedIndex[examined[i].step];
    if (static_cast<int>(row.size()) <= examined[i].facet) row.resize(examined[i].facet + 1, -1);
    row[examined[i].facet] = static_cast<int>(i);
  }
  std::vector<int> insideExamined(inside.size(), -1);
  std::vector<int> stepBegin(steps + 1, 0);
  for (std::size_t i = 0; i < inside.size(); ++i) {
    const auto& row = examinedIndex[inside[i].step];
    if (inside[i].facet < static_cast<int>(row.size())) insideExamined[i] = row[inside[i].facet];
    ++stepBegin[inside[i].step + 1];
  }
  for (int m = 0; m < steps; ++m) stepBegin[m + 1] += stepBegin[m];
  std::vector<PlaneGroupBound> stepBound;
  for (int m = 0; m < steps; ++m) {
    const int begin = stepBegin[m], end = stepBegin[m + 1];
    stepBound.emplace_back(begin < end ? builder.Plane(inside[begin]) : TFacet{});
    for (int i = begin + 1; i < end; ++i) stepBound.back().Add(builder.Plane(inside[i]));
  }

  std::vector<CornerTriple> triples;
  std::vector<int> near, atCorner;
  const std::size_t workBudget = kWorkPerPlane * examined.size();
  const std::size_t tripleBudget = kTriplesPerPlane * examined.size();
  std::size_t work = 0;
  for (std::size_t e = 0; e < examined.size(); ++e) {
    const TFacet& own = builder.Plane(examined[e]);
    PlanePolygon face = PlanePolygon::Square(own, kSearchHalfSize);
    near.clear();
    // Nearby steps first: they shrink the square to the face quickly, and the
    // far ones then cost one bound each.
    const int m = examined[e].step;
    // False once the search has done more cutting than it is worth.
    const auto cut = [&](int step) {
      const int begin = stepBegin[step], end = stepBegin[step + 1];
      if (begin == end ||
          stepBound[step].Above(face.OuterRadius(), face.Lowest(), face.Top()) < -kCornerDistance) {
        return true;
      }
      for (int i = begin; i < end && !face.Empty(); ++i) {
        const TFacet& plane = builder.Plane(inside[i]);
        if (!face.MayReach(plane, kCornerDistance)) continue;
        work += face.Corners().size();
        if (work > workBudget) return false;
        const double highest = face.Highest(plane);
        if (highest < -kCornerDistance) continue;
        if (insideExamined[i] > static_cast<int>(e)) near.push_back(insideExamined[i]);
        if (highest > kFaceSlack) face.Clip(plane, kFaceSlack, kSnap);
      }
      return true;
    };
    if (!cut(m)) return std::nullopt;
    for (int d = 1; (m - d >= 0 || m + d < steps) && !face.Empty(); ++d) {
      if (m + d < steps && !cut(m + d)) return std::nullopt;
      if (m - d >= 0 && !cut(m - d)) return std::nullopt;
    }
    if (face.Empty()) continue;

    std::sort(near.begin(), near.end());
    near.erase(std::unique(near.begin(), near.end()), near.end());
    for (const Vec3& w : face.Corners()) {
      atCorner.clear();
      for (int x : near) {
        const double distance = Excess(builder.Plane(examined[x]), w);
        if (distance <= kCornerDistance && distance >= -kCornerDistance) atCorner.push_back(x);
      }
      if (static_cast<int>(atCorner.size()) + 1 > kMaxPlanesAtCorner) return std::nullopt;
      for (std::size_t i = 0; i < atCorner.size(); ++i) {
        for (std::size_t j = i + 1; j < atCorner.size(); ++j) {
          triples.push_back({static_cast<int>(e), atCorner[i], atCorner[j]});
        }
      }
    }
    if (triples.size() > tripleBudget) return std::nullopt;
  }
  std::sort(triples.begin(), triples.end());
  triples.erase(std::unique(triples.begin(), triples.end()), triples.end());
  return triples;
}

}  // namespace brillora
