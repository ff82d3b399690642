#include "view/picture_traces.h"

#include "trace/index_at_wavelength.h"

namespace brillora {

TraceOptions OptionsAtLine(const TraceOptions& options, double dispersion, double nanometres) {
  TraceOptions line = options;
  line.RefractiveIndex = IndexAtWavelength(options.RefractiveIndex, dispersion, nanometres);
  return line;
}

void PictureTraces::Trace(const Stone& stone, const Frame& view, int maxLevel, const ScreenScale& scale,
                          const TraceOptions& options, std::optional<double> dispersion,
                          const BeamShader& shader) {
  if (!dispersion || maxLevel < 0) {
    count_ = 1;
    tracers_[0].RayTrace(stone, view, lines_[0], maxLevel, scale.Scale, scale.CentreY, options, shader);
    return;
  }
  count_ = kPictureLines.size();
  for (std::size_t k = 0; k < count_; ++k) {
    tracers_[k].RayTrace(stone, view, lines_[k], maxLevel, scale.Scale, scale.CentreY,
                         OptionsAtLine(options, *dispersion, kPictureLines[k]), shader);
  }
}

void PictureTraces::Clear() {
  count_ = 1;
  lines_[0].clear();
}

void PictureTraces::ToScreen(const ScreenScale& scale) {
  for (std::size_t k = 0; k < count_; ++k) tracers_[k].BeamsToScreen(scale.Scale, scale.CentreY, lines_[k]);
}

void PictureTraces::Recolour(const BeamShader& shader, bool plain) {
  for (std::size_t k = 0; k < count_; ++k) shader.ShadeScreenFacets(lines_[k], plain);
}

}  // namespace brillora
