#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "analysis/light_figures.h"
#include "model/design.h"
#include "trace/frame.h"

namespace brillora {

// The angles of a tilt curve: from -MaxTilt to +MaxTilt degrees in steps of
// Step, about each axis of the girdle plane at the given azimuths (degrees
// from the model's x axis).
struct TiltSettings {
  double MaxTilt = 30.0;
  double Step = 1.0;
  std::vector<double> Azimuths;
};

// The default axes of a stone of `symOrder` sectors: the model's x axis and that
// axis turned by half a sector.
std::vector<double> DefaultAzimuths(int symOrder);

// The tilt angles of `settings`, from -MaxTilt up to +MaxTilt.
std::vector<double> TiltAngles(const TiltSettings& settings);

// The face-up view (the crown toward the viewer) turned by `angle` degrees
// about the axis of the girdle plane at `azimuth` degrees.
Frame TiltedView(double azimuth, double angle);

struct TiltPoint {
  double Angle = 0.0;
  double Iso = 0.0;
  double Cos = 0.0;
  double Sc2 = 0.0;
  double Fire = 0.0;
  double ErrorBound = 0.0;  // of the shares above, as LightFigures::ErrorBound
  bool CutShort = false;    // as LightFigures::CutShort
};

// The three figures of a curve, as its mean or its variation.
struct TiltSummary {
  double Iso = 0.0;
  double Cos = 0.0;
  double Sc2 = 0.0;
};

struct TiltCurve {
  double Azimuth = 0.0;
  std::vector<TiltPoint> Points;
  TiltSummary Mean;
  TiltSummary Variation;  // maximum minus minimum over the range
  // The largest of the points' error bounds: the mean is as near, the
  // variation twice as near.
  double ErrorBound = 0.0;
  bool CutShort = false;  // some view was
};

// The tilt curves about every axis of `tilt`, computed by `threads` threads
// of one tracer each, each view within kTiltViewWork; nullopt when `stop`
// (which any of those threads may call, within a view too) said so before
// the end.
std::optional<std::vector<TiltCurve>> TiltCurves(const Stone& stone, const AnalysisSettings& settings,
                                                 const TiltSettings& tilt, int threads = 1,
                                                 const AnalysisStop& stop = {});

}  // namespace brillora
