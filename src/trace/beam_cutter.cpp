// How a beam is cut. A beam is a convex polygon in the cross-section plane of
// its frame; the facets it can meet from inside are those that face away from
// its travel. The cut finds the polygon common to the beam and each such
// facet's projection, in three stages.
//
// 1. Candidates. Most facets cannot meet the beam, and they are thrown out
//    before any corner is projected exactly. First down the stone's facet
//    tree, whole regions at a time, and then eight facets at a time, in
//    single precision with slack: by their facing (a cone round the normals
//    of a region), and by a sphere round the corners of a region or a facet
//    against the beam's octagon (the least and greatest x, y, x + y and y - x
//    of its corners). Then, facet by facet, by its corners projected in
//    single precision against the octagon widened by a slack.
//    The facets left are projected exactly, each vertex once per cut, and
//    kept when for each of the octagon's eight sides some corner lies
//    strictly inside it.
// 2. Marks. Every corner projected gets a mask with one bit for each beam edge
//    it lies outside of (on the line counts as outside). A corner without a
//    bit lies inside the beam: it is a corner of its facet's piece.
// 3. Pieces. For each candidate, every facet edge is tested against every beam
//    corner. A beam corner inside all facet edges is a corner of the piece. A
//    beam edge whose ends lie on different sides of a facet edge, while the
//    facet edge's ends differ in the beam edge's bit, crosses it there: the
//    crossing is a corner of the piece. Neighbouring facets meet a beam edge
//    at the same crossing, which is made once and shared: its key is the
//    facet edge's ends ordered by their masks, the same from either facet.
//    The corners of a piece come in no useful order; SortPolygon puts them
//    round the polygon.
//
// Under the figures' rules (CutRules::KeepWholeBeams) a cut first asks whether
// the beam lies wholly inside the facet through which its centre leaves, as
// seven beams in ten do there: then that facet's piece is the beam itself, and
// none of the three stages runs.
//
// Beams of up to 64 corners, nearly all of them, keep a bit per corner in one
// word and test four facet edges at a time; wider ones take a plain walk with
// masks of several words.
//
// What the cull reads of the stone is built once per stone (StoneTables) and
// shared; the cutter's own tables are the scratch of one cut.

#include "trace/beam_cutter.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cassert>
#include <cmath>
#include <cstring>
#include <memory>
#include <utility>

#include "trace/corner_masks.h"
#include "trace/corner_reach.h"
#include "trace/crossing_cache.h"
#include "trace/lanes.h"
#include "trace/simd_clones.h"
#include "trace/stone_tables.h"

namespace brillora {

namespace {

constexpr double kMinCos = 0.001;
constexpr double kParallel = 1e-6;
constexpr float kLooseMinCos = StoneTables::kLooseMinCos;

}  // namespace

using trace::DoubleQuad;
using trace::DoubleQuadMask;
using trace::DoubleQuadUnsigned;
using trace::Octet;
using trace::OctetMask;
using trace::Pair;

struct BeamCutter::Tables {
  void Prepare(const Stone& stone);
  void Cut(const Stone& stone, const Frame& f, std::span<FlatPoint* const> beam,
           const trace::OctagonBounds& bounds, PointStore& store, const CutRules& rules);

  struct Candidate {
    const TFacet* facet;
    double cos;
    std::size_t first;  // into candidateCorners_
    std::size_t count;
  };
  // The beam's frame and octagon as the corner projection takes them: x and y
  // side by side.
  struct Projection {
    Pair rowX, rowY, rowZ;  // (row 0, row 1) times the stone's x, y and z
    trace::OctagonBounds octagon;
  };

