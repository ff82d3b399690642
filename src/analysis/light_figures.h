#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <utility>

#include "analysis/stone_symmetry.h"
#include "model/design.h"
#include "trace/frame.h"
#include "trace/ray_tracer.h"

namespace brillora {

// How one view is judged: the observer's head, the depth of the trace and the
// stone's material.
//
// Depth N, as cutters' published figures count it: the light meets the
// stone's surface from inside at most N times; at each meeting the part that
// leaves is scored and the reflected part travels on, and what is reflected at
// the Nth meeting is unresolved. Tools that count path segments count the
// entering one too, and call depth 9 ten.
struct AnalysisSettings {
  static constexpr int kShallowest = 1;
  static constexpr int kDeepest = 30;

  double HeadDegrees = 10.0;  // half-angle of the dark cone of the observer's head
  int Depth = 9;              // meetings with the surface from inside, kShallowest to kDeepest
  double RefractiveIndex = 2.42;
  // n(430.8 nm) - n(686.7 nm) of the material; 0 leaves fire and spread 0.
  double Dispersion = 0.0;
};

// The angle a pupil of 4 mm takes at 25 cm, in degrees: colours spread wider
// than this can reach the eye one at a time, as fire.
inline constexpr double kPupilDegrees = 0.92;

// The share of the viewer's light a view returns, each as a fraction of the
// stone's outline (the table figures of the table's outline).
struct LightFigures {
  double Iso = 0.0;  // light from every direction of the upper half-space, the head dark
  double Cos = 0.0;  // the same, falling off with the cosine from the zenith
  double Sc2 = 0.0;  // the same, strongest at 45 degrees
  double TableIso = 0.0;
  double TableCos = 0.0;
  double TableSc2 = 0.0;
  double Leakage = 0.0;     // light seen through the stone from below
  double HeadShadow = 0.0;  // light that would come from the head's cone
  double Unresolved = 0.0;  // light still inside at the depth limit
  // The ASET shares of the light returned: red from within 45 degrees of the
  // view axis (the head's cone left out), green from further out; red +
  // green is Iso. The map's blue is HeadShadow, its black Leakage.
  double AsetRed = 0.0;
  double AsetGreen = 0.0;
  // The light returned (Iso), each part weighed by how far its colours
  // spread between the C and F lines (ColourSpread) over the pupil's angle,
  // at most 1: light whose colours reach the eye apart, as a share of the
  // outline.
  double Fire = 0.0;
  // The mean spread of the light returned between the C and F lines, weighted
  // by that light, in degrees.
  double Spread = 0.0;
  // The outline's share that no finished beam covers (negative where rounding
  // at grazing facets makes pieces overlap): at most about 1e-4.
  // Iso + Leakage + HeadShadow + Unresolved + Lost make 1.
  double Lost = 0.0;
  // Some beam had far more corners than a real stone makes and was not cut:
  // its light counts as unresolved.
  bool CutShort = false;
  // The most by which any share above (table figures included; not Spread,
  // a mean in degrees) may differ from the share of all the light followed
  // to the depth: 0 when the trace followed it all within its budget of
  // work. Light left unfollowed counts as unresolved; wherever its path
  // would have led, each share weighs light by at most 1, so it can move no
  // share by more than its own part of the outline (of the table's outline
  // for the table figures).
  double ErrorBound = 0.0;
};

// True when the computation is no longer wanted.
using AnalysisStop = std::function<bool()>;

// The work a view's trace may do (RayTracer::WorkDone) before the light it
// has not yet followed is left, and bounded by ErrorBound instead: about a
// third of a second of one core of a laptop processor of 2024, so that a
// stone of 5,000 facets shows its face-up figures within a second and a
// tilt analysis of +-5 degrees (22 views on two threads) within five.
// Enough for every sample design's views tilted to 30 degrees at depth 9 to
// be followed to the depth, or within 0.05 points for the 48-fold diamond's
// steepest.
inline constexpr double kFaceUpWork = 2e7;
inline constexpr double kTiltViewWork = 2e7;

// The light-return figures of a view, traced as the picture window traces it
// but followed until the light is spent. Each analyser owns its tracer, so one
// per thread.
class LightAnalyzer {
 public:
  // `workBudget` for each view (RayTracer::WorkDone); 0 follows all the
  // light, however long it takes.
  explicit LightAnalyzer(double workBudget = kFaceUpWork) : workBudget_(workBudget) {}

  // The figures of `stone` seen through `view` (rows as the tracer reads
  // them, row 2 toward the viewer). All zero for a stone that shows nothing.
  LightFigures Analyze(const Stone& stone, const Frame& view, const AnalysisSettings& settings);
  // The same, tracing only the part of the view that `symmetry` (the
  // stone's, or fewer) repeats round it; a default StoneSymmetry traces the
  // whole view.
  LightFigures Analyze(const Stone& stone, const Frame& view, const AnalysisSettings& settings,
                       const StoneSymmetry& symmetry);
  // The same, abandoned (nullopt) as soon as `stop` says so: it is asked
  // every few hundred pieces of light.
  std::optional<LightFigures> Analyze(const Stone& stone, const Frame& view, const AnalysisSettings& settings,
                                      const StoneSymmetry& symmetry, const AnalysisStop& stop);
  // The stone's tables for the traces, when several analysers take views of
  // one stone (RayTracer::ShareTables).
  void ShareTables(std::shared_ptr<const StoneTables> tables) { tracer_.ShareTables(std::move(tables)); }

 private:
  double workBudget_;
  RayTracer tracer_;
};

}  // namespace brillora
