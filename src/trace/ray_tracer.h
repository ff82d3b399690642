#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <utility>
#include <vector>

#include "model/design.h"
#include "trace/beam_cutter.h"
#include "trace/beam_optics.h"
#include "trace/beam_shader.h"
#include "trace/block_store.h"
#include "trace/frame.h"
#include "trace/point_store.h"
#include "trace/race.h"
#include "trace/screen_polygon.h"

namespace brillora {

// The beams of one depth of the trace.
struct TraceLevel {
  ::brillora::Frame Frame{};     // frame of this level's beams, turned by the beam being processed
  ArrayOfRace Beams;             // sub-beams of the beam being processed one level up
  std::vector<FlatPoint> Saved;  // corners of the beam being processed, before turning
};

// The beam tracer. Each caller owns its own tracer: the tables a render fills
// live here and grow as it needs, so two tracers never share mutable state.
// What depends on the stone alone is built on its first trace and kept, as an
// immutable value, for every later trace of the same stone; tracers of one
// stone may share it. The beams, points and screen polygons of a render stay
// valid until this tracer's next render; the stone traced must outlive them.
class RayTracer {
 public:
  static constexpr int kDeepestLevel = 12;
  // The deepest level when options.LightCutoff asks for figures of light
  // return: the light of the figures' greatest depth meets the surface from
  // inside for the thirtieth time in the pieces its beams are cut into.
  static constexpr int kDeepestFiguresLevel = 29;
  // No cut starts once a render has made this many beams. The samples make at
  // most 9 200 at any view and depth, designs of up to eight tiers a side
  // about 18 000, designs of a hundred tiers up to 53 000; a broken stone can
  // make tens of millions and hold a window for half a minute.
  static constexpr std::size_t kBeamCap = 100'000;

  RayTracer() = default;
  // A tracer with another cap, for the tests.
  explicit RayTracer(std::size_t beamCap) : beamCap_(beamCap) {}

  // Traces `view` (rows 0 and 1 screen x to the right and y downward in half
  // picture widths, row 2 toward the viewer) down to `maxLevel` (-1 or less: no
  // tracing, "Non-transparent"; at most kDeepestLevel, or kDeepestFiguresLevel
  // under options.LightCutoff), fills `fos` with one entry per finished beam,
  // has `shader` colour it and maps it to pixels.
  void RayTrace(const Stone& stone, const Frame& view, ArrayOfFOS& fos, int maxLevel, int halfWidth,
                int halfHeight, const TraceOptions& options, const BeamShader& shader);
  // The same trace with neither colours nor pixels: its beams, in view units,
  // are all a caller gets.
  void Trace(const Stone& stone, const Frame& view, int maxLevel, const TraceOptions& options);

  // The tables a trace of `stone` reads that depend on the stone alone, for
  // tracers of one stone to share: each tracer that would build its own
  // reads these instead (ShareTables), as the threads of the tilt curves do.
  static std::shared_ptr<const StoneTables> TablesOf(const Stone& stone);
  // Has the next traces of a stone that `tables` describe read them; another
  // stone gets tables of its own as before.
  void ShareTables(std::shared_ptr<const StoneTables> tables) { cutter_.ShareTables(std::move(tables)); }

  // Maps every point of the last render to pixels at `scale` pixels per view
  // unit (view x -1 .. 1 spans columns 0 .. 2 scale, rows centred on centreY)
  // and rebuilds the screen polygons of `fos`.
  void BeamsToScreen(int scale, int centreY, ArrayOfFOS& fos);
  // A second mapping of the same render into `target`, leaving the points'
  // pixels (and so the first mapping) as they were.
  void BeamsToScreenCopy(int scale, int centreY, const ArrayOfFOS& source, ArrayOfFOS& target);

