#pragma once

#include <array>
#include <optional>
#include <span>

#include "model/design.h"
#include "trace/beam_optics.h"
#include "trace/beam_shader.h"
#include "trace/frame.h"
#include "trace/ray_tracer.h"
#include "trace/screen_polygon.h"
#include "view/screen_scale.h"

namespace brillora {

// The traces of one picture. Without dispersion one trace at the stone's
// refractive index, exactly as a tracer alone makes it; with dispersion one
// trace for each line of kPictureLines, at the material's index for that
// line, each giving one colour channel of the picture: red, green, blue.
// Each trace has a tracer of its own, so the polygons of all three stay valid
// until the next Trace.
class PictureTraces {
 public:
  // Traces `view` as RayTracer::RayTrace does, mapping to `scale`.
  // `dispersion`, when given, is the material's n(430.8 nm) - n(686.7 nm) and
  // asks for the three lines. A view that is not traced ("Non-transparent")
  // looks the same at every index and is drawn once.
  void Trace(const Stone& stone, const Frame& view, int maxLevel, const ScreenScale& scale,
             const TraceOptions& options, std::optional<double> dispersion, const BeamShader& shader);

  // The polygons of each trace, red first: one list, or three with dispersion.
  std::span<const ArrayOfFOS> Lines() const { return {lines_.data(), count_}; }
  // The polygons of the first trace: the picture's own without dispersion.
  // The reference stays the same object for the life of this one.
  const ArrayOfFOS& First() const { return lines_[0]; }
  const RayTracer& Tracer(std::size_t line) const { return tracers_[line]; }

  // Every trace mapped anew to `scale`, without tracing.
  void ToScreen(const ScreenScale& scale);
  // No polygons at all, as after a trace of nothing.
  void Clear();
  // Every polygon coloured anew by `shader`, without tracing.
  void Recolour(const BeamShader& shader, bool plain);

 private:
  std::array<RayTracer, 3> tracers_;
  std::array<ArrayOfFOS, 3> lines_;
  std::size_t count_ = 1;
};

// The options of the trace at `nanometres` of a material of dispersion
// `dispersion`: its index there, the switches as they are.
TraceOptions OptionsAtLine(const TraceOptions& options, double dispersion, double nanometres);

}  // namespace brillora
