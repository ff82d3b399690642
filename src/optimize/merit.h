#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "analysis/light_figures.h"
#include "analysis/stone_symmetry.h"
#include "model/design.h"
#include "trace/frame.h"

namespace brillora {

// How much each light figure counts, its mean over the views times its
// weight. A negative weight makes a figure count against the design.
struct MeritWeights {
  double iso = 1.0 / 3;
  double cos = 1.0 / 3;
  double sc2 = 1.0 / 3;
  double leakage = 0.0;
  // Fire needs the material's dispersion (AnalysisSettings::Dispersion).
  double fire = 0.0;

  bool operator==(const MeritWeights&) const = default;
};

// What a merit is computed from: the light figures' own settings (head,
// depth, refractive index), the weights, and the views: face up and tilted
// by up to ±Tilt degrees in steps of TiltStep about the two default axes.
struct MeritSettings {
  AnalysisSettings analysis;
  MeritWeights weights;
  double tilt = 20.0;
  double tiltStep = 10.0;
};

// The figures a merit weighs, each the mean over the views, as a share of
// the outline.
struct MeritFigures {
  double iso = 0.0;
  double cos = 0.0;
  double sc2 = 0.0;
  double leakage = 0.0;
  double fire = 0.0;
  bool cutShort = false;  // some view met light of far more corners than a stone makes
};

double MeritOf(const MeritFigures& figures, const MeritWeights& weights);

// A view to trace and how many of the merit's views it stands for: about an
// axis in a mirror plane, a view tilted one way shows the mirror image of the
// view tilted the other way, and one trace serves both.
struct MeritView {
  Frame view;
  int count = 1;
};

// The views of a merit for a stone of these symmetries and that symmetry
// order (which names the default axes): face up first.
std::vector<MeritView> MeritViews(const StoneSymmetry& symmetry, int symOrder, double tilt, double tiltStep);
// How many views the merit means: 1 + 4 × floor(tilt / tiltStep).
int MeritViewCount(double tilt, double tiltStep);

// Computes merits with one analyser per thread, the views of each stone
// shared among the threads. The figures are summed in the views' own order,
// so that the result is the same bit for bit on any number of threads.
class MeritEvaluator {
 public:
  using Stop = std::function<bool()>;

  MeritEvaluator(MeritSettings settings, int symOrder, int threads);
  ~MeritEvaluator();
  MeritEvaluator(const MeritEvaluator&) = delete;
  MeritEvaluator& operator=(const MeritEvaluator&) = delete;

  const MeritSettings& Settings() const { return settings_; }
  int Threads() const { return static_cast<int>(analyzers_.size()); }

  // The figures of a stone; nothing when `stop` said so before the end. A
  // stone that shows nothing has all figures zero.
  std::optional<MeritFigures> Figures(const Stone& stone, const Stop& stop = {});

 private:
  MeritSettings settings_;
  int symOrder_;
  std::vector<std::unique_ptr<LightAnalyzer>> analyzers_;
};

}  // namespace brillora