  std::span<Race* const> Level0Beams() const { return level0_; }
  std::span<Race* const> ExitBeams() const { return exitBeams_; }
  // The next free record of the beam store after the render.
  std::size_t StoreUsed() const { return beamStore_.size(); }
  // The deepest level at which a beam was made.
  int MaxLevelReached() const { return maxLevelReached_; }
  // True when the last render reached the cap, or met a beam of far more
  // corners than a real stone makes: such beams were not cut but finished as
  // they were, so that the light they carried on inside shows as the inner
  // colour, as at the depth limit. Under LightCutoff, the work budget takes
  // the cap's place.
  bool CutShort() const { return cutShort_; }
  // Under LightCutoff: the work the last trace did, in units of about one
  // test of eight facets against a beam; and whether its options' Stop
  // abandoned it, leaving its beams unfinished.
  double WorkDone() const { return work_; }
  bool Abandoned() const { return abandoned_; }
  const PointStore& Points() const { return points_; }

 private:
  // A beam that waits to be cut under LightCutoff, with the frame its corners
  // are in and the screen area of one unit of area in that frame.
  struct Waiting {
    Race* beam;
    Frame frame;
    double areaScale;
    double weight;  // the beam's Area times its InLight
  };

  Race& NewRace();
  // A new beam of `piece`, cut from `parent`, at `level`.
  Race& NewPiece(Race& parent, const CutPiece& piece, int level);
  void TraceBeams(const Frame& f, int level);
  // Under LightCutoff: follows the level-0 beams' light, the heaviest band of pieces first.
  void FollowLight();
  // Cuts one waiting beam and sets its pieces waiting or finished.
  void Follow(const Waiting& w);
  // Lists a finished beam under LightCutoff, and tells TraceOptions::Finished.
  void Finish(Race& b);
  // Sets a beam waiting, or finishes it when it is spent or at the depth limit.
  void Await(Race& b, const Frame& frame, double areaScale);
  // Drops a beam of fewer than three corners and finishes one too weak to be
  // split into `newLevel`; kSplit when neither.
  int Settle(const Race& b, int newLevel) const;
  // The picture's tests of a beam too small or too thin to cut: kDropped,
  // kFinished, or kSplit when it is worth cutting.
  int SmallBeam(double area, const trace::OctagonBounds& o) const;
  // The area and thinness tests and, when they pass, the cut; Settle first.
  int SplitBeam(TraceLevel& level, Race& b, int newLevel);

  const Stone* stone_ = nullptr;
  Frame view_{};
  TraceOptions options_;
  int maxLevel_ = -1;
  int maxLevelReached_ = 0;
  std::size_t beamCap_ = kBeamCap;
  bool cutShort_ = false;
  double work_ = 0;
  bool abandoned_ = false;
  // Under LightCutoff: the pieces of the band being followed, and the lighter
  // ones put off to a later band.
  std::vector<Waiting> ready_;
  std::vector<Waiting> deferred_;
  double band_ = 0;  // the least weight of a piece ready
  std::vector<FlatPoint*> turned_;  // a waiting beam's corners in its turned frame

  BlockStore<Race, 256> beamStore_;
  ArrayOfRace exitBeams_;
  ArrayOfRace level0_;
  std::vector<TraceLevel> levels_ = std::vector<TraceLevel>(kDeepestLevel + 2);
  PointStore points_;
  std::vector<FlatPoint*> vertexPoint_;   // per vertex: its point in the view
  std::vector<FlatPoint*> entryCorners_;  // an entry beam's corners: its facet's
  std::vector<FlatPoint*> clipped_;       // the same cut to options.Entry
  BeamCutter cutter_;
  std::vector<std::array<int, 2>> savedPixels_;

  // Scale factors of the entry facet of the level-0 beam being traced.
  double areaScale_ = 1.0;
  double widthScaleX_ = 1.0;
  double widthScaleY_ = 1.0;
  double widthScaleD1_ = 1.0;
  double widthScaleD2_ = 1.0;
};

}  // namespace brillora
