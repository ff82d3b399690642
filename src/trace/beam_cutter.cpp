#include "trace/beam_cutter.h"

#include <cmath>
#include <functional>

namespace brillora {

namespace {

constexpr double kMinCos = 0.001;
constexpr double kParallel = 1e-6;
constexpr unsigned kAllHalfPlanes = 255;

}  // namespace

void BeamCutter::Prepare(const Stone& stone) {
  const std::size_t vertices = stone.AllVertices.size();
  vertexStamp_.assign(vertices, 0);
  vertexPool_.assign(vertices, 0);
  stamp_ = 0;
  pool_.resize(vertices);
  poolOutcode_.resize(vertices);
  poolKept_.resize(vertices);
  poolHandedTo_.resize(vertices);
}

void BeamCutter::Cut(const Stone& stone, const Frame& f, std::span<FlatPoint* const> beam,
                     PointStore& store) {
  pieceCount_ = 0;
  FindCandidates(stone, f, beam);
  MarkFacetCorners(beam);

  if (crossingCache_.size() < beam.size()) crossingCache_.resize(beam.size());
  for (std::size_t i = 0; i < beam.size(); ++i) crossingCache_[i].clear();
  if (beamOut_.size() < beam.size()) beamOut_.resize(beam.size());

  for (const Candidate& candidate : candidates_) {
    if (pieceCount_ == pieces_.size()) pieces_.emplace_back();
    CutPiece& piece = pieces_[pieceCount_];
    piece.Points.clear();
    CutBeamByFacet(candidate, beam, store, piece.Points);
    if (piece.Points.size() < 3) continue;
    trace::SortPolygon(piece.Points, sortKeys_);
    if (piece.Points.size() < 3) continue;
    piece.Facet = candidate.facet;
    piece.Cos = candidate.cos;
    ++pieceCount_;
  }
  HandOver(store);
}

void BeamCutter::FindCandidates(const Stone& stone, const Frame& f, std::span<FlatPoint* const> beam) {
  if (++stamp_ == 0) {  // the stamps wrapped round: start afresh
    std::fill(vertexStamp_.begin(), vertexStamp_.end(), 0);
    stamp_ = 1;
  }
  poolUsed_ = 0;
  candidates_.clear();
  candidateCorners_.clear();
  const trace::OctagonBounds bounds = trace::Octagon(beam);

  for (const TFacet& facet : stone.AllFacets) {
    const double c = -RowDot(f, 2, facet.Nx, facet.Ny, facet.Nz);
    if (!(c >= kMinCos) || facet.Points.size() < 3) continue;
    unsigned code = 0;
    const std::size_t first = candidateCorners_.size();
    for (const int v : facet.Points) {
      if (vertexStamp_[v] != stamp_) {
        const TVertex& p = stone.AllVertices[v];
        FlatPoint& point = pool_[poolUsed_];
        point.X = RowDot(f, 0, p.x, p.y, p.z);
        point.Y = RowDot(f, 1, p.x, p.y, p.z);
        poolOutcode_[poolUsed_] = static_cast<std::uint8_t>(trace::Outcode(point.X, point.Y, bounds));
        vertexStamp_[v] = stamp_;
        vertexPool_[v] = static_cast<std::uint32_t>(poolUsed_++);
      }
      const std::uint32_t pool = vertexPool_[v];
      code |= poolOutcode_[pool];
      candidateCorners_.push_back(pool);
    }
    if (code == kAllHalfPlanes) {
      candidates_.push_back({&facet, c, first, facet.Points.size()});
    } else {
      candidateCorners_.resize(first);
    }
  }
}

void BeamCutter::MarkFacetCorners(std::span<FlatPoint* const> beam) {
  maskWords_ = (beam.size() + 63) / 64;
  if (masks_.size() < poolUsed_ * maskWords_) masks_.resize(poolUsed_ * maskWords_);
  std::fill(poolKept_.begin(), poolKept_.begin() + static_cast<std::ptrdiff_t>(poolUsed_), 0);
  for (const std::uint32_t pool : candidateCorners_) poolKept_[pool] = 1;

  const double side = trace::InsideTest(beam);
  const std::size_t last = beam.size() - 1;
  for (std::size_t pool = 0; pool < poolUsed_; ++pool) {
    if (!poolKept_[pool]) continue;
    std::uint64_t* mask = &masks_[pool * maskWords_];
    std::fill(mask, mask + maskWords_, 0);
    const FlatPoint& q = pool_[pool];
    for (std::size_t i = 0; i < beam.size(); ++i) {
      const FlatPoint& from = *beam[i == 0 ? last : i - 1];
      if (!trace::Inside(side, from, *beam[i], q)) mask[i / 64] |= std::uint64_t{1} << (i % 64);
    }
  }
}

bool BeamCutter::MaskZero(std::size_t pool) const {
  for (std::size_t w = 0; w < maskWords_; ++w) {
    if (masks_[pool * maskWords_ + w] != 0) return false;
  }
  return true;
}

bool BeamCutter::MaskLess(std::size_t a, std::size_t b) const {
  for (std::size_t w = maskWords_; w-- > 0;) {
    const std::uint64_t ma = masks_[a * maskWords_ + w], mb = masks_[b * maskWords_ + w];
    if (ma != mb) return ma < mb;
  }
  return false;
}

void BeamCutter::CutBeamByFacet(const Candidate& facet, std::span<FlatPoint* const> beam,
                                PointStore& store, std::vector<FlatPoint*>& out) {
  const std::uint32_t* corner = &candidateCorners_[facet.first];
  const std::size_t k = facet.count - 1;
  const std::size_t m = beam.size() - 1;
  const double side = trace::Cross(pool_[corner[0]], pool_[corner[1]], pool_[corner[2]]) > 0 ? 1.0 : -1.0;

  for (std::size_t j = 0; j <= k; ++j) {
    const std::uint32_t prev = corner[j == 0 ? k : j - 1];
    const std::uint32_t next = corner[j];
    const FlatPoint& qPrev = pool_[prev];
    const FlatPoint& qNext = pool_[next];
    bool wasOut = !trace::Inside(side, qPrev, qNext, *beam[m]);
    for (std::size_t i = 0; i <= m; ++i) {
      if (j == 0) beamOut_[i] = 0;
      const bool isOut = !trace::Inside(side, qPrev, qNext, *beam[i]);
      if (isOut) beamOut_[i] = 1;
      if (isOut != wasOut && MaskBit(prev, i) != MaskBit(next, i)) {
        const bool prevFirst = MaskLess(prev, next);
        EdgeCrossing(i, prevFirst ? qPrev : qNext, prevFirst ? qNext : qPrev, *beam[i == 0 ? m : i - 1],
                     *beam[i], store, out);
      }
      if (j == k && !beamOut_[i]) out.push_back(beam[i]);
      wasOut = isOut;
    }
    if (MaskZero(next)) out.push_back(&pool_[next]);
  }
}

void BeamCutter::EdgeCrossing(std::size_t edge, const FlatPoint& a, const FlatPoint& b,
                              const FlatPoint& c, const FlatPoint& d, PointStore& store,
                              std::vector<FlatPoint*>& out) {
  std::vector<Crossing>& cache = crossingCache_[edge];
  for (const Crossing& entry : cache) {
    if (entry.first == &a && entry.second == &b) {
      if (entry.point) out.push_back(entry.point);
      return;
    }
  }
  const double dx1 = b.X - a.X, dy1 = b.Y - a.Y;
  const double dx2 = d.X - c.X, dy2 = d.Y - c.Y;
  const double e1 = a.X * dy1 - a.Y * dx1;
  const double e2 = c.X * dy2 - c.Y * dx2;
  const double det = dy2 * dx1 - dy1 * dx2;
  FlatPoint* point = nullptr;
  if (std::fabs(det) >= kParallel) {
    point = store.New();
    point->X = (dx1 * e2 - dx2 * e1) / det;
    point->Y = (dy1 * e2 - dy2 * e1) / det;
    out.push_back(point);
  }
  cache.push_back({&a, &b, point});
}

void BeamCutter::HandOver(PointStore& store) {
  for (std::size_t pool = 0; pool < poolUsed_; ++pool) {
    poolHandedTo_[pool] = nullptr;
    if (poolKept_[pool] && MaskZero(pool)) {
      FlatPoint* copy = store.New();
      *copy = pool_[pool];
      poolHandedTo_[pool] = copy;
    }
  }
  const FlatPoint* begin = pool_.data();
  const FlatPoint* end = pool_.data() + poolUsed_;
  for (std::size_t p = 0; p < pieceCount_; ++p) {
    for (FlatPoint*& corner : pieces_[p].Points) {
      if (std::greater_equal<const FlatPoint*>{}(corner, begin) && std::less<const FlatPoint*>{}(corner, end)) {
        corner = poolHandedTo_[static_cast<std::size_t>(corner - begin)];
      }
    }
  }
}

}  // namespace brillora