  // Under KeepWholeBeams, most beams lie wholly inside one facet: the one
  // through which the line along the travel through the beam's centre leaves.
  // When that facet's outline holds every beam corner strictly inside, its
  // piece is the whole beam and no other facet can have more than a rounding
  // sliver of it. True when it made that one piece.
  bool CutWholeBeam(const Stone& stone, const Frame& f, std::span<FlatPoint* const> beam);
  // The usable facets that may face away from the beam's travel and whose
  // corners' sphere may reach its octagon, in facet-list order, into near_.
  void CollectNear(const Frame& f, const trace::OctagonBounds& bounds);
  void FindCandidates(const Stone& stone, const Frame& f, const trace::OctagonBounds& bounds);
  // Projects the corners of facet i not yet projected in this cut and keeps the
  // facet when its corners leave no side of the octagon unreached.
  void AddIfCandidate(const Stone& stone, std::size_t i, double c, const Projection& projection);
  // True when the piece is the whole beam, its corners in the beam's order.
  bool CutBeamByFacet(const Candidate& facet, std::span<FlatPoint* const> beam, PointStore& store,
                      std::vector<FlatPoint*>& out);
  bool CutNarrowBeam(const std::uint32_t* corner, std::size_t k, bool left,
                     std::span<FlatPoint* const> beam, PointStore& store,
                     std::vector<FlatPoint*>& out);
  // The crossing of beam edge `edge`, from c to d, with the facet edge from
  // the projected corner `first` to `second`, made once per cut.
  void EdgeCrossing(std::size_t edge, std::uint32_t first, std::uint32_t second, const FlatPoint& c,
                    const FlatPoint& d, PointStore& store, std::vector<FlatPoint*>& out);
  // The store's copy of a facet corner that a piece keeps, made on first use.
  FlatPoint* KeptCorner(std::uint32_t pool, PointStore& store);

  // What the cull reads of the stone being cut, shared with every cutter of it.
  std::shared_ptr<const StoneTables> stone_;
  // Facets that may face away from the beam and lie near its octagon.
  std::vector<std::uint32_t> near_;
  std::vector<std::uint8_t> facetOut_;
  std::vector<double> beamX_, beamY_;  // the beam's corners, side by side

  // Per vertex: the pool record it was projected into during the current cut.
  // The stamps only grow (but for wrapping round), so a stone's cuts need no
  // clearing from one render to the next.
  std::vector<std::uint32_t> vertexStamp_;
  std::vector<std::uint32_t> vertexPool_;
  std::uint32_t stamp_ = 0;

  // Spare points for the projected facet corners of one cut, in projection order.
  std::vector<FlatPoint> pool_;
  std::vector<FlatPoint*> poolHandedTo_;  // a kept corner's copy in the store, once handed over
  std::size_t poolUsed_ = 0;
  trace::CornerMasks masks_;  // of the pool's records used in this cut

  std::vector<Candidate> candidates_;
  std::vector<std::uint32_t> candidateCorners_;  // pool indices, room for every facet's corners
  std::size_t candidateCornerCount_ = 0;
  // The narrow cut's facet: corners and their masks in order, after a copy of
  // the last one; per edge, the beam corners outside it and the beam edges it
  // crosses.
  std::vector<double> facetX_, facetY_;
  std::vector<std::uint64_t> facetMasks_;
  std::vector<std::uint64_t> edgeOutside_, edgeCrossing_;
  trace::CrossingCache crossings_;  // made in this cut, for the facets that share an edge
  std::vector<std::uint8_t> beamOut_;  // beam corner outside some facet edge

