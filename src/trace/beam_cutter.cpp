#include "trace/beam_cutter.h"

#include <bit>
#include <cmath>
#include <functional>

namespace brillora {

namespace {

constexpr double kMinCos = 0.001;
constexpr double kParallel = 1e-6;
constexpr unsigned kAllHalfPlanes = 255;
constexpr double kSqrt2 = 1.4142135623730951 * 1.000001;

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
  facets_.clear();
  for (const TFacet& facet : stone.AllFacets) {
    FacetData data{facet.Nx, facet.Ny, facet.Nz, 0, 0, 0, 0, &facet, facet.Points.size() >= 3};
    if (!facet.Points.empty()) {
      for (const int v : facet.Points) {
        data.cx += stone.AllVertices[v].x;
        data.cy += stone.AllVertices[v].y;
        data.cz += stone.AllVertices[v].z;
      }
      const double n = static_cast<double>(facet.Points.size());
      data.cx /= n;
      data.cy /= n;
      data.cz /= n;
      for (const int v : facet.Points) {
        const TVertex& p = stone.AllVertices[v];
        data.reach = std::max(data.reach, std::sqrt((p.x - data.cx) * (p.x - data.cx) +
                                                    (p.y - data.cy) * (p.y - data.cy) +
                                                    (p.z - data.cz) * (p.z - data.cz)));
      }
      // Frame rows are unit vectors only to single precision.
      data.reach = data.reach * 1.001 + 1e-9;
    }
    facets_.push_back(data);
  }
}

void BeamCutter::Cut(const Stone& stone, const Frame& f, std::span<FlatPoint* const> beam,
                     PointStore& store) {
  pieceCount_ = 0;
  FindCandidates(stone, f, beam);
  MarkFacetCorners(beam);

  if (crossingCache_.size() < beam.size()) crossingCache_.resize(beam.size());
  for (std::size_t i = 0; i < beam.size(); ++i) crossingCache_[i].clear();
  if (beamOut_.size() < beam.size()) beamOut_.resize(beam.size());
  if (facetOut_.size() < beam.size()) facetOut_.resize(beam.size());
  beamX_.resize(beam.size());
  beamY_.resize(beam.size());
  for (std::size_t i = 0; i < beam.size(); ++i) {
    beamX_[i] = beam[i]->X;
    beamY_[i] = beam[i]->Y;
  }

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

  // The frame's rows in double precision, as every dot product takes them.
  const double r00 = f[0], r01 = f[1], r02 = f[2];
  const double r10 = f[3], r11 = f[4], r12 = f[5];
  const double r20 = f[6], r21 = f[7], r22 = f[8];

  // First the facets that face away from the beam's travel, without branches.
  facing_.resize(facets_.size());
  facingCos_.resize(facets_.size());
  std::size_t facing = 0;
  for (std::size_t i = 0; i < facets_.size(); ++i) {
    const FacetData& data = facets_[i];
    const double c = -(r20 * data.nx + r21 * data.ny + r22 * data.nz);
    facing_[facing] = static_cast<std::uint32_t>(i);
    facingCos_[facing] = c;
    facing += static_cast<std::size_t>((c >= kMinCos) & data.usable);
  }

  // Of those, the ones that may reach the beam's octagon, again without a branch
  // per facet. A facet whose corners all lie beyond one side of the octagon
  // cannot become a candidate: that is decided from its centre and reach,
  // before any corner is projected.
  std::size_t near = 0;
  for (std::size_t n = 0; n < facing; ++n) {
    const FacetData& data = facets_[facing_[n]];
    const double x = r00 * data.cx + r01 * data.cy + r02 * data.cz;
    const double y = r10 * data.cx + r11 * data.cy + r12 * data.cz;
    const double r = data.reach;
    const double diagonal = kSqrt2 * r;
    const bool beyond = (x + r < bounds.minX) | (x - r > bounds.maxX) | (y + r < bounds.minY) |
                        (y - r > bounds.maxY) | (x + y + diagonal < bounds.minSum) |
                        (x + y - diagonal > bounds.maxSum) | (y - x + diagonal < bounds.minDiff) |
                        (y - x - diagonal > bounds.maxDiff);
    facing_[near] = facing_[n];
    facingCos_[near] = facingCos_[n];
    near += static_cast<std::size_t>(!beyond);
  }

  for (std::size_t n = 0; n < near; ++n) {
    const FacetData& data = facets_[facing_[n]];
    const TFacet& facet = *data.facet;
    const double c = facingCos_[n];
    unsigned code = 0;
    const std::size_t first = candidateCorners_.size();
    for (const int v : facet.Points) {
      if (vertexStamp_[v] != stamp_) {
        const TVertex& p = stone.AllVertices[v];
        FlatPoint& point = pool_[poolUsed_];
        point.X = r00 * p.x + r01 * p.y + r02 * p.z;
        point.Y = r10 * p.x + r11 * p.y + r12 * p.z;
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

  // Edge i runs from the previous corner (the last one for i = 0) to corner i.
  beamEdges_.resize(beam.size());
  for (std::size_t i = 0; i < beam.size(); ++i) {
    const FlatPoint& from = *beam[i == 0 ? beam.size() - 1 : i - 1];
    beamEdges_[i] = {from.X, from.Y, beam[i]->X - from.X, beam[i]->Y - from.Y};
  }
  const double side = trace::InsideTest(beam);
  if (maskWords_ == 1) {
    // A corner shared by two candidates is simply worked out twice.
    for (const std::uint32_t pool : candidateCorners_) {
      const FlatPoint& q = pool_[pool];
      std::uint64_t mask = 0;
      for (std::size_t i = 0; i < beam.size(); ++i) {
        mask |= static_cast<std::uint64_t>(!(side * beamEdges_[i].Cross(q) > 0)) << i;
      }
      masks_[pool] = mask;
    }
    return;
  }
  for (std::size_t pool = 0; pool < poolUsed_; ++pool) {
    if (!poolKept_[pool]) continue;
    std::uint64_t* mask = &masks_[pool * maskWords_];
    std::fill(mask, mask + maskWords_, 0);
    const FlatPoint& q = pool_[pool];
    for (std::size_t i = 0; i < beam.size(); ++i) {
      if (!(side * beamEdges_[i].Cross(q) > 0)) mask[i / 64] |= std::uint64_t{1} << (i % 64);
    }
  }
}

bool BeamCutter::WideMaskZero(std::size_t pool) const {
  for (std::size_t w = 0; w < maskWords_; ++w) {
    if (masks_[pool * maskWords_ + w] != 0) return false;
  }
  return true;
}

bool BeamCutter::WideMaskLess(std::size_t a, std::size_t b) const {
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
  const bool left = trace::Cross(pool_[corner[0]], pool_[corner[1]], pool_[corner[2]]) > 0;
  if (beam.size() <= 64) {
    CutNarrowBeam(corner, k, left, beam, store, out);
    return;
  }
  std::fill(beamOut_.begin(), beamOut_.begin() + static_cast<std::ptrdiff_t>(beam.size()), 0);
  const double* bx = beamX_.data();
  const double* by = beamY_.data();

  for (std::size_t j = 0; j <= k; ++j) {
    const std::uint32_t prev = corner[j == 0 ? k : j - 1];
    const std::uint32_t next = corner[j];
    const FlatPoint& qPrev = pool_[prev];
    const FlatPoint& qNext = pool_[next];
    const double x = qPrev.X, y = qPrev.Y, dx = qNext.X - qPrev.X, dy = qNext.Y - qPrev.Y;
    // Which beam corners lie outside this facet edge (on the line counts as outside).
    for (std::size_t i = 0; i <= m; ++i) {
      const double cross = dx * (by[i] - y) - dy * (bx[i] - x);
      const std::uint8_t out = (left ? cross > 0 : cross < 0) ? 0 : 1;
      facetOut_[i] = out;
      beamOut_[i] |= out;
    }
    // Crossings and, after the last facet edge, the beam corners inside every
    // facet edge, in beam order: the order decides where SortPolygon starts.
    const bool last = j == k;
    bool wasOut = facetOut_[m] != 0;
    for (std::size_t i = 0; i <= m; ++i) {
      const bool isOut = facetOut_[i] != 0;
      if (isOut != wasOut && MaskBit(prev, i) != MaskBit(next, i)) {
        const bool prevFirst = MaskLess(prev, next);
        EdgeCrossing(i, prevFirst ? qPrev : qNext, prevFirst ? qNext : qPrev, *beam[i == 0 ? m : i - 1],
                     *beam[i], store, out);
      }
      if (last && !beamOut_[i]) out.push_back(beam[i]);
      wasOut = isOut;
    }
    if (MaskZero(next)) out.push_back(&pool_[next]);
  }
}

void BeamCutter::CutNarrowBeam(const std::uint32_t* corner, std::size_t k, bool left,
                               std::span<FlatPoint* const> beam, PointStore& store,
                               std::vector<FlatPoint*>& out) {
  // The same walk as CutBeamByFacet with one bit per beam corner: only the beam
  // edges whose ends lie on different sides of a facet edge are visited.
  const std::size_t m = beam.size() - 1;
  const std::uint64_t all = m == 63 ? ~std::uint64_t{0} : (std::uint64_t{1} << (m + 1)) - 1;
  const double* bx = beamX_.data();
  const double* by = beamY_.data();
  std::uint64_t beamOut = 0;
  for (std::size_t j = 0; j <= k; ++j) {
    const std::uint32_t prev = corner[j == 0 ? k : j - 1];
    const std::uint32_t next = corner[j];
    const FlatPoint& qPrev = pool_[prev];
    const FlatPoint& qNext = pool_[next];
    const double x = qPrev.X, y = qPrev.Y, dx = qNext.X - qPrev.X, dy = qNext.Y - qPrev.Y;
    std::uint64_t outside = 0;
    for (std::size_t i = 0; i <= m; ++i) {
      const double cross = dx * (by[i] - y) - dy * (bx[i] - x);
      const bool in = left ? cross > 0 : cross < 0;
      outside |= static_cast<std::uint64_t>(!in) << i;
    }
    beamOut |= outside;
    // Bit i: beam edge i (from corner i-1, or m, to corner i) changes side, and
    // the facet edge's ends lie on different sides of the beam edge's line.
    const std::uint64_t before = ((outside << 1) | (outside >> m)) & all;
    std::uint64_t crossing = (outside ^ before) & (masks_[prev] ^ masks_[next]);
    const bool prevFirst = masks_[prev] < masks_[next];
    const FlatPoint& first = prevFirst ? qPrev : qNext;
    const FlatPoint& second = prevFirst ? qNext : qPrev;
    if (j < k) {
      for (; crossing != 0; crossing &= crossing - 1) {
        const std::size_t i = static_cast<std::size_t>(std::countr_zero(crossing));
        EdgeCrossing(i, first, second, *beam[i == 0 ? m : i - 1], *beam[i], store, out);
      }
    } else {
      for (std::size_t i = 0; i <= m; ++i) {
        if ((crossing >> i) & 1u) EdgeCrossing(i, first, second, *beam[i == 0 ? m : i - 1], *beam[i], store, out);
        if (!((beamOut >> i) & 1u)) out.push_back(beam[i]);
      }
    }
    if (masks_[next] == 0) out.push_back(&pool_[next]);
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
