#include "analysis/tilt_curve.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <numbers>
#include <thread>

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
  std::vector<TiltCurve> curves(tilt.Azimuths.size());
  // One flag per view, so that no two threads write the same one.
  std::vector<char> cutShort(curves.size() * angles.size(), 0);
  for (std::size_t i = 0; i < curves.size(); ++i) {
    curves[i].Azimuth = tilt.Azimuths[i];
    curves[i].Points.resize(angles.size());
  }
  const std::size_t views = curves.size() * angles.size();
  std::atomic<std::size_t> next{0};
  std::atomic<bool> stopped{false};
  // Each thread takes the next view not yet taken; every point is written by
  // the one thread that took it.
  const auto work = [&] {
    LightAnalyzer analyzer;
    for (std::size_t v = next++; v < views; v = next++) {
      if (stopped.load() || (stop && stop())) {
        stopped.store(true);
        return;
      }
      TiltCurve& curve = curves[v / angles.size()];
      const double angle = angles[v % angles.size()];
      const LightFigures f = analyzer.Analyze(stone, TiltedView(curve.Azimuth, angle), settings);
      curve.Points[v % angles.size()] = {angle, f.Iso, f.Cos, f.Sc2};
      cutShort[v] = f.CutShort ? 1 : 0;
    }
  };
  {
    std::vector<std::jthread> helpers;
    for (int t = 1; t < std::min<int>(threads, static_cast<int>(views)); ++t) helpers.emplace_back(work);
    work();
  }
  if (stopped.load()) return std::nullopt;
  for (std::size_t i = 0; i < curves.size(); ++i) {
    Summarize(curves[i]);
    const auto first = cutShort.begin() + static_cast<std::ptrdiff_t>(i * angles.size());
    curves[i].CutShort = std::any_of(first, first + static_cast<std::ptrdiff_t>(angles.size()), [](char c) { return c != 0; });
  }
  return curves;
}

}  // namespace brillora