  std::vector<CutPiece> pieces_;
  std::size_t pieceCount_ = 0;
  std::vector<double> sortKeys_;
  double work_ = 0;  // of the last cut
};

BeamCutter::BeamCutter() : tables_(std::make_unique<Tables>()) {}
BeamCutter::~BeamCutter() = default;
BeamCutter::BeamCutter(BeamCutter&&) noexcept = default;
BeamCutter& BeamCutter::operator=(BeamCutter&&) noexcept = default;

void BeamCutter::Prepare(const Stone& stone) {
  tables_->Prepare(stone);
}

void BeamCutter::ShareTables(std::shared_ptr<const StoneTables> tables) {
  if (tables) tables_->stone_ = std::move(tables);
}

void BeamCutter::Cut(const Stone& stone, const Frame& f, std::span<FlatPoint* const> beam,
                     const trace::OctagonBounds& bounds, PointStore& store, const CutRules& rules) {
  tables_->Cut(stone, f, beam, bounds, store, rules);
}

std::span<const CutPiece> BeamCutter::Pieces() const {
  return {tables_->pieces_.data(), tables_->pieceCount_};
}

double BeamCutter::Work() const { return tables_->work_; }

void BeamCutter::Tables::Prepare(const Stone& stone) {
  if (!stone_ || !stone_->Describes(stone)) stone_ = std::make_shared<const StoneTables>(stone);
  const std::size_t vertices = stone_->Vertices();
  if (vertexStamp_.size() != vertices) {
    vertexStamp_.assign(vertices, 0);
    vertexPool_.assign(vertices, 0);
    stamp_ = 0;
  }
  pool_.resize(vertices);
  poolHandedTo_.resize(vertices);
  candidateCorners_.resize(stone_->AllCorners());
  // Whole quads of edges, and one corner more.
  const std::size_t paddedEdges = (stone_->LargestFacet() + 3) / 4 * 4;
  facetX_.resize(paddedEdges + 1);
  facetY_.resize(paddedEdges + 1);
  facetMasks_.resize(paddedEdges + 1);
  edgeOutside_.resize(paddedEdges);
  edgeCrossing_.resize(paddedEdges);
}

BRILLORA_AVX2_CLONE_FLAT void BeamCutter::Tables::Cut(const Stone& stone, const Frame& f,
                                                      std::span<FlatPoint* const> beam,
                                                      const trace::OctagonBounds& bounds,
                                                      PointStore& store, const CutRules& rules) {
  pieceCount_ = 0;
  work_ = 0;
  CollectNear(f, bounds);
  const auto corners = static_cast<double>(beam.size());
  if (rules.KeepWholeBeams && beam.size() <= 64) {
    const bool whole = CutWholeBeam(stone, f, beam);
    work_ += static_cast<double>(near_.size()) + corners;
    if (whole) return;
  }
  FindCandidates(stone, f, bounds);
  // Each near facet's quick look, the marks of the corners projected, and
  // each candidate's edges against the beam's corners.
  work_ += static_cast<double>(near_.size()) + static_cast<double>(poolUsed_) * (corners + 3) / 16;
  for (const Candidate& candidate : candidates_) work_ += 1 + static_cast<double>(candidate.count) * (corners + 3) / 16;

  // Spare corners pad the count to whole quads.
  const std::size_t padded = (beam.size() + 3) / 4 * 4;
  beamX_.resize(padded);
  beamY_.resize(padded);
  std::fill(beamX_.begin() + static_cast<std::ptrdiff_t>(beam.size()), beamX_.end(), 0.0);
  std::fill(beamY_.begin() + static_cast<std::ptrdiff_t>(beam.size()), beamY_.end(), 0.0);
  for (std::size_t i = 0; i < beam.size(); ++i) {
    beamX_[i] = beam[i]->X;
    beamY_[i] = beam[i]->Y;
  }
  masks_.Mark(beam, beamX_, beamY_, {pool_.data(), poolUsed_});

  crossings_.Clear();
  if (beamOut_.size() < beam.size()) beamOut_.resize(beam.size());
  if (facetOut_.size() < beam.size()) facetOut_.resize(beam.size());

  for (const Candidate& candidate : candidates_) {
    if (pieceCount_ == pieces_.size()) pieces_.emplace_back();
    CutPiece& piece = pieces_[pieceCount_];
    piece.Points.clear();
    const bool whole = CutBeamByFacet(candidate, beam, store, piece.Points);
    if (piece.Points.size() < 3) continue;
    if (!(whole && rules.KeepWholeBeams)) trace::SortPolygon(piece.Points, sortKeys_, rules.SamePoint);
    if (piece.Points.size() < 3) continue;
    piece.Facet = candidate.facet;
    piece.Cos = candidate.cos;
    ++pieceCount_;
  }
}

bool BeamCutter::Tables::CutWholeBeam(const Stone& stone, const Frame& f,
                                      std::span<FlatPoint* const> beam) {
  double x = 0, y = 0;
  for (const FlatPoint* p : beam) {
    x += p->X;
    y += p->Y;
  }
  const auto corners = static_cast<double>(beam.size());
  x /= corners;
  y /= corners;
  // Travelling along -z, the line leaves the stone at the greatest height of
  // the planes facing away from the travel. The facet it leaves by holds the
  // centre, so its sphere reaches the beam's octagon: it is a near one.
  const TFacet* facet = nullptr;
  double highest = 0, c = 0;
  for (const std::uint32_t i : near_) {
    const TFacet& candidate = stone.AllFacets[i];
    const double nz = RowDot(f, 2, candidate.Nx, candidate.Ny, candidate.Nz);
    if (!(nz < 0)) continue;
    const double nx = RowDot(f, 0, candidate.Nx, candidate.Ny, candidate.Nz);
    const double ny = RowDot(f, 1, candidate.Nx, candidate.Ny, candidate.Nz);
    const double z = (candidate.D - nx * x - ny * y) / nz;
    if (facet == nullptr || z > highest) {
      facet = &candidate;
      highest = z;
      c = -nz;
    }
  }
  if (facet == nullptr || c < kMinCos) return false;

  const std::size_t k = facet->Points.size();
  for (std::size_t j = 0; j < k; ++j) {
    const TVertex& p = stone.AllVertices[static_cast<std::size_t>(facet->Points[j])];
    facetX_[j] = RowDot(f, 0, p.x, p.y, p.z);
    facetY_[j] = RowDot(f, 1, p.x, p.y, p.z);
  }
  // Inside a facet edge is its left for a counter-clockwise outline, else its
  // right: the sense turns every cross product's sign exactly.
  const double sense =
      (facetX_[1] - facetX_[0]) * (facetY_[2] - facetY_[0]) - (facetY_[1] - facetY_[0]) * (facetX_[2] - facetX_[0]) > 0
          ? 1.0
          : -1.0;
  for (std::size_t j = 0; j < k; ++j) {
    const std::size_t from = j == 0 ? k - 1 : j - 1;
    const double ex = facetX_[from], ey = facetY_[from];
    const double dx = sense * (facetX_[j] - ex), dy = sense * (facetY_[j] - ey);
    for (const FlatPoint* q : beam) {
      if (!(dx * (q->Y - ey) - dy * (q->X - ex) > 0)) return false;
    }
  }
  if (pieces_.empty()) pieces_.emplace_back();
  CutPiece& piece = pieces_[0];
  piece.Points.assign(beam.begin(), beam.end());
  piece.Facet = facet;
  piece.Cos = c;
  pieceCount_ = 1;
  return true;
}

void BeamCutter::Tables::FindCandidates(const Stone& stone, const Frame& f,
                                        const trace::OctagonBounds& bounds) {
  if (++stamp_ == 0) {  // the stamps wrapped round: start afresh
    std::fill(vertexStamp_.begin(), vertexStamp_.end(), 0);
    stamp_ = 1;
  }
  poolUsed_ = 0;
  candidates_.clear();
  candidateCornerCount_ = 0;

  // The frame's rows in double precision, as every dot product takes them.
  const double r00 = f[0], r01 = f[1], r02 = f[2];
  const double r10 = f[3], r11 = f[4], r12 = f[5];
  const double r20 = f[6], r21 = f[7], r22 = f[8];

  const StoneTables& tables = *stone_;
  const Projection projection{{r00, r10}, {r01, r11}, {r02, r12}, bounds};
  // Facets that pass the cull but whose corners, projected in single
  // precision, all lie beyond one side are dropped before any corner is
  // projected exactly: about half of those the cull lets through.
  const trace::LooseOctagon loose = trace::LoosenForSinglePrecision(bounds, tables.LargestCorner());
  for (const std::uint32_t i : near_) {
    const TFacet& facet = stone.AllFacets[i];
    const double c = -(r20 * facet.Nx + r21 * facet.Ny + r22 * facet.Nz);
    if (c < kMinCos) continue;
    // A near facet is usable, so it has a quad of corners.
    if (trace::CornersMayReach(tables.CornerQuads(i), f, loose)) AddIfCandidate(stone, i, c, projection);
  }
}

void BeamCutter::Tables::CollectNear(const Frame& f, const trace::OctagonBounds& bounds) {
  near_.clear();
  const StoneTables& tables = *stone_;
  const std::span<const StoneTables::TreeNode> tree = tables.Tree();
  if (tree.empty()) return;
  const float minX = static_cast<float>(bounds.minX), maxX = static_cast<float>(bounds.maxX);
  const float minY = static_cast<float>(bounds.minY), maxY = static_cast<float>(bounds.maxY);
  const float minSum = static_cast<float>(bounds.minSum), maxSum = static_cast<float>(bounds.maxSum);
  const float minDiff = static_cast<float>(bounds.minDiff), maxDiff = static_cast<float>(bounds.maxDiff);
  // Eight spheres at a time: the lanes whose sphere lies beyond a side of the
  // octagon. (A vector passed back by reference: returned, it would change
  // the plain copy's calling convention.)
  const auto beyond = [&](const Octet& cx, const Octet& cy, const Octet& cz, const Octet& r, const Octet& d,
                          OctetMask& out) {
    const Octet x = f[0] * cx + f[1] * cy + f[2] * cz;
    const Octet y = f[3] * cx + f[4] * cy + f[5] * cz;
    out = (x + r < minX) | (x - r > maxX) | (y + r < minY) | (y - r > maxY) | (x + y + d < minSum) |
          (x + y - d > maxSum) | (y - x + d < minDiff) | (y - x - d > maxDiff);
  };
  const std::span<const StoneTables::FacetOctet> octets = tables.Octets();
  // Eight children a node, so the stack holds at most seven a level and the
  // levels are few.
  std::array<std::uint32_t, 128> stack;
  std::size_t top = 0;
  stack[top++] = 0;
  while (top > 0) {
    ++work_;
    const StoneTables::TreeNode& node = tree[stack[--top]];
    const Octet toward = -(f[6] * node.ax + f[7] * node.ay + f[8] * node.az);
    OctetMask far;
    beyond(node.cx, node.cy, node.cz, node.reach, node.diagonal, far);
    const OctetMask near = (toward >= node.facingLimit) & ~far;
    for (unsigned bits = trace::LaneBits(near); bits != 0; bits &= bits - 1) {
      const auto lane = static_cast<std::size_t>(std::countr_zero(bits));
      const std::uint32_t child = node.child[lane];
      if (!((node.octets >> lane) & 1u)) {
        assert(top < stack.size());
        stack[top++] = child;
        continue;
      }
      // Eight facets at a time, without a branch per facet.
      ++work_;
      const StoneTables::FacetOctet& t = octets[child];
      const Octet c = -(f[6] * t.nx + f[7] * t.ny + f[8] * t.nz);
      const OctetMask facing = (c >= kLooseMinCos) & t.usable;
      const std::array<std::uint32_t, 8>& facets = tables.OctetFacets(child);
      beyond(t.cx, t.cy, t.cz, t.reach, t.diagonal, far);
      for (unsigned kept = trace::LaneBits(facing & ~far); kept != 0; kept &= kept - 1)
        near_.push_back(facets[static_cast<std::size_t>(std::countr_zero(kept))]);
    }
  }
  // Candidates are taken in facet-list order, whatever the tree's.
  std::sort(near_.begin(), near_.end());
}

void BeamCutter::Tables::AddIfCandidate(const Stone& stone, std::size_t i, double c,
                                        const Projection& projection) {
  const TFacet& facet = stone.AllFacets[i];
  trace::CornerOctagon corners;
  // Plain pointers and a local count: the stores below cannot then be taken to
  // change the tables' own bookkeeping.
  std::uint32_t* kept = &candidateCorners_[candidateCornerCount_];
  std::uint32_t* stampOf = vertexStamp_.data();
  std::uint32_t* poolOf = vertexPool_.data();
  FlatPoint* pool = pool_.data();
  FlatPoint** handedTo = poolHandedTo_.data();
  const TVertex* vertices = stone.AllVertices.data();
  const std::uint32_t stamp = stamp_;
  std::uint32_t used = static_cast<std::uint32_t>(poolUsed_);
  for (const int v : facet.Points) {
    if (stampOf[v] != stamp) {
      // x and y of the corner together, each summed in the same order as a row
      // dot product.
      const TVertex& p = vertices[v];
      const Pair point = projection.rowX * p.x + projection.rowY * p.y + projection.rowZ * p.z;
      pool[used].X = point[0];
      pool[used].Y = point[1];
      handedTo[used] = nullptr;
      stampOf[v] = stamp;
      poolOf[v] = used++;
    }
    const std::uint32_t index = poolOf[v];
    corners.Add(pool[index].X, pool[index].Y);
    *kept++ = index;
  }
  poolUsed_ = used;
  if (corners.Reaches(projection.octagon)) {
    candidates_.push_back({&facet, c, candidateCornerCount_, facet.Points.size()});
    candidateCornerCount_ += facet.Points.size();
  }
}

bool BeamCutter::Tables::CutBeamByFacet(const Candidate& facet, std::span<FlatPoint* const> beam,
                                        PointStore& store, std::vector<FlatPoint*>& out) {
  const std::uint32_t* corner = &candidateCorners_[facet.first];
  const std::size_t k = facet.count - 1;
  const std::size_t m = beam.size() - 1;
  const bool left = trace::Cross(pool_[corner[0]], pool_[corner[1]], pool_[corner[2]]) > 0;
  if (beam.size() <= 64) return CutNarrowBeam(corner, k, left, beam, store, out);
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
      if (isOut != wasOut && masks_.Bit(prev, i) != masks_.Bit(next, i)) {
        const bool prevFirst = masks_.Less(prev, next);
        EdgeCrossing(i, prevFirst ? prev : next, prevFirst ? next : prev,
                     *beam[i == 0 ? m : i - 1], *beam[i], store, out);
      }
      if (last && !beamOut_[i]) out.push_back(beam[i]);
      wasOut = isOut;
    }
    if (masks_.Zero(next)) out.push_back(KeptCorner(next, store));
  }
  return false;
}

