#include "trace/ray_tracer.h"

#include <algorithm>
#include <cmath>

#include "trace/plane_geometry.h"
#include "trace/screen_mapping.h"
#include "trace/stone_tables.h"

namespace brillora {

namespace {

constexpr double kMinCos = 0.001;
constexpr double kSqrt2 = 1.4142135;
// Below this doubled area (view units, scaled to the screen) a beam adds nothing;
// below the second it is finished without a cut.
constexpr double kNothingArea = 1e-5;
constexpr double kSmallArea = 0.0025;
// The same for thinness: area over width, about 2 pixels in a picture 500 wide.
constexpr double kNothingThin = 0.001;
constexpr double kThin = 0.015;
constexpr double kWeakStep = 0.01;
// Under LightCutoff only a beam of no area at all is dropped: the figures must
// account for all the light.
constexpr double kFiguresNothingArea = 1e-14;
// Under LightCutoff corners of a cut piece merge only when they are one point
// but for rounding: the picture's merging distance drops real slivers, and
// with them the corner they share with their neighbour.
constexpr double kFiguresSamePoint = 1e-9;
// No facet of a real stone has more than 96 corners (a 48-fold tier split in
// two), nor a beam many more. A broken stone grows beams of thousands, whose
// cut and sort take the square of that: beyond this they are not cut.
constexpr std::size_t kMostCorners = 1024;

// The work of following one beam under LightCutoff besides its cut, and of
// each piece it makes, in the cutter's units (BeamCutter::Work).
constexpr double kWorkPerBeam = 40;
constexpr double kWorkPerPiece = 12;
// Under LightCutoff, the weights of light (area times light inside) followed
// in one band, from the heaviest piece waiting down to this part of it.
constexpr double kBandRatio = 8;
// Under LightCutoff, a trace asks whether to go on after following this many beams.
constexpr std::size_t kFollowedPerStopCheck = 256;

enum SplitResult { kDropped = 0, kFinished = 1, kSplit = 2 };

double MaxOf(double p, double q) {
  return q >= p ? q : p;
}

}  // namespace

Race& RayTracer::NewRace() {
  Race& r = beamStore_.Next();
  r.Points.clear();
  r.Dir = {};
  r.InLight = r.OutLight = 0;
  r.Facet = nullptr;
  r.Parent = nullptr;
  r.Level = 0;
  return r;
}

Race& RayTracer::NewPiece(Race& parent, const CutPiece& piece, int level) {
  Race& s = NewRace();
  s.Points.assign(piece.Points.begin(), piece.Points.end());
  s.Parent = &parent;
  s.Facet = piece.Facet;
  s.Dir.z = piece.Cos;
  s.Level = level;
  maxLevelReached_ = std::max(maxLevelReached_, level);
  return s;
}

std::shared_ptr<const StoneTables> RayTracer::TablesOf(const Stone& stone) {
  return std::make_shared<const StoneTables>(stone);
}

void RayTracer::RayTrace(const Stone& stone, const Frame& view, ArrayOfFOS& fos, int maxLevel,
                         int halfWidth, int halfHeight, const TraceOptions& options,
                         const BeamShader& shader) {
  Trace(stone, view, maxLevel, options);
  fos.resize(exitBeams_.size());
  for (std::size_t i = 0; i < exitBeams_.size(); ++i) {
    fos[i].Beam = exitBeams_[i];
    fos[i].Step = exitBeams_[i]->Facet->Step;
  }
  shader.ShadeScreenFacets(fos, maxLevel_ < 0);
  BeamsToScreen(halfWidth, halfHeight, fos);
}

void RayTracer::Trace(const Stone& stone, const Frame& view, int maxLevel, const TraceOptions& options) {
  stone_ = &stone;
  view_ = view;
  options_ = options;
  maxLevel_ = std::min(maxLevel, options.LightCutoff > 0 ? kDeepestFiguresLevel : kDeepestLevel);
  const std::size_t levelsNeeded = static_cast<std::size_t>(std::max(maxLevel_, 0)) + 2;
  if (levels_.size() < levelsNeeded) levels_.resize(levelsNeeded);
  maxLevelReached_ = 0;
  cutShort_ = false;
  work_ = 0;
  abandoned_ = false;
  cutter_.Prepare(stone);
  points_.Clear();
  beamStore_.Clear();
  exitBeams_.clear();
  level0_.clear();
  for (TraceLevel& level : levels_) level.Beams.clear();
  vertexPoint_.assign(stone.AllVertices.size(), nullptr);

  for (const TFacet& facet : stone.AllFacets) {
    const double c = RowDot(view, 2, facet.Nx, facet.Ny, facet.Nz);
    if (!(c >= kMinCos) || facet.Points.size() < 3) continue;
    entryCorners_.clear();
    for (const int v : facet.Points) {
      FlatPoint*& point = vertexPoint_[v];
      if (point == nullptr) {
        const TVertex& p = stone.AllVertices[v];
        point = points_.New();
        point->X = RowDot(view, 0, p.x, p.y, p.z);
        point->Y = RowDot(view, 1, p.x, p.y, p.z);
      }
      entryCorners_.push_back(point);
    }
    if (options.Entry.Lines > 0) {
      ClipToPart(entryCorners_, options.Entry, points_, clipped_);
      if (clipped_.size() < 3) continue;
    }
    const std::vector<FlatPoint*>& corners = options.Entry.Lines > 0 ? clipped_ : entryCorners_;
    Race& b = NewRace();
    b.Points.assign(corners.begin(), corners.end());
    b.Dir.z = c;
    b.Facet = &facet;
    level0_.push_back(&b);
    if (maxLevel_ < 0) exitBeams_.push_back(&b);
  }
  // The record after the level-0 beams stays unused, so the sub-beams start one further on.
  beamStore_.Next();
  levels_[0].Beams = level0_;

  if (maxLevel_ < 0) return;
  if (options.LightCutoff > 0) {
    FollowLight();
  } else {
    TraceBeams(view, 0);
  }
}

void RayTracer::FollowLight() {
  ready_.clear();
  deferred_.clear();
  double heaviest = 0;
  for (Race* b : level0_) {
    SetBeamLight(view_, *b, *b->Facet, options_, view_);
    b->Area = trace::TwiceArea(b->Points) / 2;
    heaviest = std::max(heaviest, b->Area * b->InLight);
  }
  band_ = heaviest / kBandRatio;
  for (Race* b : level0_) Await(*b, view_, 1.0);
  // Band by band of weight, heaviest first, so that whenever the budget runs
  // out the light still waiting is little for the work done; within a band
  // depth first, each piece's pieces followed while its corners are still at
  // hand.
  std::size_t followed = 0;
  while (!ready_.empty()) {
    while (!ready_.empty()) {
      if (options_.WorkBudget > 0 && work_ >= options_.WorkBudget) break;
      if (options_.Stop && ++followed % kFollowedPerStopCheck == 0 && options_.Stop()) {
        abandoned_ = true;
        return;
      }
      // A copy: following the beam sets others waiting, which may move ready_.
      const Waiting w = ready_.back();
      ready_.pop_back();
      Follow(w);
    }
    if (!ready_.empty()) break;
    // The next band: the heaviest pieces put off, and those near them.
    heaviest = 0;
    for (const Waiting& w : deferred_) heaviest = std::max(heaviest, w.weight);
    band_ = heaviest / kBandRatio;
    const auto lighter = std::partition(deferred_.begin(), deferred_.end(),
                                        [&](const Waiting& w) { return w.weight < band_; });
    ready_.assign(lighter, deferred_.end());
    deferred_.erase(lighter, deferred_.end());
  }
  // What the budget left waiting is finished as it is, its light inside.
  for (const Waiting& w : ready_) Finish(*w.beam);
  for (const Waiting& w : deferred_) Finish(*w.beam);
  ready_.clear();
  deferred_.clear();
}

void RayTracer::Finish(Race& b) {
  exitBeams_.push_back(&b);
  if (options_.Finished) options_.Finished(b);
}

void RayTracer::Await(Race& b, const Frame& frame, double areaScale) {
  if (b.Level > maxLevel_) {
    Finish(b);
    return;
  }
  const int settled = Settle(b, b.Level + 1);
  if (settled == kFinished) Finish(b);
  if (settled != kSplit) return;
  const double weight = b.Area * b.InLight;
  (weight >= band_ ? ready_ : deferred_).push_back({&b, frame, areaScale, weight});
}

void RayTracer::Follow(const Waiting& w) {
  Race& b = *w.beam;
  const TFacet& facet = *b.Facet;
  Vec3 n{facet.Nx, facet.Ny, facet.Nz};
  TransformVector(w.frame, n);
  // The turn to the frame beyond the facet: refraction at the entry, the
  // mirror (twice the angle of incidence) inside, its cosine and sine
  // straight from the cosine of incidence.
  TurnAngle angle;
  bool turnsFrame, turnsPoints;
  double areaScale = w.areaScale;
  if (b.Level == 0) {
    const double ti = SafeArcCos(n.z);
    const double tt = std::asin(std::sin(ti) / options_.RefractiveIndex);
    const double d = ti - tt;
    angle = AngleOfTurn(d);
    turnsFrame = d != 0;
    turnsPoints = d > 0;
    areaScale = n.z / std::cos(tt);
  } else {
    const double c = std::clamp(n.z, -1.0, 1.0);
    angle = {2 * c * c - 1, 2 * c * std::sqrt(1 - c * c)};
    turnsFrame = turnsPoints = c < 1;
  }
  const Frame turn = RotationMatrix(n.x, n.y, angle);
  Frame frame = w.frame;
  if (!(n.x == 0 && n.y == 0) && turnsFrame) frame = MultiplyFrames(turn, frame);
  if (b.Level > 0) MirrorFrame(frame);

  // The corners in the turned frame are copies: the beam's own stay in the
  // frame it was cut in, shared with the pieces beside it.
  std::span<FlatPoint* const> corners = b.Points;
  if (b.Level == 0 && options_.Entry.Lines == 0) {
    // Corner j of an entry beam is vertex j of its facet: projected afresh.
    turned_.clear();
    for (const int v : facet.Points) {
      const TVertex& p = stone_->AllVertices[static_cast<std::size_t>(v)];
      FlatPoint* corner = points_.New();
      corner->X = RowDot(frame, 0, p.x, p.y, p.z);
      corner->Y = RowDot(frame, 1, p.x, p.y, p.z);
      turned_.push_back(corner);
    }
    corners = turned_;
  } else if (turnsPoints) {
    trace::TurnedCopies(b.Points, turn, n, facet.D, points_, turned_);
    corners = turned_;
  }

  work_ += kWorkPerBeam;
  // A reflection keeps a beam's cross-section: only the entry's refraction
  // changes the area the tracer measures it by.
  const double twiceArea = b.Level == 0 ? trace::TwiceArea(corners) * areaScale : 2 * b.Area;
  if (!(twiceArea >= kFiguresNothingArea)) return;
  if (corners.size() > kMostCorners) {
    cutShort_ = true;
    Finish(b);
    return;
  }
  cutter_.Cut(*stone_, frame, corners, trace::Octagon(corners), points_, CutRules{kFiguresSamePoint, true});
  work_ += cutter_.Work() + kWorkPerPiece * static_cast<double>(cutter_.Pieces().size());
  for (const CutPiece& piece : cutter_.Pieces()) {
    Race& s = NewPiece(b, piece, b.Level + 1);
    s.Area = trace::TwiceArea(s.Points) / 2 * areaScale;
    SetBeamLight(frame, s, *piece.Facet, options_, view_);
    Await(s, frame, areaScale);
  }
}

void RayTracer::TraceBeams(const Frame& f, int level) {
  TraceLevel& here = levels_[static_cast<std::size_t>(level)];
  const double ri = options_.RefractiveIndex;
  for (std::size_t index = 0; index < here.Beams.size(); ++index) {
    Race& b = *here.Beams[index];
    const TFacet& facet = *b.Facet;
    if (level == 0) SetBeamLight(f, b, facet, options_, view_);
    // A beam too weak to go on is settled before its frame is worked out.
    if (const int settled = Settle(b, level + 1); settled != kSplit) {
      if (settled == kFinished) exitBeams_.push_back(&b);
      continue;
    }
    Vec3 n{facet.Nx, facet.Ny, facet.Nz};
    TransformVector(f, n);
    here.Frame = f;
    // The turn to the frame beyond the facet: refraction at the entry, the
    // mirror (twice the angle of incidence) inside.
    TurnAngle angle;
    bool turnsFrame, turnsPoints;
    if (level == 0) {
      const double ti = SafeArcCos(n.z);
      const double tt = std::asin(std::sin(ti) / ri);
      const double d = ti - tt;
      angle = AngleOfTurn(d);
      turnsFrame = d != 0;
      turnsPoints = d > 0;
      areaScale_ = n.z / std::cos(tt);
      const double r = std::sqrt(n.x * n.x + n.y * n.y);
      const double ux = n.x / r, uy = n.y / r, a = areaScale_;
      widthScaleX_ = std::fabs(ux * a + uy);
      widthScaleY_ = std::fabs(uy * a + ux);
      widthScaleD1_ = (std::fabs(ux * a + uy * a) + std::fabs(ux - uy)) / kSqrt2;
      widthScaleD2_ = (std::fabs(ux * a - uy * a) + std::fabs(ux + uy)) / kSqrt2;
    } else {
      const double d = 2.0 * SafeArcCos(n.z);
      angle = AngleOfTurn(d);
      turnsFrame = d != 0;
      turnsPoints = d > 0;
    }
    // One turn serves the frame, the corners and, reversed, the way back.
    const Frame turn = RotationMatrix(n.x, n.y, angle);
    if (!(n.x == 0 && n.y == 0) && turnsFrame) here.Frame = MultiplyFrames(turn, here.Frame);
    if (level > 0) MirrorFrame(here.Frame);

    here.Saved.resize(b.Points.size());
    for (std::size_t j = 0; j < b.Points.size(); ++j) here.Saved[j] = *b.Points[j];
    if (level == 0 && options_.Entry.Lines == 0) {
      // Corner j of an entry beam is vertex j of its facet: project it afresh.
      // A beam cut to a part of the view has corners of its own, which are
      // lifted and turned as the corners of every deeper beam are.
      for (std::size_t j = 0; j < b.Points.size(); ++j) {
        const TVertex& p = stone_->AllVertices[static_cast<std::size_t>(facet.Points[j])];
        b.Points[j]->X = RowDot(here.Frame, 0, p.x, p.y, p.z);
        b.Points[j]->Y = RowDot(here.Frame, 1, p.x, p.y, p.z);
      }
    } else if (turnsPoints) {
      trace::TurnPoints(b.Points, turn, n, facet.D);
    }

    const std::size_t firstNew = points_.size();
    const int result = SplitBeam(here, b, level + 1);
    if (result == kFinished) {
      exitBeams_.push_back(&b);
    } else if (result == kSplit && level < maxLevel_) {
      TraceBeams(here.Frame, level + 1);
    }

    // Points made below this beam go back to the frame this level started in;
    // a beam that made none needs no turn.
    if (turnsPoints && points_.size() > firstNew) {
      Vec3 back{facet.Nx, facet.Ny, facet.Nz};
      TransformVector(here.Frame, back);
      trace::TurnPoints(points_, firstNew, RotationMatrix(back.x, back.y, angle.Reversed()), back,
                        facet.D);
    }
    for (std::size_t j = 0; j < b.Points.size(); ++j) {
      b.Points[j]->X = here.Saved[j].X;
      b.Points[j]->Y = here.Saved[j].Y;
    }
  }
}

int RayTracer::Settle(const Race& b, int newLevel) const {
  if (b.Points.size() < 3) return kDropped;
  if (options_.LightCutoff > 0) return b.InLight < options_.LightCutoff ? kFinished : kSplit;
  if (kWeakStep * (newLevel + 2) > b.InLight) return kFinished;
  return kSplit;
}

int RayTracer::SmallBeam(double area, const trace::OctagonBounds& o) const {
  if (area < kNothingArea) return kDropped;
  if (area < kSmallArea) return kFinished;
  const double width =
      MaxOf(MaxOf((o.maxX - o.minX) * widthScaleX_, (o.maxY - o.minY) * widthScaleY_),
            MaxOf((o.maxSum - o.minSum) * widthScaleD1_, (o.maxDiff - o.minDiff) * widthScaleD2_));
  const double thinness = area / width;
  if (thinness < kNothingThin) return kDropped;
  if (thinness < kThin) return kFinished;
  return kSplit;
}

int RayTracer::SplitBeam(TraceLevel& level, Race& b, int newLevel) {
  TraceLevel& next = levels_[static_cast<std::size_t>(newLevel)];
  next.Beams.clear();
  const double area = trace::TwiceArea(b.Points) * areaScale_;
  const trace::OctagonBounds o = trace::Octagon(b.Points);
  if (const int small = SmallBeam(area, o); small != kSplit) return small;
  // Past the cap no beam is cut, nor one of far too many corners: they are
  // finished as they are, so that a broken stone cannot hold its caller long.
  if (beamStore_.size() >= beamCap_ || b.Points.size() > kMostCorners) {
    cutShort_ = true;
    return kFinished;
  }

  cutter_.Cut(*stone_, level.Frame, b.Points, o, points_);
  for (const CutPiece& piece : cutter_.Pieces()) {
    Race& s = NewPiece(b, piece, newLevel);
    next.Beams.push_back(&s);
    SetBeamLight(level.Frame, s, *piece.Facet, options_, view_);
    if (newLevel > maxLevel_) exitBeams_.push_back(&s);
  }
  return kSplit;
}

void RayTracer::BeamsToScreen(int scale, int centreY, ArrayOfFOS& fos) {
  MapPointsToScreen(points_, scale, centreY);
  for (FasetOnScreen& entry : fos) ScreenPolygon(*entry.Beam, entry.Polygon);
}

void RayTracer::BeamsToScreenCopy(int scale, int centreY, const ArrayOfFOS& source,
                                  ArrayOfFOS& target) {
  target = source;
  savedPixels_.resize(points_.size());
  for (std::size_t i = 0; i < points_.size(); ++i)
    savedPixels_[i] = {points_[i].ScreenX, points_[i].ScreenY};
  BeamsToScreen(scale, centreY, target);
  for (std::size_t i = 0; i < points_.size(); ++i) {
    points_[i].ScreenX = savedPixels_[i][0];
    points_[i].ScreenY = savedPixels_[i][1];
  }
}

}  // namespace brillora
