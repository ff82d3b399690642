#include "optimize/merit.h"

#include <algorithm>
#include <atomic>
#include <cassert>
#include <cmath>
#include <thread>

#include "analysis/tilt_curve.h"
#include "trace/ray_tracer.h"

namespace brillora {

double MeritOf(const MeritFigures& f, const MeritWeights& w) {
  return w.iso * f.iso + w.cos * f.cos + w.sc2 * f.sc2 + w.leakage * f.leakage + w.fire * f.fire;
}

std::vector<MeritView> MeritViews(const StoneSymmetry& symmetry, int symOrder, double tilt, double tiltStep) {
  std::vector<MeritView> views{{IdentityFrame(), 1}};
  const std::vector<double> angles = TiltAngles({tilt, tiltStep, {}});
  for (double azimuth : DefaultAzimuths(symOrder)) {
    const bool mirrored = MirrorsAbout(symmetry, azimuth);
    for (double angle : angles) {
      if (angle == 0 || (mirrored && angle < 0)) continue;
      views.push_back({TiltedView(azimuth, angle), mirrored ? 2 : 1});
    }
  }
  return views;
}

int MeritViewCount(double tilt, double tiltStep) {
  const auto angles = TiltAngles({tilt, tiltStep, {}});
  return 1 + 2 * static_cast<int>(angles.size() > 0 ? angles.size() - 1 : 0);
}

MeritEvaluator::MeritEvaluator(MeritSettings settings, int symOrder, int threads)
    : settings_(settings), symOrder_(symOrder) {
  for (int t = 0; t < std::max(threads, 1); ++t) analyzers_.push_back(std::make_unique<LightAnalyzer>());
}

MeritEvaluator::~MeritEvaluator() = default;

std::optional<MeritFigures> MeritEvaluator::Figures(const Stone& stone, const Stop& stop) {
  if (stone.AllFacets.empty()) return MeritFigures{};
  const StoneSymmetry symmetry = FindSymmetry(stone);
  const std::vector<MeritView> views = MeritViews(symmetry, symOrder_, settings_.tilt, settings_.tiltStep);
  std::vector<LightFigures> figures(views.size());
  const std::shared_ptr<const StoneTables> tables = RayTracer::TablesOf(stone);
  std::atomic<std::size_t> next{0};
  std::atomic<bool> stopped{false};
  // Each thread takes the next view not yet taken and writes only its figures.
  const auto work = [&](LightAnalyzer& analyzer) {
    analyzer.ShareTables(tables);
    for (std::size_t v = next++; v < views.size(); v = next++) {
      if (stopped.load() || (stop && stop())) {
        stopped.store(true);
        return;
      }
      figures[v] = analyzer.Analyze(stone, views[v].view, settings_.analysis, symmetry);
    }
  };
  {
    const std::size_t helpers = std::min(analyzers_.size(), views.size()) - 1;
    std::vector<std::jthread> threads;
    for (std::size_t t = 1; t <= helpers; ++t) threads.emplace_back([&, t] { work(*analyzers_[t]); });
    work(*analyzers_[0]);
  }
  if (stopped.load()) return std::nullopt;

  MeritFigures mean;
  int count = 0;
  for (std::size_t v = 0; v < views.size(); ++v) {
    const double n = views[v].count;
    mean.iso += n * figures[v].Iso;
    mean.cos += n * figures[v].Cos;
    mean.sc2 += n * figures[v].Sc2;
    mean.leakage += n * figures[v].Leakage;
    mean.fire += n * figures[v].Fire;
    mean.cutShort = mean.cutShort || figures[v].CutShort;
    count += views[v].count;
  }
  assert(count == MeritViewCount(settings_.tilt, settings_.tiltStep));
  mean.iso /= count;
  mean.cos /= count;
  mean.sc2 /= count;
  mean.leakage /= count;
  mean.fire /= count;
  return mean;
}

}  // namespace brillora