bool BeamCutter::Tables::CutNarrowBeam(const std::uint32_t* corner, std::size_t k, bool left,
                                       std::span<FlatPoint* const> beam, PointStore& store,
                                       std::vector<FlatPoint*>& out) {
  // The same walk as CutBeamByFacet with one bit per beam corner: only the beam
  // edges whose ends lie on different sides of a facet edge are visited.
  const std::size_t m = beam.size() - 1;
  const std::uint64_t all = m == 63 ? ~std::uint64_t{0} : (std::uint64_t{1} << (m + 1)) - 1;
  const double* bx = beamX_.data();
  const double* by = beamY_.data();
  // Inside a facet edge is its left for `left`, else its right: reversing the
  // edge turns the cross product's sign exactly, so inside is always positive.
  const double sense = left ? 1.0 : -1.0;
  const FlatPoint* points = pool_.data();
  // The facet's corners in order after a copy of the last one, so that edge j
  // runs from entry j to entry j + 1; copies of the last corner fill up the
  // last quad of edges, which then have no length.
  const std::size_t edges = k + 1;
  const std::size_t padded = (edges + 3) / 4 * 4;
  double* cornerX = facetX_.data();
  double* cornerY = facetY_.data();
  std::uint64_t* cornerMask = facetMasks_.data();
  for (std::size_t j = 0; j <= padded; ++j) {
    const std::uint32_t pool = corner[j == 0 ? k : std::min(j - 1, k)];
    cornerX[j] = points[pool].X;
    cornerY[j] = points[pool].Y;
    cornerMask[j] = masks_.Narrow(pool);
  }
  // Four facet edges at a time against each beam corner: lane j gathers the
  // bits of the beam corners outside edge j (on the line counts as outside),
  // and then the beam edges that edge j crosses.
  std::uint64_t* outsideOf = edgeOutside_.data();
  std::uint64_t* crossingOf = edgeCrossing_.data();
  for (std::size_t q = 0; q < padded; q += 4) {
    DoubleQuad x, y, nextX, nextY;
    std::memcpy(&x, cornerX + q, sizeof x);
    std::memcpy(&y, cornerY + q, sizeof y);
    std::memcpy(&nextX, cornerX + q + 1, sizeof nextX);
    std::memcpy(&nextY, cornerY + q + 1, sizeof nextY);
    const DoubleQuad dx = sense * (nextX - x), dy = sense * (nextY - y);
    DoubleQuadMask outside{};
    for (std::size_t i = 0; i <= m; ++i) {
      const DoubleQuad cross = dx * (by[i] - y) - dy * (bx[i] - x);
      outside |= ~(cross > 0) & static_cast<std::int64_t>(std::uint64_t{1} << i);
    }
    // Bit i: beam edge i (from corner i-1, or m, to corner i) changes side, and
    // the facet edge's ends lie on different sides of the beam edge's line.
    DoubleQuadMask maskFrom, maskTo;
    std::memcpy(&maskFrom, cornerMask + q, sizeof maskFrom);
    std::memcpy(&maskTo, cornerMask + q + 1, sizeof maskTo);
    const DoubleQuadMask before =
        ((outside << 1) | DoubleQuadMask(DoubleQuadUnsigned(outside) >> m)) &
        static_cast<std::int64_t>(all);
    const DoubleQuadMask crossing = (outside ^ before) & (maskFrom ^ maskTo);
    std::memcpy(outsideOf + q, &outside, sizeof outside);
    std::memcpy(crossingOf + q, &crossing, sizeof crossing);
  }
  std::uint64_t beamOut = 0;
  for (std::size_t j = 0; j <= k; ++j) beamOut |= outsideOf[j];
  for (std::size_t j = 0; j <= k; ++j) {
    const std::uint64_t crossing = crossingOf[j];
    // After the last facet edge, the beam corners inside every facet edge too,
    // in beam order with the crossings: the order decides where SortPolygon
    // starts. Only set bits are visited, so the usual beam edge without a
    // crossing costs no branch.
    const std::uint64_t keep = ~beamOut & (j == k ? all : 0);
    for (std::uint64_t visit = crossing | keep; visit != 0; visit &= visit - 1) {
      const std::size_t i = static_cast<std::size_t>(std::countr_zero(visit));
      if ((crossing >> i) & 1u) {
        const std::uint32_t prev = corner[j == 0 ? k : j - 1];
        const std::uint32_t next = corner[j];
        const bool prevFirst = cornerMask[j] < cornerMask[j + 1];
        EdgeCrossing(i, prevFirst ? prev : next, prevFirst ? next : prev,
                     *beam[i == 0 ? m : i - 1], *beam[i], store, out);
      }
      if ((keep >> i) & 1u) out.push_back(beam[i]);
    }
    if (cornerMask[j + 1] == 0) out.push_back(KeptCorner(corner[j], store));
  }
  // Every beam corner strictly inside every facet edge: no edge crosses and
  // no facet corner lies inside, so the piece is the beam, corner by corner.
  return beamOut == 0;
}

void BeamCutter::Tables::EdgeCrossing(std::size_t edge, std::uint32_t first, std::uint32_t second,
                                      const FlatPoint& c, const FlatPoint& d, PointStore& store,
                                      std::vector<FlatPoint*>& out) {
  if (const trace::CrossingCache::Crossing* known = crossings_.Find(edge, first, second)) {
    if (known->point) out.push_back(known->point);
    return;
  }
  const FlatPoint& a = pool_[first];
  const FlatPoint& b = pool_[second];
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
  crossings_.Add(edge, first, second, point);
}

FlatPoint* BeamCutter::Tables::KeptCorner(std::uint32_t pool, PointStore& store) {
  FlatPoint*& copy = poolHandedTo_[pool];
  if (copy == nullptr) {
    copy = store.New();
    *copy = pool_[pool];
  }
  return copy;
}

}  // namespace brillora
