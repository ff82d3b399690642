#include "analysis/tilt_curve.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <cmath>
#include <numbers>
#include <thread>
#include <utility>

namespace brillora {

namespace {

double Radians(double degrees) { return degrees * std::numbers::pi / 180; }

void Summarize(TiltCurve& curve) {
  if (curve.Points.empty()) return;
  TiltSummary sum, low = {1e300, 1e300, 1e300}, high = {-1e300, -1e300, -1e300};
  for (const TiltPoint& p : curve.Points) {
    sum = {sum.Iso + p.Iso, sum.Cos + p.Cos, sum.Sc2 + p.Sc2};
    low = {std::min(low.Iso, p.Iso), std::min(low.Cos, p.Cos), std::min(low.Sc2, p.Sc2)};
    high = {std::max(high.Iso, p.Iso), std::max(high.Cos, p.Cos), std::max(high.Sc2, p.Sc2)};
  }
  const double n = static_cast<double>(curve.Points.size());
  curve.Mean = {sum.Iso / n, sum.Cos / n, sum.Sc2 / n};
  curve.Variation = {high.Iso - low.Iso, high.Cos - low.Cos, high.Sc2 - low.Sc2};
}

}  // namespace

std::vector<double> DefaultAzimuths(int symOrder) {
  return {0.0, 180.0 / std::max(symOrder, 1)};
}

std::vector<double> TiltAngles(const TiltSettings& settings) {
  std::vector<double> angles;
  if (!(settings.Step > 0) || !(settings.MaxTilt >= 0)) return angles;
  // Counted rather than summed, so that the ends are met exactly however the
  // step rounds.
  const auto steps = static_cast<long>(std::floor(settings.MaxTilt / settings.Step + 1e-9));
  for (long i = -steps; i <= steps; ++i) angles.push_back(static_cast<double>(i) * settings.Step);
  return angles;
}

Frame TiltedView(double azimuth, double angle) {
  const double a = Radians(azimuth);
  // RotationMatrix turns about (y, -x, 0): this names the axis (cos a, sin a, 0).
  return RotationMatrix(-std::sin(a), std::cos(a), Radians(angle));
}

std::optional<std::vector<TiltCurve>> TiltCurves(const Stone& stone, const AnalysisSettings& settings,
                                                 const TiltSettings& tilt, int threads,
                                                 const AnalysisStop& stop) {
  const std::vector<double> angles = TiltAngles(tilt);
  const std::size_t count = angles.size();
  const StoneSymmetry symmetry = FindSymmetry(stone);
  std::vector<TiltCurve> curves(tilt.Azimuths.size());
  // The views to trace, as (curve, angle index). About an axis in a mirror
  // plane a negative angle shows the mirror image of its positive twin, and
  // the twin's figures serve it.
  std::vector<std::pair<std::size_t, std::size_t>> jobs;
  std::vector<char> mirrored(curves.size(), 0);
  for (std::size_t i = 0; i < curves.size(); ++i) {
    curves[i].Azimuth = tilt.Azimuths[i];
    curves[i].Points.resize(count);
    mirrored[i] = MirrorsAbout(symmetry, curves[i].Azimuth) ? 1 : 0;
    for (std::size_t a = mirrored[i] ? count / 2 : 0; a < count; ++a) jobs.emplace_back(i, a);
  }
  std::atomic<std::size_t> next{0};
  std::atomic<bool> stopped{false};
  // Each thread takes the next view not yet taken; every point is written by
  // the one thread that took it. All read one copy of the stone's tables.
  const std::shared_ptr<const StoneTables> tables = RayTracer::TablesOf(stone);
  const AnalysisStop unwanted = [&] { return stopped.load() || (stop && stop()); };
  const auto work = [&] {
    LightAnalyzer analyzer(kTiltViewWork);
    analyzer.ShareTables(tables);
    for (std::size_t j = next++; j < jobs.size(); j = next++) {
      const auto [c, a] = jobs[j];
      TiltCurve& curve = curves[c];
      const std::optional<LightFigures> f =
          unwanted() ? std::nullopt
                     : analyzer.Analyze(stone, TiltedView(curve.Azimuth, angles[a]), settings, symmetry, unwanted);
      if (!f) {
        stopped.store(true);
        return;
      }
      curve.Points[a] = {angles[a], f->Iso, f->Cos, f->Sc2, f->Fire, f->ErrorBound, f->CutShort};
    }
  };
  {
    std::vector<std::jthread> helpers;
    for (int t = 1; t < std::min<int>(threads, static_cast<int>(jobs.size())); ++t) helpers.emplace_back(work);
    work();
  }
  if (stopped.load()) return std::nullopt;
  for (std::size_t i = 0; i < curves.size(); ++i) {
    // The angles run symmetrically from -MaxTilt to MaxTilt.
    for (std::size_t a = 0; mirrored[i] && a < count / 2; ++a) {
      curves[i].Points[a] = curves[i].Points[count - 1 - a];
      curves[i].Points[a].Angle = angles[a];
    }
    Summarize(curves[i]);
    for (const TiltPoint& p : curves[i].Points) {
      curves[i].ErrorBound = std::max(curves[i].ErrorBound, p.ErrorBound);
      curves[i].CutShort = curves[i].CutShort || p.CutShort;
    }
  }
  return curves;
}

}  // namespace brillora
