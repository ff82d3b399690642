#pragma once

#include <optional>

#include "trace/beam_optics.h"
#include "trace/linear_color.h"
#include "view/paint_style.h"

namespace brillora {

// What the picture shows besides the stone, its view and the surroundings:
// the design window's menu switches, the selected step and the stone's
// refractive index. The application pushes the whole value whenever one of
// them changes; the picture never goes to read them.
struct PictureSettings {
  // What the tracer reads: a change traces the view again (SameTrace).
  int maxLevel = -1;  // the "N of Reflections" Tag less one; below 0 nothing is traced
  bool surfaceReflections = true;
  bool reflected = false;
  double refractiveIndex = TraceOptions{}.RefractiveIndex;
  // The material's dispersion while "Dispersion" is on: the picture is then
  // traced at three lines, one per colour channel.
  std::optional<double> dispersion;
  // How the traced polygons are drawn: a change draws them again.
  bool edges = true;
  int selectedStep = -1;  // step of the construction order highlighted in plain mode
  // Whether the anti-aliased picture follows the fast one.
  bool antiAliasing = true;

  bool operator==(const PictureSettings&) const = default;
};

// Plain mode, "Non-transparent": the facets seen, nothing traced.
inline bool Plain(const PictureSettings& settings) { return settings.maxLevel < 0; }

inline TraceOptions TraceOptionsOf(const PictureSettings& settings) {
  TraceOptions options;
  options.RefractiveIndex = settings.refractiveIndex;
  options.SurfaceRefl = settings.surfaceReflections;
  options.Reflected = settings.reflected;
  return options;
}

// Whether two settings give the same trace of a view: every field the tracer
// reads is compared here.
inline bool SameTrace(const PictureSettings& a, const PictureSettings& b) {
  return a.maxLevel == b.maxLevel && a.surfaceReflections == b.surfaceReflections && a.reflected == b.reflected &&
         a.refractiveIndex == b.refractiveIndex && a.dispersion == b.dispersion;
}

// The fast and refined passes' style over that background.
inline PaintStyle PaintStyleOf(const PictureSettings& settings, const LinearColor& background) {
  return PaintStyle{background, settings.edges, Plain(settings), settings.selectedStep};
}

}  // namespace brillora
